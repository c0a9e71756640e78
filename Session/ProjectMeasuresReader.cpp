// Reading the measures of a project file: the captured measures, the ranked store and the tree.
#include <algorithm>

#include "ActSelect/Capture.h"
#include "Session/ProjectReading.h"
#include "common/Text.h"

namespace {

constexpr int TreeImages = 8;  // the tree's icons 0..7

struct ReadChange {
    int factor;  // catalogue index
    ChangeFactor change;
};

// One change, as the capture records it: the factor's row text, the caption of its level before
// (which names that level) and the caption and value of its level after.
ReadChange ChangeOf(const JsonNode& node, const SettingsTable& settings)
{
    node.ExpectObject({"factor", "before", "after"});
    const FactorInfo& factor = FactorOf(node["factor"]);
    const std::string before = node["before"].Text();
    const int itemBefore = ItemOfLevelText(factor, before);
    if (itemBefore < 0) node["before"].Refuse("«" + before + "» не оценка фактора " + factor.id);
    const int itemAfter = static_cast<int>(node["after"].Integer(1, LevelCount)) - 1;
    return {CatalogueIndex(factor),
            {settings.row[factor.slot].RowText, before,
             CutToCapacity((*factor.wording)[itemAfter], LevelNameCapacity), LevelTable[itemBefore].value,
             LevelTable[itemAfter].value}};
}

TreeNode NodeOf(const JsonNode& node, std::initializer_list<std::string_view> keys)
{
    node.ExpectObject(keys);
    return {node["text"].Text(), static_cast<int>(node["image"].Integer(0, TreeImages - 1)), -1, {}};
}

std::vector<JsonNode> ChildrenOf(const JsonNode& node, std::size_t min, std::size_t max)
{
    if (!node.Has("children") && min == 0) return {};
    return node["children"].Items(min, max);
}

// The change nodes of a changes node: one per factor.
std::vector<int> ReadChangeNodes(const JsonNode& changes, TreeNode& out)
{
    std::vector<int> factors;
    for (const JsonNode& child : ChildrenOf(changes, 0, FactorCount)) {
        TreeNode node = NodeOf(child, {"text", "image", "factor"});
        node.factor = CatalogueIndex(FactorOf(child["factor"]));
        if (std::count(factors.begin(), factors.end(), node.factor))
            child["factor"].Refuse("фактор указан дважды");
        factors.push_back(node.factor);
        out.children.push_back(std::move(node));
    }
    return factors;
}

}  // namespace

std::vector<std::vector<int>> ReadMeasures(const JsonNode& measures, SessionState& state)
{
    MeasureTables& tables = state.measures;
    std::vector<std::vector<int>> factors;
    for (const JsonNode& node : measures.Items(0, MaxMeasures, TooManyMeasuresText)) {
        node.ExpectObject({"name", "cost", "changes"});
        const int k = ++tables.MeasureCount;
        operation& measure = tables.captured[k - 1];
        measure.Name = node["name"].Text();
        measure.Cost = node["cost"].Single();
        if (!(measure.Cost >= 1.0f)) node["cost"].Refuse(CostBelowOneText);
        std::vector<int>& measureFactors = factors.emplace_back();
        int j = 0;
        for (const JsonNode& changeNode : node["changes"].Items(1, MaxCapturedChanges, TooManyChangesText)) {
            const ReadChange read = ChangeOf(changeNode, state.settings);
            if (std::count(measureFactors.begin(), measureFactors.end(), read.factor))
                changeNode["factor"].Refuse("фактор указан дважды");
            measureFactors.push_back(read.factor);
            measure.Changes[++j] = read.change;
            FactorSetting& cell = tables.MeasurePlanTable[FactorCatalogue[read.factor].slot][k];
            cell.Value = read.change.ValueAfter;
            cell.LevelName = read.change.LevelAfter;
        }
        tables.ChangeTotal = static_cast<uint16_t>(tables.ChangeTotal + j);
    }
    return factors;
}

void ReadStore(const JsonNode& store, SessionState& state)
{
    int s = 0;
    for (const JsonNode& node : store.Items(0, StorePositions)) {
        node.ExpectObject({"name", "cost", "delta", "benefit", "ratio", "changes"});
        operation& record = state.measures.MeasureStore(++s);
        record.Name = node["name"].Text();
        record.Cost = node["cost"].Single();
        record.Delta = node["delta"].Single();
        record.Benefit = node["benefit"].Single();
        record.Ratio = node["ratio"].Single();
        int j = 0;
        for (const JsonNode& change : node["changes"].Items(0, MaxCombinedChanges))
            record.Changes[++j] = ChangeOf(change, state.settings).change;
    }
}

TreeNode ReadTree(const JsonNode& tree, const std::vector<std::vector<int>>& measureFactors)
{
    TreeNode root = NodeOf(tree, {"text", "image", "children"});
    const std::size_t measures = measureFactors.size() + 1;  // the captured ones and the pending one
    for (const JsonNode& measureNode : ChildrenOf(tree, measures, measures)) {
        TreeNode& measure = root.children.emplace_back(NodeOf(measureNode, {"text", "image", "children"}));
        const std::vector<JsonNode> parts = ChildrenOf(measureNode, 2, 2);
        TreeNode& changes = measure.children.emplace_back(NodeOf(parts[0], {"text", "image", "children"}));
        std::vector<int> factors = ReadChangeNodes(parts[0], changes);
        measure.children.push_back(NodeOf(parts[1], {"text", "image"}));
        const std::size_t m = root.children.size() - 1;
        if (m < measureFactors.size()) {
            std::vector<int> captured = measureFactors[m];
            std::sort(factors.begin(), factors.end());
            std::sort(captured.begin(), captured.end());
            if (factors != captured)
                parts[0].Refuse("факторы не те, что в measures[" + std::to_string(m) + "].changes");
        }
    }
    return root;
}
