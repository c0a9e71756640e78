// The terminal progress bar: it follows the work's own count to 100 %, also when a study skips
// series over the budget, and is erased at the end.
#include <gtest/gtest.h>

#include <cstdlib>

#include "assessment/Session.h"
#include "cli/Progress.h"

using namespace kestal;

TEST(TerminalProgress, ReachesFullWhenAStudySkipsSeriesAndIsErased)
{
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
