// Exact node probabilities: the extreme networks, single draws at their threshold edges, the node
// balances, and agreement with the simulation.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "Analysis/ExactNodes.h"
#include "Analysis/StageMasses.h"
#include "factors/Settings.h"

namespace {

NetworkInputs AllSlots(float p)
{
    NetworkInputs in;
    in.slot.fill(p);
    return in;
}

NetworkInputs InitialInputs()
{
    NetworkInputs in;
    CopySettingsToInputs(InitialSettings(), in);
    return in;
}

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

// The states 0 .. count - 1 draw below t and the states from count up do not.
void ExpectStateCountAt(long double probability, float t, const std::string& what)
{
    const long double count = probability * 0x1p32L;
    ASSERT_EQ(count, std::floor(count)) << what;  // a whole number of states
    const uint64_t states = static_cast<uint64_t>(count);
    if (states > 0) {
        EXPECT_LT(UniformSingle(static_cast<uint32_t>(states - 1)), t) << what;
    }
    if (states < (uint64_t{1} << 32)) {
        EXPECT_GE(UniformSingle(static_cast<uint32_t>(states)), t) << what;
    }
}

TEST(ExactNodes, DrawProbabilitiesAreStateCountsAtTheThresholdEdges)
{
    const float values[] = {0.0f, 0x1p-32f, std::nextafter(0.5f, 0.0f), 0.5f, std::nextafter(0.5f, 1.0f),
                            0.084f, 0.334f, 0.584f, 0.916f, std::nextafter(1.0f, 0.0f), 1.0f};
    for (float p : values) {
        NetworkInputs in = AllSlots(0.5f);
        in.slot[InputSlot::T06] = p;  // draw 29, two-way (0, 1): 0 when below p
        in.slot[InputSlot::H03] = p;  // draw 10, four-way: outcome k or less when below t(k + 1)
        const auto x = DrawMasses(MakeBatchBounds(in));
        const std::string what = "p = " + std::to_string(p);
        ExpectStateCountAt(x[29].mass[0], p, what + ", draw 29");
        const Thresholds4 t = BranchThresholds4(p);
        ExpectStateCountAt(x[10].mass[0], t.t1, what + ", draw 10 below t1");
        ExpectStateCountAt(x[10].mass[0] + x[10].mass[1], t.t2, what + ", draw 10 below t2");
        ExpectStateCountAt(x[10].mass[0] + x[10].mass[1] + x[10].mass[2], t.t3, what + ", draw 10 below t3");
    }
}

// Rating sets of level values: the initial ratings, every factor at one level, H01 and H02
// lowered to level 1, and random sets.
std::vector<NetworkInputs> RatingSets(int randomSets)
{
    std::vector<NetworkInputs> sets = {InitialInputs()};
    for (int item : {0, 2, 4, 6, 8}) sets.push_back(AllSlots(LevelTable[item].value));
    NetworkInputs lowered = InitialInputs();
    lowered.slot[InputSlot::H01] = lowered.slot[InputSlot::H02] = LevelTable[0].value;
    sets.push_back(lowered);
    std::mt19937 gen(2024);
    std::uniform_int_distribution<int> item(0, LevelCount - 1);
    for (int r = 0; r < randomSets; ++r) {
        NetworkInputs in;
        for (float& p : in.slot) p = LevelTable[item(gen)].value;
        sets.push_back(in);
    }
    return sets;
}

TEST(ExactNodes, NodesBalance)
{
    for (const NetworkInputs& in : RatingSets(40)) {
        const auto& p = ExactNodeProbabilities(in).node;
        constexpr long double tolerance = 16 * LDBL_EPSILON;
        EXPECT_NEAR(p[NodeB] + p[NodeC], 1.0L, tolerance);
        EXPECT_NEAR(p[NodeD] + p[NodeE], p[NodeC], tolerance);
        EXPECT_NEAR(p[NodeF] + p[NodeG], p[NodeE], tolerance);
        EXPECT_NEAR(p[NodeH] + p[NodeI], p[NodeG], tolerance);
        for (long double v : p) {
            EXPECT_GT(v, 0.0L);  // level values leave every outcome of every draw possible
            EXPECT_LT(v, 1.0L);
        }
    }
}

// Each node's count of 10^7 simulated initiations lies within 4.5 standard errors of N·p. Every
// node of these sets expects at least 900 counts, where the normal bound is sound.
TEST(ExactNodes, SimulationAgreesWithinFourAndAHalfStandardErrors)
{
    constexpr int32_t n = 10'000'000;
    int reading = 3'600'000;
    for (const NetworkInputs& in : RatingSets(6)) {
        const NodeProbabilities exact = ExactNodeProbabilities(in);
        const FixedClock clock(reading += 1000);
        GertNetwork net;
        net.clock = &clock;
        net.inputs = in;
        RunNetworkBatch(net, n);
        for (int j = 0; j < NodeCount; ++j) {
            const long double p = exact.node[j];
            const long double error = std::sqrt(n * p * (1 - p));
            EXPECT_LE(std::fabs(net.counters.node[j] - n * p), 4.5L * error)
                << "node " << NodeLetters[j] << ", set " << reading << ": " << net.counters.node[j] << " against "
                << n * p;
        }
    }
}

}  // namespace
