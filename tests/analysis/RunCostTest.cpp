// The estimate's cost factor: 1 for the calibration's own ratings, and a ratio of one model, so that
// going from A to B and from B to C costs what going from A to C does.
#include <gtest/gtest.h>

#include "analysis/RunCost.h"
#include "network/Support.h"
#include "factors/Settings.h"

using namespace kestal;

TEST(RunCost, TheCalibrationsOwnFactorAndChainedRatios)
{
    const NetworkInputs initial = InitialInputs();
    EXPECT_EQ(RunCostFactor(initial, initial), 1.0L);
    const NetworkInputs sets[] = {initial, AllSlots(0.0f), AllSlots(0.084f), AllSlots(0.25f), AllSlots(0.5f)};
    for (const NetworkInputs& a : sets)
        for (const NetworkInputs& b : sets) {
            EXPECT_GT(RunCostFactor(a, b), 0.0L);
            EXPECT_NEAR(static_cast<double>(RunCostFactor(a, b) * RunCostFactor(b, initial)),
                        static_cast<double>(RunCostFactor(a, initial)), 1e-12);
        }
}
