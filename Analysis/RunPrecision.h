// The precision of a finished run: each node's pooled frequency with its 95 % Wilson interval
// against the exact probability, and the relative standard error of the accident frequency.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "Analysis/ExactNodes.h"
#include "GERTnet/Series.h"

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
    bool exactInside;    // low ≤ exact probability ≤ high
};

struct RunPrecision {
    std::array<NodePrecision, NodeCount> node;
    // With p the exact accident probability: sqrt((1 - p) / (p·K·N)), and the N that brings it to
    // 1 % at the same K, ceil((1 - p) / (p · 10^-4 · K)); nothing when p = 0.
    std::optional<long double> accidentRelativeError;
    std::optional<long double> initiationsForOnePercent;
};

RunPrecision PrecisionOfRun(const NodeTotals& totals, int32_t k, int32_t n, const NodeProbabilities& exact);
