// The batch kernel's choice: the stage probabilities it rests on against the exact analysis, the
// choice at the extremes, and batches cut into chunks against one batch for every kernel.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "analysis/ExactNodes.h"
#include "network/KernelChoice.h"
#include "Support.h"

using namespace kestal;

namespace {

std::vector<NetworkInputs> ChoiceInputSets()
{
    std::vector<NetworkInputs> sets;
    for (float p : LevelValues) sets.push_back(AllSlots(p));
    for (float p : {0.0f, 1.0f, -1.0f, 2.0f, 0x1p-33f, std::numeric_limits<float>::quiet_NaN()}) {
        sets.push_back(AllSlots(p));
    }
    std::mt19937 gen(23);
    std::uniform_int_distribution<int> level(0, 10);
    std::uniform_real_distribution<float> wide(-0.25f, 1.25f);
    for (int i = 0; i < 40; ++i) {
        NetworkInputs in;
        for (float& p : in.slot) p = i < 30 ? LevelValues[level(gen)] : wide(gen);
        sets.push_back(in);
    }
    return sets;
}

TEST(KernelChoice, NodeOddsAreTheExactAnalysisInDouble)
{
    for (const NetworkInputs& inputs : ChoiceInputSets()) {
        const auto odds = NodeOdds(MakeBatchBounds(inputs));
        const NodeProbabilities exact = ExactNodeProbabilities(inputs);
        for (int j = 0; j < NodeCount; ++j) {
            // Sums of a few thousand products of doubles: relative error far below 1e-12.
            const double e = static_cast<double>(exact.node[j]);
            EXPECT_NEAR(odds[j], e, 1e-12 * std::max(e, 1e-300)) << "node " << j << " slot 0 " << inputs.slot[0];
        }
    }
}

TEST(KernelChoice, PredictableRatingsBranchAndCoinTossesDoNot)
{
    const auto widest = FastestKernel();
    const struct {
        NetworkInputs inputs;
        bool branchFree;
    } table[] = {
        {AllSlots(0.0f), false},            // every initiation an accident
        {AllSlots(1.0f), false},            // every initiation ends at stage 1
        {AllSlots(LevelValues[0]), false},  // 78 % accidents
        {AllSlots(LevelValues[6]), false},  // 99 % end at stage 1
        {AllSlots(LevelValues[2]), true},   // every stage close to a coin toss
    };
    for (const auto& row : table) {
        // Branching beats the portable branch-free loop at every rating.
        if (row.branchFree && widest == BatchKernel::Scalar) continue;
        const KernelChoice choice = ChooseKernel(row.inputs);
        EXPECT_EQ(choice.loop == KernelLoop::BranchFree, row.branchFree) << row.inputs.slot[0];
        EXPECT_TRUE(KernelSupported(choice.instructions));
        EXPECT_EQ(choice, KernelFor(NodeOdds(MakeBatchBounds(row.inputs)), widest));
    }
}

// A batch of n, and the same n cut into chunks that go on from the generator state where the
// previous chunk left it (same clock reading, so no reseed): node counts add up, states agree.
TEST(KernelChoice, ChunksContinueLikeOneBatchOnEveryKernel)
{
    std::vector<KernelChoice> kernels;
    for (BatchKernel k : {BatchKernel::Scalar, BatchKernel::Avx2, BatchKernel::Avx512}) {
        if (!KernelSupported(k)) continue;
        for (KernelLoop loop : {KernelLoop::Branching, KernelLoop::BranchFree, KernelLoop::FirstBranch}) {
            kernels.push_back({k, loop});
        }
    }
    const std::vector<std::vector<int32_t>> cuts = {{1, 1, 1, 9997}, {4999, 5001}, {7, 993, 3000, 6000}, {10000}};
    const FixedClock clock(12'345'678);
    for (const NetworkInputs& inputs : {AllSlots(LevelValues[2]), AllSlots(LevelValues[0]), ChoiceInputSets()[40]}) {
        GertNetwork once;
        once.clock = &clock;
        once.inputs = inputs;
        RunNetworkBatch(once, 10000);
        for (const KernelChoice kernel : kernels) {
            for (const auto& cut : cuts) {
                GertNetwork chunked;
                chunked.clock = &clock;
                chunked.inputs = inputs;
                std::array<int32_t, NodeCount> sum{};
                for (int32_t n : cut) {
                    RunNetworkBatchWith(kernel, chunked, n);
                    for (int j = 0; j < NodeCount; ++j) sum[j] += chunked.counters.node[j];
                }
                EXPECT_EQ(sum, once.counters.node) << KernelName(kernel.instructions) << " " << LoopName(kernel.loop);
                EXPECT_EQ(chunked.random.RandomSeed, once.random.RandomSeed);
            }
        }
    }
}

}  // namespace
