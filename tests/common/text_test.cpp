// Tests of cutting and counting UTF-8 texts by characters.
#include <string>

#include <gtest/gtest.h>

#include "common/Text.h"

using namespace kestal;

namespace {

TEST(Text, CountsCodePoints)
{
    EXPECT_EQ(CharacterCount(""), 0u);
    EXPECT_EQ(CharacterCount("abc"), 3u);
    EXPECT_EQ(CharacterCount("Гомеостазис"), 11u);
    EXPECT_EQ(CharacterCount("a\u00A0€𝄞"), 4u);  // 1-, 2-, 3- and 4-byte characters
}

TEST(Text, CutsToTheFirstCharactersNotBytes)
{
    EXPECT_EQ(CutToCapacity("Происшествие", 5), "Проис");
    EXPECT_EQ(CutToCapacity("Происшествие", 12), "Происшествие");
    EXPECT_EQ(CutToCapacity("Происшествие", 20), "Происшествие");
    EXPECT_EQ(CutToCapacity("Происшествие", 0), "");
    EXPECT_EQ(CutToCapacity("ab€𝄞cd", 4), "ab€𝄞");
    EXPECT_EQ(CutToCapacity("ab€𝄞cd", 3), "ab€");
    EXPECT_EQ(CutToCapacity("", 3), "");
    const std::string long65 = std::string(60, 'x') + "ЧМС-система";
    EXPECT_EQ(CharacterCount(CutToCapacity(long65, 65)), 65u);
    EXPECT_EQ(CutToCapacity(long65, 65), std::string(60, 'x') + "ЧМС-с");
}

}  // namespace
