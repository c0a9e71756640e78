// Tests of the error texts and of integer and float parsing under a Russian and an English locale.
#include <string>

#include <gtest/gtest.h>

#include "common/Conversions.h"
#include "common/KestalError.h"
#include "support/ErrorOf.h"

using namespace kestal;

namespace {

const NumberLocale ru = RussianNumberLocale();
const NumberLocale en = EnglishNumberLocale();

std::string IntegerError(const std::string& text)
{
    return ErrorOf([&] { ParseInteger(text); });
}

std::string FloatError(const std::string& text, const NumberLocale& locale)
{
    return ErrorOf([&] { ParseFloat(text, locale); });
}

TEST(ErrorTexts, AreTheSystemMessages)
{
    EXPECT_EQ(ErrorText::NotAnInteger("abc"), "'abc' is not a valid integer value");
    EXPECT_EQ(ErrorText::NotAnInteger(""), "'' is not a valid integer value");
    EXPECT_EQ(ErrorText::NotAFloat("1.5"), "'1.5' is not a valid floating point value");
    EXPECT_EQ(ErrorText::NotAFloat(" x "), "' x ' is not a valid floating point value");
    EXPECT_STREQ(ErrorText::InvalidOperation, "Invalid floating point operation");
    EXPECT_STREQ(ErrorText::DivisionByZero, "Floating point division by zero");
    EXPECT_STREQ(ErrorText::Overflow, "Floating point overflow");
}

TEST(ParseInteger, AcceptsLeadingBlanksSignAndDigits)
{
    EXPECT_EQ(ParseInteger("0300"), 300);
    EXPECT_EQ(ParseInteger(" 12"), 12);
    EXPECT_EQ(ParseInteger("   -7"), -7);
    EXPECT_EQ(ParseInteger("+5"), 5);
    EXPECT_EQ(ParseInteger("-0"), 0);
    EXPECT_EQ(ParseInteger("2147483647"), 2147483647);
    EXPECT_EQ(ParseInteger("-2147483648"), INT32_MIN);
    EXPECT_EQ(ParseInteger("0000000000002147483647"), 2147483647);
}

TEST(ParseInteger, RejectsAnythingElseWithTheTextAsGiven)
{
    for (const std::string text : {"", " ", "-", "+", "12 ", "1 2", "- 5", "+-5", "abc", "1,5", "1.5", "1E3", "$1F",
                                   "0x10", "2147483648", "-2147483649", "99999999999999999999", "\t5"})
        EXPECT_EQ(IntegerError(text), "'" + text + "' is not a valid integer value") << text;
}

TEST(ParseFloat, ReadsTheLocaleDecimalSeparator)
{
    EXPECT_EQ(ParseFloat("1,5", ru), 1.5L);
    EXPECT_EQ(ParseFloat("1.5", en), 1.5L);
    EXPECT_EQ(FloatError("1.5", ru), "'1.5' is not a valid floating point value");
    EXPECT_EQ(FloatError("1,5", en), "'1,5' is not a valid floating point value");
    EXPECT_EQ(ParseFloat(",5", ru), 0.5L);
    EXPECT_EQ(ParseFloat("5,", ru), 5.0L);
    EXPECT_EQ(ParseFloat("0300", ru), 300.0L);
}

TEST(ParseFloat, AcceptsBlanksOnBothSidesSignAndExponent)
{
    for (const NumberLocale& locale : {ru, en}) {
        EXPECT_EQ(ParseFloat(" 12", locale), 12.0L);
        EXPECT_EQ(ParseFloat("12 ", locale), 12.0L);
        EXPECT_EQ(ParseFloat("  -12  ", locale), -12.0L);
        EXPECT_EQ(ParseFloat("+5", locale), 5.0L);
        EXPECT_EQ(ParseFloat("1E3", locale), 1000.0L);
        EXPECT_EQ(ParseFloat("1e+3", locale), 1000.0L);
        EXPECT_EQ(ParseFloat("-2E-2", locale), -0.02L);
    }
    EXPECT_EQ(ParseFloat("1,5e-3", ru), 1.5e-3L);
    EXPECT_EQ(ParseFloat("1.5e-3", en), 1.5e-3L);
    EXPECT_EQ(ParseFloat("1,5E3", ru), 1500.0L);
}

TEST(ParseFloat, IsExactlyRoundedInExtended)
{
    // The compiler rounds these literals correctly; the parse must agree to the last bit.
    EXPECT_EQ(ParseFloat("0,1", ru), 0.1L);
    EXPECT_EQ(ParseFloat("0.084", en), 0.084L);
    EXPECT_EQ(ParseFloat("3,14159265358979323846264338327950288", ru), 3.14159265358979323846264338327950288L);
    EXPECT_EQ(ParseFloat("10000000", ru), 10000000.0L);
    EXPECT_NE(ParseFloat("0,1", ru), static_cast<long double>(0.1));
    EXPECT_EQ(ParseFloat("1E4932", en), 1E4932L);
    // Too small for extended: zero or a subnormal, not an error.
    EXPECT_EQ(ParseFloat("1E-5000", en), 0.0L);
    EXPECT_GT(ParseFloat("1E-4940", en), 0.0L);
}

TEST(ParseFloat, RejectsAnythingElseWithTheTextAsGiven)
{
    for (const std::string text :
         {"",      " ",   "-",  "+",   ",",    "abc", "1E",  "1E+",   "E3",      "1 000",   "1,5,5",
          "1,5.5", "--1", "1-", "12a", "0x10", "inf", "nan", "1E3,5", "1E99999", "-1E5000", "1\u00A0000"})
        EXPECT_EQ(FloatError(text, ru), "'" + text + "' is not a valid floating point value") << text;
}

}  // namespace
