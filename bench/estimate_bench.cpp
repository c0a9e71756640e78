// The run-time estimate against the actual run: the start-up calibration under the initial
// ratings, then a run of K = 200 experiments of N = 100 000 under other ratings, estimated with
// and without the cost factor of those ratings; both timed on the thread's processor time.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <random>
#include <string>

#include "analysis/RunCost.h"
#include "network/Calibration.h"
#include "factors/Settings.h"

using namespace kestal;

namespace {

constexpr int32_t K = 200;
constexpr int32_t N = 100'000;
constexpr double SecondsPerDay = 86400.0;

NetworkInputs AllAtLevel(int item)
{
    NetworkInputs in;
    in.slot.fill(LevelTable[item].value);
    return in;
}

NetworkInputs H01H02Lowered()
{
    NetworkInputs in = InitialInputs();
    in.slot[InputSlot::H01] = in.slot[InputSlot::H02] = LevelTable[0].value;
    return in;
}

NetworkInputs RandomLevels(unsigned seed)
{
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> item(0, LevelCount - 1);
    NetworkInputs in;
    for (float& slot : in.slot) slot = LevelTable[item(random)].value;
    return in;
}

// The initial ratings (95 % end at stage 1); H01 and H02 at level 1; every factor at one level
// (level 1: 81 % reach stage 4; level 3: every stage close to a coin toss); four sets of random
// levels (seeded).
struct RatingSet {
    std::string name;
    NetworkInputs inputs;
};
const RatingSet RatingSets[] = {
    {"initial", InitialInputs()},  {"H01H02-level1", H01H02Lowered()}, {"all-level1", AllAtLevel(0)},
    {"all-level2", AllAtLevel(1)}, {"all-level3", AllAtLevel(2)},      {"all-level4", AllAtLevel(3)},
    {"all-level6", AllAtLevel(5)}, {"all-level11", AllAtLevel(10)},    {"random-1", RandomLevels(1)},
    {"random-2", RandomLevels(2)}, {"random-3", RandomLevels(3)},      {"random-4", RandomLevels(4)},
};

void BM_EstimateAgainstActual(benchmark::State& state, const RatingSet& set)
{
    const NetworkInputs initial = InitialInputs();
    GertNetwork net;
    auto series = std::make_unique<SeriesTable>();
    double estimate = 0.0, plain = 0.0, actual = 0.0, loaded = 0.0, wall = 0.0;
    for (auto _ : state) {
        net.inputs = initial;
        const double calibration = RunCalibration(net, *series);
        estimate = EstimateDays(calibration, K, N, 1, RunCostFactor(set.inputs, initial)) * SecondsPerDay;
        plain = EstimateDays(calibration, K, N) * SecondsPerDay;
        net.inputs = set.inputs;
        series->ExperimentCount = K;
        series->InitiationCount = N;
        // The thread's processor time, as the calibration measures it: the machine may be busy.
        const double start = SystemClock().ThreadCpuSeconds(), startWall = SystemClock().MonotonicSeconds();
        RunSeries(net, *series);
        actual = SystemClock().ThreadCpuSeconds() - start;
        // The window's estimate after that run: scaled by its wall-clock over processor time; the
        // same run again, timed on the wall clock.
        loaded = estimate * std::max(1.0, (SystemClock().MonotonicSeconds() - startWall) / actual);
        const double again = SystemClock().MonotonicSeconds();
        RunSeries(net, *series);
        wall = SystemClock().MonotonicSeconds() - again;
    }
    state.counters["estimate s"] = estimate;
    state.counters["actual s"] = actual;
    state.counters["estimate/actual"] = estimate / actual;
    state.counters["without cost factor/actual"] = plain / actual;
    state.counters["after a run/next wall"] = loaded / wall;
}

const bool Registered = [] {
    for (const RatingSet& set : RatingSets) {
        const std::string name = "EstimateAgainstActual/" + set.name;
        benchmark::RegisterBenchmark(name.c_str(), BM_EstimateAgainstActual, std::cref(set))
            ->Unit(benchmark::kMillisecond)
            ->Iterations(1)
            ->Repetitions(5)
            ->ReportAggregatesOnly();
    }
    return true;
}();

}  // namespace
