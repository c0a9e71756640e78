// Variants of one set of inputs computed stage by stage equal whole evaluations bit for bit.
#include <gtest/gtest.h>

#include "analysis/ExactNodes.h"
#include "network/RandomSource.h"
#include "factors/Levels.h"

using namespace kestal;

namespace {

TEST(AccidentVariants, EqualWholeEvaluationsForEveryFactorAndLevelAndForMixedChanges)
{
    RandomSource random;
    random.RandomSeed = 2024;
    const auto level = [&] { return LevelTable[static_cast<int>(random.NextUniform() * LevelCount)].value; };
    for (int round = 0; round < 4; ++round) {
        NetworkInputs base;
        for (float& slot : base.slot) slot = level();
        const AccidentVariants variants(base);
        ASSERT_EQ(variants.Base(), ExactNodeProbabilities(base).node[NodeI]);
        for (int slot = 0; slot < FactorCount; ++slot) {
            for (const FactorLevel& l : LevelTable) {
                NetworkInputs changed = base;
                changed.slot[slot] = l.value;
                ASSERT_EQ(variants.Accident(changed), ExactNodeProbabilities(changed).node[NodeI])
                    << slot << " " << l.value;
            }
        }
        // Several factors of several stages at once.
        for (int k = 0; k < 50; ++k) {
            NetworkInputs changed = base;
            for (int n = 0; n < 1 + k % 5; ++n)
                changed.slot[static_cast<int>(random.NextUniform() * FactorCount)] = level();
            ASSERT_EQ(variants.Accident(changed), ExactNodeProbabilities(changed).node[NodeI]);
        }
    }
}

}  // namespace
