// kestal-bench's entry: the Google Benchmark runs, or with --scan the production batch against the
// plain literal batch and the serial generator loop over named and random rating sets, timed on
// the thread's CPU clock, paired in the same rounds, medians of rounds.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "BatchTiming.h"
#include "network/KernelChoice.h"
#include "LiteralBatch.h"
#include "factors/Catalogue.h"
#include "factors/Settings.h"

using namespace kestal;

namespace {

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const std::size_t h = v.size() / 2;
    return v.size() % 2 ? v[h] : (v[h - 1] + v[h]) / 2;
}

struct RatingSet {
    std::string name;
    std::array<int, FactorCount> level{};  // 1..11 per slot
};

NetworkInputs InputsOf(const RatingSet& set)
{
    NetworkInputs in;
    for (int slot = 0; slot < FactorCount; ++slot) {
        in.slot[slot] = LevelTable[set.level[slot] - 1].value;
    }
    return in;
}

RatingSet Uniform(const std::string& name, int level)
{
    RatingSet set{name, {}};
    set.level.fill(level);
    return set;
}

// The sets named by the README's table.
std::vector<RatingSet> NamedSets()
{
    RatingSet initial{"initial ratings", {}};
    for (const FactorInfo& f : FactorCatalogue) {
        initial.level[f.slot] = f.defaultItem + 1;
    }
    RatingSet worst{"worst of an earlier scan", {}};
    const char* levels =
        "H01=4 H02=3 H03=3 H04=3 H05=4 H06=4 H07=4 H08=4 H09=4 H12=4 H13=3 H14=4 M01=3 M02=3 M03=4 "
        "M04=4 M05=4 M06=4 M07=3 M08=4 C01=4 C02=4 C03=4 C04=3 T01=4 T02=3 T03=4 T04=4 T05=3 T06=3";
    std::istringstream words(levels);
    for (std::string w; words >> w;) {
        worst.level[FindFactor(w.substr(0, 3))->slot] = std::stoi(w.substr(4));
    }
    return {initial, Uniform("all level 1", 1), Uniform("all level 3", 3), worst};
}

// Random sets: each draws a window of adjacent levels (width 1 to 11, placed at random) and every
// factor a level in it, so that uniform, narrow and mixed ratings all occur.
std::vector<RatingSet> ScanSets(uint32_t seed, int count)
{
    std::mt19937 gen(seed);
    std::vector<RatingSet> sets;
    for (int i = 0; i < count; ++i) {
        const int width = std::uniform_int_distribution<int>(1, LevelCount)(gen);
        const int lowest = std::uniform_int_distribution<int>(1, LevelCount - width + 1)(gen);
        RatingSet set{"scan " + std::to_string(i + 1), {}};
        for (int& level : set.level) {
            level = std::uniform_int_distribution<int>(lowest, lowest + width - 1)(gen);
        }
        sets.push_back(set);
    }
    return sets;
}

struct Measured {
    double literalRatio;  // literal time ÷ production time
    double serialRatio;   // production time per draw ÷ serial loop's
    double drawsPerInit;
    double productionNs;           // per initiation
    double literalNs;              // per initiation
    std::vector<double> kernelNs;  // per kernel of KernelsToCompare: ns per initiation
    bool same = true;              // production and literal counters and final states agree
};

std::vector<KernelChoice> KernelsToCompare()
{
    std::vector<KernelChoice> kernels;
    for (BatchKernel k : {BatchKernel::Scalar, BatchKernel::Avx2, BatchKernel::Avx512}) {
        if (!KernelSupported(k)) continue;
        for (KernelLoop loop : {KernelLoop::Branching, KernelLoop::BranchFree, KernelLoop::FirstBranch}) {
            kernels.push_back({k, loop});
        }
    }
    return kernels;
}

// Rounds of: the production batch, the literal batch from the same seed, the serial loop for the
// same number of draws (and each kernel alone when asked), one after another on this thread.
Measured Measure(const NetworkInputs& inputs, int32_t n, int rounds, bool eachKernel)
{
    FixedClock clock(36'000'000);
    GertNetwork net;
    net.inputs = inputs;
    net.clock = &clock;
    LiteralBatch literal(inputs);
    const std::vector<KernelChoice> kernels = eachKernel ? KernelsToCompare() : std::vector<KernelChoice>{};
    std::vector<double> literalRatio, serialRatio, productionNs, literalNs;
    std::vector<std::vector<double>> kernelNs(kernels.size());
    Measured m{};
    uint32_t serialState = 1;
    int64_t draws = 0;
    RunNetworkBatch(net, n);  // the choice is worked out once per ratings, before timing
    for (int r = 0; r < rounds; ++r) {
        clock.reading = (clock.reading + 7919) % 86'400'000;
        const double production = CpuTimed([&] { RunNetworkBatch(net, n); });
        uint32_t literalState = static_cast<uint32_t>(clock.reading);
        OutcomeCounters literalCounts;
        const double literalTime = CpuTimed([&] { literalCounts = literal.Run(literalState, n); });
        m.same = m.same && literalCounts.node == net.counters.node && literalState == net.random.RandomSeed;
        const int64_t batchDraws = BatchDraws(net.counters);
        const double serial = CpuTimed([&] { serialState = StepSerially(serialState, batchDraws); });
        draws += batchDraws;
        literalRatio.push_back(literalTime / production);
        productionNs.push_back(1e9 / n * production);
        literalNs.push_back(1e9 / n * literalTime);
        serialRatio.push_back(production / serial);
        for (std::size_t k = 0; k < kernels.size(); ++k) {
            clock.reading = (clock.reading + 1) % 86'400'000;
            kernelNs[k].push_back(1e9 / n * CpuTimed([&] { RunNetworkBatchWith(kernels[k], net, n); }));
        }
    }
    benchmark::DoNotOptimize(serialState);
    m.literalRatio = Median(literalRatio);
    m.serialRatio = Median(serialRatio);
    m.productionNs = Median(productionNs);
    m.literalNs = Median(literalNs);
    m.drawsPerInit = static_cast<double>(draws) / (static_cast<double>(n) * rounds);
    for (const auto& ns : kernelNs) m.kernelNs.push_back(Median(ns));
    return m;
}

