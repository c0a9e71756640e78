// The measure tree as data.
#include "Session/MeasureTree.h"

TreeNode InitialTree()
{
    TreeNode root{TreeRootText, 0, -1, {}};
    root.children.push_back(MeasureNode(MeasureNameText(1)));
    return root;
}

TreeNode MeasureNode(const std::string& name)
{
    return {name, 1, -1, {{ChangesNodeText, 2, -1, {}}, {CostNodeText, 3, -1, {}}}};
}

TreeNode* FactorNode(TreeNode& changes, int factor)
{
    for (TreeNode& child : changes.children)
        if (child.factor == factor) return &child;
    return nullptr;
}
