// kestal-sim's help: -h and --help print the usage on stdout with status 0; after a command, that
// command's usage alone, and the whole usage is every command's put together.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

namespace {

struct Printed {
    int status;
    std::string out;
    std::string err;
};

std::string Contents(const char* path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

Printed Program(const std::string& args) {
    const int status = std::system(("\"$KESTAL_SIM\" " + args + " >help.out 2>help.err").c_str());
    Printed printed{WEXITSTATUS(status), Contents("help.out"), Contents("help.err")};
    std::remove("help.out");
    std::remove("help.err");
    return printed;
}

}  // namespace

TEST(Help, WholeAndPerCommandOnStdoutWithStatusZero) {
    if (!std::getenv("KESTAL_SIM")) GTEST_SKIP() << "KESTAL_SIM not set";
    const std::string notes = "Numbers take \".\" as the decimal separator.";
    const Printed whole = Program("--help");
    ASSERT_EQ(whole.status, 0);
    EXPECT_EQ(whole.err, "");
    EXPECT_EQ(Program("-h").out, whole.out);
    std::string assembled;  // each command's usage, its first line aligned under "usage: "
    for (const std::string command : {"run", "study", "exact", "importance", "optimize"}) {
        for (const std::string& args : {command + " --help", command + " -h", command + " -K 5 --help"}) {
            const Printed one = Program(args);
            EXPECT_EQ(one.status, 0) << args;
            EXPECT_EQ(one.err, "") << args;
            EXPECT_TRUE(one.out.starts_with("usage: kestal-sim " + command + " ")) << one.out;
            const std::size_t end = one.out.find(notes);
            ASSERT_NE(end, std::string::npos) << one.out;
            EXPECT_EQ(one.out.find("kestal-sim", 8), std::string::npos) << one.out;  // no other command's
            if (args == command + " -h")
                assembled += (assembled.empty() ? one.out.substr(0, end) : "       " + one.out.substr(7, end - 7));
        }
    }
    EXPECT_EQ(whole.out, assembled + whole.out.substr(whole.out.find(notes)));
}
