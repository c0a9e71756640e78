// The plans' texts.
#include "analysis/PlanTexts.h"

#include "common/Formats.h"

namespace kestal {

std::string ReachText(bool reachable, long double lowest, const NumberLocale& locale)
{
    return reachable ? "достижимо" : "недостижимо, наименьшая вероятность " + GeneralText(lowest, locale);
}

std::string SetNamesText(uint32_t members, const std::vector<CandidateMeasure>& measures)
{
    std::string text;
    for (std::size_t i = 0; i < measures.size() && i < 32; ++i)
        if (members >> i & 1) text += (text.empty() ? "" : " + ") + measures[i].name;
    return text.empty() ? "без мероприятий" : text;
}

std::string ChangesText(const LevelPlan& plan)
{
    std::string text;
    for (const PlannedLevel& change : plan.changes)
        text += (text.empty() ? "" : ", ") + std::string(change.factor->id) + " " + std::to_string(change.from) +
                " → " + std::to_string(change.to);
    return text.empty() ? "без изменений" : text;
}

std::vector<std::string> MeasurePlanLines(const MeasurePlan& plan, const std::vector<CandidateMeasure>& measures,
                                          const NumberLocale& locale)
{
    return {"Мероприятия: " + ReachText(plan.reachable, plan.lowest, locale),
            "  набор: " + SetNamesText(plan.chosen.members, measures),
            "  затраты: " + GeneralText(plan.chosen.cost, locale),
            "  происшествие: " + GeneralText(plan.chosen.accident, locale)};
}

std::vector<std::string> LevelPlanLines(const LevelPlan& plan, const NumberLocale& locale)
{
    return {
        "Шаги уровней: " + ReachText(plan.reachable, plan.lowest, locale), "  изменения: " + ChangesText(plan),
        "  затраты: " + GeneralText(plan.cost, locale), "  происшествие: " + GeneralText(plan.accident, locale),
        "  оптимальность: " + (plan.proven ? std::string("доказана")
                                           : "не доказана, затраты не меньше " + GeneralText(plan.lowerBound, locale))};
}

std::string PlanBandLine(const PanelBand& band, const NumberLocale& locale)
{
    const NodeBand& b = band.node[NodeI];
    return "  полоса экспертов: P5 " + GeneralText(b.p05, locale) + ", P50 " + GeneralText(b.p50, locale) + ", P95 " +
           GeneralText(b.p95, locale);
}

}  // namespace kestal
