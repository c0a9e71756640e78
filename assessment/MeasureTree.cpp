// The measure tree as data, and an assessment seen afresh.
#include "assessment/MeasureTree.h"

#include "measures/Amounts.h"

namespace kestal {

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

TreeNode DerivedTree(const SessionState& state, const NumberLocale& locale)
{
    TreeNode root{TreeRootText, 0, -1, {}};
    const Assessment& assessment = state.assessment;
    const int count = assessment.measures.MeasureCount;
    for (int m = 0; m < count; ++m) {
        const operation& measure = assessment.measures.captured[m];
        TreeNode& node = root.children.emplace_back(MeasureNode(MeasureNameText(m + 1)));
        for (int j = 1; j <= measure.Changes.Count(); ++j) {
            const ChangeFactor& change = measure.Changes[j];
            for (int f = 0; f < FactorCount; ++f) {
                const FactorInfo& factor = FactorCatalogue[f];
                if (assessment.settings.row[factor.slot].RowText != change.Factor) continue;
                const int before = ItemOfLevelText(factor, change.LevelBefore);
                const int after = ItemOfLevelText(factor, change.LevelAfter);
                if (before >= 0 && after >= 0)
                    node.children.front().children.push_back(
                        {ChangeNodeText(factor, before, after), GroupImage(factor), f, {}});
                break;
            }
        }
        node.children.back().text = "Затраты = " + AmountText(measure.Cost, locale) + " у.е.";
    }
    TreeNode& pending = root.children.emplace_back(MeasureNode(MeasureNameText(count + 1)));
    for (const LevelMove& move : PendingChanges(state.Rows())) {
        const FactorInfo& factor = FactorCatalogue[move.factor];
        pending.children.front().children.push_back(
            {ChangeNodeText(factor, RatedItem(assessment.settings, factor), move.item),
             GroupImage(factor),
             move.factor,
             {}});
    }
    return root;
}

void FormDerivedParts(SessionState& state, const NumberLocale& locale)
{
    const auto text = [&](const std::optional<long double>& amount) {
        return amount ? AmountText(*amount, locale) : std::string();
    };
    state.shown.costText = text(state.shown.cost);
    state.assessment.budgetText = text(state.assessment.budget);
    state.assessment.damageText = text(state.assessment.damage);
    state.shown.tree = DerivedTree(state, locale);
    state.shown.treeExpansions = 0;
}

Presentation PresentationOf(const Assessment& assessment, const NumberLocale& locale)
{
    SessionState state{assessment, {}};
    Presentation& shown = state.shown;
    for (int f = 0; f < FactorCount; ++f) shown.bars[f] = BarOnLevel(assessment, f);
    shown.measureName = MeasureNameText(assessment.measures.MeasureCount + 1);
    shown.tree = DerivedTree(state, locale);
    return shown;
}

}  // namespace kestal
