// The questionnaire's plain data: its six pages and its 18 criteria with their answers, in report order.
#pragma once

#include <array>

namespace kestal {

// The four answer classes in the order the report tests them; the index picks the button-name suffix.
inline constexpr int AnswerClassCount = 4;
inline constexpr std::array<const char*, AnswerClassCount> AnswerClassSuffixes{"_1", "_2", "_31", "_32"};
// The classes by name, as the project file writes them.
inline constexpr std::array<const char*, AnswerClassCount> AnswerClassNames{"1", "2", "3.1", "3.2"};

struct QuestionnairePage {
    const char* caption;        // tab of pcSimpleDo
    const char* controlName;    // the page's own page control, one tab per criterion
    const char* reportHeading;  // written before the page's first criterion
};

struct Answer {
    const char* text;  // nullptr: the criterion has no answer of this class
    bool isLabel;      // true: the text stands in a label beside an uncaptioned button; false: it is the caption
};

struct Criterion {
    int page;                   // index into QuestionnairePages
    const char* stem;           // control names: gb<stem>, rb<stem>_1, lb<stem>_2, ...
    const char* tab;            // tab caption in the page's page control
    const char* caption;        // group box caption
    const char* extraLine;      // line under the caption, or nullptr
    const char* reportHeading;  // written after two blanks
    std::array<Answer, AnswerClassCount> answers;
};

extern const std::array<QuestionnairePage, 6> QuestionnairePages;
extern const std::array<Criterion, 18> Criteria;

}  // namespace kestal
