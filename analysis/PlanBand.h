// The experts' band after a plan: a factor the plan sets is no longer in dispute.
#pragma once

#include <optional>
#include <utility>
#include <vector>

#include "analysis/BestMeasures.h"
#include "analysis/ExpertPanel.h"
#include "analysis/LevelPlan.h"

namespace kestal {

// What a plan sets: factor slots and their new values.
using PlanSettings = std::vector<std::pair<int /*FactorSlot*/, float>>;

PlanSettings SettingsOf(const LevelPlan& plan);
// The members' changes of a set of measures (bit i: measure i).
PlanSettings SettingsOf(uint32_t members, const std::vector<CandidateMeasure>& measures);

// The band over `panel` with the plan's settings in `ratings` and no expert's opinion left on the
// factors they set; nothing when stopped.
std::optional<PanelBand> BandAfterPlan(const ExpertPanel& panel, NetworkInputs ratings, const PlanSettings& settings,
                                       const PanelProgress& progress = {});

}  // namespace kestal
