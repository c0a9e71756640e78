// The network's draws laid out as comparison lanes for the batch kernels: which draw each lane
// compares against which bound, each lane's jump-ahead from the initiation's start, and the
// per-batch bounds of every lane.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "network/JumpAhead.h"
#include "network/Network.h"

namespace kestal {

// How a draw turns into its value x_k.
enum class Sampler : uint8_t { Two, Three, Four };

// One comparison: the state of draw `draw` (1..31, counted from the initiation's start) against
// cumulative bound `bound` of its sampler on factor slot `slot` (always 0 for a two-way draw).
// A lane's bit is 1 when the state is below the bound. The value of a two-way draw is `first`
// when its bit is 1, else `second`; the value of a three- or four-way draw is the number of its
// lanes whose bit is 0 (see SamplerBounds3 and SamplerBounds4).
struct Lane {
    int8_t draw;
    int8_t slot;
    Sampler sampler;
    int8_t bound;
    int8_t first;
    int8_t second;
};

namespace Lanes {
using namespace InputSlot;
constexpr Lane Two(int draw, int slot, int first, int second)
{
    return {int8_t(draw), int8_t(slot), Sampler::Two, 0, int8_t(first), int8_t(second)};
}
constexpr Lane Three(int draw, int slot, int bound)
{
    return {int8_t(draw), int8_t(slot), Sampler::Three, int8_t(bound), 0, 0};
}
constexpr Lane Four(int draw, int slot, int bound)
{
    return {int8_t(draw), int8_t(slot), Sampler::Four, int8_t(bound), 0, 0};
}

// Stage 1, sixteen lanes: draws 1–14 in order, then the second and third bounds of draw 10.
inline constexpr std::array<Lane, 16> Stage1 = {
    Two(1, C01, 0, 1),  Two(2, C02, 0, 2),  Two(3, H01, 0, 1),  Two(4, H02, 0, 2),
    Two(5, M01, 0, 2),  Two(6, M02, 0, 1),  Two(7, T01, 0, 1),  Two(8, T02, 0, 2),
    Two(9, T03, 1, 0),  Four(10, H03, 0),   Two(11, H06, 0, 1), Two(12, C04, 1, 0),
    Two(13, H04, 0, 1), Two(14, M04, 0, 1), Four(10, H03, 1),   Four(10, H03, 2),
};
// Stages 2 and 3, sixteen lanes: draws 15–22 and the second bounds of draws 16 and 21 (lanes
// 0–9), then draws 23–27 and the second bound of draw 24 (lanes 10–15).
inline constexpr std::array<Lane, 16> Stage23 = {
    Two(15, H08, 0, 1), Three(16, H14, 0),  Two(17, H07, 0, 1), Two(18, H13, 0, 1),
    Two(19, H05, 0, 1), Two(20, C03, 2, 0), Three(21, H09, 0),  Two(22, M05, 0, 2),
    Three(16, H14, 1),  Three(21, H09, 1),  Two(23, T05, 1, 0), Three(24, H14, 0),
    Two(25, T04, 1, 0), Two(26, H12, 1, 2), Two(27, M03, 2, 0), Three(24, H14, 1),
};
constexpr int Stage2LaneCount = 10;
// Stage 4, four lanes: draws 28–31.
inline constexpr std::array<Lane, 4> Stage4 = {
    Two(28, M07, 1, 0),
    Two(29, T06, 0, 1),
    Two(30, M06, 1, 0),
    Two(31, M08, 0, 1),
};
}  // namespace Lanes

// Draws made by an initiation that ends at stage 1, 2, 3 or 4.
constexpr int DrawsThroughStage1 = 14;
constexpr int DrawsThroughStage2 = 22;
constexpr int DrawsThroughStage3 = 27;
constexpr int DrawsThroughStage4 = 31;

// --- Per-batch bounds ------------------------------------------------------------------------

// Every lane's bound for the batch's inputs: a lane's bit is 1 exactly when its state is below
// its bound (64 bits: 2^32 means "every state").
struct BatchBounds {
    std::array<uint64_t, 16> stage1;
    std::array<uint64_t, 16> stage23;
    std::array<uint64_t, 4> stage4;
};

BatchBounds MakeBatchBounds(const NetworkInputs& inputs);

// Whether some lane's bound is 2^32 ("every state"), which a 32-bit compare cannot express: the
// vector kernels then set those lanes' bits by a constant mask, and otherwise skip that step.
inline bool AnyEveryState(const BatchBounds& b)
{
    const auto above = [](const auto& bounds) {
        for (uint64_t bound : bounds) {
            if (bound > UINT32_MAX) return true;
        }
        return false;
    };
    return above(b.stage1) || above(b.stage23) || above(b.stage4);
}

// --- Jump-ahead of every lane ----------------------------------------------------------------

// Lane j's state is LaneJumps[j] applied to the initiation's start state (the state before its
// first draw), so the lanes of a stage do not wait for one another. With `ahead`, the lanes of
// the initiation that starts that many draws later, from this one's start.
template <std::size_t LaneCount>
constexpr std::array<Jump, LaneCount> LaneJumps(const std::array<Lane, LaneCount>& lanes, int ahead = 0)
{
    std::array<Jump, LaneCount> jumps{};
    for (std::size_t j = 0; j < LaneCount; ++j) {
        jumps[j] = JumpOf(lanes[j].draw + ahead);
    }
    return jumps;
}
inline constexpr auto Stage1Jumps = LaneJumps(Lanes::Stage1);
inline constexpr auto Stage23Jumps = LaneJumps(Lanes::Stage23);
inline constexpr auto Stage4Jumps = LaneJumps(Lanes::Stage4);
// The stage-1 lanes of the next initiation when this one ends at stage 1.
inline constexpr auto NextStage1Jumps = LaneJumps(Lanes::Stage1, DrawsThroughStage1);
// Two initiations that both end at stage 1 make this many draws.
inline constexpr Jump TwoStage1Ends = JumpOf(2 * DrawsThroughStage1);

}  // namespace kestal
