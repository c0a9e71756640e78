// Helpers of the simulation tests: stepping the generator backwards and forwards, input sets.
#pragma once

#include <cstdint>

#include "network/Network.h"

using namespace kestal;

// The multiplier's inverse modulo 2^32 (Newton's iteration; three bits are right to start with).
constexpr uint32_t InverseMultiplier()
{
    uint32_t inv = LcgMultiplier;
    for (int i = 0; i < 4; ++i) {
        inv *= 2u - LcgMultiplier * inv;
    }
    return inv;
}
static_assert(LcgMultiplier * InverseMultiplier() == 1u);

// The state that NextUniform turns into `state`, stepped back `steps` times.
constexpr uint32_t StateBefore(uint32_t state, int steps = 1)
{
    for (int i = 0; i < steps; ++i) {
        state = (state - 1u) * InverseMultiplier();
    }
    return state;
}

constexpr uint32_t StateAfter(uint32_t state, int64_t steps)
{
    for (int64_t i = 0; i < steps; ++i) {
        state = NextState(state);
    }
    return state;
}

inline NetworkInputs AllSlots(float p)
{
    NetworkInputs in;
    in.slot.fill(p);
    return in;
}

// The values of the eleven-level scale.
constexpr float LevelValues[] = {0.084f, 0.166f, 0.25f, 0.334f, 0.417f, 0.5f, 0.584f, 0.667f, 0.75f, 0.834f, 0.916f};
