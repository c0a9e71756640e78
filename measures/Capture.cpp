// Capture of the pending measure into the measure store and the plan table.
#include "measures/Capture.h"

#include <algorithm>

#include "common/CheckedMath.h"
#include "common/KestalError.h"
#include "common/Text.h"

namespace kestal {

namespace {

// The factors the draft changes, capture order, each to its new item; refused as CaptureMeasure says.
std::vector<LevelMove> ChangedFactors(const MeasureTables& tables, const SettingsTable& settings,
                                      const MeasureDraft& draft)
{
    std::vector<LevelMove> changed;
    for (const LevelMove& move : draft.changes) {
        if (move.factor < 0 || move.factor >= FactorCount || move.item < 0 || move.item >= LevelCount)
            throw KestalError("Недопустимое изменение фактора в мероприятии");
        const std::string id = FactorCatalogue[move.factor].id;
        for (const LevelMove& other : changed)
            if (other.factor == move.factor) throw KestalError("Фактор " + id + " изменён в мероприятии дважды");
        if (HeldByMeasure(tables, settings, FactorCatalogue[move.factor]))
            throw KestalError("Фактор " + id + " уже входит в другое мероприятие");
        changed.push_back(move);
    }
    std::erase_if(
        changed, [&](const LevelMove& move) { return RatedItem(settings, FactorCatalogue[move.factor]) == move.item; });
    std::sort(changed.begin(), changed.end(),
              [](const LevelMove& a, const LevelMove& b) { return a.factor < b.factor; });
    return changed;
}

// The cost as stored. A cost below 1, which ">>" is never made ready for, would give no sound
// benefit per cost.
float CheckedCost(const TypedAmount& cost)
{
    const long double amount = cost.Number();
    if (amount < 1.0L) throw KestalError(CostBelowOneText);
    return ToSingle(amount);
}

}  // namespace

std::vector<LevelMove> PendingChanges(const EditorRows& rows)
{
    std::vector<LevelMove> changes;
    for (int f = 0; f < FactorCount; ++f)
        if (rows[f].position != rows[f].currentItem && !rows[f].locked) changes.push_back({f, rows[f].position});
    return changes;
}

CaptureResult CaptureMeasure(MeasureTables& tables, const SettingsTable& settings, const CaptureInput& input)
{
    const std::vector<LevelMove> changed = ChangedFactors(tables, settings, input.draft);

    CaptureResult result;
    result.captured = !changed.empty();
    const int k = tables.MeasureCount + (result.captured ? 1 : 0);
    result.runEnabled = RunButtonEnabled(input.budget, input.damage, k);
    if (!result.captured) return result;

    if (k > MaxMeasures) throw KestalError(TooManyMeasuresText);
    if (changed.size() > MaxCapturedChanges) throw KestalError(TooManyChangesText);
    const float cost = CheckedCost(input.draft.cost);

    operation& measure = tables.captured[k - 1];
    measure = operation{};
    // A study may have built a combination in this column: it holds the measure's changes only.
    for (auto& row : tables.MeasurePlanTable) {
        row[k].Value = 0.0f;
        row[k].LevelName.clear();
    }
    int j = 0;
    for (const auto& [f, item] : changed) {
        const FactorInfo& factor = FactorCatalogue[f];
        const float after = LevelTable.at(item).value;
        const std::string levelAfter = CutToCapacity((*factor.wording)[item], LevelNameCapacity);
        measure.Changes[++j] = {settings.row[factor.slot].RowText,
                                CutToCapacity(LevelCaption(settings, factor), LevelNameCapacity), levelAfter,
                                settings.row[factor.slot].Value, after};
        FactorSetting& cell = tables.MeasurePlanTable[factor.slot][k];
        cell.Value = after;
        cell.LevelName = levelAfter;
    }
    measure.Cost = cost;
    measure.Name = input.draft.name;

    // Until a study ranks them, the store shows the captured measures at their own positions. A
    // capture after a study replaces the ranked record there whole, not with another's results.
    tables.MeasureStore(k) = measure;

    tables.MeasureCount = static_cast<uint8_t>(k);
    tables.ChangeTotal = static_cast<uint16_t>(tables.ChangeTotal + changed.size());

    result.measure = k;
    for (const LevelMove& move : changed) result.lockedFactors.push_back(move.factor);
    result.costNodeText = "Затраты = " + input.draft.cost.text + " у.е.";
    result.nextName = MeasureNameText(k + 1);
    return result;
}

}  // namespace kestal
