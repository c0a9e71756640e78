// The README as executable documentation: every kestal-sim command in its code blocks runs from the
// source folder and ends with the status the README implies (0 unless the block says otherwise).
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include "CommandCall.h"

namespace {

struct ReadmeCommand {
    int line;             // where the command begins in the README
    std::string command;  // as a shell runs it, "build/kestal-sim" still in it
};

// The commands of the README's code blocks: lines that begin with "build/kestal-sim" or
// "$ build/kestal-sim", joined over trailing backslashes, with a trailing "# ..." comment dropped.
std::vector<ReadmeCommand> ReadmeCommands()
{
    std::ifstream readme(KESTAL_SOURCE_DIR "/README.md");
    std::vector<ReadmeCommand> commands;
    bool inBlock = false;
    std::string line;
    for (int number = 1; std::getline(readme, line); ++number) {
        if (line.starts_with("```")) {
            inBlock = !inBlock;
            continue;
        }
        if (!inBlock) continue;
        std::string text = line.starts_with("$ ") ? line.substr(2) : line;
        if (!text.starts_with("build/kestal-sim")) continue;
        const int first = number;
        while (text.ends_with("\\") && std::getline(readme, line)) {
            ++number;
            text.pop_back();
            text += line;
        }
        text = std::regex_replace(text, std::regex("\\s+#[^\"']*$"), "");
        commands.push_back({first, text});
    }
    return commands;
}

}  // namespace

TEST(Readme, EveryKestalSimCommandRunsWithStatusZero)
{
    const char* sim = std::getenv("KESTAL_SIM");
    if (!sim) GTEST_SKIP() << "KESTAL_SIM not set";
    // The README names the program build/kestal-sim: it must be there, in the build folder itself.
    EXPECT_EQ(std::filesystem::path(sim), std::filesystem::path(KESTAL_BINARY_DIR) / "kestal-sim");
    const std::vector<ReadmeCommand> commands = ReadmeCommands();
    ASSERT_GE(commands.size(), 5u);  // the reader found the blocks
    for (const ReadmeCommand& c : commands) {
        {
            std::ofstream script("readme-command.sh");
            script << "cd '" KESTAL_SOURCE_DIR "' || exit 99\n"
                   << std::regex_replace(c.command, std::regex("^build/kestal-sim"), "\"$KESTAL_SIM\"") << "\n";
        }
        const int status = std::system("sh readme-command.sh >/dev/null 2>readme-command.err");
        std::ifstream err("readme-command.err");
        const std::string errText{std::istreambuf_iterator<char>(err), {}};
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
            << "README line " << c.line << ": " << c.command << "\n" << errText;
    }
    std::remove("readme-command.sh");
    std::remove("readme-command.err");
}
