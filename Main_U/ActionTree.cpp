// The measure tree: node images by index and nodes addressed by their pre-order index.
#include "Main_U/ActionTree.h"

#include <QTreeWidget>

#include "Main_U/Pictures.h"
#include "Main_U/UiText.h"

namespace {

constexpr int ImageRole = Qt::UserRole + 1;

// Walks the subtree of `node` in pre-order, counting down `remaining`; the node where it reaches 0.
QTreeWidgetItem* Walk(QTreeWidgetItem* node, int& remaining)
{
    if (remaining-- == 0) return node;
    for (int child = 0; child < node->childCount(); ++child)
        if (QTreeWidgetItem* found = Walk(node->child(child), remaining)) return found;
    return nullptr;
}

QTreeWidgetItem* AddNode(QTreeWidgetItem* parent, const char* text, int image)
{
    auto* node = new QTreeWidgetItem(parent, QStringList(Q(text)));
    SetNodeImage(node, image);
    return node;
}

}  // namespace

void SetNodeImage(QTreeWidgetItem* node, int image)
{
    node->setData(0, ImageRole, image);
    node->setIcon(0, TreeImages()[image]);
}

int NodeImage(const QTreeWidgetItem* node)
{
    return node->data(0, ImageRole).toInt();
}

QTreeWidgetItem* NodeAt(QTreeWidget* tree, int index)
{
    if (index < 0) return nullptr;
    int remaining = index;
    for (int top = 0; top < tree->topLevelItemCount(); ++top)
        if (QTreeWidgetItem* found = Walk(tree->topLevelItem(top), remaining)) return found;
    return nullptr;
}

void BuildInitialTree(QTreeWidget* tree)
{
    tree->clear();
    auto* root = new QTreeWidgetItem(tree, QStringList(Q("Комплекс мер")));
    SetNodeImage(root, 0);
    QTreeWidgetItem* measure = AddNode(root, "Мероприятие 1", 1);
    AddNode(measure, "Изменения факторов ЧМС", 2);
    AddNode(measure, "Затраты", 3);
}
