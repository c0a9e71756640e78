// The chart of the node probabilities: exact values as markers on a logarithmic axis and, after a
// run, its pooled frequencies with their 95 % intervals as error bars.
#pragma once

#include "Analysis/ExactNodes.h"
#include "Analysis/RunPrecision.h"

class QChart;

// `run` may be null (no run yet). The caller owns the chart.
QChart* NodeChart(const NodeProbabilities& exact, const RunPrecision* run);
