// kestal-sim study: captures as ">>" makes them, the study's listing and totals, repeatability with
// --seed, and the one-line errors.
#include <gtest/gtest.h>

#include <regex>
#include <sstream>

#include "cli/StudyCommand.h"

namespace {

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

Outcome Study(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int status = StudyCommand(args, out, err);
    return {status, out.str(), err.str()};
}

std::vector<std::string> CandidateNames(const std::string& json) {
    std::vector<std::string> names;
    const std::regex name("\\{\"position\":[0-9]+,\"name\":\"([^\"]*)\"");
    for (auto it = std::sregex_iterator(json.begin(), json.end(), name); it != std::sregex_iterator(); ++it)
        names.push_back((*it)[1]);
    return names;
}

void ExpectError(const std::vector<std::string>& args, const std::string& message) {
    const Outcome outcome = Study(args);
    EXPECT_EQ(outcome.status, 2);
    EXPECT_EQ(outcome.out, "");
    EXPECT_EQ(outcome.err, "kestal-sim study: " + message + "\n");
}

const std::vector<std::string> TwoMeasures = {"--measure", "Обучение;300;H14=11,H08=11", "--measure",
                                              "Опасное;400;H03=1,M08=1",  "--seed",    "1000",
                                              "-K",        "5",           "-N",        "4000"};

std::vector<std::string> With(std::vector<std::string> args, const std::vector<std::string>& more) {
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

}  // namespace

TEST(StudyCommand, SameSeedGivesTheSameRankingTwice) {
    const Outcome first = Study(With(TwoMeasures, {"--format", "json"}));
    ASSERT_EQ(first.status, 0) << first.err;
    EXPECT_EQ(first.err, "");
    EXPECT_EQ(CandidateNames(first.out), (std::vector<std::string>{"Обучение", "Обучение + Опасное", "Опасное"}));
    EXPECT_EQ(Study(With(TwoMeasures, {"--format", "json"})).out, first.out);
    const Outcome table = Study(TwoMeasures);
    EXPECT_EQ(Study(TwoMeasures).out, table.out);
}

TEST(StudyCommand, JsonHoldsTheListingAndTheCandidates) {
    const Outcome outcome = Study({"--measure", "Дешёвое;300;H14=11", "--measure", "Дорогое;2000;M01=9", "--seed",
                                   "5000", "-K", "3", "-N", "1000", "--format", "json"});
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(outcome.out.rfind("{\"listing\":[\"                      РЕЗУЛЬТАТЫ.\",\"--------\",\"Дешёвое :\","
                                "\"   -> затраты = 300\",",
                                0),
              0u)
        << outcome.out;
    EXPECT_NE(outcome.out.find("\"Дорогое :\",\"      Затраты превышают имеющиеся ресурсы :\","
                               "\"             2000 > 1500\""),
              std::string::npos);
    EXPECT_NE(outcome.out.find("{\"position\":2,\"name\":\"Дорогое\",\"cost\":\"2000\",\"benefit\":null,\"ratio\":null,"
                               "\"over_budget\":true,\"changes\":[{\"factor\":\"M01 Качество конструкции рабочего места "
                               "оператора"),
              std::string::npos)
        << outcome.out;
    EXPECT_NE(outcome.out.find("\"before\":\"Среднее\",\"after\":\"Высокое\"}]}"), std::string::npos);
    EXPECT_NE(outcome.out.find("{\"position\":3,\"name\":\"Дешёвое + Дорогое\",\"cost\":\"2300\",\"benefit\":null,"
                               "\"ratio\":null,\"over_budget\":true,\"changes\":[]}]}\n"),
              std::string::npos);
}

TEST(StudyCommand, TablePrintsTheListingThenTheCompactRows) {
    const Outcome outcome = Study(With(TwoMeasures, {"--budget", "600"}));
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    std::istringstream lines(outcome.out);
    std::vector<std::string> all;
    for (std::string line; std::getline(lines, line);) all.push_back(line);
    ASSERT_EQ(all.size(), 1u + 5 + 5 + 4 + 1 + 4);
    EXPECT_EQ(all[0], "                      РЕЗУЛЬТАТЫ.");
    EXPECT_EQ(all[12], "Обучение + Опасное :");
    EXPECT_EQ(all[14], "             700 > 600");
    EXPECT_EQ(all[15], "");
    EXPECT_EQ(all[16].rfind("№  ", 0), 0u);
    EXPECT_TRUE(std::regex_match(all[19], std::regex("3 +Обучение \\+ Опасное +700>600 +Большие +затраты"))) << all[19];
}

TEST(StudyCommand, CapturesFollowTheRulesOfTheEditor) {
    // A level already current is no change; a factor of an earlier measure cannot be taken again.
    ExpectError(With(TwoMeasures, {"--level", "M01=5", "--measure", "Третье;100;M01=5"}),
                "no factor leaves its current level in --measure Третье;100;M01=5");
    ExpectError(With(TwoMeasures, {"--measure", "Третье;100;H14=2"}),
                "factor H14 belongs to an earlier measure, in --measure Третье;100;H14=2");
    // The study needs two or three measures.
    ExpectError({"--measure", "Одно;300;H14=11"}, "Для расчета нужно 2 или 3 мероприятия");
    ExpectError(With(TwoMeasures, {"--measure", "В;1;T01=1", "--measure", "Г;1;T02=1"}),
                "Для расчета нужно 2 или 3 мероприятия");
    // The capture's own refusals and conversions.
    ExpectError({"--measure", "А;0;H14=11"}, "Затраты на внедрение должны быть не меньше 1 у.е.");
    ExpectError({"--measure", "А;сто;H14=11"}, "'сто' is not a valid floating point value");
    ExpectError({"--measure", "А;1;H01=1,H02=1,H03=1,H04=1,H05=1,H06=1,H07=1,H08=1,H09=1,H12=1,H13=1"},
                "В одном мероприятии можно изменить не более 10 факторов");
    ExpectError(With(TwoMeasures, {"--budget", "1500,5"}), "'1500,5' is not a valid floating point value");
    ExpectError(With(TwoMeasures, {"--damage", "много"}), "'много' is not a valid floating point value");
    ExpectError(With(TwoMeasures, {"-K", "2001"}), "Число опытов K должно быть от 1 до 2000");
}

TEST(StudyCommand, BadOptionsAreOneLine) {
    ExpectError({"--measure", "А;300"}, "--measure expects NAME;COST;ID=NUMBER[,ID=NUMBER...], got 'А;300'");
    ExpectError({"--measure", "А;300;X01=2"}, "--measure expects NAME;COST;ID=NUMBER[,ID=NUMBER...], got 'А;300;X01=2'");
    ExpectError({"--measure", "А;300;H01=12"}, "level number must be 1 to 11 in --measure А;300;H01=12");
    ExpectError({"--measure", "А;300;H01=2,H01=3"}, "factor H01 given twice in --measure А;300;H01=2,H01=3");
    ExpectError({"--format", "csv"}, "unknown format 'csv'");
    ExpectError({"--budget"}, "option --budget needs a value");
    ExpectError({"--colour"}, "unknown option '--colour'");
    // A name may hold the separator.
    const Outcome named = Study({"--measure", "А;Б;300;H14=11", "--measure", "В;300;M01=9", "-K", "2", "-N", "100",
                                 "--format", "json"});
    ASSERT_EQ(named.status, 0) << named.err;
    EXPECT_NE(named.out.find("\"А;Б :\""), std::string::npos);
}
