// kestal-sim run: output formats and reproducibility with --seed.
#include <gtest/gtest.h>

#include <algorithm>
#include <regex>

#include "CommandCall.h"
#include "cli/RunCommand.h"

using namespace kestal;

namespace {

Outcome Simulate(const std::vector<std::string>& args) { return Call(RunCommand, args); }

std::vector<long> LastCounts(const std::string& json)
{
    std::vector<long> counts;
    const std::regex last("\"last\":([0-9]+)");
    for (auto it = std::sregex_iterator(json.begin(), json.end(), last); it != std::sregex_iterator(); ++it)
        counts.push_back(std::stol((*it)[1]));
    return counts;
}

}  // namespace

TEST(RunCommand, JsonWithSeedBalancesAndRepeats)
{
    const Outcome first = Simulate({"--seed", "12345678", "--format", "json", "-K", "20", "-N", "4000"});
    ASSERT_EQ(first.status, 0) << first.err;
    EXPECT_TRUE(first.err.empty());
    EXPECT_EQ(
        first.out.rfind("{\"K\":20,\"N\":4000,\"seed\":12345678,\"nodes\":[{\"node\":\"B\",\"name\":\"Гомеостазис\","
                        "\"mean\":\"0.",
                        0),
        0u)
        << first.out;
    const auto counts = LastCounts(first.out);
    ASSERT_EQ(counts.size(), 8u);
    EXPECT_EQ(counts[0] + counts[1], 4000);  // B + C = N
    EXPECT_EQ(counts[2] + counts[3], counts[1]);
    EXPECT_EQ(counts[4] + counts[5], counts[3]);
    EXPECT_EQ(counts[6] + counts[7], counts[5]);
    // Every mean and deviation is a grid text: one integer digit, a point, fourteen decimals.
    const std::regex fixed("\"(mean|deviation)\":\"([0-9]+\\.[0-9]{14})\"");
    EXPECT_EQ(std::distance(std::sregex_iterator(first.out.begin(), first.out.end(), fixed), std::sregex_iterator()),
              16);

    EXPECT_EQ(Simulate({"--seed", "12345678", "--format", "json", "-K", "20", "-N", "4000"}).out, first.out);
    EXPECT_NE(Simulate({"--seed", "12345679", "--format", "json", "-K", "20", "-N", "4000"}).out, first.out);
}

TEST(RunCommand, SingleExperimentHasNoDeviation)
{
    const Outcome json = Simulate({"--seed", "5", "--format", "json", "-K", "1", "-N", "100"});
    ASSERT_EQ(json.status, 0) << json.err;
    EXPECT_NE(json.out.find("\"deviation\":null"), std::string::npos);
    const Outcome csv = Simulate({"--seed", "5", "--format", "csv", "-K", "1", "-N", "100"});
    ASSERT_EQ(csv.status, 0);
    EXPECT_EQ(csv.out.rfind("node,name,mean,deviation,last\nB,Гомеостазис,0.", 0), 0u) << csv.out;
    EXPECT_NE(csv.out.find(",—,"), std::string::npos);
}

TEST(RunCommand, TableShowsTheGridHeadersAndTheLocaleSeparator)
{
    const auto simulate = [](const char* locale) {
        const ScopedLocale scoped(locale);
        return Simulate({"--seed", "7", "-K", "3", "-N", "400"});
    };
    const Outcome ru = simulate("ru_RU.UTF-8"), en = simulate("C");
    ASSERT_EQ(ru.status, 0);
    EXPECT_EQ(ru.out.rfind(
                  "Узел  Возможные состояния        Мера возможности   Среднее Кв.Отклонение  Индекс опасности\n", 0),
              0u)
        << ru.out;
    EXPECT_EQ(std::count(ru.out.begin(), ru.out.end(), '\n'), 9);
    EXPECT_NE(ru.out.find("Происшествие"), std::string::npos);
    EXPECT_TRUE(std::regex_search(ru.out, std::regex("0,[0-9]{14}")));
    EXPECT_FALSE(std::regex_search(en.out, std::regex("0,[0-9]{14}")));
    EXPECT_TRUE(std::regex_search(en.out, std::regex("0\\.[0-9]{14}")));
}
