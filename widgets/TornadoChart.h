// The tornado chart of factor importance: each factor's accident probability over its 11 levels as
// a bar around the current probability, the factor with the largest reduction at the top.
#pragma once

#include <QPointF>

#include "analysis/FactorImportance.h"

class QChart;

namespace kestal {

// One row per factor in the table's order, top down: from the best level's probability to the
// current one in green, on to the worst level's in red, the levels as dots, the current level
// marked on the line of the current probability. The caller owns the chart.
QChart* TornadoChart(const ImportanceTable& table);

// The row (index into the table's factors) at `position` in the chart's coordinates: within a
// row's height, left of the plot's right edge (its label included); -1 elsewhere.
int TornadoRowAt(QChart* chart, QPointF position);

}  // namespace kestal
