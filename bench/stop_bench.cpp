// How soon a stop takes effect: a run of one experiment of the largest N, asked to stop once its
// first slices are done; the time from the request to the end of the work (wall clock), and one
// slice's processor time, the bound the stop waits for at most.
#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include "assessment/Session.h"
#include "factors/Settings.h"

using namespace kestal;

namespace {

constexpr int32_t LargestN = 2'147'483'647;

NetworkInputs AllAtLevel(int item)
{
    NetworkInputs in;
    in.slot.fill(LevelTable[item].value);
    return in;
}

// The initial ratings, and every factor at level 3: the slowest initiations.
struct RatingSet {
    const char* name;
    NetworkInputs inputs;
};
const RatingSet RatingSets[] = {{"initial", InitialInputs()}, {"all-level3", AllAtLevel(2)}};

void BM_StopLatency(benchmark::State& state, const RatingSet& set)
{
    double latency = 0.0;
    for (auto _ : state) {
        ModelingRun run;
        run.net.inputs = set.inputs;
        run.series.ExperimentCount = 1;
        run.series.InitiationCount = LargestN;
        std::atomic<int64_t> done{0};
        std::atomic<bool> stop{false};
        const WorkControl control{[&](int64_t d, int64_t) { done = d; }, [&] { return stop.load(); }};
        std::thread worker([&] {
            try {
                run.Execute(control);
            } catch (const WorkStopped&) {}
        });
        while (done < 4 * SliceInitiations) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        const auto asked = std::chrono::steady_clock::now();
        stop = true;
        worker.join();
        latency = std::chrono::duration<double>(std::chrono::steady_clock::now() - asked).count();
        state.SetIterationTime(latency);
    }
    state.counters["stop latency ms"] = latency * 1e3;
}

void BM_SliceCpuTime(benchmark::State& state, const RatingSet& set)
{
    GertNetwork net;
    net.inputs = set.inputs;
    for (auto _ : state) {
        RunNetworkBatch(net, SliceInitiations);
        benchmark::DoNotOptimize(net.counters);
    }
}

const bool Registered = [] {
    for (const RatingSet& set : RatingSets) {
        benchmark::RegisterBenchmark((std::string("StopLatency/") + set.name).c_str(), BM_StopLatency, std::cref(set))
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond)
            ->Iterations(1)
            ->Repetitions(9)
            ->ReportAggregatesOnly();
        benchmark::RegisterBenchmark((std::string("SliceCpuTime/") + set.name).c_str(), BM_SliceCpuTime, std::cref(set))
            ->Unit(benchmark::kMillisecond)
            ->Repetitions(5)
            ->ReportAggregatesOnly();
    }
    return true;
}();

}  // namespace
