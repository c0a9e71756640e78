// The portable batch kernel: every lane's state by jump-ahead and a 64-bit compare, with the
// instructions of every x86-64 processor.
#include <x86intrin.h>

#include "network/BatchLoop.h"

namespace kestal {

namespace {

struct ScalarMasks {
    const BatchBounds& bounds;

    // The jump constants are compile-time constants, so after unrolling each lane is a multiply
    // by an immediate and an add, then bits := 2·bits + (state < bound): the compare's carry fed
    // straight into an add-with-carry, two instructions. The lanes are taken from the last so
    // that lane j ends in bit j; lanes of the same draw share their state.
    template <std::size_t LaneCount>
    [[gnu::always_inline]] static uint32_t Bits(const std::array<Jump, LaneCount>& jumps,
                                                const std::array<uint64_t, LaneCount>& bound, uint32_t s)
    {
        unsigned long long bits = 0;
#pragma GCC unroll 16
        for (std::size_t i = 0; i < LaneCount; ++i) {
            const std::size_t j = LaneCount - 1 - i;
            const uint32_t laneState = jumps[j].multiplier * s + jumps[j].increment;
            _addcarry_u64(laneState < bound[j], bits, bits, &bits);
        }
        return static_cast<uint32_t>(bits);
    }
    uint32_t Stage1(uint32_t s) const { return Bits(Stage1Jumps, bounds.stage1, s); }
    uint32_t Stage23(uint32_t s) const { return Bits(Stage23Jumps, bounds.stage23, s); }
    uint32_t Stage4(uint32_t s) const { return Bits(Stage4Jumps, bounds.stage4, s); }
};

}  // namespace

StageEnds RunScalarKernel(const BatchBounds& bounds, int32_t n, uint32_t& state)
{
    return RunInitiations(ScalarMasks{bounds}, n, state);
}

StageEnds RunScalarBranchFreeKernel(const BatchBounds& bounds, int32_t n, uint32_t& state)
{
    return RunInitiationsBranchFree<false>(ScalarMasks{bounds}, n, state);
}

StageEnds RunScalarFirstBranchKernel(const BatchBounds& bounds, int32_t n, uint32_t& state)
{
    return RunInitiationsFirstBranch(ScalarMasks{bounds}, n, state);
}

}  // namespace kestal
