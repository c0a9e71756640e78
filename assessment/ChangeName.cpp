// Telling what a change of the assessment was from the states before and after it.
#include "assessment/ChangeName.h"

#include <algorithm>
#include <vector>

namespace kestal {

namespace {

bool SameCaptured(const MeasureTables& a, const MeasureTables& b)
{
    // Records past the count are left over from before a "Сброс" and hold nothing.
    return a.MeasureCount == b.MeasureCount && a.ChangeTotal == b.ChangeTotal &&
           std::equal(a.captured.begin(), a.captured.begin() + a.MeasureCount, b.captured.begin());
}

bool SameStudy(const SessionState& a, const SessionState& b)
{
    return a.assessment.measures.store == b.assessment.measures.store &&
           a.shown.study.listing == b.shown.study.listing && a.shown.editorEnabled == b.shown.editorEnabled;
}

bool SameQuestionnaire(const Assessment& a, const Assessment& b)
{
    return a.QuestionnaireLevel == b.QuestionnaireLevel && a.answers == b.answers;
}

// The factors (catalogue indices) whose rating differs.
std::vector<int> RatedFactors(const Assessment& a, const Assessment& b)
{
    std::vector<int> factors;
    for (int f = 0; f < FactorCount; ++f) {
        const int slot = FactorCatalogue[f].slot;
        if (!(a.settings.row[slot] == b.settings.row[slot])) factors.push_back(f);
    }
    return factors;
}

std::string PanelChangeName(const ExpertPanel& before, const ExpertPanel& after)
{
    const std::size_t was = before.experts.size(), is = after.experts.size();
    if (is == 0) return "удаление панели экспертов";
    if (was == 0) return "панель экспертов";
    if (is > was) return "добавление эксперта";
    if (is < was) return "удаление эксперта";
    bool names = false, levels = false;
    for (std::size_t k = 0; k < is; ++k) {
        names = names || before.experts[k].name != after.experts[k].name;
        levels = levels || before.experts[k].level != after.experts[k].level;
    }
    if (names && levels) return "панель экспертов";
    return names ? "имя эксперта" : "оценки экспертов";
}

// Whether each of `factors` now stands on the level the panel agrees on.
bool TookConsensus(const Assessment& after, const std::vector<int>& factors)
{
    if (after.panel.experts.empty()) return false;
    const std::vector<FactorOpinions> opinions = PanelOpinions(after.panel);
    return std::all_of(factors.begin(), factors.end(), [&](int factor) {
        return std::any_of(opinions.begin(), opinions.end(), [&](const FactorOpinions& row) {
            return CatalogueIndex(*row.factor) == factor &&
                   row.consensus - 1 == RatedItem(after.settings, FactorCatalogue[factor]);
        });
    });
}

}  // namespace

ChangeName NameChange(const SessionState& beforeState, const SessionState& afterState)
{
    const Assessment& before = beforeState.assessment;
    const Assessment& after = afterState.assessment;
    if (before.results != after.results) return {"моделирование"};
    const int was = before.measures.MeasureCount, is = after.measures.MeasureCount;
    if (is > was) return {"запись мероприятия"};
    if (is < was) return {"сброс мероприятий"};
    if (!SameCaptured(before.measures, after.measures) || !SameStudy(beforeState, afterState))
        return {"расчёт мероприятий"};
    if (!(before.panel == after.panel)) return {PanelChangeName(before.panel, after.panel)};
    if (!SameQuestionnaire(before, after)) return {"анкета T03"};
    if (!(before.plan == after.plan)) return {"условия плана", TypedField::Plan};
    const std::vector<int> rated = RatedFactors(before, after);
    if (rated.size() == 1) return {std::string("оценка ") + FactorCatalogue[rated.front()].id};
    if (!rated.empty()) return {TookConsensus(after, rated) ? "согласованные оценки экспертов" : "оценки факторов"};
    const bool k = before.kText != after.kText, n = before.nText != after.nText;
    const bool budget = before.budget != after.budget || before.budgetText != after.budgetText;
    const bool damage = before.damage != after.damage || before.damageText != after.damageText;
    if (k + n + budget + damage == 1) {
        if (k) return {"число опытов K", TypedField::K};
        if (n) return {"число инициаций N", TypedField::N};
        if (budget) return {"сумма средств", TypedField::Budget};
        return {"величина ущерба", TypedField::Damage};
    }
    return {"изменение оценки"};
}

}  // namespace kestal
