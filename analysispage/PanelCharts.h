// The charts of the experts' band: the cumulative distribution of the accident probability with its
// quantiles, the current value and the target marked, and each disputed factor's variance share.
#pragma once

#include <optional>
#include <vector>

#include "analysis/ExpertPanel.h"

class QChart;

namespace kestal {

// The cumulative share of the rating sets against the accident probability, with P5, P50, P95,
// `current` (the ratings' value) and the target as vertical lines.
QChart* DistributionChart(const PanelBand& band, long double current, std::optional<long double> target);
// Each disputed factor's share of the accident probability's variance as a bar, the largest on top.
QChart* SharesChart(const std::vector<FactorShare>& shares);

}  // namespace kestal
