// The process-wide random source: a 32-bit linear congruential generator reseeded from the clock,
// and the two-, three- and four-way branch samplers of the network.
#pragma once

#include <cstdint>

#include "common/Clock.h"

namespace kestal {

struct RandomSource {
    uint32_t RandomSeed = 0;
    // The clock reading taken by the last reseed; a batch that reads the same millisecond again
    // continues from the current state instead of repeating the same sequence.
    int32_t lastClockReading = -1;

    // RandomSeed := UTC time of day in ms, unless it equals the previous reading.
    void ReseedFromClock(const Clock& clock);
    // Advances the state and returns state * 2^-32, exact in extended precision.
    long double NextUniform();
    bool operator==(const RandomSource&) const = default;
};

// The drawn value every sampler compares: NextUniform rounded to single.
float DrawSingle(RandomSource& random);

// The generator's step, for loops that keep the state in a local word.
constexpr uint32_t LcgMultiplier = 134775813u;
inline uint32_t NextState(uint32_t state) { return state * LcgMultiplier + 1u; }
// The drawn value of a state: state × 2^-32 rounded to single. Rounding the integer to single
// and scaling by the exact power of two gives the same value as rounding the exact extended product.
inline float UniformSingle(uint32_t state) { return static_cast<float>(state) * 0x1p-32f; }

uint8_t SampleBranch2(RandomSource& random, uint8_t a, uint8_t b, float p);
uint8_t SampleBranch3(RandomSource& random, uint8_t a, uint8_t b, uint8_t c, float p);
uint8_t SampleBranch4(RandomSource& random, uint8_t a, uint8_t b, uint8_t c, uint8_t d, float p);

// The thresholds the samplers compare against, computed in extended and rounded to single.
struct Thresholds3 {
    float t1, t2;
};
struct Thresholds4 {
    float t1, t2, t3;
};
Thresholds3 BranchThresholds3(float p);
Thresholds4 BranchThresholds4(float p);

}  // namespace kestal
