// Exact node probabilities: the extreme networks, single draws at their threshold edges, the node
// balances and agreement with the simulation.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <random>
#include <vector>

#include "analysis/ExactNodes.h"
#include "analysis/StageMasses.h"
#include "network/Support.h"
#include "factors/Settings.h"

using namespace kestal;

namespace {

TEST(ExactNodes, ExtremeNetworks)
{
    // Every slot 0.0: every draw takes its last outcome, every initiation is an accident.
    const NodeProbabilities zero = ExactNodeProbabilities(AllSlots(0.0f));
    EXPECT_EQ(zero.node, (std::array<long double, NodeCount>{0, 1, 0, 1, 0, 1, 0, 1}));
    EXPECT_EQ(DrawsPerInitiation(zero), 31.0L);

    // Every slot 1.0: a draw takes its other outcome only on the 128 states from FFFFFF80 up
    // (2^-25). Stage 1 is passed at the least with six such draws: the four draws worth 2 (S1 sum
    // 8) and draw 10 at 3 with one of draws 11, 13, 14 at 1 (factor 5), 8 × 5 = 40 > 36. Three
    // ways, so P(C) = 3 · 2^-150 (about 2.1e-45), up to the rarer ways, 2^-25 smaller each.
    const NodeProbabilities one = ExactNodeProbabilities(AllSlots(1.0f));
    EXPECT_GT(one.node[NodeC], 0.0L);
    EXPECT_NEAR(one.node[NodeC] / (3 * 0x1p-150L), 1.0L, 1e-5L);
    EXPECT_EQ(one.node[NodeB], 1.0L);
    EXPECT_NEAR(DrawsPerInitiation(one), 14.0L, 1e-40L);
}

// A whole number of states: 0 .. count - 1 draw below t and the states from count up do not.
void ExpectStateCountAt(long double probability, float t)
{
    const long double count = probability * 0x1p32L;
    ASSERT_EQ(count, std::floor(count)) << t;
    EXPECT_TRUE(count == 0 || UniformSingle(static_cast<uint32_t>(count - 1)) < t) << t;
    EXPECT_TRUE(count == 0x1p32L || UniformSingle(static_cast<uint32_t>(count)) >= t) << t;
}

TEST(ExactNodes, DrawProbabilitiesAreStateCountsAtTheThresholdEdges)
{
    const float values[] = {
        0.0f,   0x1p-32f, std::nextafter(0.5f, 0.0f), 0.5f, std::nextafter(0.5f, 1.0f), 0.084f, 0.334f,
        0.584f, 0.916f,   std::nextafter(1.0f, 0.0f), 1.0f};
    for (float p : values) {
        NetworkInputs in = AllSlots(0.5f);
        in.slot[InputSlot::T06] = p;  // draw 29, two-way (0, 1): 0 when below p
        in.slot[InputSlot::H03] = p;  // draw 10, four-way: outcome k or less when below t(k + 1)
        const auto x = DrawMasses(MakeBatchBounds(in));
        const Thresholds4 t = BranchThresholds4(p);
        SCOPED_TRACE(p);
        ExpectStateCountAt(x[29].mass[0], p);
        ExpectStateCountAt(x[10].mass[0], t.t1);
        ExpectStateCountAt(x[10].mass[0] + x[10].mass[1], t.t2);
        ExpectStateCountAt(x[10].mass[0] + x[10].mass[1] + x[10].mass[2], t.t3);
    }
}

// A dozen rating sets of level values: the initial ratings, every factor at one level, H01 and
// H02 lowered to level 1, and random levels. Every node of every set expects at least 900 counts
// in 10^7 initiations, where the normal bound is sound.
std::vector<NetworkInputs> RatingSets()
{
    std::vector<NetworkInputs> sets = {InitialInputs()};
    for (int item : {0, 2, 4, 6, 8}) sets.push_back(AllSlots(LevelTable[item].value));
    sets.push_back(InitialInputs());
    sets.back().slot[InputSlot::H01] = sets.back().slot[InputSlot::H02] = LevelTable[0].value;
    std::mt19937 gen(2024);
    std::uniform_int_distribution<int> item(0, LevelCount - 1);
    while (sets.size() < 12) {
        sets.emplace_back();
        for (float& p : sets.back().slot) p = LevelTable[item(gen)].value;
    }
    return sets;
}

// The balances hold to rounding, and each node's count of 10^7 simulated initiations lies within
// 4.5 standard errors of N·p.
TEST(ExactNodes, BalanceAndAgreeWithTheSimulation)
{
    constexpr int32_t n = 10'000'000;
    int reading = 3'600'000;
    for (const NetworkInputs& in : RatingSets()) {
        const auto& p = ExactNodeProbabilities(in).node;
        constexpr long double tolerance = 16 * LDBL_EPSILON;
        EXPECT_NEAR(p[NodeB] + p[NodeC], 1.0L, tolerance);
        EXPECT_NEAR(p[NodeD] + p[NodeE], p[NodeC], tolerance);
        EXPECT_NEAR(p[NodeF] + p[NodeG], p[NodeE], tolerance);
        EXPECT_NEAR(p[NodeH] + p[NodeI], p[NodeG], tolerance);

        const FixedClock clock(reading += 1000);
        GertNetwork net;
        net.clock = &clock;
        net.inputs = in;
        RunNetworkBatch(net, n);
        for (int j = 0; j < NodeCount; ++j) {
            EXPECT_LE(std::fabs(net.counters.node[j] - n * p[j]), 4.5L * std::sqrt(n * p[j] * (1 - p[j])))
                << "node " << NodeLetters[j] << ", set " << reading << ": " << net.counters.node[j];
        }
    }
}

}  // namespace
