// The network batch: node texts, the extreme networks, the node balance, reseeding between
// batches, and the production batch against the reference batch.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "GERTnet/Network.h"
#include "Support.h"
#include "bench/ReferenceBatch.h"

namespace {

using Counts = std::array<int32_t, NodeCount>;

TEST(Network, NodeTexts)
{
    const char* letters[] = {"B", "C", "D", "E", "F", "G", "H", "I"};
    const char* texts[] = {"Гомеостазис", "Нарушение ==", "Адаптация D", "Оп. ситуация",
                           "Адаптация F", "Кр. ситуация", "Адаптация H", "Происшествие"};
    for (int j = 0; j < NodeCount; ++j) {
        EXPECT_EQ(std::string(NodeLetters[j]), letters[j]);
        EXPECT_EQ(std::string(NodeDisplayTexts[j]), texts[j]);
    }
}

TEST(Network, AllZeroInputsMakeEveryInitiationAnAccident)
{
    const FixedClock clock(31'415'926);
    GertNetwork net;
    net.clock = &clock;
    net.inputs = AllSlots(0.0f);
    const int32_t n = 5000;
    RunNetworkBatch(net, n);
    EXPECT_EQ(net.counters.node, (Counts{0, n, 0, n, 0, n, 0, n}));
    EXPECT_EQ(net.random.RandomSeed, StateAfter(31'415'926, 31 * int64_t{n}));  // all 31 draws each
}

TEST(Network, AllOneInputsEndEveryInitiationAtHomeostasis)
{
    for (int32_t reading : {0, 12'345'678, 86'399'999}) {
        const FixedClock clock(reading);
        GertNetwork net;
        net.clock = &clock;
        net.inputs = AllSlots(1.0f);
        const int32_t n = 20000;
        RunNetworkBatch(net, n);
        EXPECT_EQ(net.counters.node, (Counts{n, 0, 0, 0, 0, 0, 0, 0})) << reading;
        EXPECT_EQ(net.random.RandomSeed, StateAfter(static_cast<uint32_t>(reading), 14 * int64_t{n}));
    }
}

TEST(Network, NodesBalance)
{
    std::mt19937 gen(7);
    std::uniform_real_distribution<float> value(0.0f, 1.0f);
    for (int round = 0; round < 20; ++round) {
        const FixedClock clock(round * 1000);
        GertNetwork net;
        net.clock = &clock;
        for (float& p : net.inputs.slot) {
            p = value(gen);
        }
        const int32_t n = 3000 + round;
        RunNetworkBatch(net, n);
        const Counts& c = net.counters.node;
        EXPECT_EQ(c[NodeB] + c[NodeC], n);
        EXPECT_EQ(c[NodeD] + c[NodeE], c[NodeC]);
        EXPECT_EQ(c[NodeF] + c[NodeG], c[NodeE]);
        EXPECT_EQ(c[NodeH] + c[NodeI], c[NodeG]);
        for (int32_t count : c) {
            EXPECT_GE(count, 0);
        }
    }
}

// Level values spread over the slots, so that every stage is reached.
NetworkInputs MixedInputs()
{
    NetworkInputs in;
    for (int k = 0; k < FactorCount; ++k) {
        in.slot[k] = LevelValues[(k * 7) % 11];
    }
    return in;
}

TEST(Network, BatchesInTheSameMillisecondContinueTheSequence)
{
    const FixedClock clock(43'200'000);
    GertNetwork twice;
    twice.clock = &clock;
    twice.inputs = MixedInputs();
    RunNetworkBatch(twice, 4000);
    const Counts first = twice.counters.node;
    RunNetworkBatch(twice, 4000);
    const Counts second = twice.counters.node;

    EXPECT_NE(first, second);
    // Counters start again from zero, and the two batches together are one batch of 8000.
    GertNetwork once;
    once.clock = &clock;
    once.inputs = MixedInputs();
    RunNetworkBatch(once, 8000);
    for (int j = 0; j < NodeCount; ++j) {
        EXPECT_EQ(first[j] + second[j], once.counters.node[j]) << j;
    }
    EXPECT_EQ(twice.random.RandomSeed, once.random.RandomSeed);
    EXPECT_EQ(second[NodeB] + second[NodeC], 4000);
}

// --- The production batch against the reference batch -------------------------------------

// Runs both batches from the same state and inputs; counters and final states must agree.
void ExpectSameAsReference(const NetworkInputs& inputs, int32_t reading, uint32_t startState,
                           bool continueState, int32_t n)
{
    const FixedClock clock(reading);
    GertNetwork production;
    production.clock = &clock;
    production.inputs = inputs;
    production.random.RandomSeed = startState;
    if (continueState) {
        production.random.lastClockReading = reading;
    }
    GertNetwork reference = production;
    RunNetworkBatch(production, n);
    RunReferenceBatch(reference, n);
    ASSERT_EQ(production.counters.node, reference.counters.node)
        << "reading " << reading << " state " << startState << " continue " << continueState << " n " << n;
    ASSERT_EQ(production.random.RandomSeed, reference.random.RandomSeed);
}

std::vector<NetworkInputs> OracleInputSets()
{
    std::vector<NetworkInputs> sets;
    for (float p : LevelValues) {
        sets.push_back(AllSlots(p));
    }
    for (float p : {0.0f, 1.0f, 0.5f, 0x1.fffffep-2f, 0x1.000002p-1f, 1.0f / 3.0f, 2.0f / 3.0f, 0x1p-32f}) {
        sets.push_back(AllSlots(p));
    }
    sets.push_back(MixedInputs());

    std::mt19937 gen(2024);
    std::uniform_int_distribution<int> pick(0, 12);
    for (int i = 0; i < 40; ++i) {  // level values with 0 and 1 mixed in
        NetworkInputs in;
        for (float& p : in.slot) {
            const int k = pick(gen);
            p = k < 11 ? LevelValues[k] : static_cast<float>(k - 11);
        }
        sets.push_back(in);
    }
    std::uniform_real_distribution<float> value(0.0f, 1.0f);
    for (int i = 0; i < 20; ++i) {
        NetworkInputs in;
        for (float& p : in.slot) {
            p = value(gen);
        }
        sets.push_back(in);
    }
    return sets;
}

TEST(NetworkOracle, SameCountersAsTheReferenceOverInputsSeedsAndSizes)
{
    std::mt19937 gen(99);
    std::uniform_int_distribution<int32_t> reading(0, 86'399'999);
    for (const NetworkInputs& inputs : OracleInputSets()) {
        for (int32_t n : {1, 7, 1000, 4000}) {
            ExpectSameAsReference(inputs, reading(gen), 0, false, n);
        }
        ExpectSameAsReference(inputs, 0, 0, false, 500);
        ExpectSameAsReference(inputs, 86'399'999, 0, false, 500);
        ExpectSameAsReference(inputs, reading(gen), 0, false, 100'000);
    }
}

TEST(NetworkOracle, SameCountersWhenADrawRoundsToOne)
{
    // Start states chosen so that draw k + 1 of the first initiation sees a state at or above
    // FFFFFF80 (u = 1.0), for every position k of the 31 draws.
    const std::vector<NetworkInputs> sets = OracleInputSets();
    for (int k = 0; k < 31; ++k) {
        for (uint32_t top : {0xFFFFFF80u, 0xFFFFFFC3u, 0xFFFFFFFFu}) {
            const uint32_t start = StateBefore(top, k + 1);
            for (const NetworkInputs& inputs : sets) {
                ExpectSameAsReference(inputs, 777, start, true, 50);
            }
        }
    }
}

TEST(NetworkOracle, SameCountersWhenADrawEqualsAThreshold)
{
    // With every slot at p, draw k + 1 of the first initiation is made to equal p or one of the
    // three- and four-way thresholds of p exactly.
    std::vector<float> values(std::begin(LevelValues), std::end(LevelValues));
    values.push_back(0x1.fffffep-2f);
    for (float p : values) {
        const Thresholds3 t3 = BranchThresholds3(p);
        const Thresholds4 t4 = BranchThresholds4(p);
        for (float t : {p, t3.t1, t3.t2, t4.t1, t4.t3}) {
            const auto state = static_cast<uint32_t>(t * 0x1p32f);
            ASSERT_EQ(UniformSingle(state), t);
            for (int k = 0; k < 31; ++k) {
                ExpectSameAsReference(AllSlots(p), 777, StateBefore(state, k + 1), true, 20);
            }
        }
    }
}

TEST(NetworkOracle, SameCountersWhenADrawIsZero)
{
    // A tiny p keeps thresholds just above zero, which only the draw of state 0 falls below.
    for (float p : {0x1.000002p-66f, 0.0f, 0.5f}) {
        for (int k = 0; k < 31; ++k) {
            ExpectSameAsReference(AllSlots(p), 777, StateBefore(0, k + 1), true, 20);
        }
    }
}

}  // namespace
