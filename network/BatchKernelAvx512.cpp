// The AVX-512 batch kernel: a stage's sixteen lanes in one instruction, each lane's state by
// jump-ahead, compared unsigned straight into a mask.
#include <immintrin.h>

#include "network/BatchKernels.h"
#include "network/StageTables.h"

// From here on the code is compiled for AVX-512; the headers above keep the common instruction set.
#pragma GCC push_options
#pragma GCC target("avx512f")
#include "network/BatchLoop.h"

namespace kestal {

namespace {

// The sixteen lanes of a lane group.
struct Lanes16 {
    __m512i multiplier, increment, bound;
    uint32_t always = 0;  // the lanes whose bound is 2^32: below it whatever the state

    // Multipliers, increments and bounds. A bound below 2^32 fits 32 bits; the lanes of bound
    // 2^32 ("every state") are set by `always` instead, which spares a clamp in the loop. Lanes
    // past the group's end get bound 0, so their bits stay 0.
    template <std::size_t LaneCount>
    Lanes16(const std::array<Jump, LaneCount>& jumps, const std::array<uint64_t, LaneCount>& bounds)
    {
        alignas(64) std::array<std::array<uint32_t, 16>, 3> words{};
        for (std::size_t j = 0; j < LaneCount; ++j) {
            words[0][j] = jumps[j].multiplier;
            words[1][j] = jumps[j].increment;
            words[2][j] = bounds[j] > UINT32_MAX ? 0 : static_cast<uint32_t>(bounds[j]);
            always |= uint32_t(bounds[j] > UINT32_MAX) << j;
        }
        multiplier = _mm512_load_si512(words[0].data());
        increment = _mm512_load_si512(words[1].data());
        bound = _mm512_load_si512(words[2].data());
    }
    // Bit j: lane j's state is below its bound (`always` is needed only when some bound is 2^32).
    template <bool EveryState>
    [[gnu::always_inline]] uint32_t Bits(uint32_t s) const
    {
        const __m512i laneState =
            _mm512_add_epi32(_mm512_mullo_epi32(_mm512_set1_epi32(int32_t(s)), multiplier), increment);
        const uint32_t below = _mm512_cmplt_epu32_mask(laneState, bound);
        return EveryState ? below | always : below;
    }
};

template <bool EveryState>
struct Avx512Masks {
    Lanes16 stage1, stage23, stage4, nextStage1;

    explicit Avx512Masks(const BatchBounds& b)
        : stage1(Stage1Jumps, b.stage1),
          stage23(Stage23Jumps, b.stage23),
          stage4(Stage4Jumps, b.stage4),
          nextStage1(NextStage1Jumps, b.stage1)
    {}
    [[gnu::always_inline]] uint32_t Stage1(uint32_t s) const { return stage1.template Bits<EveryState>(s); }
    [[gnu::always_inline]] uint32_t Stage23(uint32_t s) const { return stage23.template Bits<EveryState>(s); }
    [[gnu::always_inline]] uint32_t Stage4(uint32_t s) const { return stage4.template Bits<EveryState>(s); }
    [[gnu::always_inline]] uint32_t NextStage1(uint32_t s) const { return nextStage1.template Bits<EveryState>(s); }
};

}  // namespace

StageEnds RunAvx512Kernel(const BatchBounds& bounds, int32_t n, uint32_t& state)
{
    if (AnyEveryState(bounds)) return RunInitiations(Avx512Masks<true>(bounds), n, state);
    return RunInitiations(Avx512Masks<false>(bounds), n, state);
}

StageEnds RunAvx512BranchFreeKernel(const BatchBounds& bounds, int32_t n, uint32_t& state)
{
    if (AnyEveryState(bounds)) return RunInitiationsBranchFree<true>(Avx512Masks<true>(bounds), n, state);
    return RunInitiationsBranchFree<true>(Avx512Masks<false>(bounds), n, state);
}

StageEnds RunAvx512FirstBranchKernel(const BatchBounds& bounds, int32_t n, uint32_t& state)
{
    if (AnyEveryState(bounds)) return RunInitiationsFirstBranch(Avx512Masks<true>(bounds), n, state);
    return RunInitiationsFirstBranch(Avx512Masks<false>(bounds), n, state);
}
#pragma GCC pop_options

}  // namespace kestal
