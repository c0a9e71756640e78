// The one decision on number conventions: what the window's toolkit and the C library report for
// the same locale ends as the same conventions.
#include <gtest/gtest.h>

#include "common/NumberLocale.h"

TEST(ConventionsOf, TheToolkitsAndTheCLibrarysDataGiveTheSameTexts) {
    const std::string nbsp = "\u00A0";
    const struct {
        const char* name;
        const char* decimal;
        const char* group;
        std::string expectedDecimal;
        std::string expectedGroup;
    } cases[] = {
        {"ru_RU", ",", "\u00A0", ",", nbsp},        // the toolkit's data
        {"ru_RU.UTF-8", ",", "\u202F", ",", nbsp},  // the C library's
        {"uk_UA.UTF-8", ",", "\u2009", ",", nbsp},  {"fr_FR.UTF-8", ",", " ", ",", nbsp},
        {"fr_CH", ".", "\u2007", ".", nbsp},         {"de_DE.UTF-8", ",", ".", ",", "."},
        {"en_US.UTF-8", ".", ",", ".", ","},         {"en_US", ".", "", ".", ""},
        {"C", ".", ",", ".", ""},  // the toolkit's C locale would group; the C library's does not
        {"C", ".", "", ".", ""},                     {"C.UTF-8", ".", "", ".", ""},
        {"C.utf8", ".", ",", ".", ""},               {"POSIX", ".", ",", ".", ""},
        {"", ".", ",", ".", ""},                     {"xx_YY", "", "", ".", ""},
    };
    for (const auto& c : cases) {
        const NumberLocale locale = ConventionsOf(c.name, c.decimal, c.group);
        EXPECT_EQ(locale.decimalSeparator, c.expectedDecimal) << c.name << ' ' << c.group;
        EXPECT_EQ(locale.groupSeparator, c.expectedGroup) << c.name << ' ' << c.group;
        EXPECT_EQ(locale.timeSeparator, ":");
    }
    // A Russian locale, whichever source: the conventions of RussianNumberLocale.
    const NumberLocale ru = RussianNumberLocale();
    for (const char* group : {"\u00A0", "\u202F"}) {
        const NumberLocale locale = ConventionsOf("ru_RU.UTF-8", ",", group);
        EXPECT_EQ(locale.groupSeparator, ru.groupSeparator);
        EXPECT_EQ(locale.decimalSeparator, ru.decimalSeparator);
    }
}
