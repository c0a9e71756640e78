// The measure study: evaluation of plan columns, judging against the budget, combinations, ranking.
#include "measures/Study.h"

#include <initializer_list>
#include <utility>

#include "common/CheckedMath.h"
#include "common/Conversions.h"
#include "common/KestalError.h"

namespace kestal {

float EvaluateMeasure(const MeasureTables& tables, int column, GertNetwork& net, SeriesTable& series,
                      const ExperimentProgress& progress)
{
    CheckRunParameters(series.ExperimentCount, series.InitiationCount);
    for (int r = 0; r < FactorCount; ++r) {
        const float value = tables.MeasurePlanTable[r][column].Value;
        if (value > 0.0f) net.inputs.slot[r] = value;
    }
    for (int32_t e = 1; e <= series.ExperimentCount; ++e) {
        RunExperiment(net, series.InitiationCount, e, progress);
        series.column[NodeI][e - 1] = net.counters.node[NodeI];
        if (progress) progress(e, series.InitiationCount);
    }
    return ToSingle(CheckedDivide(SeriesMean(series, NodeI), series.InitiationCount));
}

void SortMeasures(MeasureTables& tables, int count)
{
    for (int i = 1; i < count; ++i) {
        int best = i;
        for (int j = i + 1; j <= count; ++j)
            if (tables.MeasureStore(best).Ratio < tables.MeasureStore(j).Ratio) best = j;
        if (best != i) std::swap(tables.MeasureStore(i), tables.MeasureStore(best));
    }
}

int StudySeriesCount(int measures)
{
    switch (measures) {
    case 2:
        return 1 + 2 + 1;  // the baseline, the two measures, their pair
    case 3:
        return 1 + 3 + 4;  // the baseline, the three measures, three pairs and the triple
    default:
        return 0;
    }
}

namespace {

// One study in progress: the tables it works on, the parsed texts and the progress bar's count.
struct StudyRun {
    MeasureTables& tables;
    const SettingsTable& settings;
    GertNetwork& net;
    SeriesTable& series;
    const StudyProgress& progress;
    long double budget;
    long double damage;
    int maximum;      // of the progress bar
    int totalSeries;  // StudySeriesCount
    int steps = 0;
    int seriesDone = 0;
    float baseline = 0.0f;

    void Step()
    {
        ++steps;
        if (progress.step) progress.step(steps, maximum);
    }
    // A series simulated, or skipped as over the budget.
    void SeriesDone()
    {
        ++seriesDone;
        if (progress.series) progress.series(seriesDone, totalSeries);
    }
    void RestoreInputs() { CopySettingsToInputs(settings, net.inputs); }
    float Evaluate(int column) { return EvaluateMeasure(tables, column, net, series, progress.experiment); }

    // Delta and Benefit of `record` under plan column `column`; the inputs restored afterwards.
    void Simulate(operation& record, int column)
    {
        record.Delta = ToSingle(static_cast<long double>(baseline) - Evaluate(column));
        Step();
        record.Benefit = ToSingle(damage * record.Delta);
        RestoreInputs();
    }

    void JudgeMeasure(int i)
    {
        operation& measure = tables.MeasureStore(i);
        if (budget >= measure.Cost) {
            Simulate(measure, i);
            measure.Ratio = ToSingle(CheckedDivide(measure.Benefit, measure.Cost));
        } else {
            Step();
        }
        SeriesDone();
    }

    // Column `column` := the members' plan cells, later members' changed cells over earlier ones.
    void BuildColumn(std::initializer_list<int> members, int column)
    {
        auto& plan = tables.MeasurePlanTable;
        const int first = *members.begin();
        for (int r = 0; r < FactorCount; ++r) plan[r][column] = plan[r][first];
        for (auto m = members.begin() + 1; m != members.end(); ++m)
            for (int r = 0; r < FactorCount; ++r)
                if (plan[r][*m].Value > 0.0f) plan[r][column] = plan[r][*m];
    }

    // Combination of `members` (ascending capture order) into position `target`, built in `column`.
    void JudgeCombination(std::initializer_list<int> members, int target, int column, float overBudgetMark)
    {
        long double sum = 0.0L;
        std::string name;
        for (int m : members) {
            sum += tables.MeasureStore(m).Cost;
            if (m != *members.begin()) name += " + ";
            name += tables.MeasureStore(m).Name;
        }
        operation& combination = tables.MeasureStore(target);
        if (sum > budget) {
            combination.Ratio = overBudgetMark;
            Step();
            combination.Name = name;
            combination.Cost = ToSingle(sum);
            SeriesDone();
            return;
        }
        BuildColumn(members, column);
        Simulate(combination, column);
        combination.Name = name;
        combination.Cost = ToSingle(sum);
        combination.Ratio = ToSingle(CheckedDivide(combination.Benefit, combination.Cost));
        int j = 0;
        for (int m : members) {
            const ChangeFactorS& changes = tables.MeasureStore(m).Changes;
            for (int e = 1; e <= changes.Count() && j < MaxCombinedChanges; ++e) combination.Changes[++j] = changes[e];
        }
        SeriesDone();
    }
};

}  // namespace

StudyParameters CheckStudy(const MeasureTables& tables, const StudyInputs& inputs)
{
    const int measures = tables.MeasureCount;
    if (measures != 2 && measures != 3) throw KestalError(StudyCountText);
    const RunSize size = ReadRunSize(inputs.kText, inputs.nText);
    const long double budget = inputs.budget.Number();
    const long double damage = inputs.damage.Number();
    return {measures, size.k, size.n, budget, damage};
}

int RunStudy(MeasureTables& tables, const SettingsTable& settings, GertNetwork& net, SeriesTable& series,
             const StudyParameters& parameters, const StudyProgress& progress)
{
    const int count = parameters.measures;
    for (int r = 0; r < FactorCount; ++r) tables.MeasurePlanTable[r][0] = settings.row[r];
    series.ExperimentCount = parameters.k;
    series.InitiationCount = parameters.n;
    // Each study judges the captured measures afresh: ranked records of an earlier study are dropped.
    tables.store.fill(operation{});
    for (int m = 1; m <= count; ++m) tables.MeasureStore(m) = tables.captured[m - 1];

    StudyRun run{tables,
                 settings,
                 net,
                 series,
                 progress,
                 parameters.budget,
                 parameters.damage,
                 count == 2 ? 5 : 10,
                 StudySeriesCount(count)};
    run.Step();
    run.RestoreInputs();
    run.baseline = run.Evaluate(0);
    run.SeriesDone();
    run.Step();
    run.RestoreInputs();
    for (int m = 1; m <= count; ++m) run.JudgeMeasure(m);
    int candidates;
    if (count == 2) {
        run.JudgeCombination({1, 2}, 3, 12, PairStudyOverBudget);
        candidates = 3;
    } else {
        run.JudgeCombination({2, 3}, 4, 4, TripleStudyOverBudget);
        run.JudgeCombination({1, 3}, 5, 5, TripleStudyOverBudget);
        run.JudgeCombination({1, 2}, 6, 6, TripleStudyOverBudget);
        run.JudgeCombination({1, 2, 3}, 7, 7, TripleStudyOverBudget);
        candidates = 7;
    }
    run.Step();
    SortMeasures(tables, candidates);
    return candidates;
}

int RunStudy(MeasureTables& tables, const SettingsTable& settings, GertNetwork& net, SeriesTable& series,
             const StudyInputs& inputs, const StudyProgress& progress)
{
    return RunStudy(tables, settings, net, series, CheckStudy(tables, inputs), progress);
}

}  // namespace kestal
