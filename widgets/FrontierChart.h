// The chart of the best set of measures: every set as a point of cost against benefit, the Pareto
// frontier as a line, the budget as a vertical line and the best set within it highlighted.
#pragma once

#include <QString>

#include <vector>

#include "analysis/BestMeasures.h"

class QChart;

namespace kestal {

// The sets off the frontier are painted together as one picture, however many they are, those that
// raise the accident probability in a colour of their own; the frontier's sets and the best set are
// marks. Every point has a tooltip that names its sets' measures (from `measures`, in capture
// order) and figures. The caller owns the chart.
QChart* FrontierChart(const MeasureOptimum& optimum, const std::vector<CandidateMeasure>& measures);

// The tooltip of a set: its measures, cost, benefit and accident probability, in the window's locale.
QString SetTip(const MeasureSubset& subset, const std::vector<CandidateMeasure>& measures);

}  // namespace kestal
