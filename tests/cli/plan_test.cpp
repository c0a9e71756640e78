// kestal-sim plan: the JSON contract key by key, the target's three spellings, unreachable targets,
// and the refusals.
#include <gtest/gtest.h>

#include <regex>

#include "CommandCall.h"
#include "cli/PlanCommand.h"

using namespace kestal;

namespace {

// The output with every number written as #, so that its shape can be compared whole.
std::string Shape(const std::string& json)
{
    return std::regex_replace(json, std::regex(R"(:-?[0-9][0-9.e+-]*)"), ":#");
}

const std::vector<std::string> Measures = {"--measure",         "А;100;H03=11", "--measure",
                                           "Б;50;M03=1,T02=11", "--measure",    "В;30;H14=11"};
const std::vector<std::string> Steps = {"--step-cost", "H03=1", "--step-cost", "M03=2", "--range", "M03=5-8"};

TEST(PlanCommand, JsonKeepsItsShape)
{
    // Both plans: the set's names, the changes and the flags filled in.
    const auto both = [](const std::string& reachable, const std::string& set, const std::string& proven,
                         const std::string& changes) {
        return R"({"target":#,"current":#,"measures":{"reachable":)" + reachable + R"(,"set":[)" + set +
               R"(],"cost":#,"accident":#},"levels":{"reachable":)" + reachable + R"(,"proven":)" + proven +
               R"(,"changes":[)" + changes + R"(],"cost":#,"accident":#,"lower_bound":#}})" + "\n";
    };
    const std::string h03To11 = R"({"factor":"H03","from":#,"to":#})";
    const struct {
        std::vector<std::string> args;
        std::string json;  // exact, or the shape when it holds a #
    } cases[] = {
        // Nothing to plan with: both null.
        {{"--target", "1e-3"}, "{\"target\":#,\"current\":#,\"measures\":null,\"levels\":null}\n"},
        // Already below the target: no measure and no change, at no cost.
        {With(With({"--target", "1e-3"}, Measures), Steps),
         R"({"target":0.001,"current":0.00056893159614038369,"measures":{"reachable":true,"set":[],"cost":0,)"
         R"("accident":0.00056893159614038369},"levels":{"reachable":true,"proven":true,"changes":[],"cost":0,)"
         R"("accident":0.00056893159614038369,"lower_bound":0}})"
         "\n"},
        // The same target three ways: Б alone is the cheapest set, H03 to 11 the cheapest steps.
        {With(With({"--project", ExampleProject, "--target", "1e-3"}, Measures), Steps),
         R"({"target":0.001,"current":0.0026254102171259475,"measures":{"reachable":true,"set":["Б"],"cost":50,)"
         R"("accident":0.00042726234055307562},"levels":{"reachable":true,"proven":true,)"
         R"("changes":[{"factor":"H03","from":8,"to":11}],"cost":3,"accident":0.00069068373747792224,)"
         R"("lower_bound":3}})"
         "\n"},
        {With(With({"--project", ExampleProject, "--target", "0.001"}, Measures), Steps),
         both("true", R"("Б")", "true", h03To11)},
        {With(With({"--project", ExampleProject, "--target", "0.1 %"}, Measures), Steps),
         both("true", R"("Б")", "true", h03To11)},
        // Unreachable: every measure, and both factors at their best allowed levels.
        {With(With({"--project", ExampleProject, "--target", "0"}, Measures), Steps),
         both("false", R"("А","Б","В")", "true", h03To11 + R"(,{"factor":"M03","from":#,"to":#})")},
        // The project's own measures; a free factor goes all the way, the one with a cost stays.
        {{"--project", ExampleProject, "--target", "0.2%", "--step-cost", "T02=0", "--step-cost", "H03=1"},
         R"({"target":#,"current":#,"measures":{"reachable":true,"set":["Обучение операторов"],"cost":#,)"
         R"("accident":#},"levels":{"reachable":true,"proven":true,"changes":[{"factor":"T02","from":#,"to":#}],)"
         R"("cost":#,"accident":#,"lower_bound":#}})"
         "\n"},
        // With a panel, each plan's band after it comes last.
        {{"--project", ExampleProject, "--target", "0.2%", "--step-cost", "H03=1", "--panel",
          KESTAL_SOURCE_DIR "/examples/panel.csv"},
         R"({"target":#,"current":#,"measures":{"reachable":true,"set":["Обучение операторов"],"cost":#,)"
         R"("accident":#,"band":{"p05":#,"p50":#,"p95":#}},"levels":{"reachable":true,"proven":true,)"
         R"("changes":[{"factor":"H03","from":#,"to":#}],"cost":#,"accident":#,"lower_bound":#,)"
         R"("band":{"p05":#,"p50":#,"p95":#}}})"
         "\n"},
    };
    for (const auto& c : cases) {
        const Outcome outcome = Call(PlanCommand, With(c.args, {"--format", "json"}));
        ASSERT_EQ(outcome.status, 0) << outcome.err;
        EXPECT_EQ(outcome.err, "");
        const bool shape = c.json.find('#') != std::string::npos;
        EXPECT_EQ(shape ? Shape(outcome.out) : outcome.out, c.json) << outcome.out;
    }
}

TEST(PlanCommand, UnreachableTargetIsSaidInTheTable)
{
    const ScopedLocale c("C");
    const Outcome table =
        Call(PlanCommand, With(With({"--project", ExampleProject, "--target", "1e-9"}, Measures), Steps));
    EXPECT_EQ(table.out,
              "Цель: 1E-9\nПроисшествие сейчас: 0.00262541021712595\n"
              "Мероприятия: недостижимо, наименьшая вероятность 0.0000321301561140017\n  набор: А + Б + В\n"
              "  затраты: 180\n  происшествие: 0.0000321301561140017\n"
              "Шаги уровней: недостижимо, наименьшая вероятность 0.000510504736126765\n"
              "  изменения: H03 8 → 11, M03 8 → 5\n  затраты: 9\n  происшествие: 0.000510504736126765\n"
              "  оптимальность: доказана\n");
}

TEST(PlanCommand, Refusals)
{
    const std::vector<std::string> target = {"--target", "1e-3"};
    const struct {
        std::vector<std::string> args;
        std::string err;
    } cases[] = {
        {{}, "kestal-sim plan: option --target is required"},
        {{"--target", "1,5e-3"}, "kestal-sim plan: --target '1,5e-3': '1,5e-3' is not a valid floating point value"},
        {{"--target", "2"}, "kestal-sim plan: --target '2': a probability is 0 to 1 (0 % to 100 %)"},
        {{"--target", "-1%"}, "kestal-sim plan: --target '-1%': a probability is 0 to 1 (0 % to 100 %)"},
        {{"--target", "%"}, "kestal-sim plan: --target '%': '' is not a valid floating point value"},
        {With(target, {"--step-cost", "H01=-1"}),
         "kestal-sim plan: --step-cost 'H01=-1': a cost per step is 0 to 1e15"},
        {With(target, {"--step-cost", "H01=1.5e15"}),
         "kestal-sim plan: --step-cost 'H01=1.5e15': a cost per step is 0 to 1e15"},
        {With(target, {"--step-cost", "H99=1"}), "kestal-sim plan: --step-cost 'H99=1': unknown factor id 'H99'"},
        {With(target, {"--step-cost", "H01"}), "kestal-sim plan: --step-cost 'H01': expected ID=COST"},
        {With(target, {"--step-cost", "H01=1", "--step-cost", "H01=2"}),
         "kestal-sim plan: --step-cost 'H01=2': H01 given twice"},
        {With(target, {"--step-cost", "H01=1", "--range", "H01=5-3"}),
         "kestal-sim plan: --range 'H01=5-3': levels are 1 to 11, LOW at most HIGH"},
        {With(target, {"--step-cost", "H01=1", "--range", "H01=0-11"}),
         "kestal-sim plan: --range 'H01=0-11': levels are 1 to 11, LOW at most HIGH"},
        {With(target, {"--range", "H01=2-11"}),
         "kestal-sim plan: --range 'H01=2-11': H01 has no --step-cost, so it is not changed"},
        {With(target, {"--budget", "5"}), "kestal-sim plan: unknown option '--budget'"},
        {With(target, {"--work", "0"}), "kestal-sim plan: --work '0': at least 1 evaluation"},
        {With(target, {"--measure", "А;100;H03=11"}),
         "kestal-sim plan: --measure given 1 time: Для плана нужно от 2 до 15 мероприятий или ни одного"},
        {With(target, {"--format", "csv"}), "kestal-sim plan: --format 'csv': expected table or json"},
        {With(target, {"--panel", "/nonexistent.csv"}),
         "kestal-sim plan: --panel '/nonexistent.csv': the file cannot be read: No such file or directory"},
    };
    for (const auto& c : cases) {
        const Outcome outcome = Call(PlanCommand, c.args);
        EXPECT_EQ(outcome.status, 2);
        EXPECT_EQ(outcome.out, "");
        EXPECT_EQ(outcome.err, c.err + "\n");
    }
}

}  // namespace
