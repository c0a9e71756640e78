// The questionnaire's answers, the report they give and the level of factor T03 they rate.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "questionnaire/Criteria.h"

namespace kestal {

// Per criterion, in report order, the class of its answer: 0, 1, 2, 3 for classes 1, 2, 3.1, 3.2.
// A fresh questionnaire answers every criterion with class 1.
using QuestionnaireAnswers = std::array<uint8_t, Criteria.size()>;

// Whether criterion `criterion` offers an answer of class `answerClass`.
bool OffersAnswer(int criterion, int answerClass);

// The report: an empty line, the group headings, each criterion's heading after two blanks and its
// answer line, then the counts of classes 1, 2, 3.1, 3.2 and a fifth counter that stays 0 (48 lines).
std::vector<std::string> QuestionnaireReport(const QuestionnaireAnswers& answers);

// The rating text of the answers: one of the eleven level names.
std::string QuestionnaireRating(const QuestionnaireAnswers& answers);

// The T03 item (0..10) the answers rate; nothing where the rating names no level.
std::optional<uint8_t> QuestionnaireLevelOf(const QuestionnaireAnswers& answers);

}  // namespace kestal
