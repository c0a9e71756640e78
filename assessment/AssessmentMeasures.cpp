// The assessment's measures: capture, reset and the study.
#include "assessment/Assessment.h"

#include <algorithm>
#include <utility>

#include "common/KestalError.h"

namespace kestal {

namespace {

bool IsBlank(const std::string& text)
{
    return std::all_of(text.begin(), text.end(), [](unsigned char c) { return c == ' ' || (c >= 9 && c <= 13); });
}

}  // namespace

CaptureResult Assessment::Capture(const MeasureDraft& draft)
{
    const bool changes = std::any_of(draft.changes.begin(), draft.changes.end(), [&](const LevelMove& move) {
        return move.factor >= 0 && move.factor < FactorCount &&
               RatedItem(settings, FactorCatalogue[move.factor]) != move.item;
    });
    if (changes && IsBlank(draft.name)) throw KestalError(BlankMeasureNameText);
    // CaptureMeasure checks every amount and limit before it writes into the copy.
    MeasureTables copy = measures;
    const CaptureResult result = CaptureMeasure(copy, settings, {draft, BudgetAmount(), DamageAmount()});
    measures = std::move(copy);
    return result;
}

void Assessment::ResetMeasures()
{
    measures.MeasureCount = 0;
    measures.ChangeTotal = 0;
    ClearMeasureStore(measures);
    ClearPlanTable(measures);
}

void MeasureStudy::Execute(const WorkControl& control)
{
    // Counted in initiations: each series is K experiments of N.
    const int64_t perSeries = int64_t{parameters.k} * parameters.n;
    const int64_t total = StudySeriesCount(parameters.measures) * perSeries;
    int64_t finished = 0;  // initiations of the series judged or skipped so far
    StudyProgress progress;
    progress.experiment = [&](int32_t e, int32_t done) {
        control.Report(finished + (e - 1) * int64_t{parameters.n} + done, total);
    };
    progress.series = [&](int done, int) {
        finished = done * perSeries;
        control.Report(finished, total);
    };
    const double wall = net.clock->MonotonicSeconds(), cpu = net.clock->ThreadCpuSeconds();
    RunStudy(measures, settings, net, series, parameters, progress);
    timing = {net.clock->MonotonicSeconds() - wall, net.clock->ThreadCpuSeconds() - cpu};
}

MeasureStudy Assessment::PrepareStudy(const Clock& clock) const
{
    const StudyParameters parameters = CheckStudy(measures, {kText, nText, BudgetAmount(), DamageAmount()});
    MeasureStudy study{measures,   settings, net, series, parameters, Budget{parameters.budget, budgetText},
                       damageText, {}};
    study.net.clock = &clock;
    return study;
}

void Assessment::CommitStudy(MeasureStudy&& study)
{
    measures = std::move(study.measures);
    TakeNetworkState(net, study.net);
    series = std::move(study.series);
}

}  // namespace kestal
