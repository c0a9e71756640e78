// Speed of the expert panel's band: enumeration of 65 536 rating sets and sampling of 20 000; the
// CPU time is the whole process's, every core's share included.
#include <benchmark/benchmark.h>

#include "analysis/ExpertPanel.h"
#include "factors/Settings.h"

using namespace kestal;

namespace {

// Five experts; the first `split` factors in catalogue order are rated 3, 3, 7, 7, 5 — two or three
// distinct levels — and the rest agree at level 6.
ExpertPanel Panel(int split, bool threeLevels)
{
    ExpertPanel panel;
    const int levels[] = {3, 3, 7, 7, threeLevels ? 5 : 3};
    for (int k = 0; k < 5; ++k) {
        panel.experts.push_back({"Эксперт " + std::to_string(k + 1), {}});
        for (int f = 0; f < FactorCount; ++f) panel.experts[k].level[f] = f < split ? levels[k] : 6;
    }
    return panel;
}

void BM_PanelEnumeration65536(benchmark::State& state)
{
    const ExpertPanel panel = Panel(16, false);  // 2^16 sets
    const NetworkInputs in = InitialInputs();
    for (auto _ : state) benchmark::DoNotOptimize(ComputePanelBand(panel, in, 0.001L));
}
BENCHMARK(BM_PanelEnumeration65536)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->Iterations(1)
    ->Repetitions(3)
    ->ReportAggregatesOnly();

void BM_PanelSampling20000(benchmark::State& state)
{
    const ExpertPanel panel = Panel(30, true);  // 3^30 sets: sampled
    const NetworkInputs in = InitialInputs();
    for (auto _ : state) benchmark::DoNotOptimize(ComputePanelBand(panel, in, 0.001L));
}
BENCHMARK(BM_PanelSampling20000)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->Iterations(1)
    ->Repetitions(3)
    ->ReportAggregatesOnly();

}  // namespace
