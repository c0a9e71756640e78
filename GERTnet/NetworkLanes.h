// The network's draws laid out as comparison lanes for the batch kernels, the stage scores as
// tables indexed by the lanes' comparison bits, and the per-batch bounds of every lane.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "GERTnet/JumpAhead.h"
#include "GERTnet/Network.h"

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
constexpr Lane Three(int draw, int slot, int bound) { return {int8_t(draw), int8_t(slot), Sampler::Three, int8_t(bound), 0, 0}; }
constexpr Lane Four(int draw, int slot, int bound) { return {int8_t(draw), int8_t(slot), Sampler::Four, int8_t(bound), 0, 0}; }

// Stage 1, sixteen lanes: draws 1–14 in order, then the second and third bounds of draw 10.
inline constexpr std::array<Lane, 16> Stage1 = {
    Two(1, C01, 0, 1), Two(2, C02, 0, 2), Two(3, H01, 0, 1), Two(4, H02, 0, 2),
    Two(5, M01, 0, 2), Two(6, M02, 0, 1), Two(7, T01, 0, 1), Two(8, T02, 0, 2),
    Two(9, T03, 1, 0), Four(10, H03, 0), Two(11, H06, 0, 1), Two(12, C04, 1, 0),
    Two(13, H04, 0, 1), Two(14, M04, 0, 1), Four(10, H03, 1), Four(10, H03, 2),
};
// Stages 2 and 3, sixteen lanes: draws 15–22 and the second bounds of draws 16 and 21 (lanes
// 0–9), then draws 23–27 and the second bound of draw 24 (lanes 10–15).
inline constexpr std::array<Lane, 16> Stage23 = {
    Two(15, H08, 0, 1), Three(16, H14, 0), Two(17, H07, 0, 1), Two(18, H13, 0, 1),
    Two(19, H05, 0, 1), Two(20, C03, 2, 0), Three(21, H09, 0), Two(22, M05, 0, 2),
    Three(16, H14, 1), Three(21, H09, 1),
    Two(23, T05, 1, 0), Three(24, H14, 0), Two(25, T04, 1, 0), Two(26, H12, 1, 2),
    Two(27, M03, 2, 0), Three(24, H14, 1),
};
constexpr int Stage2LaneCount = 10;
// Stage 4, four lanes: draws 28–31.
inline constexpr std::array<Lane, 4> Stage4 = {
    Two(28, M07, 1, 0), Two(29, T06, 0, 1), Two(30, M06, 1, 0), Two(31, M08, 0, 1),
};
}  // namespace Lanes

// Draws made by an initiation that ends at stage 1, 2, 3 or 4.
constexpr int DrawsThroughStage1 = 14;
constexpr int DrawsThroughStage2 = 22;
constexpr int DrawsThroughStage3 = 27;
constexpr int DrawsThroughStage4 = 31;

// --- Stage scores as tables of comparison bits ----------------------------------------------

// x[k] = value of draw k, decoded from the bits of `lanes` (bit j of `bits` belongs to lane
// `firstLane + j`). A draw with no lanes in that range, or only some of a multi-way draw's lanes,
// keeps a poison value, so that a table whose formula reads a draw outside its lanes fails the
// range checks below at compile time.
template <std::size_t LaneCount>
constexpr std::array<int, 32> DrawValues(const std::array<Lane, LaneCount>& lanes, int firstLane,
                                         int laneCount, uint32_t bits)
{
    constexpr int Poison = 1000;
    std::array<int, 32> value{};
    std::array<int, 32> lanesSeen{};
    for (int j = firstLane; j < firstLane + laneCount; ++j) {
        const Lane& lane = lanes[j];
        const bool below = (bits >> (j - firstLane)) & 1u;
        ++lanesSeen[lane.draw];
        if (lane.sampler == Sampler::Two) {
            value[lane.draw] = below ? lane.first : lane.second;
        } else {
            value[lane.draw] += below ? 0 : 1;
        }
    }
    std::array<int, 32> x{};
    for (const Lane& lane : lanes) {
        const int needed = lane.sampler == Sampler::Two ? 1 : lane.sampler == Sampler::Three ? 2 : 3;
        x[lane.draw] = lanesSeen[lane.draw] == needed ? value[lane.draw] : Poison;
    }
    for (int k = 0; k < 32; ++k) {
        if (lanesSeen[k] == 0) x[k] = Poison;
    }
    return x;
}

// The stage formulas, on the draw values.
constexpr int Stage1Sum(const std::array<int, 32>& x) { return x[1] + x[2] + x[3] + x[4] + x[5] + x[6] + x[7] + x[8]; }
constexpr int Stage1Factor(const std::array<int, 32>& x) { return x[9] * x[11] + x[13] + x[10] + x[12] + x[14]; }
constexpr int Stage2Factor(const std::array<int, 32>& x)
{
    return (x[15] + x[17] + x[19]) * x[21] + x[16] * x[18] + x[20] + x[22];
}
constexpr int Stage3Factor(const std::array<int, 32>& x) { return (x[23] + x[25]) * x[27] + x[24] * x[26]; }
constexpr int Stage4Factor(const std::array<int, 32>& x) { return x[28] * x[30] + x[29] + x[31]; }

