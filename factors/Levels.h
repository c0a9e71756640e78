// The common eleven-level scale every factor is rated on.
#pragma once

#include <array>
#include <cstdint>

namespace kestal {

struct FactorLevel {
    uint8_t number;    // 1..11
    const char* name;  // at most 20 characters, e.g. "Очень очень низкое"
    float value;       // 0.084 .. 0.916
};

constexpr int LevelCount = 11;
// Item index i (0..10) of any factor list stands for entry i.
extern const std::array<FactorLevel, LevelCount> LevelTable;

// The number (1 .. 11) of the level whose value is `value`; 0 when no level has it.
int LevelNumberOf(float value);

}  // namespace kestal
