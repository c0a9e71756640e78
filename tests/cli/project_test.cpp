// kestal-sim --project: every command works on the example assessment, with the command line's
// options over it.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "CommandCall.h"
#include "cli/ExactCommand.h"
#include "cli/ImportanceCommand.h"
#include "cli/OptimizeCommand.h"
#include "cli/RunCommand.h"
#include "cli/StudyCommand.h"

using namespace kestal;

TEST(ProjectOption, TheExampleServesEveryCommandWithTheCommandLineOverIt)
{
    const struct {
        Command command;
        std::vector<std::string> args;
        std::string json;  // a part of the JSON output
    } cases[] = {
        {RunCommand, {"-K", "3"}, "{\"K\":3,\"N\":4000,"},                              // N from the file
        {StudyCommand, {"-K", "2", "-N", "100"}, "{\"position\":7,"},                   // its three measures
        {ExactCommand, {}, "\"probability\":0.93159739507663552}"},                     // its levels
        {ImportanceCommand, {"--level", "H01=2"}, "{\"factor\":\"H01\",\"level\":2,"},  // a level over them
        {OptimizeCommand, {"--budget", "400"}, "\"best\":[\"Обучение операторов\"]}"},  // its 1000 takes a pair
        // Measures on the command line replace the file's: none of them is in the best set.
        {OptimizeCommand, {"--measure", "А;100;H01=1", "--measure", "Б;200;H04=11"}, "\"best\":[\"Б\"]}"},
    };
    for (const auto& c : cases) {
        const std::vector<std::string> args = With({"--project", ExampleProject}, c.args);
        const Outcome json = Call(c.command, With(args, {"--format", "json"}));
        ASSERT_EQ(json.status, 0) << json.err;
        EXPECT_EQ(json.err, "");
        EXPECT_NO_THROW(std::ignore = nlohmann::json::parse(json.out));
        EXPECT_NE(json.out.find(c.json), std::string::npos) << c.json << '\n' << json.out;
        const Outcome table = Call(c.command, args);
        EXPECT_EQ(table.status, 0) << table.err;
        EXPECT_NE(table.out, "");
    }
}