// Table[bits] = formula of the draws decoded from lanes firstLane .. firstLane + log2(Size) - 1.
template <std::size_t Size, std::size_t LaneCount, class Formula>
constexpr std::array<uint8_t, Size> ScoreTable(const std::array<Lane, LaneCount>& lanes, int firstLane,
                                               Formula formula)
{
    int laneCount = 0;
    while ((std::size_t{1} << laneCount) < Size) {
        ++laneCount;
    }
    std::array<uint8_t, Size> table{};
    for (uint32_t bits = 0; bits < Size; ++bits) {
        const int value = formula(DrawValues(lanes, firstLane, laneCount, bits));
        table[bits] = value >= 0 && value <= 255 ? static_cast<uint8_t>(value) : 255;
    }
    return table;
}

template <std::size_t Size>
constexpr bool AllAtMost(const std::array<uint8_t, Size>& table, int largest)
{
    for (uint8_t v : table) {
        if (v > largest) return false;
    }
    return true;
}

// S1 = Stage1SumTable[bits 0–7] × Stage1FactorTable[bits 8–15] of the stage-1 lanes;
// S2 = S1 × Stage2Table[bits 0–9], S3 = S2 × Stage3Table[bits 10–15] of the stage-2/3 lanes;
// S4 = S3 × Stage4Table[bits 0–3] of the stage-4 lanes.
inline constexpr auto Stage1SumTable = ScoreTable<256>(Lanes::Stage1, 0, Stage1Sum);
inline constexpr auto Stage1FactorTable = ScoreTable<256>(Lanes::Stage1, 8, Stage1Factor);
inline constexpr auto Stage2Table = ScoreTable<1024>(Lanes::Stage23, 0, Stage2Factor);
inline constexpr auto Stage3Table = ScoreTable<64>(Lanes::Stage23, Lanes::Stage2LaneCount, Stage3Factor);
inline constexpr auto Stage4Table = ScoreTable<16>(Lanes::Stage4, 0, Stage4Factor);
// The ranges of the network (sum 0–12, multipliers 0–7, 0–12, 0–8, 0–3) also prove that every
// formula reads only draws of its own lanes.
static_assert(AllAtMost(Stage1SumTable, 12) && AllAtMost(Stage1FactorTable, 7));
static_assert(AllAtMost(Stage2Table, 12) && AllAtMost(Stage3Table, 8) && AllAtMost(Stage4Table, 3));

// Whether the stage-1 score S1 of each of the 65 536 stage-1 bit patterns exceeds the stage-1
// threshold, one bit per pattern (8 KiB): most initiations end at stage 1, and this settles it
// with one load.
struct PassBitmap {
    std::array<uint64_t, 1024> word{};
    [[gnu::always_inline]] bool Passes(uint32_t bits) const { return (word[bits >> 6] >> (bits & 63)) & 1u; }
};
inline constexpr PassBitmap Stage1Passes = [] {
    PassBitmap passes;
    for (uint32_t bits = 0; bits < 65536; ++bits) {
        if (Stage1SumTable[bits & 0xFFu] * Stage1FactorTable[bits >> 8] > Stage1Threshold) {
            passes.word[bits >> 6] |= uint64_t{1} << (bits & 63);
        }
    }
    return passes;
}();

// --- Per-batch bounds ------------------------------------------------------------------------

// Every lane's bound for the batch's inputs: a lane's bit is 1 exactly when its state is below
// its bound (64 bits: 2^32 means "every state").
struct BatchBounds {
    std::array<uint64_t, 16> stage1;
    std::array<uint64_t, 16> stage23;
    std::array<uint64_t, 4> stage4;
};

BatchBounds MakeBatchBounds(const NetworkInputs& inputs);

// --- Jump-ahead of every lane ----------------------------------------------------------------

// Lane j's state is LaneJumps[j] applied to the initiation's start state (the state before its
// first draw), so the lanes of a stage do not wait for one another.
template <std::size_t LaneCount>
constexpr std::array<Jump, LaneCount> LaneJumps(const std::array<Lane, LaneCount>& lanes)
{
    std::array<Jump, LaneCount> jumps{};
    for (std::size_t j = 0; j < LaneCount; ++j) {
        jumps[j] = Jumps[lanes[j].draw];
    }
    return jumps;
}
inline constexpr auto Stage1Jumps = LaneJumps(Lanes::Stage1);
inline constexpr auto Stage23Jumps = LaneJumps(Lanes::Stage23);
inline constexpr auto Stage4Jumps = LaneJumps(Lanes::Stage4);
