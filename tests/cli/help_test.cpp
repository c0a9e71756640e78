// kestal-sim's help: -h and --help print the usage on stdout with status 0; after a command, that
// command's usage alone, and the whole usage is every command's put together.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

namespace {

std::string Contents(const char* path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The program's stdout for `args`, after checking that it ended with status 0 and wrote no error.
std::string Usage(const std::string& args)
{
    const int status = std::system(("\"$KESTAL_SIM\" " + args + " >help.out 2>help.err").c_str());
    EXPECT_EQ(WEXITSTATUS(status), 0) << args;
    EXPECT_EQ(Contents("help.err"), "") << args;
    const std::string out = Contents("help.out");
    std::remove("help.out");
    std::remove("help.err");
    return out;
}

}  // namespace

TEST(Help, WholeAndPerCommandOnStdoutWithStatusZero)
{
    if (!std::getenv("KESTAL_SIM")) GTEST_SKIP() << "KESTAL_SIM not set";
    const std::string whole = Usage("--help");
    EXPECT_EQ(Usage("-h"), whole);
    const std::size_t notes = whole.find("Numbers take \".\" as the decimal separator.");
    ASSERT_NE(notes, std::string::npos);
    std::string assembled;  // each command's usage, its first line aligned under "usage: "
    for (const std::string command :
         {"run", "study", "exact", "importance", "optimize", "plan", "panel", "compare", "batch"}) {
        const std::string one = Usage(command + " -h");
        EXPECT_EQ(Usage(command + " --help"), one);
        EXPECT_EQ(Usage(command + " -K 5 --help"), one);
        EXPECT_TRUE(one.starts_with("usage: kestal-sim " + command + " ")) << one;
        EXPECT_EQ(one.find("kestal-sim", 8), std::string::npos) << one;  // no other command's
        EXPECT_TRUE(one.ends_with(whole.substr(notes))) << one;
        const std::string usage = one.substr(0, one.size() - (whole.size() - notes));
        assembled += assembled.empty() ? usage : "       " + usage.substr(7);
    }
    EXPECT_EQ(whole, assembled + whole.substr(notes));
}
