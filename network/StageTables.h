// The stage scores of the network as tables indexed by the comparison bits of the lanes, built
// at compile time from the lane layout and the stage formulas.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "network/NetworkLanes.h"

namespace kestal {

// x[k] = value of draw k, decoded from the bits of `lanes` (bit j of `bits` belongs to lane
// `firstLane + j`). A draw with no lanes in that range, or only some of a multi-way draw's lanes,
// keeps a poison value, so that a table whose formula reads a draw outside its lanes fails the
// range checks below at compile time.
template <std::size_t LaneCount>
constexpr std::array<int, 32> DrawValues(const std::array<Lane, LaneCount>& lanes, int firstLane, int laneCount,
                                         uint32_t bits)
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

// The stage formulas, on the draw values: integers here, and the distributions of independent
// draws in the exact analysis (every draw occurs once in a formula, so each sum or product joins
// independent values).
inline constexpr auto Stage1Sum = [](const auto& x) { return x[1] + x[2] + x[3] + x[4] + x[5] + x[6] + x[7] + x[8]; };
inline constexpr auto Stage1Factor = [](const auto& x) { return x[9] * x[11] + x[13] + x[10] + x[12] + x[14]; };
inline constexpr auto Stage2Factor = [](const auto& x) {
    return (x[15] + x[17] + x[19]) * x[21] + x[16] * x[18] + x[20] + x[22];
};
inline constexpr auto Stage3Factor = [](const auto& x) { return (x[23] + x[25]) * x[27] + x[24] * x[26]; };
inline constexpr auto Stage4Factor = [](const auto& x) { return x[28] * x[30] + x[29] + x[31]; };

// Table[bits] = formula of the draws decoded from lanes firstLane .. firstLane + log2(Size) - 1.
template <std::size_t Size, std::size_t LaneCount, class Formula>
constexpr std::array<uint8_t, Size> ScoreTable(const std::array<Lane, LaneCount>& lanes, int firstLane, Formula formula)
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
// The ranges of the network (sum 0–12, multipliers 0–7, 0–12, 0–8, 0–3); a formula that read a
// draw outside its lanes would break them.
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

// The tables above side by side in one object, as the batch loops read them: one base address
// serves every look-up, which leaves the loops their registers.
struct ScoreTables {
    PassBitmap stage1Passes;
    std::array<uint8_t, 256> stage1Sum;
    std::array<uint8_t, 256> stage1Factor;
    std::array<uint8_t, 1024> stage2;
    std::array<uint8_t, 64> stage3;
    std::array<uint8_t, 16> stage4;
};
alignas(64) inline constexpr ScoreTables Scores = {Stage1Passes, Stage1SumTable, Stage1FactorTable,
                                                   Stage2Table,  Stage3Table,    Stage4Table};

}  // namespace kestal
