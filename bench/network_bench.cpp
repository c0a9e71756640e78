// Initiations per second of the production batch and of the reference batch, and their ratio.
#include <benchmark/benchmark.h>

#include <chrono>

#include "GERTnet/Network.h"
#include "bench/ReferenceBatch.h"

namespace {

// The initial ratings of the 30 factors, in slot order.
constexpr std::array<float, FactorCount> DefaultInputs = {
    0.417f, 0.417f, 0.166f, 0.25f, 0.5f,   0.5f,   0.667f, 0.75f,  0.75f,  0.667f,
    0.5f,   0.667f, 0.667f, 0.25f, 0.584f, 0.667f, 0.417f, 0.334f, 0.584f, 0.667f,
    0.75f,  0.334f, 0.667f, 0.834f, 0.417f, 0.25f, 0.584f, 0.334f, 0.417f, 0.75f,
};

using BatchFunction = void (*)(GertNetwork&, int32_t);

// A network on the default inputs whose clock moves on by a millisecond at every batch, so
// that each batch is seeded afresh as in a real run.
struct BenchNetwork {
    FixedClock clock{36'000'000};
    GertNetwork net;
    BenchNetwork()
    {
        net.inputs.slot = DefaultInputs;
        net.clock = &clock;
    }
    void Run(BatchFunction batch, int32_t n)
    {
        clock.reading = (clock.reading + 1) % 86'400'000;
        batch(net, n);
        benchmark::DoNotOptimize(net.counters);
    }
};

void RunBatches(benchmark::State& state, BatchFunction batch)
{
    const auto n = static_cast<int32_t>(state.range(0));
    BenchNetwork bench;
    for (auto _ : state) {
        bench.Run(batch, n);
    }
    state.SetItemsProcessed(state.iterations() * n);
}

void BM_ProductionBatch(benchmark::State& state) { RunBatches(state, RunNetworkBatch); }
void BM_ReferenceBatch(benchmark::State& state) { RunBatches(state, RunReferenceBatch); }

// Times both batches side by side on the same seeds and reports the speed-up.
void BM_ProductionOverReference(benchmark::State& state)
{
    const auto n = static_cast<int32_t>(state.range(0));
    BenchNetwork production;
    BenchNetwork reference;
    std::chrono::duration<double> productionTime{0};
    std::chrono::duration<double> referenceTime{0};
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        production.Run(RunNetworkBatch, n);
        const auto t1 = std::chrono::steady_clock::now();
        reference.Run(RunReferenceBatch, n);
        const auto t2 = std::chrono::steady_clock::now();
        productionTime += t1 - t0;
        referenceTime += t2 - t1;
    }
    const double initiations = static_cast<double>(state.iterations()) * n;
    state.counters["production/s"] = initiations / productionTime.count();
    state.counters["reference/s"] = initiations / referenceTime.count();
    state.counters["ratio"] = referenceTime.count() / productionTime.count();
}

}  // namespace

BENCHMARK(BM_ProductionBatch)->Arg(4000)->Arg(100'000);
BENCHMARK(BM_ReferenceBatch)->Arg(4000)->Arg(100'000);
BENCHMARK(BM_ProductionOverReference)->Arg(4000)->Arg(100'000);
