// The work-intensity rating rule: every row of its table, its boundaries and the wrong counts.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "questionnaire/RateIntensity.h"

using namespace kestal;

namespace {

TEST(IntensityLevelNames, AreTheT03ListItems)
{
    const char* const expected[11] = {
        "Очень, очень низкая",  "Очень низкая", "Низкая",        "Ниже среднего", "Средняя",
        "Выше среднего",        "Большая",      "Очень большая", "Высокая",       "Очень высокая",
        "Очень, очень высокая",
    };
    for (int i = 0; i < 11; ++i) EXPECT_STREQ(IntensityLevelNames[i], expected[i]) << i;
    EXPECT_STREQ(WrongAnswerCountText, "Число оценок <>18");
}

struct Case {
    int count1, count2, count31, count32;
    const char* expected;
};

TEST(RateIntensity, OnlyClassesOneAndTwo)
{
    const Case cases[] = {
        {18, 0, 0, 0, "Очень, очень низкая"},
        {17, 1, 0, 0, "Очень низкая"},
        {13, 5, 0, 0, "Очень низкая"},
        {12, 6, 0, 0, "Низкая"},
        {0, 18, 0, 0, "Низкая"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RateIntensity(c.count1, c.count2, c.count31, c.count32), c.expected)
            << c.count1 << "," << c.count2 << "," << c.count31 << "," << c.count32;
}

TEST(RateIntensity, AnyClass31AnswerWithoutClass32)
{
    EXPECT_EQ(RateIntensity(17, 0, 1, 0), "Ниже среднего");
    EXPECT_EQ(RateIntensity(0, 0, 18, 0), "Ниже среднего");
    EXPECT_EQ(RateIntensity(0, 17, 1, 0), "Ниже среднего");
    EXPECT_EQ(RateIntensity(6, 6, 6, 0), "Ниже среднего");
}

TEST(RateIntensity, Class32AnswersDecideOneLevelEach)
{
    // Index: count32 = 0..18, the other answers in class 3.1 (which matters only without class 3.2).
    const char* const byCount32[19] = {
        "Ниже среднего",        "Средняя",
        "Выше среднего",        "Большая",
        "Очень большая",        "Высокая",
        "Очень высокая",        "Очень, очень высокая",
        "Очень, очень высокая", "Очень, очень высокая",
        "Очень, очень высокая", "Очень, очень высокая",
        "Очень, очень высокая", "Очень, очень высокая",
        "Очень, очень высокая", "Очень, очень высокая",
        "Очень, очень высокая", "Очень, очень высокая",
        "Очень, очень высокая",
    };
    for (int count32 = 0; count32 <= 18; ++count32) {
        EXPECT_EQ(RateIntensity(0, 0, 18 - count32, count32), byCount32[count32]) << count32;
        if (count32 > 0) {
            // The other classes do not matter once there is a class 3.2 answer.
            EXPECT_EQ(RateIntensity(18 - count32, 0, 0, count32), byCount32[count32]) << count32;
            EXPECT_EQ(RateIntensity(0, 18 - count32, 0, count32), byCount32[count32]) << count32;
        }
    }
    EXPECT_EQ(RateIntensity(17, 0, 0, 1), "Средняя");
    EXPECT_EQ(RateIntensity(0, 10, 7, 1), "Средняя");
    EXPECT_EQ(RateIntensity(12, 0, 0, 6), "Очень высокая");
    EXPECT_EQ(RateIntensity(11, 0, 0, 7), "Очень, очень высокая");
    EXPECT_EQ(RateIntensity(0, 0, 0, 18), "Очень, очень высокая");
}

TEST(RateIntensity, CountsNotSummingTo18)
{
    const Case cases[] = {
        {18, 0, 0, 1, ""},
        {0, 0, 0, 0, ""},
        {17, 0, 0, 0, ""},
        {0, 0, 0, 17, ""},
        {0, 19, 0, 0, ""},
        {1, 1, 1, 1, ""},
        {255, 255, 255, 255, ""},
        // Sums that an 8-bit sum would wrap round to 18.
        {255, 19, 0, 0, ""},
        {255, 255, 255, 21, ""},
        {128, 128, 18, 0, ""},
        {0, 0, 146, 128, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RateIntensity(c.count1, c.count2, c.count31, c.count32), "Число оценок <>18")
            << c.count1 << "," << c.count2 << "," << c.count31 << "," << c.count32;
}

TEST(RateIntensity, EveryCompleteAnswerSetGetsALevel)
{
    const std::set<std::string> names(IntensityLevelNames.begin(), IntensityLevelNames.end());
    std::set<std::string> seen;
    for (int count2 = 0; count2 <= 18; ++count2)
        for (int count31 = 0; count2 + count31 <= 18; ++count31)
            for (int count32 = 0; count2 + count31 + count32 <= 18; ++count32) {
                const std::string level = RateIntensity(18 - count2 - count31 - count32, count2, count31, count32);
                EXPECT_EQ(names.count(level), 1u) << level;
                seen.insert(level);
            }
    EXPECT_EQ(seen, names);
}

}  // namespace
