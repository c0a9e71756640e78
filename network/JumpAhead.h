// Jump-ahead of the generator: k steps of the state as one multiply and one add.
#pragma once

#include <array>
#include <cstdint>

#include "network/RandomSource.h"

namespace kestal {

// The affine map state -> multiplier · state + increment (mod 2^32).
struct Jump {
    uint32_t multiplier;
    uint32_t increment;
};

// One step is s -> A·s + 1. If k steps are s -> A_k·s + C_k, one more step gives
// A·(A_k·s + C_k) + 1, so A_{k+1} = A·A_k and C_{k+1} = A·C_k + 1, starting from A_0 = 1, C_0 = 0
// (A_k = A^k and C_k = 1 + A + ... + A^(k-1), everything mod 2^32).
constexpr Jump JumpOf(int steps)
{
    Jump j{1u, 0u};
    for (int i = 0; i < steps; ++i) {
        j = {j.multiplier * LcgMultiplier, j.increment * LcgMultiplier + 1u};
    }
    return j;
}

// The longest jump the network needs: the 31 draws of an initiation that reaches stage 4.
constexpr int MaxJump = 31;
inline constexpr std::array<Jump, MaxJump + 1> Jumps = [] {
    std::array<Jump, MaxJump + 1> table{};
    for (int k = 0; k <= MaxJump; ++k) {
        table[k] = JumpOf(k);
    }
    return table;
}();

// The state `steps` draws after `state`.
constexpr uint32_t JumpState(uint32_t state, int steps)
{
    return Jumps[steps].multiplier * state + Jumps[steps].increment;
}

static_assert(JumpState(0, 1) == 1u && JumpState(0, 2) == 134775814u && JumpState(0, 3) == 3698175007u);

}  // namespace kestal
