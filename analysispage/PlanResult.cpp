// The plans worked out for the tab, the target read as typed, and the level plan captured through
// the measure editor's steps.
#include "analysispage/PlanResult.h"

#include <algorithm>

#include "analysis/PlanBand.h"
#include "common/Conversions.h"
#include "common/Formats.h"
#include "common/KestalError.h"

namespace kestal {

namespace {

// The curve's plans; each point of it searches this much, the plan itself the default limit.
constexpr int CurvePoints = 8;
constexpr int64_t CurvePointLimit = 20'000;

// The level plan and the cost–risk curve, one progress over both.
void PlanLevelSteps(const WorkControl& control, const std::vector<FactorSteps>& steps, PlanResult& result)
{
    const int64_t total = DefaultPlanEvaluationLimit + CurvePoints * CurvePointLimit;
    int64_t before = 0;
    LevelPlanControl plan;
    plan.report = [&control, &before, total](int64_t done, int64_t) {
        control.Report(std::min(before + done, total), total);
    };
    result.levelPlan = PlanLevels(result.ratings, steps, result.target, plan);
    before = DefaultPlanEvaluationLimit;
    result.curve = LevelCostCurve(result.ratings, steps, CurvePoints, {CurvePointLimit, plan.report});
}

}  // namespace

void WorkOutPlans(const WorkControl& control, bool withMeasures, const std::vector<FactorSteps>& steps,
                  PlanResult& result)
{
    if (withMeasures) result.measurePlan = PlanMeasures(result.ratings, result.measures, result.target);
    if (!steps.empty()) PlanLevelSteps(control, steps, result);
    if (result.panel.experts.empty()) return;
    // A plan that sets a factor ends the experts' dispute on it.
    const PanelProgress going = [&control](uint64_t, uint64_t) {
        return !control.stopRequested || !control.stopRequested();
    };
    const auto band = [&](const PlanSettings& settings) {
        std::optional<PanelBand> found = BandAfterPlan(result.panel, result.ratings, settings, going);
        if (!found) throw WorkStopped{};
        return found;
    };
    if (result.measurePlan) result.measureBand = band(SettingsOf(result.measurePlan->chosen.members, result.measures));
    if (result.levelPlan) result.levelBand = band(SettingsOf(*result.levelPlan));
}

std::optional<long double> TypedNumberOf(std::string text)
{
    std::replace(text.begin(), text.end(), ',', '.');
    try {
        return ParseFloat(text, EnglishNumberLocale());
    } catch (const KestalError&) {
        return std::nullopt;
    }
}

std::optional<long double> PlanTargetOf(const std::string& text)
{
    std::string number = text;
    const bool percent = !number.empty() && number.back() == '%';
    if (percent) number.pop_back();
    // A percentage without an exponent is read with one, correctly rounded: "0,1 %" is the same
    // number as "0,001", and is shown back so.
    bool shifted = false;
    if (percent) {
        while (!number.empty() && (number.back() == ' ' || number.back() == '\t')) number.pop_back();
        shifted = !number.empty() && number.find_first_of("eE") == std::string::npos;
        if (shifted) number += "e-2";
    }
    std::optional<long double> value = TypedNumberOf(number);
    if (value && percent && !shifted) *value /= 100;
    if (!value || !(*value >= 0.0L && *value <= 1.0L)) return std::nullopt;
    return value;
}

void CapturePlanAsMeasure(Session& session, const PlanResult& result, const NumberLocale& locale)
{
    if (!result.levelPlan || result.levelPlan->changes.empty()) return;
    const LevelPlan& plan = *result.levelPlan;
    const Assessment& assessment = session.assessment();
    // Every rule checked before anything changes.
    if (session.assessment().RatingInputs() != result.ratings)
        throw KestalError("Оценки факторов изменились после расчёта плана: рассчитайте его заново");
    if (session.HasPendingChanges())
        throw KestalError("В редакторе мероприятий есть незаписанные изменения: запишите или сбросьте их");
    if (assessment.measures.MeasureCount >= MaxMeasures) throw KestalError("Записано уже 15 мероприятий");
    if (plan.changes.size() > 10) throw KestalError("В мероприятии может быть не больше 10 факторов");
    for (const PlannedLevel& change : plan.changes)
        if (HeldByMeasure(assessment.measures, assessment.settings, *change.factor))
            throw KestalError(std::string("Фактор ") + change.factor->id + " уже входит в записанное мероприятие");
    if (!(plan.cost >= 1.0L)) throw KestalError("Затраты мероприятия должны быть не меньше 1");
    // Then as a person would: name and cost typed, each bar moved, ">>" pressed.
    session.SetMeasureName("План " + GeneralText(result.target, locale));
    session.SetCostText(GeneralText(plan.cost, locale));
    for (const PlannedLevel& change : plan.changes) {
        const int factor = CatalogueIndex(*change.factor);
        session.SelectMeasureFactor(factor);
        session.EnterBar(factor);
        session.MoveBar(factor, change.to - 1);
        session.ExitBar(factor);
    }
    session.Capture();
}

}  // namespace kestal
