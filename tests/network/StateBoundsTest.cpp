// The exact state bounds of thresholds, the cumulative bounds of the multi-way samplers, and the
// generator's jump-ahead.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "network/JumpAhead.h"
#include "network/StateBounds.h"
#include "Support.h"

using namespace kestal;

namespace {

constexpr uint64_t AllStates = uint64_t{1} << 32;

bool DrawsBelow(uint64_t state, float t) { return UniformSingle(static_cast<uint32_t>(state)) < t; }

TEST(StateBounds, KnownBounds)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const struct {
        float t;
        uint64_t bound;
    } rows[] = {
        {0.0f, 0},
        {-0.0f, 0},
        {-1.0f, 0},
        {-inf, 0},
        {nan, 0},
        {std::numeric_limits<float>::denorm_min(), 1},  // only u(0) = 0 lies below
        {0x1p-32f, 1},
        {std::nextafter(0x1p-32f, 1.0f), 2},
        {0x1p-31f, 2},
        {0.5f, 0x7FFFFFC0u},                        // 2^31 - 64 rounds up to 0.5 (tie to even)
        {std::nextafter(1.0f, 0.0f), 0xFFFFFE81u},  // the tie FFFFFE80 rounds down, to even
        {1.0f, 0xFFFFFF80u},                        // from FFFFFF80 up every state draws 1.0
        {std::nextafter(1.0f, 2.0f), AllStates},
        {2.0f, AllStates},
        {inf, AllStates},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(StatesBelow(row.t), row.bound) << row.t;
    }
}

// Thresholds worth checking: level values and their sampler thresholds, powers of two and their
// neighbours, draws that a state hits exactly and their neighbours, and random values.
std::vector<float> ThresholdsToCheck()
{
    std::vector<float> t;
    const auto withNeighbours = [&t](float v) {
        t.push_back(v);
        float up = v, down = v;
        for (int i = 0; i < 2; ++i) {
            up = std::nextafter(up, 4.0f);
            down = std::nextafter(down, -4.0f);
            t.push_back(up);
            t.push_back(down);
        }
    };
    for (float p : LevelValues) {
        withNeighbours(p);
        const Thresholds3 t3 = BranchThresholds3(p);
        const Thresholds4 t4 = BranchThresholds4(p);
        for (float v : {t3.t1, t3.t2, t4.t1, t4.t3}) withNeighbours(v);
    }
    for (int e = -150; e <= 1; ++e) withNeighbours(std::ldexp(1.0f, e));
    for (float v : {1.0f / 3.0f, 2.0f / 3.0f, 0.1f, 0.9f, 0.999f}) withNeighbours(v);
    std::mt19937 gen(11);
    std::uniform_int_distribution<uint32_t> state;
    std::uniform_real_distribution<float> value(-0.25f, 1.25f);
    for (int i = 0; i < 300; ++i) {
        withNeighbours(UniformSingle(state(gen)));
        t.push_back(value(gen));
    }
    return t;
}

TEST(StateBounds, BoundSeparatesTheStatesExactly)
{
    // The draw never falls as the state rises, so a bound is right for every state when the state
    // just below it draws below t and the bound itself does not; the states around the bound are
    // checked one by one as well.
    for (float t : ThresholdsToCheck()) {
        const uint64_t bound = StatesBelow(t);
        ASSERT_TRUE(bound <= 0xFFFFFF80u || bound == AllStates) << t;
        if (bound > 0) {
            ASSERT_TRUE(DrawsBelow(bound - 1, t)) << t;
        }
        if (bound < AllStates) {
            ASSERT_FALSE(DrawsBelow(bound, t)) << t;
        }
        const uint64_t from = bound > 600 ? bound - 600 : 0;
        const uint64_t to = std::min(bound + 600, AllStates);
        for (uint64_t s = from; s < to; ++s) {
            ASSERT_EQ(s < bound, DrawsBelow(s, t)) << t << " state " << s;
        }
    }
}

TEST(StateBounds, TheTopStatesClampWithoutChangingAComparison)
{
    for (uint64_t bound : {uint64_t{0}, uint64_t{5}, uint64_t{0xFFFFFF7Fu}, uint64_t{0xFFFFFF80u}, AllStates}) {
        for (uint64_t s : {uint64_t{0}, uint64_t{4}, uint64_t{5}, uint64_t{0xFFFFFF7Fu}, uint64_t{0xFFFFFF80u},
                           uint64_t{0xFFFFFFFFu}}) {
            EXPECT_EQ(std::min(static_cast<uint32_t>(s), SaturatedState) < Bound32(bound), s < bound)
                << bound << " " << s;
        }
    }
}

// A source whose next draw sees exactly `state`.
RandomSource Drawing(uint32_t state)
{
    RandomSource r;
    r.RandomSeed = StateBefore(state);
    return r;
}

template <std::size_t Count>
int OutcomeIndex(const std::array<uint64_t, Count>& bounds, uint32_t state)
{
    int index = 0;
    for (uint64_t b : bounds) index += state >= b ? 1 : 0;
    return index;
}

TEST(StateBounds, CumulativeBoundsGiveTheSamplersOutcome)
{
    // Also for p outside 0..1, where the thresholds come in reverse order.
    std::vector<float> ps(std::begin(LevelValues), std::end(LevelValues));
    for (float p : {0.0f, 1.0f, 0.5f, 0x1.fffffep-2f, 0x1.000002p-1f, 0x1.000002p-66f, -0.25f, -3.0f, 1.25f, 3.0f,
                    std::nextafter(1.0f, 2.0f), std::numeric_limits<float>::quiet_NaN(),
                    std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::infinity()}) {
        ps.push_back(p);
    }
    std::mt19937 gen(5);
    std::uniform_int_distribution<uint32_t> random;
    for (float p : ps) {
        SCOPED_TRACE(p);
        const auto b3 = SamplerBounds3(p);
        const auto b4 = SamplerBounds4(p);
        std::vector<uint32_t> states = {0u, 1u, 0xFFFFFF7Fu, 0xFFFFFF80u, 0xFFFFFFFFu};
        for (uint64_t b : {b3[0], b3[1], b4[0], b4[1], b4[2]}) {
            for (int64_t d = -2; d <= 2; ++d) {
                const int64_t s = static_cast<int64_t>(b) + d;
                if (s >= 0 && s < static_cast<int64_t>(AllStates)) states.push_back(static_cast<uint32_t>(s));
            }
        }
        for (int i = 0; i < 500; ++i) states.push_back(random(gen));
        for (uint32_t s : states) {
            RandomSource r3 = Drawing(s);
            ASSERT_EQ(OutcomeIndex(b3, s), SampleBranch3(r3, 0, 1, 2, p)) << s;
            RandomSource r4 = Drawing(s);
            ASSERT_EQ(OutcomeIndex(b4, s), SampleBranch4(r4, 0, 1, 2, 3, p)) << s;
        }
    }
}

TEST(JumpAhead, MatchesSteppingTheGenerator)
{
    std::mt19937 gen(3);
    std::uniform_int_distribution<uint32_t> random;
    for (uint32_t s : {0u, 1u, 0xFFFFFFFFu, random(gen), random(gen), random(gen)}) {
        for (int k = 0; k <= MaxJump; ++k) {
            EXPECT_EQ(JumpState(s, k), StateAfter(s, k)) << s << " " << k;
        }
    }
}

}  // namespace
