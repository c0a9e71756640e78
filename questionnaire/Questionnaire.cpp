// The questionnaire's report, its class counts and the level they rate.
#include "questionnaire/Questionnaire.h"

#include "questionnaire/RateIntensity.h"

namespace kestal {

namespace {

// count1, count2, count31, count32.
std::array<uint8_t, AnswerClassCount> ClassCounts(const QuestionnaireAnswers& answers)
{
    std::array<uint8_t, AnswerClassCount> counts{};
    for (const uint8_t answer : answers) ++counts.at(answer);
    return counts;
}

}  // namespace

bool OffersAnswer(int criterion, int answerClass)
{
    return answerClass >= 0 && answerClass < AnswerClassCount && Criteria.at(criterion).answers[answerClass].text;
}

std::vector<std::string> QuestionnaireReport(const QuestionnaireAnswers& answers)
{
    std::vector<std::string> report{""};
    int page = -1;
    for (std::size_t n = 0; n < Criteria.size(); ++n) {
        const Criterion& criterion = Criteria[n];
        if (criterion.page != page) {
            page = criterion.page;
            report.emplace_back(QuestionnairePages[page].reportHeading);
        }
        report.push_back(std::string("  ") + criterion.reportHeading);
        const Answer& answer = criterion.answers.at(answers[n]);
        report.push_back(answer.isLabel ? std::string(10, ' ') + answer.text : std::string(answer.text));
    }
    for (const uint8_t count : ClassCounts(answers)) report.push_back(std::to_string(count));
    report.emplace_back("0");
    return report;
}

std::string QuestionnaireRating(const QuestionnaireAnswers& answers)
{
    const auto counts = ClassCounts(answers);
    return RateIntensity(counts[0], counts[1], counts[2], counts[3]);
}

std::optional<uint8_t> QuestionnaireLevelOf(const QuestionnaireAnswers& answers)
{
    const std::string rating = QuestionnaireRating(answers);
    for (std::size_t i = 0; i < IntensityLevelNames.size(); ++i)
        if (rating == IntensityLevelNames[i]) return static_cast<uint8_t>(i);
    return std::nullopt;
}

}  // namespace kestal
