// Capture of the pending measure into the measure store and the plan table.
#include "measures/Capture.h"

#include "common/CheckedMath.h"
#include "common/Conversions.h"
#include "common/KestalError.h"
#include "common/Text.h"

namespace {

bool IsChanged(const EditorRow& row) { return row.position != row.currentItem && !row.locked; }

// The cost as stored: the text read as a floating-point number. A cost below 1, which ">>" is never
// made ready for, would give no sound benefit per cost.
float ParseCost(const std::string& costText, const NumberLocale& locale) {
    const long double cost = ParseFloat(costText, locale);
    if (cost < 1.0L) throw KestalError(CostBelowOneText);
    return ToSingle(cost);
}

}  // namespace

CaptureResult CaptureMeasure(MeasureTables& tables, const SettingsTable& settings, const CaptureInput& input,
                             const NumberLocale& locale) {
    std::vector<int> changed;
    for (int f = 0; f < FactorCount; ++f)
        if (IsChanged(input.rows[f])) changed.push_back(f);

    CaptureResult result;
    result.captured = !changed.empty();
    const int k = tables.MeasureCount + (result.captured ? 1 : 0);
    result.runEnabled = RunButtonEnabled(input.budgetText, input.damageText, k, locale);
    if (!result.captured) return result;

    if (k > MaxMeasures) throw KestalError(TooManyMeasuresText);
    if (changed.size() > MaxCapturedChanges) throw KestalError(TooManyChangesText);
    const float cost = ParseCost(input.costText, locale);

    operation& measure = tables.captured[k - 1];
    measure = operation{};
    int j = 0;
    for (int f : changed) {
        const FactorInfo& factor = FactorCatalogue[f];
        const EditorRow& row = input.rows[f];
        const float after = LevelTable.at(row.position).value;
        const std::string levelAfter = CutToCapacity(row.levelAfter, LevelNameCapacity);
        measure.Changes[++j] = {settings.row[factor.slot].RowText, CutToCapacity(row.levelBefore, LevelNameCapacity),
                                levelAfter, settings.row[factor.slot].Value, after};
        FactorSetting& cell = tables.MeasurePlanTable[factor.slot][k];
        cell.Value = after;
        cell.LevelName = levelAfter;
    }
    measure.Cost = cost;
    measure.Name = input.name;

    // Until a study ranks them, the store shows the captured measures at their own positions. A
    // capture after a study replaces the ranked record there whole, not with another's results.
    tables.MeasureStore(k) = measure;

    tables.MeasureCount = static_cast<uint8_t>(k);
    tables.ChangeTotal = static_cast<uint16_t>(tables.ChangeTotal + changed.size());

    result.measure = k;
    result.lockedFactors = changed;
    result.costNodeText = "Затраты = " + input.costText + " у.е.";
    result.nextName = MeasureNameText(k + 1);
    return result;
}
