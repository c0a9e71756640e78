// The eleven entries of the common level scale, and the level of a value.
#include "factors/Levels.h"

#include <algorithm>

namespace kestal {

// Each value is the single nearest to its three-decimal number.
const std::array<FactorLevel, LevelCount> LevelTable = {{
    {1, "Очень очень низкое", 0.084f},
    {2, "Очень низкое", 0.166f},
    {3, "Низкое", 0.25f},
    {4, "Ниже среднего", 0.334f},
    {5, "Среднее", 0.417f},
    {6, "Выше среднего", 0.5f},
    {7, "Хорошее", 0.584f},
    {8, "Очень хорошее", 0.667f},
    {9, "Высокое", 0.75f},
    {10, "Очень высокое", 0.834f},
    {11, "Очень очень высокое", 0.916f},
}};

int LevelNumberOf(float value)
{
    const auto found = std::find_if(LevelTable.begin(), LevelTable.end(),
                                    [value](const FactorLevel& level) { return level.value == value; });
    return found == LevelTable.end() ? 0 : found->number;
}

}  // namespace kestal
