// Thresholds turned into bounds on the generator state: u < t exactly when the state is below
// the bound.
#pragma once

#include <array>
#include <cstdint>

namespace kestal {

// The draw of a state, u(s) = s · 2^-32 rounded to single, never falls as s rises (rounding is
// monotonic). So the states whose draw is below t are exactly 0 .. StatesBelow(t) - 1, and a
// sampler's "u < t" is the integer test "state < StatesBelow(t)".
//
// The result is 0 when no state qualifies (t ≤ 0, or t is NaN), 2^32 when every state does
// (t > 1: even u = 1.0, drawn by the states from FFFFFF80 hex up, is below t), and otherwise at
// most FFFFFF80 hex: the states from there up all draw exactly 1.0, so a bound between them
// cannot occur.
uint64_t StatesBelow(float t);

// The top states all draw 1.0, so clamping a state to SaturatedState changes no comparison. A
// 32-bit kernel compares min(state, SaturatedState) against min(bound, SaturatedBound): that is
// the 64-bit test state < bound, with 2^32 ("every state") kept apart from FFFFFF80.
constexpr uint32_t SaturatedState = 0xFFFFFF80u;
constexpr uint32_t SaturatedBound = SaturatedState + 1u;
constexpr uint32_t Bound32(uint64_t bound)
{
    return bound < SaturatedBound ? static_cast<uint32_t>(bound) : SaturatedBound;
}

// Bounds of the three- and four-way samplers, made cumulative: bound k is the largest of the
// bounds of thresholds 1..k. The sampler's outcome index (0 for "u < t1", 1 for "else u < t2",
// ...) is then the number of these bounds that the state is at or above, whatever the order of
// the thresholds themselves.
std::array<uint64_t, 2> SamplerBounds3(float p);
std::array<uint64_t, 3> SamplerBounds4(float p);

}  // namespace kestal
