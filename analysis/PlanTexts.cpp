// The plans' texts.
#include "analysis/PlanTexts.h"

namespace kestal {

std::string ReachText(bool reachable, long double lowest, const NumberLocale& locale, ProbabilityWriter probability)
{
    return reachable ? "достижимо" : "недостижимо, наименьшая вероятность " + probability(lowest, locale);
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
                                          const NumberLocale& locale, ProbabilityWriter probability)
{
    return {"Мероприятия: " + ReachText(plan.reachable, plan.lowest, locale, probability),
            "  набор: " + SetNamesText(plan.chosen.members, measures),
            "  затраты: " + GeneralText(plan.chosen.cost, locale),
            "  происшествие: " + probability(plan.chosen.accident, locale)};
}

std::vector<std::string> LevelPlanLines(const LevelPlan& plan, const NumberLocale& locale,
                                        ProbabilityWriter probability)
{
    return {
        "Шаги уровней: " + ReachText(plan.reachable, plan.lowest, locale, probability),
        "  изменения: " + ChangesText(plan), "  затраты: " + GeneralText(plan.cost, locale),
        "  происшествие: " + probability(plan.accident, locale),
        "  оптимальность: " + (plan.proven ? std::string("доказана")
                                           : "не доказана, затраты не меньше " + GeneralText(plan.lowerBound, locale))};
}

std::string PlanBandLine(const PanelBand& band, const NumberLocale& locale, ProbabilityWriter probability)
{
    const NodeBand& b = band.node[NodeI];
    return "  полоса экспертов: P5 " + probability(b.p05, locale) + ", P50 " + probability(b.p50, locale) + ", P95 " +
           probability(b.p95, locale);
}

}  // namespace kestal
