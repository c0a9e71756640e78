// The measure tree: node images by index and nodes addressed by their pre-order index.
#pragma once

class QTreeWidget;
class QTreeWidgetItem;

// Sets a node's image (0..7, see TreeImages) and remembers its index.
void SetNodeImage(QTreeWidgetItem* node, int image);
// The image index of a node (0 where none was set).
int NodeImage(const QTreeWidgetItem* node);

// The node at a pre-order index over all nodes, expanded or collapsed (root = 0); nullptr past the end.
QTreeWidgetItem* NodeAt(QTreeWidget* tree, int index);

// Clears the tree and builds its initial contents: "Комплекс мер" (image 0) with the child
// "Мероприятие 1" (image 1), and under that "Изменения факторов ЧМС" (2) and "Затраты" (3).
void BuildInitialTree(QTreeWidget* tree);
