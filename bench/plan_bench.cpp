// Speed of the plans on the example assessment, for targets a factor 2 and 10 below its accident
// probability: level steps at unit cost on its eight most important factors and on all thirty, and
// the measure plan over fifteen measures.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "analysis/ExactNodes.h"
#include "analysis/FactorImportance.h"
#include "analysis/LevelPlan.h"
#include "analysis/MeasurePlan.h"
#include "project/ProjectFile.h"

using namespace kestal;

namespace {

NetworkInputs ExampleInputs()
{
    return OpenProjectFile(KESTAL_SOURCE_DIR "/examples/workplace.kestal").assessment.RatingInputs();
}

// Unit costs on the `count` factors whose best level takes most off, the whole scale allowed.
std::vector<FactorSteps> UnitSteps(const NetworkInputs& in, int count)
{
    const ImportanceTable table = RankFactorImportance(in);
    std::vector<FactorSteps> steps;
    for (int i = 0; i < count; ++i) steps.push_back({table.factors[i].factor, 1.0L, 1, LevelCount});
    return steps;
}

void Report(benchmark::State& state, const LevelPlan& plan)
{
    state.counters["cost"] = static_cast<double>(plan.cost);
    state.counters["lower_bound"] = static_cast<double>(plan.lowerBound);
    state.counters["proven"] = plan.proven;
    state.counters["changes"] = static_cast<double>(plan.changes.size());
    state.counters["evaluations"] = static_cast<double>(plan.evaluations);
}

// Arguments: the number of factors and the factor the target lies below the current probability.
void BM_LevelPlan(benchmark::State& state)
{
    const NetworkInputs in = ExampleInputs();
    const std::vector<FactorSteps> steps = UnitSteps(in, static_cast<int>(state.range(0)));
    const long double target = ExactNodeProbabilities(in).node[NodeI] / state.range(1);
    LevelPlan plan;
    for (auto _ : state) plan = PlanLevels(in, steps, target);
    Report(state, plan);
}
BENCHMARK(BM_LevelPlan)
    ->Args({8, 2})
    ->Args({8, 10})
    ->Args({30, 2})
    ->Args({30, 10})
    ->Args({30, 30})
    ->Unit(benchmark::kSecond)
    ->Iterations(1);

// Fifteen measures over the 30 factors, two each, every one set to its best level (a factor
// already there to level 1, a harmful change), costs 100 to 1500.
std::vector<CandidateMeasure> FifteenMeasures(const NetworkInputs& in)
{
    std::vector<CandidateMeasure> measures;
    for (int m = 0; m < MaxCandidateMeasures; ++m) {
        CandidateMeasure measure{"M" + std::to_string(m + 1), 100.0f * (m + 1), {}};
        for (int slot : {2 * m, 2 * m + 1}) {
            const float best = LevelTable[WorseUpward(FactorBySlot(slot)) ? 0 : LevelCount - 1].value;
            measure.changes.emplace_back(slot, in.slot[slot] == best ? LevelTable[5].value : best);
        }
        measures.push_back(measure);
    }
    return measures;
}

void BM_MeasurePlanFifteen(benchmark::State& state)
{
    const NetworkInputs in = ExampleInputs();
    const std::vector<CandidateMeasure> measures = FifteenMeasures(in);
    const long double target = ExactNodeProbabilities(in).node[NodeI] / state.range(0);
    MeasurePlan plan;
    for (auto _ : state) plan = PlanMeasures(in, measures, target);
    state.counters["cost"] = static_cast<double>(plan.chosen.cost);
    state.counters["reachable"] = plan.reachable;
}
BENCHMARK(BM_MeasurePlanFifteen)->Arg(2)->Arg(10)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
