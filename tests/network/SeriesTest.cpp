// The series: its statistics and their rounding, filling it, the run checks, the calibration
// and the run-time estimates.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "network/Calibration.h"
#include "network/Series.h"
#include "Support.h"
#include "common/KestalError.h"

using namespace kestal;

namespace {

SeriesTable WithColumn(const std::vector<int32_t>& entries, int column = NodeI)
{
    SeriesTable t;
    for (size_t e = 0; e < entries.size(); ++e) {
        t.column[column][e] = entries[e];
    }
    t.ExperimentCount = static_cast<int32_t>(entries.size());
    return t;
}

TEST(SeriesStatistics, MeanIsTheExactSumOverK)
{
    EXPECT_EQ(SeriesMean(WithColumn({1, 1, 2}), NodeI), 0x1.555556p+0f);  // 4/3 rounded once
    EXPECT_EQ(SeriesMean(WithColumn({3, 4}), NodeI), 3.5f);

    // 2000 maximal counts: the sum needs more than 32 bits.
    SeriesTable big;
    big.ExperimentCount = MaxExperiments;
    big.column[NodeB].fill(2'147'483'647);
    EXPECT_EQ(SeriesMean(big, NodeB), 2147483648.0f);
}

TEST(SeriesStatistics, EqualEntriesHaveZeroDeviation)
{
    const SeriesTable t = WithColumn(std::vector<int32_t>(37, 3987), NodeD);
    EXPECT_EQ(SeriesMean(t, NodeD), 3987.0f);
    EXPECT_EQ(SeriesDeviation(t, NodeD), 0.0f);
}

TEST(SeriesStatistics, SingleExperimentHasNoDeviation)
{
    const SeriesTable t = WithColumn({120});
    EXPECT_EQ(SeriesMean(t, NodeI), 120.0f);
    EXPECT_FALSE(SeriesDeviation(t, NodeI).has_value());
}

TEST(SeriesStatistics, ReadsExactlyTheFirstKEntries)
{
    SeriesTable t;
    t.column[NodeC].fill(0);
    t.column[NodeC][1999] = 2000;  // experiment 2000
    t.ExperimentCount = 2000;
    EXPECT_EQ(SeriesMean(t, NodeC), 1.0f);

    // A longer earlier run left counts beyond K; they are not read.
    for (int e = 0; e < 500; ++e) {
        t.column[NodeC][e] = 99'999;
    }
    for (int e = 0; e < 200; ++e) {
        t.column[NodeC][e] = e % 2 == 0 ? 10 : 20;
    }
    t.ExperimentCount = 200;
    EXPECT_EQ(SeriesMean(t, NodeC), 15.0f);
    EXPECT_EQ(SeriesDeviation(t, NodeC), static_cast<float>(std::sqrt(200.0L * 25.0L / 199.0L)));
}

TEST(SeriesStatistics, DeviationRoundsToSingleAtEveryStep)
{
    // Mean 10 000. The first two squares reach 2^27, where singles are 16 apart; each following
    // square of 1 is then lost in the single-precision sum, which stays at 2^27.
    std::vector<int32_t> entries = {10'000 - 8192, 10'000 + 8192};
    for (int i = 0; i < 100; ++i) {
        entries.push_back(10'001);
        entries.push_back(9'999);
    }
    const SeriesTable t = WithColumn(entries);
    ASSERT_EQ(SeriesMean(t, NodeI), 10'000.0f);
    const float deviation = *SeriesDeviation(t, NodeI);
    EXPECT_EQ(deviation, 0x1.98947p+9f);  // sqrt(2^27 / 201) rounded: 817.159668
    const float unrounded = static_cast<float>(std::sqrt((134217728.0L + 200.0L) / 201.0L));
    EXPECT_NE(deviation, unrounded);  // 817.160278 when the sum keeps every square

    // The order of the entries matters for the same reason: small squares first survive.
    std::vector<int32_t> reordered(entries.begin() + 2, entries.end());
    reordered.push_back(entries[0]);
    reordered.push_back(entries[1]);
    EXPECT_EQ(*SeriesDeviation(WithColumn(reordered), NodeI), 0x1.989482p+9f);

    // The square is rounded before it is added: 4097² = 16 785 409 becomes 16 785 408, and
    // 2 + 16 785 408 is a single where 2 + 16 785 409 would round up to 16 785 412.
    EXPECT_EQ(*SeriesDeviation(WithColumn({9999, 10001, 14097, 5903}), NodeI), 0x1.a225f6p+11f);
    // The difference is rounded before it is squared: the mean 16 777 220.5 is 16 777 220 in
    // single, and 3 - 16 777 220 = -16 777 217 becomes -16 777 216.
    EXPECT_EQ(*SeriesDeviation(WithColumn({3, 33'554'438}), NodeI), 0x1.6a09e8p+24f);
}

TEST(SeriesStatistics, KOutsideTheTableIsRefused)
{
    SeriesTable t;
    for (int32_t k : {0, -1, MaxExperiments + 1}) {
        t.ExperimentCount = k;
        EXPECT_THROW(SeriesMean(t, NodeB), KestalError);
        EXPECT_THROW(SeriesDeviation(t, NodeB), KestalError);
    }
}

TEST(RunParameters, RangeChecksWithTheUsersMessages)
{
    EXPECT_NO_THROW(CheckRunParameters(1, 1));
    EXPECT_NO_THROW(CheckRunParameters(MaxExperiments, 100'000'000));
    const auto message = [](int32_t k, int32_t n) -> std::string {
        try {
            CheckRunParameters(k, n);
        } catch (const KestalError& e) {
            return e.what();
        }
        return "";
    };
    EXPECT_EQ(message(0, 4000), "Число опытов K должно быть от 1 до 2000");
    EXPECT_EQ(message(2001, 4000), "Число опытов K должно быть от 1 до 2000");
    EXPECT_EQ(message(-5, 0), "Число опытов K должно быть от 1 до 2000");
    EXPECT_EQ(message(200, 0), "Число инициаций N должно быть не меньше 1");
    EXPECT_EQ(message(200, -4000), "Число инициаций N должно быть не меньше 1");
}

TEST(RunSeriesTest, FillsOneEntryPerExperimentAndReportsProgress)
{
    const FixedClock clock(1234);
    GertNetwork net;
    net.clock = &clock;
    net.inputs = AllSlots(0.5f);
    SeriesTable series;
    series.column[NodeB].fill(-1);
    series.ExperimentCount = 3;
    series.InitiationCount = 500;
    std::vector<int32_t> reported;
    RunSeries(net, series, [&](int32_t e, int32_t done) {
        EXPECT_EQ(done, 500);
        reported.push_back(e);
    });
    EXPECT_EQ(reported, (std::vector<int32_t>{1, 2, 3}));

    GertNetwork same;
    same.clock = &clock;
    same.inputs = AllSlots(0.5f);
    for (int e = 0; e < 3; ++e) {
        RunNetworkBatch(same, 500);
        for (int j = 0; j < NodeCount; ++j) {
            EXPECT_EQ(series.column[j][e], same.counters.node[j]) << e << " " << j;
        }
    }
    EXPECT_EQ(series.column[NodeB][3], -1);
}

TEST(RunSeriesTest, SlicedBatchEqualsOneBatchBitForBit)
{
    // An experiment run in slices (so that a stop is seen within it) leaves what one batch leaves:
    // counters, generator state and clock reading; the network keeps its clock.
    const FixedClock clock(86'399'999);
    const struct {
        float p;
        int32_t n, slice;
    } cases[] = {{0.5f, 1, 1},         {0.5f, 1000, 1},   {0.084f, 1000, 7},       {0.084f, 1000, 999},
                 {0.084f, 1000, 1000}, {0.25f, 4097, 64}, {0.3f, 100'000, 33'333}, {0.5f, 50, 0}};
    for (const auto& c : cases) {
        for (const int32_t lastReading : {-1, 86'399'999}) {  // a reseed, and a reading taken before
            GertNetwork whole;
            whole.clock = &clock;
            whole.inputs = AllSlots(c.p);
            whole.random = {4242, lastReading};
            GertNetwork sliced = whole;
            RunNetworkBatch(whole, c.n);
            std::vector<int32_t> between, expected;  // every full slice short of n
            RunNetworkBatchInSlices(sliced, c.n, c.slice, [&](int32_t done) { between.push_back(done); });
            for (int32_t done = std::max(c.slice, 1); done < c.n; done += std::max(c.slice, 1))
                expected.push_back(done);
            const std::string where =
                std::to_string(c.n) + "/" + std::to_string(c.slice) + " " + std::to_string(lastReading);
            EXPECT_EQ(sliced.counters.node, whole.counters.node) << where;
            EXPECT_EQ(sliced.random.RandomSeed, whole.random.RandomSeed) << where;
            EXPECT_EQ(sliced.random.lastClockReading, whole.random.lastClockReading) << where;
            EXPECT_EQ(sliced.clock, &clock) << where;
            EXPECT_EQ(between, expected) << where;
        }
    }
}

TEST(RunSeriesTest, RefusesBadParametersBeforeRunning)
{
    GertNetwork net;
    net.random.RandomSeed = 55;
    net.random.lastClockReading = 9;
    SeriesTable series;
    series.ExperimentCount = 2001;
    series.InitiationCount = 10;
    EXPECT_THROW(RunSeries(net, series), KestalError);
    series.ExperimentCount = 1;
    series.InitiationCount = 0;
    EXPECT_THROW(RunSeries(net, series), KestalError);
    EXPECT_EQ(net.random.RandomSeed, 55u);
    EXPECT_EQ(net.random.lastClockReading, 9);
}

// A clock whose processor-time reading steps by a set amount at each look (its monotonic
// reading stands still: the calibration must not go by it).
struct SteppingClock final : Clock {
    int32_t UtcMillisecondOfDay() const override { return 1; }
    double MonotonicSeconds() const override { return 5.0; }
    double ThreadCpuSeconds() const override { return now += step; }
    mutable double now = 1000.0;
    double step;
};

TEST(CalibrationTest, FillsElevenEntriesAndTimesThem)
{
    SteppingClock clock;
    clock.step = 4320.0;  // a twentieth of a day between the two readings, over all rounds
    GertNetwork net;
    net.clock = &clock;
    net.inputs = AllSlots(0.5f);
    SeriesTable series;
    series.column[NodeI].fill(-1);
    EXPECT_DOUBLE_EQ(RunCalibration(net, series), 0.05 / CalibrationRounds);
    for (int e = 0; e < CalibrationBatches; ++e) {
        EXPECT_EQ(series.column[NodeB][e] + series.column[NodeC][e], CalibrationInitiations);
        EXPECT_GE(series.column[NodeI][e], 0);
    }
    EXPECT_EQ(series.column[NodeI][11], -1);
    EXPECT_EQ(series.ExperimentCount, 0);

    clock.step = -10.0;  // a clock stepping back never gives a negative duration
    EXPECT_EQ(RunCalibration(net, series), 0.0);
}

TEST(Estimate, ScalesTheCalibrationByTheRunSize)
{
    const double second = 1.0 / 86400.0;
    // K = 200, N = 4000 after a calibration of 0.2 s: about 1.04 s.
    EXPECT_NEAR(EstimateDays(0.2 * second, 200, 4000) / second, 800000.0 * 0.2 / 154000.0, 1e-12);
    // K × N = 154 000 gives the calibration time back, and a study multiplies it.
    EXPECT_DOUBLE_EQ(EstimateDays(0.7 * second, 1, 154000), 0.7 * second);
    EXPECT_DOUBLE_EQ(EstimateDays(0.7 * second, 2, 77000), 0.7 * second);
    EXPECT_DOUBLE_EQ(EstimateDays(0.7 * second, 1, 154000, 4), 2.8 * second);
    EXPECT_DOUBLE_EQ(EstimateDays(0.7 * second, 1, 154000, 8), 5.6 * second);
    EXPECT_EQ(EstimateDays(0.0, 2000, 100'000'000), 0.0);
    // Products beyond 32 bits are computed in extended, not in integers.
    EXPECT_DOUBLE_EQ(EstimateDays(154000.0, 2000, 100'000'000, 8), 8.0 * 2000.0 * 1e8);
    // A cost factor scales it; 1 leaves it exactly as it is.
    EXPECT_DOUBLE_EQ(EstimateDays(0.7 * second, 1, 154000, 1, 2.5L), 1.75 * second);
    EXPECT_EQ(EstimateDays(0.2 * second, 200, 4000, 4, 1.0L), EstimateDays(0.2 * second, 200, 4000, 4));
}

}  // namespace
