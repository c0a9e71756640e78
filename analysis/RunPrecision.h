// The precision of a finished run: each node's pooled frequency with its 95 % Wilson interval
// against the exact probability, and the relative standard error of the accident frequency.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "analysis/ExactNodes.h"
#include "network/Series.h"

namespace kestal {

// Each node's count summed over the K experiments of a run.
using NodeTotals = std::array<int64_t, NodeCount>;

// Entries 0 .. K-1 of every column, K = the series' ExperimentCount; K and N are checked as a run
// checks them.
NodeTotals SeriesTotals(const SeriesTable& series);

// The normal quantile of a two-sided 95 % interval.
constexpr long double WilsonZ = 1.959963984540054L;

struct NodePrecision {
    long double pooled;  // total / (K·N)
    long double low;     // the 95 % Wilson score interval on K·N trials
    long double high;
    bool exactInside;  // low ≤ exact probability ≤ high
};

// The generator's 2^32 states: a run's start states repeat after about 2^32 ÷ (expected draws per
// initiation) initiations, so no run has more distinct initiations than that.
constexpr long double GeneratorStates = 4294967296.0L;
// The largest N a run takes.
constexpr long double LargestInitiationCount = 2147483647.0L;

struct RunPrecision {
    std::array<NodePrecision, NodeCount> node;
    // The distinct initiations the generator gives for the run's ratings: 2^32 ÷ the exact expected
    // draws per initiation (at least one draw is counted); and whether K·N is beyond it, so that
    // more initiations add nothing and the exact value is the answer.
    long double generatorLimit = GeneratorStates;
    bool beyondGeneratorLimit = false;
    // With p the exact accident probability and T = min(K·N, generatorLimit):
    // sqrt((1 - p) / (p·T)); nothing when p = 0.
    std::optional<long double> accidentRelativeError;
    // The N that brings it to 1 % at the same K, ceil((1 - p) / (p · 10^-4 · K)); nothing when
    // p = 0 or when that N is above 2 147 483 647 or K·N above the generator's limit (no run
    // reaches 1 %: the exact value is the answer).
    std::optional<long double> initiationsForOnePercent;
};

RunPrecision PrecisionOfRun(const NodeTotals& totals, int32_t k, int32_t n, const NodeProbabilities& exact);

// A run judged against the exact probabilities of the ratings it was made with, and whether the
// ratings have changed since: every figure of a run is shown against these, never against the
// exact values of other ratings.
struct JudgedRun {
    int32_t k = 0;
    int32_t n = 0;
    NodeProbabilities exact;  // of the run's ratings
    RunPrecision precision;   // against `exact`
    bool ratingsChanged = false;
};

}  // namespace kestal
