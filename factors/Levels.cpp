// The eleven entries of the common level scale.
#include "factors/Levels.h"

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

}  // namespace kestal
