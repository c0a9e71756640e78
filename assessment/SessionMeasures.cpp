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

TreeNode& Session::PendingChangesNode() { return state_.tree.children.back().children.front(); }

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
    if (!state_.editorEnabled || state_.editor.at(factor).locked) return;
    state_.selectedFactor = factor;
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
    EditorRow& row = state_.editor.at(factor);
    row.position = std::clamp(position, 0, LevelCount - 1);
    row.levelAfter = (*info.wording)[row.position];
    TreeNode& node = OpenChangeNode(factor);
    node.image = GroupImage(info);
    node.text = ChangeNodeText(info, row.currentItem, row.position);
    const TypedAmount cost{state_.cost, state_.costText};
    state_.captureArmed =
        ReadyBy(state_.captureArmed, [&] { return ReadinessAfterMove(row.currentItem, row.position, cost); });
    ++state_.treeExpansions;
}

void Session::SetMeasureName(const std::string& text) { state_.measureName = text; }

void Session::SetCostText(const std::string& text)
{
    const TypedAmount cost = ReadAmount(text, inputLocale_);
    state_.costText = text;
    state_.cost = cost.value;
    state_.captureArmed = ReadyBy(state_.captureArmed, [&] { return ReadinessAfterCostChange(cost, state_.editor); });
}

void Session::SetBudgetText(const std::string& text)
{
    state_.SetBudget(ReadAmount(text, inputLocale_));
    if (!text.empty()) JudgeStudyReady();
}

void Session::SetDamageText(const std::string& text)
{
    state_.SetDamage(ReadAmount(text, inputLocale_));
    if (!text.empty()) JudgeStudyReady();
}

void Session::JudgeStudyReady()
{
    state_.studyReady = ReadyBy(state_.studyReady, [&] {
        return std::optional<bool>(
            RunButtonEnabled(state_.BudgetAmount(), state_.DamageAmount(), state_.measures.MeasureCount));
    });
}

bool Session::HasPendingChanges() const
{
    return std::any_of(state_.editor.begin(), state_.editor.end(),
                       [](const EditorRow& row) { return !row.locked && row.position != row.currentItem; });
}

bool Session::CaptureButtonEnabled() const { return state_.captureArmed && HasPendingChanges(); }

void Session::Capture()
{
    Capture({state_.measureName, {state_.cost, state_.costText}, PendingChanges(state_.editor)});
}

void Session::Capture(const MeasureDraft& draft)
{
    const CaptureResult result = state_.Capture(state_.editor, draft);
    state_.studyReady = result.runEnabled;
    state_.studyEstimateShown = true;
    if (result.captured) {
        TreeNode& measure = state_.tree.children.back();
        auto& changes = measure.children.front().children;
        // The nodes of factors the measure does not take leave it: a node left by a factor whose level
        // was then set on the modeling page holds no change; one of a bar the draft left where the
        // user moved it stays pending.
        std::vector<TreeNode> pending;
        std::erase_if(changes, [&](const TreeNode& node) {
            const auto& locked = result.lockedFactors;
            if (std::find(locked.begin(), locked.end(), node.factor) != locked.end()) return false;
            if (node.factor >= 0) {
                const EditorRow& row = state_.editor[node.factor];
                if (!row.locked && row.position != row.currentItem) pending.push_back(node);
            }
            return true;
        });
        for (const int factor : result.lockedFactors) {
            const FactorInfo& info = FactorCatalogue[factor];
            EditorRow& row = state_.editor[factor];
            // The bar shows the level the measure gives the factor, whether moved there or not.
            for (const LevelMove& move : draft.changes)
                if (move.factor == factor && row.position != move.item) {
                    row.position = move.item;
                    row.levelAfter = (*info.wording)[move.item];
                }
            row.locked = true;
            if (state_.selectedFactor == factor) state_.selectedFactor = -1;
            if (FactorNode(measure.children.front(), factor)) continue;
            changes.push_back({ChangeNodeText(info, row.currentItem, row.position), GroupImage(info), factor, {}});
        }
        measure.children.back().text = result.costNodeText;
        state_.measureName = result.nextName;
        state_.tree.children.push_back(MeasureNode(result.nextName));
        PendingChangesNode().children = std::move(pending);
    }
    state_.captureArmed = false;
    SetCostText("0");
}

void Session::ResetMeasures()
{
    state_.Assessment::ResetMeasures();
    state_.studyReady = false;
    state_.studyEstimateShown = false;
    state_.tree = InitialTree();
    state_.measureName = MeasureNameText(1);
    SetCostText("0");
    state_.study.listing = {ListingTitle};
    state_.study.totalsShown = false;
    state_.selectedFactor = -1;
    for (EditorRow& row : state_.editor) {
        row.locked = false;
        row.levelAfter = row.levelBefore;
        row.position = row.currentItem;
    }
    state_.editorEnabled = true;
}

}  // namespace kestal
