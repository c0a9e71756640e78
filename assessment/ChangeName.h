// What a change of the assessment is called where it can be undone.
#pragma once

#include <string>

#include "assessment/SessionState.h"

namespace kestal {

// The one typed amount a change concerns, if that is all it changed: consecutive typing into the
// same field (or into the plan's target and step costs) counts as one change.
enum class TypedField { None, K, N, Budget, Damage, Plan };

struct ChangeName {
    std::string name;  // in Russian, for "Отменить: …" and "Повторить: …"
    TypedField field = TypedField::None;
};

// What turned `before` into `after`, by what differs, the largest change first: a run
// ("моделирование"), a captured measure ("запись мероприятия"), "Сброс" ("сброс мероприятий"), a
// study ("расчёт мероприятий"), the expert panel, the questionnaire ("анкета T03"), the plan's target
// and step costs ("условия плана"), ratings ("оценка
// H03"; several at once "оценки факторов", or "согласованные оценки экспертов" where each took the
// panel's consensus), K ("число опытов K"), N ("число инициаций N"), the budget ("сумма средств") or
// the damage ("величина ущерба").
ChangeName NameChange(const SessionState& before, const SessionState& after);

}  // namespace kestal
