// The measure tree widget as a view of the session's tree.
#include "window/ActionTree.h"

#include <QTreeWidget>

#include "assessment/SessionState.h"
#include "widgets/Pictures.h"
#include "widgets/UiText.h"

namespace kestal {

namespace {

constexpr int ImageRole = Qt::UserRole + 1;

void ShowNode(QTreeWidgetItem* item, const TreeNode& node)
{
    const QString text = QText(node.text);
    if (item->text(0) != text) item->setText(0, text);
    if (NodeImage(item) != node.image || item->icon(0).isNull()) {
        item->setData(0, ImageRole, node.image);
        item->setIcon(0, TreeImages()[node.image]);
    }
    const int count = static_cast<int>(node.children.size());
    while (item->childCount() > count) delete item->takeChild(item->childCount() - 1);
    for (int child = 0; child < count; ++child) {
        QTreeWidgetItem* childItem = child < item->childCount() ? item->child(child) : new QTreeWidgetItem(item);
        ShowNode(childItem, node.children[child]);
    }
}

}  // namespace

int NodeImage(const QTreeWidgetItem* node) { return node->data(0, ImageRole).toInt(); }

void ShowTree(QTreeWidget* tree, const TreeNode& root)
{
    if (tree->topLevelItemCount() == 0) new QTreeWidgetItem(tree);
    ShowNode(tree->topLevelItem(0), root);
}

}  // namespace kestal
