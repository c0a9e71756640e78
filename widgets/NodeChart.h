// The chart of the node probabilities: exact values as markers on a logarithmic axis and, after a
// run, its pooled frequencies with their 95 % intervals as error bars beside them.
#pragma once

#include "analysis/ExactNodes.h"
#include "analysis/RunPrecision.h"

class QChart;

namespace kestal {

// `run` may be null (no run yet). `runExact` is null while the run was made with the current
// ratings; otherwise the exact values of the ratings it was made with, which its intervals are
// judged against and which are drawn beside them. The caller owns the chart.
QChart* NodeChart(const NodeProbabilities& exact, const RunPrecision* run, const NodeProbabilities* runExact = nullptr);

}  // namespace kestal
