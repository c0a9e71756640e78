// The session's measure editor: selecting factors, the bars and their change nodes, the readiness
// of ">>", the capture and the reset.
#include "assessment/Session.h"

#include <algorithm>

#include "assessment/MeasureTree.h"
#include "common/KestalError.h"

namespace kestal {

namespace {

// The editor's readiness of ">>" after an event; a text that is no integer leaves it disabled.
bool ReadyAfter(bool before, const std::optional<bool>& ready) { return ready.value_or(before); }

template <class Rule>
bool ReadyBy(bool before, Rule rule)
{
    try {
        return ReadyAfter(before, rule());
    } catch (const KestalError&) {
        return false;
    }
}

}  // namespace

TreeNode& Session::PendingChangesNode() { return state_.shown.tree.children.back().children.front(); }

TreeNode& Session::OpenChangeNode(int factor)
{
    // One change node per factor of the pending measure: a factor edited again reuses its node.
    TreeNode& changes = PendingChangesNode();
    auto& children = changes.children;
    auto found = std::find_if(children.begin(), children.end(), [&](const TreeNode& n) { return n.factor == factor; });
    TreeNode node = found != children.end() ? *found : TreeNode{NoChangeText, 0, factor, {}};
    if (found != children.end()) children.erase(found);
    children.insert(children.begin(), node);
    return children.front();
}

void Session::SelectMeasureFactor(int factor)
{
    if (!state_.shown.editorEnabled || state_.Row(factor).locked) return;
    state_.shown.selectedFactor = factor;
    // A change node opened and left unused goes.
    auto& changes = PendingChangesNode().children;
    if (!changes.empty() && changes.front().text == NoChangeText) changes.erase(changes.begin());
}

void Session::EnterBar(int factor) { OpenChangeNode(factor); }

void Session::ExitBar(int factor)
{
    auto& changes = PendingChangesNode().children;
    std::erase_if(changes, [&](const TreeNode& node) { return node.factor == factor && node.text == NoChangeText; });
}

void Session::MoveBar(int factor, int position)
{
    const FactorInfo& info = FactorCatalogue.at(factor);
    EditorBar& bar = state_.shown.bars.at(factor);
    bar.position = std::clamp(position, 0, LevelCount - 1);
    bar.levelAfter = (*info.wording)[bar.position];
    const int current = RatedItem(assessment().settings, info);
    TreeNode& node = OpenChangeNode(factor);
    node.image = GroupImage(info);
    node.text = ChangeNodeText(info, current, bar.position);
    Presentation& shown = state_.shown;
    const TypedAmount cost{shown.cost, shown.costText};
    shown.captureArmed = ReadyBy(shown.captureArmed, [&] { return ReadinessAfterMove(current, bar.position, cost); });
    ++shown.treeExpansions;
}

void Session::SetMeasureName(const std::string& text) { state_.shown.measureName = text; }

void Session::SetCostText(const std::string& text)
{
    const TypedAmount cost = ReadAmount(text, inputLocale_);
    Presentation& shown = state_.shown;
    shown.costText = text;
    shown.cost = cost.value;
    const EditorRows rows = state_.Rows();
    shown.captureArmed = ReadyBy(shown.captureArmed, [&] { return ReadinessAfterCostChange(cost, rows); });
}

void Session::SetBudgetText(const std::string& text)
{
    state_.assessment.SetBudget(ReadAmount(text, inputLocale_));
    if (!text.empty()) JudgeStudyReady();
}

void Session::SetDamageText(const std::string& text)
{
    state_.assessment.SetDamage(ReadAmount(text, inputLocale_));
    if (!text.empty()) JudgeStudyReady();
}

void Session::JudgeStudyReady()
{
    const Assessment& a = assessment();
    state_.shown.studyReady = ReadyBy(state_.shown.studyReady, [&] {
        return std::optional<bool>(RunButtonEnabled(a.BudgetAmount(), a.DamageAmount(), a.measures.MeasureCount));
    });
}

bool Session::HasPendingChanges() const { return !PendingChanges(state_.Rows()).empty(); }

bool Session::CaptureButtonEnabled() const { return state_.shown.captureArmed && HasPendingChanges(); }

void Session::Capture()
{
    const Presentation& shown = state_.shown;
    Capture({shown.measureName, {shown.cost, shown.costText}, PendingChanges(state_.Rows())});
}

void Session::Capture(const MeasureDraft& draft)
{
    const CaptureResult result = state_.assessment.Capture(draft);
    Presentation& shown = state_.shown;
    shown.studyReady = result.runEnabled;
    shown.studyEstimateShown = true;
    if (result.captured) {
        TreeNode& measure = shown.tree.children.back();
        auto& changes = measure.children.front().children;
        // The nodes of factors the measure does not take leave it: a node left by a factor whose level
        // was then set on the modeling page holds no change; one of a bar the draft left where the
        // user moved it stays pending.
        std::vector<TreeNode> pending;
        std::erase_if(changes, [&](const TreeNode& node) {
            const auto& locked = result.lockedFactors;
            if (std::find(locked.begin(), locked.end(), node.factor) != locked.end()) return false;
            if (node.factor >= 0) {
                const EditorRow row = state_.Row(node.factor);
                if (!row.locked && row.position != row.currentItem) pending.push_back(node);
            }
            return true;
        });
        for (const int factor : result.lockedFactors) {
            const FactorInfo& info = FactorCatalogue[factor];
            EditorBar& bar = shown.bars[factor];
            // The bar shows the level the measure gives the factor, whether moved there or not.
            for (const LevelMove& move : draft.changes)
                if (move.factor == factor && bar.position != move.item) {
                    bar.position = move.item;
                    bar.levelAfter = (*info.wording)[move.item];
                }
            if (shown.selectedFactor == factor) shown.selectedFactor = -1;
            if (FactorNode(measure.children.front(), factor)) continue;
            changes.push_back({ChangeNodeText(info, RatedItem(assessment().settings, info), bar.position),
                               GroupImage(info),
                               factor,
                               {}});
        }
        measure.children.back().text = result.costNodeText;
        shown.measureName = result.nextName;
        shown.tree.children.push_back(MeasureNode(result.nextName));
        PendingChangesNode().children = std::move(pending);
    }
    shown.captureArmed = false;
    SetCostText("0");
}

void Session::ResetMeasures()
{
    state_.assessment.ResetMeasures();
    Presentation& shown = state_.shown;
    shown.studyReady = false;
    shown.studyEstimateShown = false;
    shown.tree = InitialTree();
    shown.measureName = MeasureNameText(1);
    SetCostText("0");
    shown.study.listing = {ListingTitle};
    shown.study.totalsShown = false;
    shown.selectedFactor = -1;
    for (int f = 0; f < FactorCount; ++f) shown.bars[f] = BarOnLevel(assessment(), f);
    shown.editorEnabled = true;
}

}  // namespace kestal
