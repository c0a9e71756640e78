// The one decision on number conventions: what the window's toolkit and the C library report for
// the same locale ends as the same conventions.
#include <gtest/gtest.h>

#include "common/NumberLocale.h"

using namespace kestal;

TEST(ConventionsOf, TheToolkitsAndTheCLibrarysDataGiveTheSameTexts)
{
    const struct {
        const char *name, *decimal, *group, *expectedDecimal, *expectedGroup;
    } cases[] = {
        {"ru_RU", ",", "\u00A0", ",", "\u00A0"},        // the toolkit's data
        {"ru_RU.UTF-8", ",", "\u202F", ",", "\u00A0"},  // the C library's
        {"uk_UA.UTF-8", ",", "\u2009", ",", "\u00A0"},
        {"fr_FR", ",", " ", ",", "\u00A0"},
        {"fr_CH", ".", "\u2007", ".", "\u00A0"},
        {"de_DE.UTF-8", ",", ".", ",", "."},
        {"en_US", ".", ",", ".", ","},
        {"xx_YY", "", "", ".", ""},
        {"C", ".", ",", ".", ""},  // the toolkit's C locale groups, the C library's does not
        {"C.UTF-8", ".", "", ".", ""},
        {"C.utf8", ".", ",", ".", ""},
        {"POSIX", ".", ",", ".", ""},
    };
    for (const auto& c : cases) {
        const NumberLocale locale = ConventionsOf(c.name, c.decimal, c.group);
        EXPECT_EQ(locale.decimalSeparator, c.expectedDecimal) << c.name;
        EXPECT_EQ(locale.groupSeparator, c.expectedGroup) << c.name;
        EXPECT_EQ(locale.timeSeparator, ":");
    }
}
