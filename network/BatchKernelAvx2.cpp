// The AVX2 batch kernel: eight lanes per instruction, each lane's state by jump-ahead.
#include <immintrin.h>

#include "network/BatchKernels.h"
#include "network/StageTables.h"

// From here on the code is compiled for AVX2; the headers above keep the common instruction set.
#pragma GCC push_options
#pragma GCC target("avx2")
#include "network/BatchLoop.h"

namespace kestal {

namespace {

// AVX2 compares only signed integers. Adding 2^31 to a 32-bit word (mod 2^32) turns the unsigned
// order into the signed order, so the lanes carry every state and bound with 2^31 added: for the
// states the bias is folded into the jump increments, for free.
constexpr uint32_t Bias = 0x80000000u;

// Eight lanes of a lane group, from lane `first` on.
struct Lanes8 {
    __m256i multiplier, increment, bound;
    uint32_t always = 0;  // the lanes whose bound is 2^32: below it whatever the state

    // Multipliers, biased increments and biased bounds. A bound below 2^32 fits 32 bits; the
    // lanes of bound 2^32 ("every state") are set by `always` instead, which spares a clamp in
    // the loop. Lanes past the group's end get bound 0, so their bits stay 0.
    template <std::size_t LaneCount>
    Lanes8(const std::array<Jump, LaneCount>& jumps, const std::array<uint64_t, LaneCount>& bounds, std::size_t first)
    {
        alignas(32) std::array<std::array<uint32_t, 8>, 3> words{};
        for (std::size_t j = 0; j < 8 && first + j < LaneCount; ++j) {
            words[0][j] = jumps[first + j].multiplier;
            words[1][j] = jumps[first + j].increment + Bias;
            const uint64_t b = bounds[first + j];
            words[2][j] = b > UINT32_MAX ? 0 : static_cast<uint32_t>(b);
            always |= uint32_t(b > UINT32_MAX) << j;
        }
        for (uint32_t& b : words[2]) b += Bias;
        multiplier = _mm256_load_si256(reinterpret_cast<const __m256i*>(words[0].data()));
        increment = _mm256_load_si256(reinterpret_cast<const __m256i*>(words[1].data()));
        bound = _mm256_load_si256(reinterpret_cast<const __m256i*>(words[2].data()));
    }
    // Bit j: lane j's state is below its bound (`always` is needed only when some bound is 2^32).
    template <bool EveryState>
    [[gnu::always_inline]] uint32_t Bits(__m256i start) const
    {
        const __m256i biasedState = _mm256_add_epi32(_mm256_mullo_epi32(start, multiplier), increment);
        const auto below =
            static_cast<uint32_t>(_mm256_movemask_ps(_mm256_castsi256_ps(_mm256_cmpgt_epi32(bound, biasedState))));
        return EveryState ? below | always : below;
    }
};

template <bool EveryState>
struct Avx2Masks {
    Lanes8 stage1Low, stage1High, stage23Low, stage23High, stage4, nextStage1Low, nextStage1High;

    explicit Avx2Masks(const BatchBounds& b)
        : stage1Low(Stage1Jumps, b.stage1, 0),
          stage1High(Stage1Jumps, b.stage1, 8),
          stage23Low(Stage23Jumps, b.stage23, 0),
          stage23High(Stage23Jumps, b.stage23, 8),
          stage4(Stage4Jumps, b.stage4, 0),
          nextStage1Low(NextStage1Jumps, b.stage1, 0),
          nextStage1High(NextStage1Jumps, b.stage1, 8)
    {}
    [[gnu::always_inline]] uint32_t Stage1(uint32_t s) const
    {
        const __m256i start = _mm256_set1_epi32(int32_t(s));
        return stage1Low.template Bits<EveryState>(start) | stage1High.template Bits<EveryState>(start) << 8;
    }
    [[gnu::always_inline]] uint32_t Stage23(uint32_t s) const
    {
        const __m256i start = _mm256_set1_epi32(int32_t(s));
        return stage23Low.template Bits<EveryState>(start) | stage23High.template Bits<EveryState>(start) << 8;
    }
    [[gnu::always_inline]] uint32_t Stage4(uint32_t s) const
    {
        return stage4.template Bits<EveryState>(_mm256_set1_epi32(int32_t(s)));
    }
    [[gnu::always_inline]] uint32_t NextStage1(uint32_t s) const
    {
        const __m256i start = _mm256_set1_epi32(int32_t(s));
        return nextStage1Low.template Bits<EveryState>(start) | nextStage1High.template Bits<EveryState>(start) << 8;
    }
};

}  // namespace

StageEnds RunAvx2Kernel(const BatchBounds& bounds, int32_t n, uint32_t& state)
{
    if (AnyEveryState(bounds)) return RunInitiations(Avx2Masks<true>(bounds), n, state);
    return RunInitiations(Avx2Masks<false>(bounds), n, state);
}

StageEnds RunAvx2BranchFreeKernel(const BatchBounds& bounds, int32_t n, uint32_t& state)
{
    if (AnyEveryState(bounds)) return RunInitiationsBranchFree<true>(Avx2Masks<true>(bounds), n, state);
    return RunInitiationsBranchFree<true>(Avx2Masks<false>(bounds), n, state);
}

StageEnds RunAvx2FirstBranchKernel(const BatchBounds& bounds, int32_t n, uint32_t& state)
{
    if (AnyEveryState(bounds)) return RunInitiationsFirstBranch(Avx2Masks<true>(bounds), n, state);
    return RunInitiationsFirstBranch(Avx2Masks<false>(bounds), n, state);
}
#pragma GCC pop_options

}  // namespace kestal
