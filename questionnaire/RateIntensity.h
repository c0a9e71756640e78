// The work-intensity rating rule: class counts of 18 answers to a level of factor T03.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace kestal {

// Index 0..10: the item texts of the T03 list, "Очень, очень низкая" .. "Очень, очень высокая".
extern const std::array<const char*, 11> IntensityLevelNames;
inline constexpr const char* WrongAnswerCountText = "Число оценок <>18";

// One of IntensityLevelNames, or WrongAnswerCountText when the counts do not sum to 18.
std::string RateIntensity(uint8_t count1, uint8_t count2, uint8_t count31, uint8_t count32);

}  // namespace kestal
