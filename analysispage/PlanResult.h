// What the plan tab works out and for what, and the work itself; the target as the window reads it,
// and the level plan captured as a measure.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "analysis/ExpertPanel.h"
#include "analysis/LevelPlan.h"
#include "analysis/MeasurePlan.h"
#include "assessment/Session.h"
#include "assessment/Work.h"
#include "common/NumberLocale.h"

namespace kestal {

// What the work found, and what it was asked.
struct PlanResult {
    NetworkInputs ratings;
    long double target = 0.0L;
    std::vector<CandidateMeasure> measures;
    std::optional<MeasurePlan> measurePlan;
    std::optional<LevelPlan> levelPlan;
    std::vector<LevelPlan> curve;
    // With a panel: the experts' band after each plan.
    ExpertPanel panel;
    std::optional<PanelBand> measureBand;
    std::optional<PanelBand> levelBand;
};

// The plans for `result`'s target, ratings and measures (set before): the measure plan when
// `withMeasures`, the level plan and its cost–risk curve for `steps` when there are any, and with a
// panel the experts' band after each. Stopped by the control's request (WorkStopped).
void WorkOutPlans(const WorkControl& control, bool withMeasures, const std::vector<FactorSteps>& steps,
                  PlanResult& result);

// The level plan of `result` captured as the measure editor would capture it: name "План <target>",
// its cost, its level changes. Refused with nothing changed (KestalError) where the editor's rules do
// not allow it: ratings changed since the plan, a measure pending in the editor, a 16th measure,
// more than 10 changes, a factor of an earlier measure, a cost below 1.
void CapturePlanAsMeasure(Session& session, const PlanResult& result, const NumberLocale& locale);

// The target as the window reads it: "1e-3", "0,001", "0.001" or "0,1 %" (either separator), a
// probability from 0 to 1; nothing otherwise.
std::optional<long double> PlanTargetOf(const std::string& text);
// A number typed with "," or "." as the decimal separator; nothing when it is none.
std::optional<long double> TypedNumberOf(std::string text);

}  // namespace kestal