std::string ChoiceName(KernelChoice c) { return std::string(KernelName(c.instructions)) + " " + LoopName(c.loop); }

// --scan [SEED [COUNT]] [--kernels]: the named sets, then COUNT random sets from SEED, one line
// each, and the minimum and maximum of the ratios over the scan.
int Scan(int argc, char** argv)
{
    uint32_t seed = 2026;
    int count = 150;
    bool eachKernel = false;
    std::vector<std::string> numbers;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--kernels") == 0) {
            eachKernel = true;
        } else if (std::strcmp(argv[i], "--scan") != 0) {
            numbers.push_back(argv[i]);
        }
    }
    try {
        if (numbers.size() > 0) seed = static_cast<uint32_t>(std::stoul(numbers[0]));
        if (numbers.size() > 1) count = std::max(0, std::stoi(numbers[1]));
    } catch (const std::exception&) {
        std::cerr << "usage: kestal-bench --scan [SEED [COUNT]] [--kernels]\n";
        return 2;
    }
    constexpr int32_t N = 100'000;
    constexpr int Rounds = 7;
    std::printf("N = %d, medians of %d rounds on the thread's CPU clock; scan seed %u, %d sets\n", N, Rounds, seed,
                count);
    std::printf("%-26s %6s %7s %8s %-22s %8s %8s %8s %8s %8s", "set", "draws", "P(C)", "surprise", "kernel", "model ns",
                "prod ns", "lit ns", "prod/lit", "t/serial");
    if (eachKernel) {
        for (KernelChoice k : KernelsToCompare()) std::printf(" %10.10s", ChoiceName(k).c_str());
        std::printf("  (ns per initiation)");
    }
    std::printf("\n");
    double minLiteral = 1e300, maxSerial = 0;
    int belowLiteralGoal = 0, aboveSerialGoal = 0, scanned = 0;
    bool allSame = true;
    const auto report = [&](const RatingSet& set, bool inScan) {
        const NetworkInputs inputs = InputsOf(set);
        const auto node = NodeOdds(MakeBatchBounds(inputs));
        const Measured m = Measure(inputs, N, Rounds, eachKernel);
        allSame = allSame && m.same;
        const KernelChoice choice = ChooseKernel(inputs);
        std::printf("%-26s %6.2f %7.4f %8.4f %-22s %8.2f %8.2f %8.2f %8.2f %8.3f", set.name.c_str(), m.drawsPerInit,
                    node[NodeC], ExpectedSurprises(node), ChoiceName(choice).c_str(), ModelledTime(node, choice),
                    m.productionNs, m.literalNs, m.literalRatio, m.serialRatio);
        for (double ns : m.kernelNs) std::printf(" %10.2f", ns);
        if (eachKernel) {
            std::printf("  nodes");
            for (double p : node) std::printf(" %.6f", p);
        }
        std::printf("%s\n", m.same ? "" : "  COUNTERS DIFFER");
        std::fflush(stdout);
        if (inScan) {
            ++scanned;
            minLiteral = std::min(minLiteral, m.literalRatio);
            maxSerial = std::max(maxSerial, m.serialRatio);
            belowLiteralGoal += m.literalRatio < 5.0;
            aboveSerialGoal += m.serialRatio > 0.5;
        }
    };
    for (const RatingSet& set : NamedSets()) report(set, false);
    for (const RatingSet& set : ScanSets(seed, count)) report(set, true);
    if (scanned > 0) {
        std::printf(
            "scan of %d sets: production ÷ literal minimum %.2f (%d below 5), time per draw ÷ serial "
            "loop's maximum %.3f (%d above 0.5)\n",
            scanned, minLiteral, belowLiteralGoal, maxSerial, aboveSerialGoal);
    }
    if (!allSame) {
        std::printf("production and literal counters differ\n");
        return 1;
    }
    return 0;
}

// The console reporter, but for the library's warning about its own build: Debian compiles
// libbenchmark without NDEBUG, so it says "Library was built as DEBUG". That keeps the library's
// own assertions, which run outside the timed loops; it does not change how our code is compiled
// or timed.
class Reporter : public benchmark::ConsoleReporter {
public:
    bool ReportContext(const Context& context) override
    {
        std::ostringstream captured;
        std::ostream& err = GetErrorStream();
        SetErrorStream(&captured);
        const bool ok = ConsoleReporter::ReportContext(context);
        SetErrorStream(&err);
        std::istringstream lines(captured.str());
        for (std::string line; std::getline(lines, line);) {
            if (line.find("Library was built as DEBUG") != std::string::npos) {
                err << "Note: Debian's libbenchmark is compiled without NDEBUG (hence its \"built as DEBUG\" "
                       "warning): only its own assertions, outside the timed loops.\n";
            } else {
                err << line << "\n";
            }
        }
        return ok;
    }
};

}  // namespace

int main(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--scan") == 0) return Scan(argc, argv);
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    Reporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
