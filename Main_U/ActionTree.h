// The measure tree: node images by index and nodes addressed by their pre-order index.
#pragma once

class QTreeWidget;
class QTreeWidgetItem;
class QString;

// Sets a node's image (0..7, see TreeImages) and remembers its index.
void SetNodeImage(QTreeWidgetItem* node, int image);
// The image index of a node (0 where none was set).
int NodeImage(const QTreeWidgetItem* node);

// The node at a pre-order index over all nodes, expanded or collapsed (root = 0); nullptr past the end.
QTreeWidgetItem* NodeAt(QTreeWidget* tree, int index);

// Adds a measure node with `name` (image 1) as the last child of `root`, and under it
// "Изменения факторов ЧМС" (image 2) and "Затраты" (image 3). Returns the measure node.
QTreeWidgetItem* AddMeasureNode(QTreeWidgetItem* root, const QString& name);

// Change nodes of a measure carry the catalogue index of their factor.
void SetNodeFactor(QTreeWidgetItem* node, int factor);
// The factor of a change node; -1 for other nodes.
int NodeFactor(const QTreeWidgetItem* node);
// The child of `changes` that belongs to `factor`; nullptr when there is none.
QTreeWidgetItem* FactorNode(const QTreeWidgetItem* changes, int factor);

// Clears the tree and builds its initial contents: "Комплекс мер" (image 0) with the child
// "Мероприятие 1" (image 1), and under that "Изменения факторов ЧМС" (2) and "Затраты" (3).
void BuildInitialTree(QTreeWidget* tree);
