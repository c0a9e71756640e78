// The exact state bounds of the sampler thresholds.
#include "network/StateBounds.h"

#include <algorithm>
#include <cmath>

#include "network/RandomSource.h"

namespace kestal {

uint64_t StatesBelow(float t)
{
    const auto below = [t](uint64_t state) { return UniformSingle(static_cast<uint32_t>(state)) < t; };
    constexpr uint64_t LastState = 0xFFFFFFFFu;
    if (!below(0)) {
        return 0;  // t ≤ 0 or NaN
    }
    if (below(LastState)) {
        return LastState + 1;  // t > 1
    }
    // Now 0 < t ≤ 1 and the answer is the first state that draws t or more. A state draws at
    // least t exactly when its value rounds above the single just below t, that is when it lies
    // above the midpoint of that single and t (scaled by 2^32; exact in double). Starting from
    // the midpoint, the two loops walk to the first state with below(state) false and below(state
    // - 1) true, so the result rests only on the exact comparison; the estimate saves the search.
    const double midpoint = (static_cast<double>(std::nextafter(t, 0.0f)) + t) * 0x1p31;
    uint64_t bound = std::min(static_cast<uint64_t>(midpoint), LastState);
    while (below(bound)) {
        ++bound;
    }
    while (bound > 0 && !below(bound - 1)) {
        --bound;
    }
    return bound;
}

std::array<uint64_t, 2> SamplerBounds3(float p)
{
    const Thresholds3 t = BranchThresholds3(p);
    const uint64_t b1 = StatesBelow(t.t1);
    return {b1, std::max(b1, StatesBelow(t.t2))};
}

std::array<uint64_t, 3> SamplerBounds4(float p)
{
    const Thresholds4 t = BranchThresholds4(p);
    const uint64_t b1 = StatesBelow(t.t1);
    const uint64_t b2 = std::max(b1, StatesBelow(t.t2));
    return {b1, b2, std::max(b2, StatesBelow(t.t3))};
}

}  // namespace kestal
