// kestal-sim study: captures as ">>" makes them, the study's listing and totals, repeatability with
// --seed, and numbers read alike and written by the locale.
#include <gtest/gtest.h>

#include <algorithm>
#include <nlohmann/json.hpp>
#include <regex>

#include "CommandCall.h"
#include "cli/StudyCommand.h"

using namespace kestal;

namespace {

Outcome Study(const std::vector<std::string>& args) { return Call(StudyCommand, args); }

std::vector<std::string> CandidateNames(const std::string& json)
{
    std::vector<std::string> names;
    const std::regex name("\\{\"position\":[0-9]+,\"name\":\"([^\"]*)\"");
    for (auto it = std::sregex_iterator(json.begin(), json.end(), name); it != std::sregex_iterator(); ++it)
        names.push_back((*it)[1]);
    return names;
}

const std::vector<std::string> TwoMeasures = {"--measure", "Обучение;300;H14=11,H08=11",
                                              "--measure", "Опасное;400;H03=1,M08=1",
                                              "--seed",    "1000",
                                              "-K",        "5",
                                              "-N",        "4000"};

}  // namespace

TEST(StudyCommand, SameSeedGivesTheSameRankingTwice)
{
    const Outcome first = Study(With(TwoMeasures, {"--format", "json"}));
    ASSERT_EQ(first.status, 0) << first.err;
    EXPECT_EQ(first.err, "");
    EXPECT_EQ(CandidateNames(first.out), (std::vector<std::string>{"Обучение", "Обучение + Опасное", "Опасное"}));
    EXPECT_EQ(Study(With(TwoMeasures, {"--format", "json"})).out, first.out);
    const Outcome table = Study(TwoMeasures);
    EXPECT_EQ(Study(TwoMeasures).out, table.out);
}

TEST(StudyCommand, JsonHoldsTheListingAndTheCandidates)
{
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
    EXPECT_NE(
        outcome.out.find("{\"position\":2,\"name\":\"Дорогое\",\"cost\":\"2000\",\"benefit\":null,\"ratio\":null,"
                         "\"over_budget\":true,\"changes\":[{\"factor\":\"M01 Качество конструкции рабочего места "
                         "оператора"),
        std::string::npos)
        << outcome.out;
    EXPECT_NE(outcome.out.find("\"before\":\"Среднее\",\"after\":\"Высокое\"}]}"), std::string::npos);
    EXPECT_NE(outcome.out.find("{\"position\":3,\"name\":\"Дешёвое + Дорогое\",\"cost\":\"2300\",\"benefit\":null,"
                               "\"ratio\":null,\"over_budget\":true,\"changes\":[]}]}\n"),
              std::string::npos);
}

TEST(StudyCommand, TablePrintsTheListingThenTheCompactRows)
{
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

TEST(StudyCommand, NumbersAreReadWithAPointAndWrittenByTheLocale)
{
    const std::vector<std::string> args = {"--measure", "Дешёвое;1.5;H14=11",
                                           "--measure", "Дорогое;2000.25;M01=9",
                                           "--budget",  "5000",
                                           "--seed",    "5000",
                                           "-K",        "3",
                                           "-N",        "1000"};
    const auto study = [&](const char* locale, const char* format) {
        const ScopedLocale scoped(locale);
        return Study(With(args, {"--format", format}));
    };
    // The same input under every locale; the JSON alike, the table in the locale's conventions.
    const Outcome json = study("C", "json");
    ASSERT_EQ(json.status, 0) << json.err;
    EXPECT_EQ(study("ru_RU.UTF-8", "json").out, json.out);
    const Outcome c = study("C", "table");
    EXPECT_EQ(study("C.UTF-8", "table").out, c.out);
    EXPECT_NE(c.out.find("  2001.75  "), std::string::npos) << c.out;
    EXPECT_NE(study("ru_RU.UTF-8", "table").out.find("  2\u00A0001,75  "), std::string::npos);
    // Names are copied into the JSON escaped: a tab, a quote.
    const Outcome named = Study(
        {"--measure", "А;Б\t\"В\";300;H14=11", "--measure", "Г;300;M01=9", "-K", "2", "-N", "100", "--format", "json"});
    ASSERT_EQ(named.status, 0) << named.err;
    const auto candidates = nlohmann::json::parse(named.out)["candidates"];
    EXPECT_TRUE(
        std::any_of(candidates.begin(), candidates.end(), [](const auto& c) { return c["name"] == "А;Б\t\"В\""; }));
}
