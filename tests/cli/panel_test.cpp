// kestal-sim panel: the JSON contract (keys, their order, nulls), the band of the project's ratings,
// and refusals naming the file's row and column.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <regex>
#include <nlohmann/json.hpp>

#include "analysis/ExpertPanel.h"
#include "analysis/ExpertPanelCsv.h"
#include "CommandCall.h"
#include "project/ProjectFile.h"
#include "assessment/Session.h"
#include "cli/PanelCommand.h"

using namespace kestal;

namespace {

const std::string ExamplePanel = KESTAL_SOURCE_DIR "/examples/panel.csv";

std::vector<std::string> Keys(const nlohmann::ordered_json& object)
{
    std::vector<std::string> keys;
    for (const auto& item : object.items()) keys.push_back(item.key());
    return keys;
}

void WriteFile(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

TEST(PanelCommand, JsonHoldsTheContractsKeysInOrderAndTheBandOfTheProjectsRatings)
{
    const Outcome outcome = Call(
        PanelCommand, {"--project", ExampleProject, "--panel", ExamplePanel, "--target", "0.003", "--format", "json"});
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    const auto json = nlohmann::ordered_json::parse(outcome.out);
    EXPECT_EQ(Keys(json), (std::vector<std::string>{"experts", "method", "cases", "nodes", "target", "exceedance",
                                                    "shares", "consensus", "concordance"}));
    // The core's figures for the project's ratings, to 17 significant digits: within 5e-17 relatively.
    Session session(&SystemClock(), EnglishNumberLocale(), EnglishNumberLocale());
    session.Load(OpenProjectFile(ExampleProject));
    std::ifstream file(ExamplePanel, std::ios::binary);
    const ExpertPanel panel = ReadExpertPanelCsv({std::istreambuf_iterator<char>(file), {}});
    const PanelBand band = *ComputePanelBand(panel, session.assessment().RatingInputs(), 0.003L);
    const auto close = [&](const std::string& key, std::size_t i, long double core) {
        const std::vector<long double> numbers = Numbers(outcome.out, key);
        ASSERT_LT(i, numbers.size()) << key;
        EXPECT_LE(std::fabs(numbers[i] - core), 5e-17L * std::fabs(core)) << key << " " << i;
    };
    EXPECT_EQ(json["experts"].size(), 5u);
    EXPECT_EQ(json["experts"][1], "Петрова А. С.");
    EXPECT_EQ(json["method"], "enumeration");
    EXPECT_EQ(json["cases"], 7776);
    ASSERT_EQ(json["nodes"].size(), 8u);
    for (int node = 0; node < NodeCount; ++node) {
        const auto& n = json["nodes"][node];
        EXPECT_EQ(Keys(n), (std::vector<std::string>{"node", "mean", "min", "max", "p05", "p50", "p95"}));
        EXPECT_EQ(n["node"], NodeLetters[node]);
        const NodeBand& b = band.node[node];
        close("mean", node, b.mean), close("min", node, b.min), close("max", node, b.max);
        close("p05", node, b.p05), close("p50", node, b.p50), close("p95", node, b.p95);
    }
    EXPECT_EQ(json["target"], 0.003);
    close("exceedance", 0, *band.exceedance);
    ASSERT_EQ(json["shares"].size(), 10u);  // the factors with more than one level
    for (std::size_t i = 0; i < band.shares.size(); ++i) {
        EXPECT_EQ(Keys(json["shares"][i]), (std::vector<std::string>{"factor", "share"}));
        EXPECT_EQ(json["shares"][i]["factor"], band.shares[i].factor->id);
        close("share", i, band.shares[i].share);
    }
    EXPECT_EQ(json["consensus"].dump(),
              R"({"H02":5,"H03":8,"H04":6,"H09":8,"H14":8,"M01":4,"M03":8,"M07":9,"C02":5,"C03":6,"T02":3,"T04":8})");
    EXPECT_EQ(Keys(json["concordance"]), (std::vector<std::string>{"w", "chi2", "df", "p_value", "factors"}));
    EXPECT_EQ(json["concordance"]["df"], 9);
    EXPECT_EQ(json["concordance"]["factors"], 10);
}

TEST(PanelCommand, NullsWithoutATargetOrAConcordance)
{
    WriteFile("split.csv", "factor;A;B\nH03;2;10\n");
    const Outcome outcome = Call(PanelCommand, {"--panel", "split.csv", "--format", "json"});
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    const auto json = nlohmann::ordered_json::parse(outcome.out);
    EXPECT_EQ(json["cases"], 2);
    EXPECT_TRUE(json["target"].is_null());
    EXPECT_TRUE(json["exceedance"].is_null());
    EXPECT_EQ(json["shares"].dump(), R"([{"factor":"H03","share":1}])");
    EXPECT_EQ(json["concordance"].dump(), R"({"w":null,"reason":"все эксперты оценили меньше двух общих факторов"})");
    const Outcome table = Call(PanelCommand, {"--panel", "split.csv", "--level", "H03=5"});
    EXPECT_EQ(table.out.rfind("Эксперты: A, B\nПеребор всех наборов оценок: 2\nУзел  ", 0), 0u) << table.out;
    std::remove("split.csv");
}

TEST(PanelCommand, WithoutPanelFileTheProjectsOwnPanelIsJudged)
{
    Session session(&SystemClock(), EnglishNumberLocale(), EnglishNumberLocale());
    session.Load(OpenProjectFile(ExampleProject));
    std::ifstream file(ExamplePanel, std::ios::binary);
    session.assessment().SetPanel(ReadExpertPanelCsv({std::istreambuf_iterator<char>(file), {}}));
    WriteFile("with-panel.kestal", ProjectJson(session.state()));
    const Outcome fromProject = Call(PanelCommand, {"--project", "with-panel.kestal", "--format", "json"});
    const Outcome fromFile =
        Call(PanelCommand, {"--project", ExampleProject, "--panel", ExamplePanel, "--format", "json"});
    ASSERT_EQ(fromProject.status, 0) << fromProject.err;
    EXPECT_EQ(fromProject.out, fromFile.out);
    std::remove("with-panel.kestal");
}

TEST(PanelCommand, RefusesOnOneLineNamingTheCell)
{
    WriteFile("bad.csv", "factor;A;B\nH01;3;x\n");
    const struct {
        std::vector<std::string> args;
        std::string message;
    } cases[] = {
        {{}, "kestal-sim panel: expected --panel FILE or a --project FILE that holds a panel"},
        {{"--project", ExampleProject},
         "kestal-sim panel: --project '" + ExampleProject + "': the project holds no expert panel"},
        {{"--panel", "none.csv"},
         "kestal-sim panel: --panel 'none.csv': the file cannot be read: No such file or directory"},
        {{"--panel", "bad.csv"},
         "kestal-sim panel: --panel 'bad.csv': строка 2, столбец 3: «x» — не номер уровня от 1 до 11"},
        {{"--panel", "bad.csv", "--target", "1.5"},
         "kestal-sim panel: --target '1.5': a target is a probability from 0 to 1"},
        {{"--panel", "bad.csv", "--target", "0,5"},
         "kestal-sim panel: --target '0,5': '0,5' is not a valid floating point value"},
        {{"--panel", "bad.csv", "-K", "5"}, "kestal-sim panel: unknown option '-K'"},
    };
    for (const auto& c : cases) {
        const Outcome outcome = Call(PanelCommand, c.args);
        EXPECT_EQ(outcome.status, 2) << c.message;
        EXPECT_EQ(outcome.err, c.message + "\n");
        EXPECT_EQ(outcome.out, "");
    }
    std::remove("bad.csv");
}

}  // namespace
