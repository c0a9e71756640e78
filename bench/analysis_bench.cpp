// Speed of the exact analysis: node probabilities, the importance table and the optimizer over
// fifteen measures, all under the initial ratings.
#include <benchmark/benchmark.h>

#include <vector>

#include "analysis/BestMeasures.h"
#include "analysis/ExactNodes.h"
#include "analysis/FactorImportance.h"
#include "factors/Settings.h"

using namespace kestal;

namespace {

void BM_ExactNodeProbabilities(benchmark::State& state)
{
    const NetworkInputs in = InitialInputs();
    for (auto _ : state) {
        benchmark::DoNotOptimize(ExactNodeProbabilities(in));
    }
}
BENCHMARK(BM_ExactNodeProbabilities)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly();

void BM_ImportanceTable(benchmark::State& state)
{
    const NetworkInputs in = InitialInputs();
    for (auto _ : state) {
        benchmark::DoNotOptimize(RankFactorImportance(in));
    }
}
BENCHMARK(BM_ImportanceTable)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();

// Fifteen measures over the 30 factors, two each, every one raised to the best level (the ratings
// beyond the default level take level 11 too), costs 100 to 1500.
std::vector<CandidateMeasure> FifteenMeasures(const NetworkInputs& in)
{
    std::vector<CandidateMeasure> measures;
    for (int m = 0; m < MaxCandidateMeasures; ++m) {
        CandidateMeasure measure{"M" + std::to_string(m + 1), 100.0f * (m + 1), {}};
        for (int slot : {2 * m, 2 * m + 1}) {
            const float best = LevelTable[LevelCount - 1].value;
            measure.changes.emplace_back(slot, in.slot[slot] == best ? LevelTable[0].value : best);
        }
        measures.push_back(measure);
    }
    return measures;
}

void BM_OptimizeFifteenMeasures(benchmark::State& state)
{
    const NetworkInputs in = InitialInputs();
    const std::vector<CandidateMeasure> measures = FifteenMeasures(in);
    for (auto _ : state) {
        benchmark::DoNotOptimize(OptimizeMeasures(in, measures, 1500.0L, 10'000'000.0L));
    }
}
BENCHMARK(BM_OptimizeFifteenMeasures)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();

}  // namespace
