// The session's measure study and the two views of its totals table.
#include "assessment/Session.h"

#include <utility>

#include "common/Conversions.h"

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

MeasureStudy Session::PrepareStudy() const
{
    const StudyParameters parameters =
        CheckStudy(state_.measures, {state_.kText, state_.nText, state_.budgetText, state_.damageText}, inputLocale_);
    return {state_.measures, state_.settings, state_.net, state_.series, parameters,
            Budget{parameters.budget, state_.budgetText}, state_.damageText, {}};
}

void Session::CommitStudy(MeasureStudy&& study)
{
    LearnLoad(study.timing);
    state_.measures = std::move(study.measures);
    state_.net = study.net;
    state_.series = std::move(study.series);
    StudyOutcome& outcome = state_.study;
    outcome.listing = StudyListing(state_.measures, study.budget, displayLocale_);
    outcome.totalsShown = true;
    outcome.detailed = false;
    outcome.totalsBudget = study.budget;
    outcome.moneyLabel = TotalMoneyLabel(study.budget.text);
    outcome.damageLabel = TotalDamageLabel(study.damageText);
    state_.editorEnabled = false;
    state_.studyReady = false;
}

void Session::Study(const WorkControl& control)
{
    MeasureStudy study = PrepareStudy();
    study.Execute(control);
    CommitStudy(std::move(study));
}

void Session::ShowTotals(bool detailed)
{
    const Budget budget{ParseFloat(state_.budgetText, inputLocale_), state_.budgetText};
    state_.study.totalsBudget = budget;
    state_.study.moneyLabel = TotalMoneyLabel(budget.text);
    state_.study.detailed = detailed;
}

TotalsView Session::Totals() const
{
    const StudyOutcome& study = state_.study;
    return study.detailed ? DetailedTotals(state_.measures, study.totalsBudget, displayLocale_)
                          : CompactTotals(state_.measures, study.totalsBudget, displayLocale_);
}
