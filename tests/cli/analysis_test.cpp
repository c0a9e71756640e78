// kestal-sim exact, importance and optimize, and the precision figures of run's JSON.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <regex>

#include "CommandCall.h"
#include "cli/ExactCommand.h"
#include "cli/ImportanceCommand.h"
#include "cli/OptimizeCommand.h"
#include "cli/RunCommand.h"

using namespace kestal;

namespace {

std::size_t Count(const std::string& text, const std::string& what)
{
    std::size_t count = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++count;
    return count;
}

TEST(AnalysisCommands, ExactGivesTheEightNodesAndTheDraws)
{
    const Outcome json = Call(ExactCommand, {"--format", "json"});
    ASSERT_EQ(json.status, 0) << json.err;
    EXPECT_EQ(json.out.rfind("{\"nodes\":[{\"node\":\"B\",\"name\":\"Гомеостазис\",\"probability\":0.9568", 0), 0u)
        << json.out;
    EXPECT_EQ(Numbers(json.out, "draws_per_initiation").size(), 1u);
    // 17 significant digits, trailing zeros dropped, "." as the separator: "0.95680889492794722",
    // "0.00056893159614038369".
    const std::regex probability("\"probability\":0\\.0*[1-9][0-9]{0,16}[,}]");
    EXPECT_EQ(
        std::distance(std::sregex_iterator(json.out.begin(), json.out.end(), probability), std::sregex_iterator()), 8);

    setenv("LC_ALL", "ru_RU.UTF-8", 1);
    const Outcome table = Call(ExactCommand, {});
    unsetenv("LC_ALL");
    EXPECT_EQ(table.out.rfind("Узел  Возможные состояния  Вероятность\nB     Гомеостазис          0,9568", 0), 0u)
        << table.out;
    EXPECT_NE(table.out.find("\nРозыгрышей на инициацию: 14,43"), std::string::npos);
}

TEST(AnalysisCommands, ImportanceRanksThirtyFactors)
{
    const Outcome json = Call(ImportanceCommand, {"--format", "json", "--level", "T06=1"});
    ASSERT_EQ(json.status, 0) << json.err;
    EXPECT_EQ(json.out.rfind("{\"accident\":", 0), 0u);
    EXPECT_EQ(Count(json.out, "{\"factor\":"), 30u);
    EXPECT_NE(json.out.find("{\"factor\":\"T06\",\"level\":1,\"accident\":["), std::string::npos);
    EXPECT_EQ(Numbers(json.out, "best_level").size(), 30u);

    const Outcome table = Call(ImportanceCommand, {});
    ASSERT_EQ(table.status, 0);
    EXPECT_EQ(Count(table.out, "\n"), 32u);
    EXPECT_NE(table.out.find("\nФактор  Уровень  Лучший  Худший  Происшествие при лучшем  Снижение\n"),
              std::string::npos);
}

TEST(AnalysisCommands, OptimizeJudgesEverySubset)
{
    const std::vector<std::string> three = {"--measure",    "А;300;H14=11,H08=11", "--measure",
                                            "Б;400;H03=11", "--measure",           "В;1200;M08=11"};
    std::vector<std::string> args = three;
    args.insert(args.end(), {"--format", "json"});
    const Outcome json = Call(OptimizeCommand, args);
    ASSERT_EQ(json.status, 0) << json.err;
    EXPECT_EQ(Count(json.out, "{\"measures\":"), 8u);
    // Within the budget of 1500: А + Б (700) beats А + В; all three (1900) are over it.
    EXPECT_NE(json.out.find("{\"measures\":[\"А\",\"Б\",\"В\"],\"cost\":1900,"), std::string::npos);
    EXPECT_EQ(json.out.substr(json.out.size() - 20), "\"best\":[\"А\",\"Б\"]}\n");
    const auto benefits = Numbers(json.out, "benefit");
    EXPECT_TRUE(std::is_sorted(benefits.rbegin(), benefits.rend()));
    args.insert(args.end(), {"--budget", "200"});
    const std::string nothingWithin = Call(OptimizeCommand, args).out;
    EXPECT_NE(nothingWithin.find("\"best\":null,\"reason\":\"Ни один набор мер, снижающий вероятность происшествия, "
                                 "не укладывается в бюджет 200.00 у.е.\"}\n"),
              std::string::npos);

    const Outcome table = Call(OptimizeCommand, three);
    ASSERT_EQ(table.status, 0);
    EXPECT_EQ(Count(table.out, "\n"), 1u + 1 + 8 + 1);
    EXPECT_NE(table.out.find("\nЛучший набор: А + Б\n"), std::string::npos);
}

TEST(AnalysisCommands, OptimizeRecommendsNothingThatRaisesTheAccident)
{
    // The fence raises the accident probability; the ventilation helps but is over the budget.
    const std::vector<std::string> measures = {
        "--budget", "500", "--measure", "Ограждение;450;M07=11,T04=10", "--measure", "Вентиляция;700;H05=10,C01=8",
        "--format", "json"};
    const struct {
        std::vector<std::string> more;
        std::string best;
    } cases[] = {
        {{},
         "\"best\":null,\"reason\":\"Ни один набор мер, снижающий вероятность происшествия, не укладывается в "
         "бюджет 500.00 у.е.\"}\n"},
        {{"--budget", "700"}, "\"best\":[\"Вентиляция\"]}\n"},
        // At their best levels the ventilation's factors only get worse.
        {{"--level", "H05=11", "--level", "C01=11"},
         "\"best\":null,\"reason\":\"Ни один набор мер не снижает вероятность происшествия\"}\n"},
    };
    for (const auto& c : cases) {
        const Outcome json = Call(OptimizeCommand, With(measures, c.more));
        ASSERT_EQ(json.status, 0) << json.err;
        EXPECT_EQ(json.out.substr(json.out.size() - std::min(json.out.size(), c.best.size())), c.best);
        // Doing nothing is listed; the fence alone is marked harmful.
        EXPECT_NE(json.out.find("{\"measures\":[],\"cost\":0,"), std::string::npos);
        EXPECT_NE(json.out.find("{\"measures\":[\"Ограждение\"],"), std::string::npos);
        const std::size_t fence = json.out.find("{\"measures\":[\"Ограждение\"],");
        EXPECT_EQ(json.out.substr(json.out.find('}', fence) - 14, 15), "\"harmful\":true}");
    }
}

TEST(AnalysisCommands, RunJsonGainsThePrecision)
{
    const Outcome run = Call(RunCommand, {"--seed", "4321", "--format", "json", "-K", "10", "-N", "2000"});
    ASSERT_EQ(run.status, 0) << run.err;
    const auto pooled = Numbers(run.out, "pooled");
    const auto exact = Numbers(run.out, "exact");
    ASSERT_EQ(exact, Numbers(Call(ExactCommand, {"--format", "json"}).out, "probability"));
    ASSERT_EQ(pooled.size(), 8u);
    EXPECT_NEAR(pooled[0] + pooled[1], 1.0L, 1e-18L);
    EXPECT_EQ(Count(run.out, "\"ci95\":["), 8u);
    // sqrt((1 - p)/(p·K·N)) and ceil((1 - p)/(p · 10^-4 · K)), p the exact accident probability.
    const long double p = exact[7];
    EXPECT_NEAR(Numbers(run.out, "accident_relative_error").at(0), std::sqrt((1 - p) / (p * 20000)), 1e-15L);
    EXPECT_EQ(Numbers(run.out, "N_for_1_percent").at(0), std::ceil((1 - p) / (p * 1e-4L * 10)));
    EXPECT_NE(run.out.find(",\"beyond_generator_limit\":false}\n"), std::string::npos);
    EXPECT_EQ(Numbers(run.out, "generator_limit").size(), 1u);
}

}  // namespace
