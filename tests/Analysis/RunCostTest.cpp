// The cost of an initiation: its two terms on networks whose branches are known, and the factor
// of the calibration's own ratings.
#include <gtest/gtest.h>

#include "Analysis/RunCost.h"
#include "factors/Settings.h"

namespace {

TEST(RunCost, TermsAndTheCalibrationsOwnFactor)
{
    for (BatchKernel kernel : {BatchKernel::Scalar, BatchKernel::Avx2, BatchKernel::Avx512}) {
        const InitiationCostModel model = CostModelOf(kernel);
        NetworkInputs in;
        in.slot.fill(0.0f);  // every initiation passes every stage: no branch goes the rarer way
        EXPECT_EQ(InitiationCost(ExactNodeProbabilities(in), model), 1 + model.stagePass);
        // Only the stage-4 branch is a coin toss: half the initiations pass, half of them mispredict.
        NodeProbabilities even;
        even.node = {0, 1, 0, 1, 0, 1, 0.5L, 0.5L};
        EXPECT_EQ(InitiationCost(even, model), 1 + model.stagePass + model.misprediction / 2);
    }
    NetworkInputs initial;
    CopySettingsToInputs(InitialSettings(), initial);
    EXPECT_EQ(RunCostFactor(initial, initial), 1.0L);
}

}  // namespace
