// The cost of an initiation: its two terms on networks whose branches are known, and the factor
// of the calibration's own ratings.
#include <gtest/gtest.h>

#include "Analysis/RunCost.h"
#include "GERTnet/Support.h"
#include "factors/Settings.h"

TEST(RunCost, TermsAndTheCalibrationsOwnFactor)
{
    const InitiationCostModel model = CostModelOf(FastestKernel());
    // Every slot 0.0: every initiation passes every stage, no branch ever goes the rarer way.
    EXPECT_EQ(InitiationCost(ExactNodeProbabilities(AllSlots(0.0f)), model), 1 + model.stagePass);
    // Only the stage-4 branch a coin toss: half the initiations mispredict it.
    const NodeProbabilities even{{0, 1, 0, 1, 0, 1, 0.5L, 0.5L}};
    EXPECT_EQ(InitiationCost(even, model), 1 + model.stagePass + model.misprediction / 2);
    NetworkInputs initial;
    CopySettingsToInputs(InitialSettings(), initial);
    EXPECT_EQ(RunCostFactor(initial, initial), 1.0L);
}
