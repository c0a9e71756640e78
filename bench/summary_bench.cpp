// Speed of the workplace summary (10 000 seeded workplaces written as a CSV table, read back and
// assessed on every core, with and without each workplace's three top factors; wall time, and as
// CPU time that of the whole process, as the work runs on several threads) and of the comparison
// of two assessments (one thread).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>

#include "analysis/AssessmentComparison.h"
#include "analysis/FactorImportance.h"
#include "analysis/WorkplaceSummary.h"
#include "network/RandomSource.h"
#include "factors/Settings.h"
#include "sheets/TableFile.h"

using namespace kestal;

namespace {

constexpr int Workplaces = 10'000;

const std::string& TableFile()
{
    static const std::string path = [] {
        const std::string name = "summary_bench.csv";
        std::ofstream out(name, std::ios::binary);
        out << "Рабочее место";
        for (const FactorInfo& f : FactorCatalogue) out << ';' << f.id;
        out << '\n';
        RandomSource random;
        random.RandomSeed = 10'000;
        for (int w = 1; w <= Workplaces; ++w) {
            out << "Рабочее место " << w;
            for (int f = 0; f < FactorCount; ++f) out << ';' << 1 + static_cast<int>(random.NextUniform() * LevelCount);
            out << '\n';
        }
        return name;
    }();
    return path;
}

void BM_Summary10000Workplaces(benchmark::State& state)
{
    const bool importance = state.range(0) != 0;
    const std::string& path = TableFile();
    for (auto _ : state) {
        const WorkplaceList list = ReadWorkplaces(ReadTableFile(path));
        benchmark::DoNotOptimize(AssessWorkplaces(list.workplaces, importance));
    }
    state.counters["rows_per_s"] = benchmark::Counter(Workplaces, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_Summary10000Workplaces)
    ->ArgName("importance")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kSecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Iterations(1);

}  // namespace

namespace {

// A comparison with the first `differing` factors of the catalogue moved from the initial level to
// its mirror (level 12 − n, or 1 for the middle): exact up to 15, sampled beyond.
void BM_CompareAssessments(benchmark::State& state)
{
    const NetworkInputs a = InitialInputs();
    NetworkInputs b = a;
    for (int f = 0; f < state.range(0); ++f) {
        const int slot = FactorCatalogue[f].slot;
        const int item = LevelNumberOf(a.slot[slot]) - 1;
        b.slot[slot] = LevelTable[item == LevelCount - 1 - item ? 0 : LevelCount - 1 - item].value;
    }
    for (auto _ : state) benchmark::DoNotOptimize(CompareAssessments(a, b));
}
BENCHMARK(BM_CompareAssessments)
    ->ArgName("differing")
    ->Arg(5)
    ->Arg(15)
    ->Arg(16)
    ->Arg(30)
    ->Unit(benchmark::kMillisecond);

}  // namespace
