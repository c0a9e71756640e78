// The distribution of a small non-negative integer value, such as a draw or a stage multiplier,
// with the sum and the product of two independent values.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "network/StageTables.h"

namespace kestal {

// The largest value of a stage table.
template <std::size_t Size>
constexpr int LargestOf(const std::array<uint8_t, Size>& table)
{
    int largest = 0;
    for (uint8_t v : table) {
        largest = v > largest ? v : largest;
    }
    return largest;
}
// No stage multiplier, sum or part of one exceeds the stage-2 multiplier's 12 (the stage values
// are never negative, so no part of a formula exceeds its whole).
constexpr int LargestValue = LargestOf(Stage2Table);
static_assert(LargestOf(Stage1SumTable) <= LargestValue && LargestOf(Stage1FactorTable) <= LargestValue &&
              LargestOf(Stage3Table) <= LargestValue && LargestOf(Stage4Table) <= LargestValue);

// mass[v] = probability of the value v; no value above `largest` has mass.
struct ValueMasses {
    std::array<long double, LargestValue + 1> mass{};
    int largest = 0;
};

// The distributions of a + b and a · b for independent a and b; the result must not exceed
// LargestValue.
ValueMasses operator+(const ValueMasses& a, const ValueMasses& b);
ValueMasses operator*(const ValueMasses& a, const ValueMasses& b);

}  // namespace kestal
