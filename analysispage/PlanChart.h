// The cost–risk chart of the plan tab.
#pragma once

#include "analysispage/PlanResult.h"

class QChart;

namespace kestal {

// Cost against accident probability: the level plans of the curve, the measures' envelope, the
// target and the two chosen plans.
QChart* CurveChart(const PlanResult& result);

}  // namespace kestal
