// The chart of the best set of measures: every set as a point of cost against benefit, the Pareto
// frontier as a line, the budget as a vertical line and the best set within it highlighted.
#pragma once

#include "Analysis/BestMeasures.h"

class QChart;

// The caller owns the chart.
QChart* FrontierChart(const MeasureOptimum& optimum);
