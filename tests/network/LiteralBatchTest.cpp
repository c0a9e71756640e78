// The benchmark's yardstick, the plain literal batch, against the reference batch: same counters
// and final state over ratings, seeds and sizes, so that its speed is that of the same work.
#include <gtest/gtest.h>

#include <limits>
#include <random>

#include "network/ReferenceBatch.h"
#include "Support.h"
#include "bench/LiteralBatch.h"

using namespace kestal;

namespace {

TEST(LiteralBatch, SameCountersAsTheReference)
{
    std::vector<NetworkInputs> sets;
    for (float p : LevelValues) sets.push_back(AllSlots(p));
    for (float p : {0.0f, 1.0f, 1.5f, -0.5f, 0x1p-33f, std::numeric_limits<float>::quiet_NaN()}) {
        sets.push_back(AllSlots(p));
    }
    std::mt19937 gen(5);
    std::uniform_real_distribution<float> wide(-0.25f, 1.25f);
    for (int i = 0; i < 20; ++i) {
        NetworkInputs in;
        for (float& p : in.slot) p = wide(gen);
        sets.push_back(in);
    }
    std::uniform_int_distribution<int32_t> reading(0, 86'399'999);
    for (const NetworkInputs& inputs : sets) {
        for (int32_t n : {1, 3, 5000}) {
            const FixedClock clock(reading(gen));
            GertNetwork reference;
            reference.clock = &clock;
            reference.inputs = inputs;
            RunReferenceBatch(reference, n);
            uint32_t state = static_cast<uint32_t>(clock.reading);
            LiteralBatch literal(inputs);
            EXPECT_EQ(literal.Run(state, n).node, reference.counters.node) << inputs.slot[0] << " n " << n;
            EXPECT_EQ(state, reference.random.RandomSeed);
        }
    }
}

}  // namespace
