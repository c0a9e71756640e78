// The AVX-512 batch kernel: a stage's sixteen lanes in one instruction, each lane's state by
// jump-ahead, compared unsigned straight into a mask.
#include <immintrin.h>

#include "GERTnet/BatchKernels.h"
#include "GERTnet/StateBounds.h"

#pragma GCC push_options
#pragma GCC target("avx512f,avx512vl")
#include "GERTnet/BatchLoop.h"

namespace {

// Multipliers, increments and bounds clamped to 32 bits (see Bound32) of a lane group.
template <std::size_t LaneCount>
std::array<std::array<uint32_t, LaneCount>, 3> GroupWords(const std::array<Jump, LaneCount>& jumps,
                                                          const std::array<uint64_t, LaneCount>& bounds)
{
    std::array<std::array<uint32_t, LaneCount>, 3> words{};
    for (std::size_t j = 0; j < LaneCount; ++j) {
        words[0][j] = jumps[j].multiplier;
        words[1][j] = jumps[j].increment;
        words[2][j] = Bound32(bounds[j]);
    }
    return words;
}

struct Lanes16 {
    __m512i multiplier, increment, bound;

    Lanes16(const std::array<Jump, 16>& jumps, const std::array<uint64_t, 16>& bounds)
    {
        const auto w = GroupWords(jumps, bounds);
        multiplier = _mm512_loadu_si512(w[0].data());
        increment = _mm512_loadu_si512(w[1].data());
        bound = _mm512_loadu_si512(w[2].data());
    }
    // Bit j: lane j's state is below its bound.
    [[gnu::always_inline]] uint32_t Bits(__m512i start) const
    {
        const __m512i laneState = _mm512_add_epi32(_mm512_mullo_epi32(start, multiplier), increment);
        // (The zero-masking form with every lane selected is the plain minimum; GCC 12 warns
        // about the unmasked intrinsic's undefined pass-through operand.)
        const __m512i clamped = _mm512_maskz_min_epu32(0xFFFF, laneState, _mm512_set1_epi32(int32_t(SaturatedState)));
        return _mm512_cmplt_epu32_mask(clamped, bound);
    }
};

struct Lanes4 {
    __m128i multiplier, increment, bound;

    Lanes4(const std::array<Jump, 4>& jumps, const std::array<uint64_t, 4>& bounds)
    {
        const auto w = GroupWords(jumps, bounds);
        multiplier = _mm_loadu_si128(reinterpret_cast<const __m128i*>(w[0].data()));
        increment = _mm_loadu_si128(reinterpret_cast<const __m128i*>(w[1].data()));
        bound = _mm_loadu_si128(reinterpret_cast<const __m128i*>(w[2].data()));
    }
    [[gnu::always_inline]] uint32_t Bits(__m128i start) const
    {
        const __m128i laneState = _mm_add_epi32(_mm_mullo_epi32(start, multiplier), increment);
        const __m128i clamped = _mm_min_epu32(laneState, _mm_set1_epi32(int32_t(SaturatedState)));
        return _mm_cmplt_epu32_mask(clamped, bound);
    }
};

struct Avx512Masks {
    Lanes16 stage1, stage23;
    Lanes4 stage4;

    explicit Avx512Masks(const BatchBounds& b)
        : stage1(Stage1Jumps, b.stage1), stage23(Stage23Jumps, b.stage23), stage4(Stage4Jumps, b.stage4)
    {
    }
    [[gnu::always_inline]] uint32_t Stage1(uint32_t s) const { return stage1.Bits(_mm512_set1_epi32(int32_t(s))); }
    [[gnu::always_inline]] uint32_t Stage23(uint32_t s) const { return stage23.Bits(_mm512_set1_epi32(int32_t(s))); }
    [[gnu::always_inline]] uint32_t Stage4(uint32_t s) const { return stage4.Bits(_mm_set1_epi32(int32_t(s))); }
};

}  // namespace

StageEnds RunAvx512Kernel(const BatchBounds& bounds, int32_t n, uint32_t& state)
{
    const Avx512Masks masks(bounds);
    return RunInitiations(masks, n, state);
}
#pragma GCC pop_options
