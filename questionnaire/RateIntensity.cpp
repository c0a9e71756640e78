// The work-intensity rating rule over the class counts of the 18 answers.
#include "questionnaire/RateIntensity.h"

namespace kestal {

const std::array<const char*, 11> IntensityLevelNames = {
    "Очень, очень низкая",  "Очень низкая", "Низкая",        "Ниже среднего", "Средняя",
    "Выше среднего",        "Большая",      "Очень большая", "Высокая",       "Очень высокая",
    "Очень, очень высокая",
};

std::string RateIntensity(uint8_t count1, uint8_t count2, uint8_t count31, uint8_t count32)
{
    // Summed as int: four counts of up to 255 cannot wrap round to 18.
    const int answers = int{count1} + int{count2} + int{count31} + int{count32};
    if (answers != 18) return WrongAnswerCountText;

    int index;
    if (count32 >= 7)
        index = 10;
    else if (count32 >= 1)
        index = 3 + count32;  // one level per class 3.2 answer, "Средняя" up
    else if (count31 >= 1)
        index = 3;
    else if (count2 >= 6)
        index = 2;
    else if (count2 >= 1)
        index = 1;
    else
        index = 0;
    return IntensityLevelNames[index];
}

}  // namespace kestal
