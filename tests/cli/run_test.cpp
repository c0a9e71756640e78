// kestal-sim run: output formats, reproducibility with --seed, and the one-line errors.
#include <gtest/gtest.h>

#include <cstdlib>
#include <regex>
#include <sstream>

#include "cli/RunCommand.h"

namespace {

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

Outcome Simulate(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int status = RunCommand(args, out, err);
    return {status, out.str(), err.str()};
}

std::vector<long> LastCounts(const std::string& json) {
    std::vector<long> counts;
    const std::regex last("\"last\":([0-9]+)");
    for (auto it = std::sregex_iterator(json.begin(), json.end(), last); it != std::sregex_iterator(); ++it)
        counts.push_back(std::stol((*it)[1]));
    return counts;
}

}  // namespace

TEST(RunCommand, JsonWithSeedBalancesAndRepeats) {
    const Outcome first = Simulate({"--seed", "12345678", "--format", "json", "-K", "20", "-N", "4000"});
    ASSERT_EQ(first.status, 0) << first.err;
    EXPECT_TRUE(first.err.empty());
    EXPECT_EQ(first.out.rfind("{\"K\":20,\"N\":4000,\"seed\":12345678,\"nodes\":[{\"node\":\"B\",\"name\":\"Гомеостазис\","
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

TEST(RunCommand, LevelOptionChangesTheInputs) {
    const Outcome base = Simulate({"--seed", "1000", "--format", "csv", "-K", "5", "-N", "3000"});
    const Outcome worse = Simulate({"--seed", "1000", "--format", "csv", "-K", "5", "-N", "3000", "--level", "H01=1",
                               "--level", "C02=1"});
    ASSERT_EQ(base.status, 0);
    ASSERT_EQ(worse.status, 0);
    EXPECT_NE(base.out, worse.out);
}

TEST(RunCommand, SingleExperimentHasNoDeviation) {
    const Outcome json = Simulate({"--seed", "5", "--format", "json", "-K", "1", "-N", "100"});
    ASSERT_EQ(json.status, 0) << json.err;
    EXPECT_NE(json.out.find("\"deviation\":null"), std::string::npos);
    const Outcome csv = Simulate({"--seed", "5", "--format", "csv", "-K", "1", "-N", "100"});
    ASSERT_EQ(csv.status, 0);
    EXPECT_EQ(csv.out.rfind("node,name,mean,deviation,last\nB,Гомеостазис,0.", 0), 0u) << csv.out;
    EXPECT_NE(csv.out.find(",—,"), std::string::npos);
}

TEST(RunCommand, TableShowsTheGridHeadersAndTheLocaleSeparator) {
    setenv("LC_ALL", "ru_RU.UTF-8", 1);
    const Outcome ru = Simulate({"--seed", "7", "-K", "3", "-N", "400"});
    setenv("LC_ALL", "C", 1);
    const Outcome en = Simulate({"--seed", "7", "-K", "3", "-N", "400"});
    unsetenv("LC_ALL");
    ASSERT_EQ(ru.status, 0);
    EXPECT_EQ(ru.out.rfind("Узел  Возможные состояния        Мера возможности   Среднее Кв.Отклонение  Индекс опасности\n",
                           0),
              0u)
        << ru.out;
    std::istringstream lines(ru.out);
    std::string line;
    int rows = 0;
    while (std::getline(lines, line)) ++rows;
    EXPECT_EQ(rows, 9);
    EXPECT_NE(ru.out.find("Происшествие"), std::string::npos);
    EXPECT_TRUE(std::regex_search(ru.out, std::regex("0,[0-9]{14}")));
    EXPECT_FALSE(std::regex_search(en.out, std::regex("0,[0-9]{14}")));
    EXPECT_TRUE(std::regex_search(en.out, std::regex("0\\.[0-9]{14}")));
}

TEST(RunCommand, BadOptionsGiveOneLineAndStatusTwo) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"-K", "abc"}, "kestal-sim run: 'abc' is not a valid integer value\n"},
        {{"-N", "4 000"}, "kestal-sim run: '4 000' is not a valid integer value\n"},
        {{"-K", "0"}, "kestal-sim run: Число опытов K должно быть от 1 до 2000\n"},
        {{"-K", "2001"}, "kestal-sim run: Число опытов K должно быть от 1 до 2000\n"},
        {{"-N", "0"}, "kestal-sim run: Число инициаций N должно быть не меньше 1\n"},
        {{"--level", "H10=3"}, "kestal-sim run: unknown factor id 'H10' in --level H10=3\n"},
        {{"--level", "H01=12"}, "kestal-sim run: level number must be 1 to 11 in --level H01=12\n"},
        {{"--level", "H01"}, "kestal-sim run: --level expects ID=NUMBER, got 'H01'\n"},
        {{"--seed", "86400000"}, "kestal-sim run: --seed must be 0 to 86399999\n"},
        {{"--format", "xml"}, "kestal-sim run: unknown format 'xml'\n"},
        {{"--verbose"}, "kestal-sim run: unknown option '--verbose'\n"},
        {{"-K"}, "kestal-sim run: option -K needs a value\n"},
    };
    for (const auto& [args, message] : cases) {
        const Outcome outcome = Simulate(args);
        EXPECT_EQ(outcome.status, 2) << message;
        EXPECT_EQ(outcome.err, message);
        EXPECT_TRUE(outcome.out.empty()) << message;
    }
}

TEST(RunCommand, TheProgramReportsBadCommandsWithStatusTwo) {
    const char* program = std::getenv("KESTAL_SIM");
    if (!program) GTEST_SKIP() << "KESTAL_SIM not set";
    const std::string command = std::string(program) + " fly >/dev/null 2>&1";
    EXPECT_EQ(WEXITSTATUS(std::system(command.c_str())), 2);
    const std::string run = std::string(program) + " run --seed 1 -K 2 -N 10 --format csv >/dev/null 2>&1";
    EXPECT_EQ(WEXITSTATUS(std::system(run.c_str())), 0);
}
