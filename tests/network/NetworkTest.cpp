// The network batch: node texts, the extreme networks, the node balance, reseeding between
// batches, and every batch kernel against the reference batch.
#include <gtest/gtest.h>

#include <iostream>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "network/BatchKernels.h"
#include "network/Network.h"
#include "Support.h"
#include "network/ReferenceBatch.h"

using namespace kestal;

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

// Every kernel this processor runs: each is checked against the reference on its own.
std::vector<BatchKernel> KernelsHere()
{
    std::vector<BatchKernel> kernels;
    for (BatchKernel k : {BatchKernel::Scalar, BatchKernel::Avx2, BatchKernel::Avx512}) {
        if (KernelSupported(k)) kernels.push_back(k);
    }
    return kernels;
}

TEST(NetworkOracle, KernelsOfThisProcessor)
{
    ASSERT_TRUE(KernelSupported(BatchKernel::Scalar));
    const std::vector<BatchKernel> kernels = KernelsHere();
    EXPECT_EQ(FastestKernel(), kernels.back());  // the widest one
    std::string names;
    for (BatchKernel k : kernels) names += std::string(" ") + KernelName(k);
    RecordProperty("kernels", names);
    std::cout << "[          ] kernels checked against the reference:" << names << "\n";
}

// Every kernel this processor runs, with either loop.
std::vector<KernelChoice> ChoicesHere()
{
    std::vector<KernelChoice> choices;
    for (BatchKernel k : KernelsHere()) {
        for (KernelLoop loop : {KernelLoop::Branching, KernelLoop::BranchFree, KernelLoop::FirstBranch}) {
            choices.push_back({k, loop});
        }
    }
    return choices;
}

// Runs the reference and every kernel from the same state and inputs; counters and final states
// must agree.
void ExpectSameAsReference(const NetworkInputs& inputs, int32_t reading, uint32_t startState, bool continueState,
                           int32_t n)
{
    const FixedClock clock(reading);
    GertNetwork reference;
    reference.clock = &clock;
    reference.inputs = inputs;
    reference.random.RandomSeed = startState;
    if (continueState) {
        reference.random.lastClockReading = reading;
    }
    const GertNetwork start = reference;
    RunReferenceBatch(reference, n);
    for (KernelChoice kernel : ChoicesHere()) {
        GertNetwork production = start;
        RunNetworkBatchWith(kernel, production, n);
        ASSERT_EQ(production.counters.node, reference.counters.node)
            << KernelName(kernel.instructions) << " " << LoopName(kernel.loop) << ": reading " << reading << " state "
            << startState << " continue " << continueState << " n " << n;
        ASSERT_EQ(production.random.RandomSeed, reference.random.RandomSeed)
            << KernelName(kernel.instructions) << " " << LoopName(kernel.loop);
    }
}

// Probabilities beyond the level values: the extremes, values next to 0.5 and 1, values whose
// thresholds are draws some state hits exactly, and values outside 0..1 (the samplers take any).
const std::vector<float>& SpecialValues()
{
    static const std::vector<float> values = {
        0.0f,
        1.0f,
        0.5f,
        0x1.fffffep-2f,
        0x1.000002p-1f,
        0x1.fffffep-1f,
        0x1.000002p+0f,
        1.0f / 3.0f,
        2.0f / 3.0f,
        0x1p-32f,
        0x1p-33f,
        0x1.000002p-66f,
        UniformSingle(0x12345600u),
        UniformSingle(0xAAAAAB00u),
        -0.0f,
        -0.25f,
        -2.0f,
        1.5f,
        3.0f,
        std::numeric_limits<float>::quiet_NaN(),
        std::numeric_limits<float>::infinity(),
        -std::numeric_limits<float>::infinity(),
    };
    return values;
}

std::vector<NetworkInputs> OracleInputSets()
{
    std::vector<NetworkInputs> sets;
    for (float p : LevelValues) {
        sets.push_back(AllSlots(p));
    }
    for (float p : SpecialValues()) {
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
    std::uniform_int_distribution<std::size_t> special(0, SpecialValues().size() - 1);
    for (int i = 0; i < 20; ++i) {  // level values with the special values mixed in
        NetworkInputs in;
        for (float& p : in.slot) {
            const int k = pick(gen);
            p = k < 9 ? LevelValues[k] : SpecialValues()[special(gen)];
        }
        sets.push_back(in);
    }
    std::uniform_real_distribution<float> value(0.0f, 1.0f);
    std::uniform_real_distribution<float> wide(-0.5f, 1.5f);
    for (int i = 0; i < 30; ++i) {
        NetworkInputs in;
        for (float& p : in.slot) {
            p = i < 20 ? value(gen) : wide(gen);
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
        for (int32_t n : {1, 2, 7, 1000, 4000}) {
            ExpectSameAsReference(inputs, reading(gen), 0, false, n);
        }
        ExpectSameAsReference(inputs, 0, 0, false, 500);
        ExpectSameAsReference(inputs, 86'399'999, 0, false, 500);
        ExpectSameAsReference(inputs, reading(gen), 0, false, 100'000);
    }
}

// Sizes around the branch-free loop's blocks of 1024 passes, under ratings whose passes do one
// initiation each (all accidents: every pass fills the stage-4 buffer), two each (all end at
// stage 1) or either.
TEST(NetworkOracle, SameCountersAtTheBranchFreeBlockEdges)
{
    for (const NetworkInputs& inputs : {AllSlots(0.0f), AllSlots(1.0f), AllSlots(LevelValues[2])}) {
        for (int32_t n : {1023, 1024, 1025, 2047, 2048, 2049, 2050, 3073}) {
            ExpectSameAsReference(inputs, 4242, 0, false, n);
        }
    }
}

TEST(NetworkOracle, SameCountersOverAMillionInitiations)
{
    NetworkInputs lowest = AllSlots(LevelValues[0]);  // mostly accidents: all 31 draws
    NetworkInputs random;
    std::mt19937 gen(17);
    std::uniform_real_distribution<float> value(0.0f, 1.0f);
    for (float& p : random.slot) {
        p = value(gen);
    }
    for (const NetworkInputs& inputs : {MixedInputs(), lowest, random}) {
        ExpectSameAsReference(inputs, 45'678'901, 0, false, 1'000'000);
    }
}

TEST(NetworkOracle, SameCountersWhenADrawRoundsToOne)
{
    // Start states chosen so that draw k + 1 of the first initiation sees a state at or above
    // FFFFFF80 (u = 1.0), or just below, for every position k of the 31 draws.
    const std::vector<NetworkInputs> sets = OracleInputSets();
    for (int k = 0; k < 31; ++k) {
        for (uint32_t top : {0xFFFFFF7Fu, 0xFFFFFF80u, 0xFFFFFFC3u, 0xFFFFFFFFu}) {
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
    // three- and four-way thresholds of p exactly, or to fall just below it.
    std::vector<float> values(std::begin(LevelValues), std::end(LevelValues));
    values.push_back(0x1.fffffep-2f);
    values.push_back(0x1.000002p-1f);
    for (float p : values) {
        const Thresholds3 t3 = BranchThresholds3(p);
        const Thresholds4 t4 = BranchThresholds4(p);
        for (float t : {p, t3.t1, t3.t2, t4.t1, t4.t3}) {
            const auto state = static_cast<uint32_t>(t * 0x1p32f);
            ASSERT_EQ(UniformSingle(state), t);
            for (int k = 0; k < 31; ++k) {
                for (uint32_t s : {state, state - 1}) {
                    ExpectSameAsReference(AllSlots(p), 777, StateBefore(s, k + 1), true, 20);
                }
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
