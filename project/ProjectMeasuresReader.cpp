// Reading the measures of a project file: the captured measures and the ranked store.
#include <algorithm>

#include "measures/Capture.h"
#include "measures/Study.h"
#include "project/ProjectReading.h"
#include "common/Text.h"

namespace kestal {

namespace {

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
            {settings.row[factor.slot].RowText, before, CutToCapacity((*factor.wording)[itemAfter], LevelNameCapacity),
             LevelTable[itemBefore].value, LevelTable[itemAfter].value}};
}

// Whether a record's ratio is what the study writes: its benefit over its cost rounded to single
// (0 for a free record, of cost 0), or the mark of a combination over the budget, whose benefit
// stays 0.
bool RatioAsStudied(const operation& record)
{
    if (record.Cost == 0.0f) return record.Ratio == 0.0f && record.Benefit == 0.0f;
    if (record.Ratio == static_cast<float>(static_cast<long double>(record.Benefit) / record.Cost)) return true;
    return (record.Ratio == PairStudyOverBudget || record.Ratio == TripleStudyOverBudget) && record.Benefit == 0.0f;
}

}  // namespace

std::vector<std::vector<int>> ReadMeasures(const JsonNode& measures, Assessment& assessment)
{
    MeasureTables& tables = assessment.measures;
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
            const ReadChange read = ChangeOf(changeNode, assessment.settings);
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

void ReadStore(const JsonNode& store, Assessment& assessment)
{
    int s = 0;
    for (const JsonNode& node : store.Items(0, StorePositions)) {
        node.ExpectObject({"name", "cost", "delta", "benefit", "ratio", "changes"});
        operation& record = assessment.measures.MeasureStore(++s);
        record.Name = node["name"].Text();
        record.Cost = node["cost"].Single();
        record.Delta = node["delta"].Single();
        record.Benefit = node["benefit"].Single();
        record.Ratio = node["ratio"].Single();
        if (!RatioAsStudied(record)) node["ratio"].Refuse("не равно benefit ÷ cost");
        int j = 0;
        for (const JsonNode& change : node["changes"].Items(0, MaxCombinedChanges))
            record.Changes[++j] = ChangeOf(change, assessment.settings).change;
    }
}

}  // namespace kestal
