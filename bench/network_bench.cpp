// Speed of the network batch: the production batch against the plain literal batch and against a
// bare loop that only steps the generator (on the thread's CPU clock), each kernel on its own, a
// modeling run and the start-up calibration.
#include <benchmark/benchmark.h>

#include <fstream>
#include <memory>
#include <string>

#include "BatchTiming.h"
#include "network/BatchKernels.h"
#include "network/Calibration.h"
#include "network/Network.h"
#include "network/Series.h"
#include "LiteralBatch.h"

using namespace kestal;

namespace {

// The initial ratings of the 30 factors, in slot order.
constexpr std::array<float, FactorCount> DefaultInputs = {
    0.417f, 0.417f, 0.166f, 0.25f,  0.5f,   0.5f,   0.667f, 0.75f,  0.75f,  0.667f,
    0.5f,   0.667f, 0.667f, 0.25f,  0.584f, 0.667f, 0.417f, 0.334f, 0.584f, 0.667f,
    0.75f,  0.334f, 0.667f, 0.834f, 0.417f, 0.25f,  0.584f, 0.334f, 0.417f, 0.75f,
};

// The input sets: the default ratings (95 % of initiations end at stage 1); every factor at the
// lowest level (most initiations are accidents, all 31 draws); every factor at level 0.25 (each
// stage's outcome close to a coin toss, the hardest case for branch prediction).
struct InputSet {
    const char* name;
    NetworkInputs inputs;
};
NetworkInputs AllAt(float p)
{
    NetworkInputs in;
    in.slot.fill(p);
    return in;
}
const InputSet InputSets[] = {
    {"default", {DefaultInputs}},
    {"accidents", AllAt(0.084f)},
    {"even", AllAt(0.25f)},
};

// A network whose clock moves on by a millisecond at every batch, so that each batch is seeded
// afresh as in a real run.
struct BenchNetwork {
    FixedClock clock{36'000'000};
    GertNetwork net;
    explicit BenchNetwork(const NetworkInputs& inputs)
    {
        net.inputs = inputs;
        net.clock = &clock;
    }
    void NextReading() { clock.reading = (clock.reading + 1) % 86'400'000; }
};

// One run: production batch, literal batch from the same seed, and the bare serial loop for the
// same number of draws, timed side by side on the thread's CPU clock.
void BM_ProductionVsLiteral(benchmark::State& state, const InputSet& set, int32_t n)
{
    BenchNetwork production(set.inputs);
    LiteralBatch literal(set.inputs);
    double productionTime = 0, literalTime = 0, serialTime = 0;
    int64_t draws = 0;
    uint32_t serialState = 1;
    for (auto _ : state) {
        production.NextReading();
        productionTime += CpuTimed([&] { RunNetworkBatch(production.net, n); });
        uint32_t literalState = static_cast<uint32_t>(production.clock.reading);
        OutcomeCounters literalCounts;
        literalTime += CpuTimed([&] { literalCounts = literal.Run(literalState, n); });
        if (production.net.counters.node != literalCounts.node || production.net.random.RandomSeed != literalState) {
            state.SkipWithError("production and literal counters differ");
            break;
        }
        const int64_t batchDraws = BatchDraws(production.net.counters);
        serialTime += CpuTimed([&] { serialState = StepSerially(serialState, batchDraws); });
        benchmark::DoNotOptimize(serialState);
        draws += batchDraws;
    }
    const double initiations = static_cast<double>(state.iterations()) * n;
    state.counters["prod init/s"] = initiations / productionTime;
    state.counters["lit init/s"] = initiations / literalTime;
    state.counters["prod draws/s"] = draws / productionTime;
    state.counters["serial draws/s"] = draws / serialTime;
    state.counters["draws/init"] = draws / initiations;
    // The goals: at least 5 times the literal batch, at most half the serial loop's time per draw.
    state.counters["prod/lit"] = literalTime / productionTime;
    state.counters["prod/serial time per draw"] = productionTime / serialTime;
}

void BM_Kernel(benchmark::State& state, KernelChoice kernel, const InputSet& set, int32_t n)
{
    if (!KernelSupported(kernel.instructions)) {
        state.SkipWithError("not supported by this processor");
        return;
    }
    BenchNetwork bench(set.inputs);
    int64_t draws = 0;
    for (auto _ : state) {
        bench.NextReading();
        RunNetworkBatchWith(kernel, bench.net, n);
        draws += BatchDraws(bench.net.counters);
    }
    state.SetItemsProcessed(state.iterations() * n);
    state.counters["draws/s"] = benchmark::Counter(static_cast<double>(draws), benchmark::Counter::kIsRate);
}

void BM_SerialGenerator(benchmark::State& state)
{
    const int64_t draws = state.range(0);
    uint32_t s = 1;
    for (auto _ : state) {
        s = StepSerially(s, draws);
        benchmark::DoNotOptimize(s);
    }
    state.counters["draws/s"] =
        benchmark::Counter(static_cast<double>(state.iterations() * draws), benchmark::Counter::kIsRate);
}

// A default modeling run, K = 200 experiments of N = 4000, on the system clock as in the program.
void BM_ModelingRun(benchmark::State& state)
{
    GertNetwork net;
    net.inputs.slot = DefaultInputs;
    auto series = std::make_unique<SeriesTable>();
    series->ExperimentCount = 200;
    series->InitiationCount = 4000;
    for (auto _ : state) {
        RunSeries(net, *series);
        benchmark::DoNotOptimize(series->column[0][199]);
    }
}

// The start-up calibration: 100 rounds of 11 batches of 14 000.
void BM_Calibration(benchmark::State& state)
{
    GertNetwork net;
    net.inputs.slot = DefaultInputs;
    auto series = std::make_unique<SeriesTable>();
    for (auto _ : state) {
        benchmark::DoNotOptimize(RunCalibration(net, *series));
    }
}

std::string ProcessorName()
{
    std::ifstream cpuinfo("/proc/cpuinfo");
    for (std::string line; std::getline(cpuinfo, line);) {
        if (line.rfind("model name", 0) == 0) {
            return line.substr(line.find(':') + 2);
        }
    }
    return "unknown";
}

// Registers every benchmark, named by its input set, N and kernel.
const bool Registered = [] {
    benchmark::AddCustomContext("processor", ProcessorName());
    benchmark::AddCustomContext("widest kernel", KernelName(FastestKernel()));
    for (const InputSet& set : InputSets) {
        for (int32_t n : {4000, 100'000}) {
            const std::string name = std::string("ProductionVsLiteral/") + set.name + "/" + std::to_string(n);
            benchmark::RegisterBenchmark(name.c_str(), BM_ProductionVsLiteral, std::cref(set), n)
                ->Repetitions(5)
                ->ReportAggregatesOnly()
                ->MinTime(0.2);
        }
    }
    for (BatchKernel instructions : {BatchKernel::Scalar, BatchKernel::Avx2, BatchKernel::Avx512}) {
        for (KernelLoop loop : {KernelLoop::Branching, KernelLoop::FirstBranch, KernelLoop::BranchFree}) {
            for (const InputSet& set : InputSets) {
                const std::string name = std::string("Kernel/") + KernelName(instructions) + "/" + LoopName(loop) +
                                         "/" + set.name + "/100000";
                benchmark::RegisterBenchmark(name.c_str(), BM_Kernel, KernelChoice{instructions, loop}, std::cref(set),
                                             100'000)
                    ->Repetitions(3)
                    ->ReportAggregatesOnly()
                    ->MinTime(0.2);
            }
        }
    }
    benchmark::RegisterBenchmark("SerialGenerator", BM_SerialGenerator)->Arg(1'000'000);
    benchmark::RegisterBenchmark("ModelingRun/K=200/N=4000", BM_ModelingRun)
        ->Unit(benchmark::kMillisecond)
        ->Repetitions(5)
        ->ReportAggregatesOnly();
    benchmark::RegisterBenchmark("Calibration/100x11x14000", BM_Calibration)
        ->Unit(benchmark::kMillisecond)
        ->Repetitions(5)
        ->ReportAggregatesOnly();
    return true;
}();

}  // namespace
