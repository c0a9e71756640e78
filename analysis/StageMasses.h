// The distributions of the draws and of the stage sums and multipliers, from the batch's state
// bounds.
#pragma once

#include <array>

#include "analysis/ValueMasses.h"
#include "network/NetworkLanes.h"

namespace kestal {

// The value distribution of every draw, x[1] .. x[31] (x[0] unused). Outcome i of a draw is the
// state lying at or above its cumulative bounds 0 .. i-1 and below the others, so its probability
// is bound(i) - bound(i-1) states over 2^32 (bound(-1) = 0, the bound past the last = 2^32); a
// two-way draw's first outcome is "below its bound". Exact: every count fits the significand.
using DrawValueMasses = std::array<ValueMasses, DrawsThroughStage4 + 1>;
DrawValueMasses DrawMasses(const BatchBounds& bounds);

// The stage formulas of StageTables.h over those distributions: S1 = stage1Sum × stage1Factor,
// S2 = S1 × stage2, S3 = S2 × stage3, S4 = S3 × stage4.
struct StageMasses {
    ValueMasses stage1Sum;
    ValueMasses stage1Factor;
    ValueMasses stage2;
    ValueMasses stage3;
    ValueMasses stage4;
};
StageMasses StageMassesOf(const BatchBounds& bounds);
StageMasses StageMassesOf(const DrawValueMasses& x);

}  // namespace kestal
