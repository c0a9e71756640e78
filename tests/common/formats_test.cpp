// Tests of the number and time texts under a Russian and an English locale, byte for byte.
#include <cmath>
#include <limits>
#include <string>

#include <gtest/gtest.h>

#include "common/Formats.h"

using namespace kestal;

namespace {

const NumberLocale ru = RussianNumberLocale();
const NumberLocale en = EnglishNumberLocale();
const std::string nbsp = "\u00A0";

TEST(FixedText, WritesFourteenDecimalsWithTheLocaleSeparator)
{
    EXPECT_EQ(FixedText(3012.5L / 4000, ru), "0,75312500000000");
    EXPECT_EQ(FixedText(3012.5L / 4000, en), "0.75312500000000");
    EXPECT_EQ(FixedText(0.5L, ru), "0,50000000000000");
    EXPECT_EQ(FixedText(0.5L, en), "0.50000000000000");
    EXPECT_EQ(FixedText(0.0L, ru), "0,00000000000000");
    EXPECT_EQ(FixedText(-0.0L, ru), "0,00000000000000");
    EXPECT_EQ(FixedText(1.0L, en), "1.00000000000000");
    EXPECT_EQ(FixedText(1234567.0L, ru), "1234567,00000000000000");  // no grouping
    EXPECT_EQ(FixedText(-0.25L, ru), "-0,25000000000000");
    EXPECT_EQ(FixedText(static_cast<long double>(0.1f), en), "0.10000000149012");
}

TEST(FixedText, RoundsToEighteenDigitsTiesToEvenThenFourteenDecimalsHalfUp)
{
    // 12345.00006103515625 has its 19th digit exactly 5: the 18th (2) is even and stays.
    EXPECT_EQ(FixedText(12345.0L + std::ldexp(1.0L, -14), ru), "12345,00006103515620");
    // 12345.00018310546875: the 18th digit 7 is odd and goes up.
    EXPECT_EQ(FixedText(12345.0L + 3 * std::ldexp(1.0L, -14), ru), "12345,00018310546880");
    EXPECT_EQ(FixedText(100000000000000000.5L, en), "100000000000000000.00000000000000");
    EXPECT_EQ(FixedText(100000000000000001.5L, en), "100000000000000002.00000000000000");
    // Just below ...2345 in binary, but ...2345000 at 18 digits, so the 14th decimal goes up.
    EXPECT_EQ(FixedText(0.1234567890123449999975L, ru), "0,12345678901235");
    EXPECT_EQ(FixedText(0.1234567890123448L, ru), "0,12345678901234");
    EXPECT_EQ(FixedText(5e-15L, ru), "0,00000000000001");
    EXPECT_EQ(FixedText(-5e-15L, ru), "-0,00000000000001");
    EXPECT_EQ(FixedText(4.9e-15L, ru), "0,00000000000000");
    EXPECT_EQ(FixedText(0.999999999999995L, ru), "1,00000000000000");
}

TEST(FixedText, DropsTheMinusOfAValueThatRoundsToZero)
{
    EXPECT_EQ(FixedText(-1e-16L, ru), "0,00000000000000");
    EXPECT_EQ(FixedText(-4.9e-15L, en), "0.00000000000000");
}

TEST(FixedText, FallsBackToTheGeneralTextBeyondEighteenIntegerDigits)
{
    EXPECT_EQ(FixedText(123456789012345678.0L, ru), "123456789012345678,00000000000000");
    EXPECT_EQ(FixedText(1e18L, ru), "1E18");
}

TEST(GeneralText, WritesFifteenSignificantDigitsWithoutTrailingZeros)
{
    EXPECT_EQ(GeneralText(0.0L, ru), "0");
    EXPECT_EQ(GeneralText(-0.0L, ru), "0");
    EXPECT_EQ(GeneralText(1500.0L, ru), "1500");
    EXPECT_EQ(GeneralText(-1.5L, ru), "-1,5");
    EXPECT_EQ(GeneralText(-1.5L, en), "-1.5");
    EXPECT_EQ(GeneralText(123.456L, en), "123.456");
    EXPECT_EQ(GeneralText(0.1L, ru), "0,1");
    EXPECT_EQ(GeneralText(1.0L / 3, ru), "0,333333333333333");
    EXPECT_EQ(GeneralText(2.0L / 3, ru), "0,666666666666667");
    EXPECT_EQ(GeneralText(static_cast<long double>(0.1f), ru), "0,100000001490116");
    EXPECT_EQ(GeneralText(static_cast<long double>(1234.56f), en), "1234.56005859375");
    EXPECT_EQ(GeneralText(10000000.0L, ru), "10000000");
}

TEST(GeneralText, RoundsHalfUpAtTheFifteenthDigit)
{
    EXPECT_EQ(GeneralText(10000000000000.25L, ru), "10000000000000,3");
    EXPECT_EQ(GeneralText(std::ldexp(1.0L, -22), ru), "2,38418579101563E-7");  // 2.384185791015625E-7
    EXPECT_EQ(GeneralText(10000000000000.24L, ru), "10000000000000,2");
}

TEST(GeneralText, SwitchesToScientificAtTheThresholds)
{
    EXPECT_EQ(GeneralText(999999999999999.0L, ru), "999999999999999");
    EXPECT_EQ(GeneralText(999999999999999.4L, ru), "999999999999999");
    EXPECT_EQ(GeneralText(999999999999999.5L, ru), "1E15");  // rounds up to 16 digits
    EXPECT_EQ(GeneralText(1e15L, ru), "1E15");
    EXPECT_EQ(GeneralText(1e14L, ru), "100000000000000");
    EXPECT_EQ(GeneralText(1234567890123456.0L, ru), "1,23456789012346E15");
    EXPECT_EQ(GeneralText(-1234567890123456.0L, en), "-1.23456789012346E15");
    EXPECT_EQ(GeneralText(1e20L, ru), "1E20");
    EXPECT_EQ(GeneralText(0.00001L, ru), "0,00001");
    EXPECT_EQ(GeneralText(-0.00001L, en), "-0.00001");
    EXPECT_EQ(GeneralText(0.000012345L, ru), "0,000012345");
    EXPECT_EQ(GeneralText(0.0000099999999999999999L, ru), "0,00001");  // rounds up to the threshold
    EXPECT_EQ(GeneralText(0.00000999999999999999L, ru), "9,99999999999999E-6");
    EXPECT_EQ(GeneralText(1.5e-7L, ru), "1,5E-7");
    EXPECT_EQ(GeneralText(1.5e-7L, en), "1.5E-7");
    EXPECT_EQ(GeneralText(-1e-300L, ru), "-1E-300");
    EXPECT_EQ(GeneralText(1.5e4000L, ru), "1,5E4000");
}

TEST(GeneralText, NamesValuesThatAreNotFinite)
{
    EXPECT_EQ(GeneralText(std::numeric_limits<long double>::infinity(), ru), "INF");
    EXPECT_EQ(GeneralText(-std::numeric_limits<long double>::infinity(), ru), "-INF");
    EXPECT_EQ(GeneralText(std::numeric_limits<long double>::quiet_NaN(), ru), "NAN");
}

TEST(MoneyText, GroupsThousandsWithTwoDecimals)
{
    EXPECT_EQ(MoneyText(1234567.891L, ru), "1" + nbsp + "234" + nbsp + "567,89");
    EXPECT_EQ(MoneyText(1234567.891L, en), "1,234,567.89");
    EXPECT_EQ(MoneyText(300.0L, ru), "300,00");
    EXPECT_EQ(MoneyText(-1500.0L, ru), "-1" + nbsp + "500,00");
    EXPECT_EQ(MoneyText(0.0L, ru), "0,00");
    EXPECT_EQ(MoneyText(100000.0L, en), "100,000.00");
    EXPECT_EQ(MoneyText(static_cast<long double>(1500.0f), en), "1,500.00");
    EXPECT_EQ(MoneyText(static_cast<long double>(0.1f), en), "0.10");
}

TEST(MoneyText, RoundsHalfUpToCents)
{
    EXPECT_EQ(MoneyText(0.005L, ru), "0,01");
    EXPECT_EQ(MoneyText(0.004999L, ru), "0,00");
    EXPECT_EQ(MoneyText(999.995L, ru), "1" + nbsp + "000,00");
    EXPECT_EQ(MoneyText(-0.001L, ru), "0,00");
}

TEST(MoneyText, KeepsTwelveSignificantDigitsThenFallsBackToTheGeneralText)
{
    EXPECT_EQ(MoneyText(1234567890.126L, en), "1,234,567,890.13");
    EXPECT_EQ(MoneyText(12345678901.126L, en), "12,345,678,901.10");
    EXPECT_EQ(MoneyText(123456789012.345L, en), "123,456,789,012.00");
    EXPECT_EQ(MoneyText(999999999999.5L, ru), "999999999999,5");  // rounds to 13 digits
    EXPECT_EQ(MoneyText(1234567890123.0L, ru), "1234567890123");
    EXPECT_EQ(MoneyText(1e20L, ru), "1E20");
}

TEST(RatioText, WritesFiveDecimalsWithoutGrouping)
{
    EXPECT_EQ(RatioText(0.1234567L, ru), "0,12346");
    EXPECT_EQ(RatioText(0.1234567L, en), "0.12346");
    EXPECT_EQ(RatioText(2.5L, ru), "2,50000");
    EXPECT_EQ(RatioText(0.0L, ru), "0,00000");
    EXPECT_EQ(RatioText(0.000005L, ru), "0,00001");
    EXPECT_EQ(RatioText(0.0000049L, ru), "0,00000");
    EXPECT_EQ(RatioText(-3.333333L, ru), "-3,33333");
    EXPECT_EQ(RatioText(1234567.123456L, ru), "1234567,12346");
    EXPECT_EQ(RatioText(123456789.123456L, ru), "123456789,12300");
    EXPECT_EQ(RatioText(1e13L, ru), "10000000000000");  // general text beyond 12 integer digits
    EXPECT_EQ(RatioText(-1e16L, ru), "-1E16");
}

TEST(DurationText, WritesHoursMinutesSecondsWithoutWrapping)
{
    const double second = 1.0 / 86400;
    EXPECT_EQ(DurationText(0.0, ru), "0:00:00");
    EXPECT_EQ(DurationText(1.04 * second, ru), "0:00:01");
    EXPECT_EQ(DurationText(155 * second, ru), "0:02:35");
    EXPECT_EQ(DurationText(155 * second, en), "0:02:35");
    EXPECT_EQ(DurationText(25.0 / 24, ru), "25:00:00");
    EXPECT_EQ(DurationText(100.0 / 24 + 61 * second, ru), "100:01:01");
    EXPECT_EQ(DurationText(-1.0, ru), "0:00:00");
    EXPECT_EQ(DurationText(std::nan(""), ru), "0:00:00");
    const NumberLocale dotted{",", " ", "."};
    EXPECT_EQ(DurationText(155 * second, dotted), "0.02.35");
}

TEST(DurationText, RoundsToMillisecondsBeforeDroppingThem)
{
    const double ms = 1.0 / 86400000;
    EXPECT_EQ(DurationText(59999.6 * ms, ru), "0:01:00");
    EXPECT_EQ(DurationText(59999.4 * ms, ru), "0:00:59");
    EXPECT_EQ(DurationText(999 * ms, ru), "0:00:00");
    // The start-up estimate: 200 × 4000 initiations after a calibration of 0.2 s.
    const long double calibration = 0.2L / 86400;
    EXPECT_EQ(DurationText(static_cast<double>(4000.0L * calibration * 200.0L / 154000.0L), ru), "0:00:01");
}

TEST(IntegerText, IsPlainDecimal)
{
    EXPECT_EQ(IntegerText(0), "0");
    EXPECT_EQ(IntegerText(4000), "4000");
    EXPECT_EQ(IntegerText(-2147483648LL), "-2147483648");
    EXPECT_EQ(IntegerText(1234567890123LL), "1234567890123");
}

TEST(AnalysisTexts, ProbabilitiesCountsAndPlaces)
{
    EXPECT_EQ(ProbabilityText(0.95678L, ru), "0,9568");
    EXPECT_EQ(ProbabilityText(0.000568901L, ru), "0,0005689");
    EXPECT_EQ(ProbabilityText(0.0001L, ru), "0,0001");
    EXPECT_EQ(ProbabilityText(0.00009999L, ru), "9,999E-5");
    EXPECT_EQ(ProbabilityText(2.1067e-45L, en), "2.107E-45");
    EXPECT_EQ(ProbabilityText(1.0L, ru), "1");
    EXPECT_EQ(ProbabilityText(0.0L, ru), "0");
    EXPECT_EQ(DecimalsText(4.75L, 1, ru), "4,8");
    EXPECT_EQ(DecimalsText(0.0L, 1, ru), "0,0");
    EXPECT_EQ(ApproximateCountText(87631.0L, ru), "88\u00A0000");
    EXPECT_EQ(ApproximateCountText(949.0L, en), "950");
    EXPECT_EQ(ApproximateCountText(8.76e40L, ru), "8,8E40");
}

// No probability below 1 reads "1", none above 0 reads "0"; and a value read back from its text
// is on the right side of 1.
TEST(AnalysisTexts, ProbabilitiesNearOneAndZeroKeepTheirSide)
{
    const struct {
        long double value;
        const char* text;
    } cases[] = {
        {0.99999984L, "0,9999998"},
        {0.99994999L, "0,9999"},
        {1 - 0x1p-40L, "0,999999999999"},
        {1 - 0x1p-64L, "0,999999999999999999"},
        {1.0L, "1"},
        {0x1p-16445L, "3,645E-4951"},  // the smallest subnormal
        {0.0L, "0"},
    };
    for (const auto& c : cases) {
        const std::string text = ProbabilityText(c.value, ru);
        EXPECT_EQ(text, c.text) << static_cast<double>(c.value);
        if (c.value > 0 && c.value < 1) {
            EXPECT_NE(text, "1");
            EXPECT_NE(text, "0");
        }
    }
}

// Benefits and ratios keep their sign and size.
TEST(SignificantText, SixSignificantDigitsNeverAboveTheUnits)
{
    const struct {
        long double value;
        const char* text;
    } cases[] = {
        {-156.10043821582147L, "-156,1"},  // the harmful fence on the example: -156,10 in money
        {-1.6e-8L, "-1,6E-8"},
        {-3.4688986270182549e-11L, "-3,4689E-11"},
        {5000.0L, "5\u00A0000"},
        {1234567.89L, "1\u00A0234\u00A0568"},
        {0.000123456789L, "0,000123457"},
        {0.0L, "0"},
        {1e25L, "1E25"},
    };
    for (const auto& c : cases) EXPECT_EQ(SignificantText(c.value, ru), c.text) << static_cast<double>(c.value);
}

}  // namespace
