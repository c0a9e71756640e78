// The estimates follow the machine's load: committed work's wall-clock time over its processor
// time scales them; short work, stopped work and a quiet machine leave them as calibrated.
#include <gtest/gtest.h>

#include "network/Calibration.h"
#include "assessment/Session.h"
#include "common/Formats.h"

using namespace kestal;

namespace {

// Each look at the wall clock advances it by `wallStep`, each look at the processor time by 1 s.
struct LoadedClock final : Clock {
    int32_t UtcMillisecondOfDay() const override { return 1000; }
    double MonotonicSeconds() const override { return wall += wallStep; }
    double ThreadCpuSeconds() const override { return cpu += 1.0; }
    double wallStep = 1.0;
    mutable double wall = 0.0, cpu = 0.0;
};

}  // namespace

TEST(EstimateLoad, CommittedWorkScalesTheEstimatesByItsWallOverProcessorTime)
{
    const struct {
        double wallStep;
        bool stopped;
        double factor;  // expected afterwards
    } cases[] = {{3.0, false, 3.0}, {1.0, false, 1.0}, {0.5, false, 1.0}, {250.0, false, 100.0}, {3.0, true, 1.0}};
    for (const auto& c : cases) {
        LoadedClock clock;
        Session session(&clock, EnglishNumberLocale(), EnglishNumberLocale());
        session.Calibrate();  // one processor second over the rounds
        session.SetKText("200");
        session.SetNText("100000");
        const std::string before = session.RunEstimateText();
        EXPECT_EQ(before, "  " + DurationText(EstimateDays(1.0 / CalibrationRounds / 86400.0, 200, 100000),
                                              EnglishNumberLocale()));
        clock.wallStep = c.wallStep;
        session.SetKText("2");
        session.SetNText("10");
        if (c.stopped) {
            EXPECT_THROW(session.Run({{}, [] { return true; }}), WorkStopped);
        } else {
            session.Run();
        }
        EXPECT_EQ(session.LoadFactor(), c.factor) << c.wallStep;
        session.SetKText("200");
        session.SetNText("100000");
        EXPECT_EQ(session.RunEstimateText(),
                  "  " + DurationText(EstimateDays(1.0 / CalibrationRounds / 86400.0, 200, 100000, 1, c.factor),
                                      EnglishNumberLocale()))
            << c.wallStep;
    }
}
