// The process locale (set from the environment by the window toolkit) must not change how numbers
// are read or written: only the NumberLocale passed in decides.
#include <clocale>
#include <string>

#include <gtest/gtest.h>

#include "common/Conversions.h"
#include "common/Formats.h"

using namespace kestal;

namespace {

TEST(ProcessLocale, ChangesNeitherParsingNorFormatting)
{
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    if (!std::setlocale(LC_ALL, "ru_RU.UTF-8") && !std::setlocale(LC_ALL, "de_DE.UTF-8"))
        GTEST_SKIP() << "no locale with a decimal comma installed";
    const NumberLocale en = EnglishNumberLocale();
    const NumberLocale ru = RussianNumberLocale();
    const long double english = ParseFloat("1.25", en);
    const long double russian = ParseFloat("1,25", ru);
    const std::string fixed = FixedText(0.5L, en);
    const std::string general = GeneralText(1.5e-7L, en);
    const std::string money = MoneyText(1234.5L, en);
    std::setlocale(LC_ALL, saved.c_str());
    EXPECT_EQ(english, 1.25L);
    EXPECT_EQ(russian, 1.25L);
    EXPECT_EQ(fixed, "0.50000000000000");
    EXPECT_EQ(general, "1.5E-7");
    EXPECT_EQ(money, "1,234.50");
}

}  // namespace
