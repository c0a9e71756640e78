// The measure tree widget as a view of the session's tree: node texts, images and factors.
#pragma once

class QTreeWidget;
class QTreeWidgetItem;

namespace kestal {

struct TreeNode;

// The image index (0..7, see TreeImages) of a node.
int NodeImage(const QTreeWidgetItem* node);

// Brings the widget in line with `root`, node by node in place: nodes that stay keep their
// expansion, nodes beyond the session's are removed, missing ones added.
void ShowTree(QTreeWidget* tree, const TreeNode& root);

}  // namespace kestal
