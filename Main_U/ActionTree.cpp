// The measure tree: node images by index and nodes addressed by their pre-order index.
#include "Main_U/ActionTree.h"

#include <QTreeWidget>

#include "ActSelect/EditorRules.h"
#include "Main_U/Pictures.h"
#include "Main_U/UiText.h"

namespace {

constexpr int ImageRole = Qt::UserRole + 1;
constexpr int FactorRole = Qt::UserRole + 2;

// Walks the subtree of `node` in pre-order, counting down `remaining`; the node where it reaches 0.
QTreeWidgetItem* Walk(QTreeWidgetItem* node, int& remaining)
{
    if (remaining-- == 0) return node;
    for (int child = 0; child < node->childCount(); ++child)
        if (QTreeWidgetItem* found = Walk(node->child(child), remaining)) return found;
    return nullptr;
}

QTreeWidgetItem* AddNode(QTreeWidgetItem* parent, const QString& text, int image)
{
    auto* node = new QTreeWidgetItem(parent, QStringList(text));
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

QTreeWidgetItem* AddMeasureNode(QTreeWidgetItem* root, const QString& name)
{
    QTreeWidgetItem* measure = AddNode(root, name, 1);
    AddNode(measure, Q(ChangesNodeText), 2);
    AddNode(measure, Q(CostNodeText), 3);
    return measure;
}

void SetNodeFactor(QTreeWidgetItem* node, int factor)
{
    node->setData(0, FactorRole, factor);
}

int NodeFactor(const QTreeWidgetItem* node)
{
    const QVariant tag = node->data(0, FactorRole);
    return tag.isValid() ? tag.toInt() : -1;
}

QTreeWidgetItem* FactorNode(const QTreeWidgetItem* changes, int factor)
{
    for (int child = 0; child < changes->childCount(); ++child)
        if (NodeFactor(changes->child(child)) == factor) return changes->child(child);
    return nullptr;
}

void BuildInitialTree(QTreeWidget* tree)
{
    tree->clear();
    auto* root = new QTreeWidgetItem(tree, QStringList(Q(TreeRootText)));
    SetNodeImage(root, 0);
    AddMeasureNode(root, Q(MeasureNameText(1)));
}
