// The terminal progress bar: it follows the work's own count to 100 %, also when a study skips
// series over the budget, and is erased at the end.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <regex>
#include <string>

#include "Session/Session.h"
#include "cli/Progress.h"

TEST(TerminalProgress, ReachesFullWhenAStudySkipsSeriesAndIsErased) {
    Session session(&SystemClock(), EnglishNumberLocale(), EnglishNumberLocale());
    for (const int factor : {0, 1}) {
        session.SetCostText(factor ? "500" : "50");
        session.MoveBar(factor, 0);
        session.Capture();
    }
    // The second measure and the pair are over the budget: two of the four series are skipped.
    session.SetBudgetText("100");
    session.SetKText("3");
    session.SetNText("100");
    char* buffer = nullptr;
    std::size_t size = 0;
    std::FILE* terminal = open_memstream(&buffer, &size);
    {
        TerminalProgress progress(terminal);
        MeasureStudy study = session.PrepareStudy();
        study.Execute(progress.Control());
    }
    std::fclose(terminal);
    const std::string drawn(buffer, size);
    std::free(buffer);
    EXPECT_TRUE(drawn.starts_with("\r[") && drawn.ends_with("] 100%\r" + std::string(48, ' ') + "\r")) << drawn;
}

TEST(TerminalProgress, ASignalStopsTheLargestExperimentAtOnce) {
    if (!std::getenv("KESTAL_SIM")) GTEST_SKIP() << "KESTAL_SIM not set";
    // One experiment of the largest N, for each command that simulates and each stop signal: the
    // status says which signal, nothing is printed, and the end follows the signal within a second.
    const struct {
        const char* command;
        const char* signal;
        int status;
    } cases[] = {
        {"run -K 1 -N 2147483647", "INT", 130},
        {"study -K 1 -N 2147483647 --measure 'А;1;H01=1' --measure 'Б;1;H02=1'", "TERM", 143},
    };
    for (const auto& c : cases) {
        const std::string script = std::string("\"$KESTAL_SIM\" ") + c.command +
                                   " >stop.out 2>stop.err & sleep 0.5; kill -" + c.signal +
                                   " $!; s=$(date +%s%N); wait $!; r=$?; echo $(( ($(date +%s%N) - s) / 1000000 )) "
                                   ">stop.ms; exit $r";
        const int status = std::system(("sh -c '" + std::regex_replace(script, std::regex("'"), "'\\''") + "'").c_str());
        EXPECT_EQ(WEXITSTATUS(status), c.status) << c.command;
        std::ifstream ms("stop.ms");
        long milliseconds = -1;
        ms >> milliseconds;
        EXPECT_GE(milliseconds, 0) << c.command;
        EXPECT_LT(milliseconds, 1000) << c.command;
        for (const char* file : {"stop.out", "stop.err"}) {
            std::ifstream in(file);
            EXPECT_EQ(in.peek(), std::ifstream::traits_type::eof()) << file << ' ' << c.command;
        }
    }
    for (const char* file : {"stop.out", "stop.err", "stop.ms"}) std::remove(file);
}
