// The generator, the single-precision draw, the thresholds, the samplers' tie rule and reseeding.
#include <gtest/gtest.h>

#include <chrono>

#include "network/RandomSource.h"
#include "Support.h"

using namespace kestal;

namespace {

// A source whose next draw sees exactly `state`.
RandomSource DrawingState(uint32_t state)
{
    RandomSource r;
    r.RandomSeed = StateBefore(state);
    return r;
}

TEST(RandomSource, FirstDrawFromZero)
{
    RandomSource r;
    EXPECT_EQ(r.RandomSeed, 0u);
    EXPECT_EQ(r.NextUniform(), 0x1p-32L);
    EXPECT_EQ(r.RandomSeed, 1u);

    RandomSource s;
    EXPECT_EQ(DrawSingle(s), 2.3283064e-10f);
    EXPECT_EQ(DrawSingle(s), static_cast<float>(134775814.0L * 0x1p-32L));
}

TEST(RandomSource, GeneratorSequence)
{
    RandomSource r;
    const uint32_t expected[] = {1u, 134775814u, 3698175007u, 870078620u, 1172187917u};
    for (uint32_t e : expected) {
        r.NextUniform();
        EXPECT_EQ(r.RandomSeed, e);
    }
    EXPECT_EQ(StateBefore(1u), 0u);
}

TEST(RandomSource, NextUniformIsExactButTheDrawRoundsToOne)
{
    for (uint32_t state : {0xFFFFFF80u, 0xFFFFFFC0u, 0xFFFFFFFFu}) {
        RandomSource r = DrawingState(state);
        const long double v = r.NextUniform();
        EXPECT_EQ(v, static_cast<long double>(state) / 4294967296.0L);
        EXPECT_LT(v, 1.0L);
        RandomSource s = DrawingState(state);
        EXPECT_EQ(DrawSingle(s), 1.0f) << std::hex << state;
    }
    RandomSource below = DrawingState(0xFFFFFF7Fu);
    EXPECT_LT(DrawSingle(below), 1.0f);
}

TEST(RandomSource, FastDrawMatchesTheRoundedExtendedProduct)
{
    // Around every power of two (where the spacing of singles changes), at the halfway points
    // (ties go to even) and on a spread of other states.
    auto check = [](uint32_t s) {
        EXPECT_EQ(UniformSingle(s), static_cast<float>(static_cast<long double>(s) * 0x1p-32L)) << s;
    };
    for (int bit = 0; bit < 32; ++bit) {
        const uint32_t base = 1u << bit;
        for (uint32_t delta = 0; delta < 300; ++delta) {
            check(base + delta);
            check(base - delta);
        }
        if (bit >= 24) {
            const uint32_t half = 1u << (bit - 24);  // half a single's spacing above 2^bit
            for (uint32_t k = 1; k < 8; ++k) {
                check(base + (2 * k + 1) * half);
                check(base + (2 * k + 1) * half - 1);
                check(base + (2 * k + 1) * half + 1);
            }
        }
    }
    uint32_t s = 12345;
    for (int i = 0; i < 100000; ++i) {
        s = NextState(s);
        check(s);
    }
    // Halfway between two singles the draw goes to the even one: up to 2^31 from 2^31 - 64,
    // down to 2^31 - 256 from 2^31 - 192.
    EXPECT_EQ(UniformSingle(0x7FFFFFC0u), 0.5f);
    EXPECT_EQ(UniformSingle(0x7FFFFF40u), 0x7FFFFF00p-32f);
}

TEST(RandomSource, ThresholdTables)
{
    struct Row {
        float p;
        Thresholds3 three;
        Thresholds4 four;
    };
    const Row rows[] = {
        {0.25f, {0.166666672f, 0.333333343f}, {0.125f, 0.25f, 0.375f}},
        {0.5f, {0.333333343f, 0.666666687f}, {0.25f, 0.5f, 0.75f}},
        {0.75f, {0.666666687f, 0.833333313f}, {0.625f, 0.75f, 0.875f}},
        {0.0f, {0.0f, 0.0f}, {0.0f, 0.0f, 0.0f}},
        {1.0f, {1.0f, 1.0f}, {1.0f, 1.0f, 1.0f}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.p);
        const Thresholds3 t3 = BranchThresholds3(row.p);
        EXPECT_EQ(t3.t1, row.three.t1);
        EXPECT_EQ(t3.t2, row.three.t2);
        const Thresholds4 t4 = BranchThresholds4(row.p);
        EXPECT_EQ(t4.t1, row.four.t1);
        EXPECT_EQ(t4.t2, row.four.t2);
        EXPECT_EQ(t4.t3, row.four.t3);
    }
    // The level values: pinned, and the four-way middle threshold is p itself.
    EXPECT_EQ(BranchThresholds3(0.084f).t1, 0x1.cac082p-5f);
    EXPECT_EQ(BranchThresholds3(0.584f).t2, 0x1.72015ep-1f);
    EXPECT_EQ(BranchThresholds3(0.916f).t1, 0x1.c6a7fp-1f);
    for (float p : LevelValues) {
        EXPECT_EQ(BranchThresholds4(p).t2, p);
    }
}

TEST(RandomSource, TinyThresholdsStayAboveZeroInExtended)
{
    // Worked out in double or single these thresholds would cancel to zero.
    const float p = 0x1.000002p-66f;
    const Thresholds3 t3 = BranchThresholds3(p);
    EXPECT_EQ(t3.t1, 0x1p-65f);
    EXPECT_EQ(t3.t2, 0x1p-64f);
    const Thresholds4 t4 = BranchThresholds4(p);
    EXPECT_EQ(t4.t1, 0x1p-66f);
    EXPECT_EQ(t4.t2, 0x1p-65f);  // 0.5 - (0.5 - p): p itself only while 0.5 - p is exact
    EXPECT_EQ(t4.t3, 0x1p-64f);
    // Multiplying by 2 then dividing by 3, not by the rounded 2/3, shows down here.
    const Thresholds3 small = BranchThresholds3(0x1.8p-65f);
    EXPECT_EQ(small.t1, 0x1p-64f);
    EXPECT_EQ(small.t2, 0x1p-63f);
    // Only the draw of state 0, u = 0, lies below them.
    RandomSource r3 = DrawingState(0);
    EXPECT_EQ(SampleBranch3(r3, 1, 2, 3, p), 1);
    RandomSource r4 = DrawingState(0);
    EXPECT_EQ(SampleBranch4(r4, 1, 2, 3, 4, p), 1);
}

TEST(RandomSource, DrawEqualToAThresholdTakesTheLaterOutcome)
{
    // Two-way, p = 0.5: u = 0.5 exactly at state 2^31, and at the tie 2^31 - 64 rounded up.
    for (uint32_t state : {0x80000000u, 0x7FFFFFC0u}) {
        RandomSource r = DrawingState(state);
        EXPECT_EQ(SampleBranch2(r, 7, 9, 0.5f), 9) << std::hex << state;
    }
    RandomSource below = DrawingState(0x7FFFFFBFu);
    EXPECT_EQ(SampleBranch2(below, 7, 9, 0.5f), 7);

    // Three-way, p = 0.5: t1 = 0xAAAAAB × 2^-25 and t2 = 0xAAAAAB × 2^-24.
    const uint32_t t1State = 0xAAAAABu << 7;
    const uint32_t t2State = 0xAAAAABu << 8;
    const struct {
        uint32_t state;
        uint8_t outcome;
    } three[] = {{t1State - 256, 10}, {t1State, 11}, {t2State - 256, 11}, {t2State, 12}};
    for (const auto& c : three) {
        RandomSource r = DrawingState(c.state);
        EXPECT_EQ(SampleBranch3(r, 10, 11, 12, 0.5f), c.outcome) << std::hex << c.state;
    }

    // Four-way, p = 0.5: thresholds 1/4, 1/2, 3/4.
    const struct {
        uint32_t state;
        uint8_t outcome;
    } four[] = {{0x3FFFFF00u, 20}, {0x40000000u, 21}, {0x80000000u, 22}, {0xBFFFFF00u, 22}, {0xC0000000u, 23}};
    for (const auto& c : four) {
        RandomSource r = DrawingState(c.state);
        EXPECT_EQ(SampleBranch4(r, 20, 21, 22, 23, 0.5f), c.outcome) << std::hex << c.state;
    }
}

TEST(RandomSource, DrawOfOneTakesTheLastOutcomeEvenForCertainty)
{
    for (uint32_t state : {0xFFFFFF80u, 0xFFFFFFFFu}) {
        RandomSource a = DrawingState(state);
        EXPECT_EQ(SampleBranch2(a, 1, 2, 1.0f), 2);
        RandomSource b = DrawingState(state);
        EXPECT_EQ(SampleBranch3(b, 1, 2, 3, 1.0f), 3);
        RandomSource c = DrawingState(state);
        EXPECT_EQ(SampleBranch4(c, 1, 2, 3, 4, 1.0f), 4);
    }
    RandomSource d = DrawingState(0xFFFFFF7Fu);
    EXPECT_EQ(SampleBranch4(d, 1, 2, 3, 4, 1.0f), 1);
}

TEST(RandomSource, ZeroProbabilityAlwaysGivesTheLastOutcome)
{
    RandomSource r;  // the first draw is the smallest possible, 2^-32
    for (int i = 0; i < 3000; ++i) {
        ASSERT_EQ(SampleBranch2(r, 1, 2, 0.0f), 2);
        ASSERT_EQ(SampleBranch3(r, 1, 2, 3, 0.0f), 3);
        ASSERT_EQ(SampleBranch4(r, 1, 2, 3, 4, 0.0f), 4);
    }
}

TEST(RandomSource, ReseedTakesTheTimeOfDayInMilliseconds)
{
    RandomSource r;
    r.RandomSeed = 4242;
    r.ReseedFromClock(FixedClock(0));  // 00:00:00.000
    EXPECT_EQ(r.RandomSeed, 0u);
    r.ReseedFromClock(FixedClock(86'399'999));  // 23:59:59.999
    EXPECT_EQ(r.RandomSeed, 86'399'999u);
    r.ReseedFromClock(FixedClock(((13 * 60 + 7) * 60 + 9) * 1000 + 45));  // 13:07:09.045
    EXPECT_EQ(r.RandomSeed, 47'229'045u);
}

TEST(RandomSource, ReseedContinuesWhenTheReadingRepeats)
{
    const FixedClock clock(5000);
    RandomSource r;
    r.ReseedFromClock(clock);
    EXPECT_EQ(r.RandomSeed, 5000u);
    r.NextUniform();
    r.NextUniform();
    r.ReseedFromClock(clock);  // same millisecond: go on from where the draws left the state
    EXPECT_EQ(r.RandomSeed, StateAfter(5000, 2));
    r.ReseedFromClock(FixedClock(5001));
    EXPECT_EQ(r.RandomSeed, 5001u);
    r.NextUniform();
    r.ReseedFromClock(clock);  // a reading different from the previous one seeds again
    EXPECT_EQ(r.RandomSeed, 5000u);
}

TEST(Clock, SystemClockReadsTheUtcTimeOfDay)
{
    using namespace std::chrono;
    const Clock& clock = SystemClock();
    const auto dayMs = [] {
        return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count() % 86'400'000;
    };
    const int64_t before = dayMs();
    const int32_t reading = clock.UtcMillisecondOfDay();
    const int64_t after = dayMs();
    EXPECT_GE(reading, 0);
    EXPECT_LE(reading, 86'399'999);
    if (before <= after) {  // not across midnight
        EXPECT_GE(reading, before);
        EXPECT_LE(reading, after);
    }
    const double t0 = clock.MonotonicSeconds();
    EXPECT_LE(t0, clock.MonotonicSeconds());
    const FixedClock fixed(77);
    EXPECT_EQ(fixed.UtcMillisecondOfDay(), 77);
    EXPECT_LE(t0, fixed.MonotonicSeconds());
}

}  // namespace
