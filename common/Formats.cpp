// Number and time texts: fixed, general, money and ratio formats, the duration, integers.
//
// Every number format works on one decimal conversion of the extended value: its 18 significant
// digits, exact and rounded to nearest with ties to even. That digit string is then rounded half
// up, once, to the format's precision or to its number of decimals, whichever keeps fewer digits.
#include "common/Formats.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "common/CLocale.h"

namespace kestal {

namespace {

constexpr int ConversionDigits = 18;
constexpr int GeneralPrecision = 15;
constexpr int ProbabilityPrecision = 4;
constexpr int TotalsPrecision = 12;
constexpr int FixedDecimals = 14;

// value = 0.d1 d2 ... dn × 10^exponent, with d1 != 0 and no trailing zeros; no digits means zero.
struct Decimal {
    bool negative = false;
    std::string digits;
    int exponent = 0;
};

void DropTrailingZeros(Decimal& d)
{
    while (!d.digits.empty() && d.digits.back() == '0') d.digits.pop_back();
    if (d.digits.empty()) d = Decimal{};
}

// The exact decimal value of a finite extended number, rounded to 18 significant digits with ties
// to even (the C library's conversion is exact and honours the rounding mode, which is to nearest).
Decimal ToDecimal(long double value)
{
    Decimal d;
    if (value == 0.0L) return d;
    char text[64];
    // In the "C" locale, so that the process locale cannot change the decimal point.
    const locale_t previous = uselocale(NeutralCLocale());
    std::snprintf(text, sizeof text, "%.*Le", ConversionDigits - 1, std::fabs(value));
    uselocale(previous);
    // text is "d.ddddddddddddddddde±x".
    d.negative = std::signbit(value);
    d.digits = std::string(1, text[0]) + std::string(text + 2, ConversionDigits - 1);
    d.exponent = std::atoi(text + ConversionDigits + 2) + 1;
    DropTrailingZeros(d);
    return d;
}

// Keeps the first `count` digits, rounding half up on the next one; count <= 0 keeps none, so the
// value becomes zero or, when the first dropped digit is 5 or more, one unit of the kept place.
void RoundDigits(Decimal& d, int count)
{
    if (count >= static_cast<int>(d.digits.size())) return;
    const bool up = count >= 0 && d.digits[count] >= '5';
    d.digits.resize(std::max(count, 0));
    if (!up) {
        DropTrailingZeros(d);
        return;
    }
    int i = static_cast<int>(d.digits.size()) - 1;
    while (i >= 0 && d.digits[i] == '9') d.digits[i--] = '0';
    if (i >= 0) {
        ++d.digits[i];
    } else {
        d.digits.insert(d.digits.begin(), '1');
        ++d.exponent;
    }
    DropTrailingZeros(d);
}

// Rounds to `precision` significant digits but no further than `decimals` places after the point.
void RoundTo(Decimal& d, int precision, int decimals)
{
    if (!d.digits.empty()) RoundDigits(d, std::min(precision, d.exponent + decimals));
}

std::string IntegerPart(const Decimal& d)
{
    if (d.exponent <= 0) return "0";
    std::string part = d.digits.substr(0, d.exponent);
    part.resize(d.exponent, '0');
    return part;
}

// The digits after the point, without trailing zeros.
std::string FractionPart(const Decimal& d)
{
    if (static_cast<int>(d.digits.size()) <= d.exponent) return "";
    if (d.exponent >= 0) return d.digits.substr(d.exponent);
    return std::string(-d.exponent, '0') + d.digits;
}

std::string Grouped(const std::string& integer, const std::string& separator)
{
    std::string out;
    for (std::size_t i = 0; i < integer.size(); ++i) {
        if (i > 0 && (integer.size() - i) % 3 == 0) out += separator;
        out += integer[i];
    }
    return out;
}

std::string Sign(const Decimal& d) { return d.negative && !d.digits.empty() ? "-" : ""; }

// Fixed notation with exactly `decimals` places, the integer part grouped when a separator is given.
std::string FixedNotation(const Decimal& d, int decimals, const std::string& group, const NumberLocale& locale)
{
    std::string fraction = FractionPart(d);
    fraction.resize(decimals, '0');
    const std::string integer = IntegerPart(d);
    return Sign(d) + (group.empty() ? integer : Grouped(integer, group)) + locale.decimalSeparator + fraction;
}

std::string NonFiniteText(long double value)
{
    if (std::isnan(value)) return "NAN";
    return value < 0 ? "-INF" : "INF";
}

// The fixed formats: `precision` significant digits, then exactly `decimals` places; beyond
// `precision` integer digits the general text.
std::string FixedOrGeneral(long double value, int precision, int decimals, const std::string& group,
                           const NumberLocale& locale)
{
    if (!std::isfinite(value)) return NonFiniteText(value);
    Decimal d = ToDecimal(value);
    RoundTo(d, precision, decimals);
    if (d.exponent > precision) return GeneralText(value, locale);
    return FixedNotation(d, decimals, group, locale);
}

// `precision` significant digits, trailing zeros dropped; fixed notation while the value, written
// 0.d × 10^exponent, has an exponent from `lowestFixed` to `precision`, otherwise scientific:
// "1,5E-7", "1E20".
std::string ShortestText(long double value, int precision, int lowestFixed, const NumberLocale& locale)
{
    if (!std::isfinite(value)) return NonFiniteText(value);
    Decimal d = ToDecimal(value);
    RoundDigits(d, precision);
    if (d.digits.empty()) return "0";
    if (d.exponent >= lowestFixed && d.exponent <= precision) {
        const std::string fraction = FractionPart(d);
        return Sign(d) + IntegerPart(d) + (fraction.empty() ? "" : locale.decimalSeparator + fraction);
    }
    const std::string rest = d.digits.substr(1);
    return Sign(d) + d.digits.substr(0, 1) + (rest.empty() ? "" : locale.decimalSeparator + rest) + "E" +
           std::to_string(d.exponent - 1);
}

}  // namespace

std::string FixedText(long double value, const NumberLocale& locale)
{
    return FixedOrGeneral(value, ConversionDigits, FixedDecimals, "", locale);
}

std::string GeneralText(long double value, const NumberLocale& locale)
{
    // Fixed notation from 0.00001 (exponent -4) up to 15 integer digits.
    return ShortestText(value, GeneralPrecision, -4, locale);
}

std::string ProbabilityText(long double value, const NumberLocale& locale)
{
    // Fixed notation from 0.0001 (exponent -3). Near 1, more digits until the text stays below 1;
    // a value within 10^-18 of 1 is its 18 digits truncated, all nines.
    if (std::isfinite(value) && value < 1.0L && value > 0.5L) {
        for (int precision = ProbabilityPrecision; precision <= ConversionDigits; ++precision) {
            Decimal d = ToDecimal(value);
            RoundDigits(d, precision);
            if (d.exponent <= 0) return ShortestText(value, precision, -3, locale);
        }
        return "0" + locale.decimalSeparator + std::string(ConversionDigits, '9');
    }
    return ShortestText(value, ProbabilityPrecision, -3, locale);
}

std::string SignificantText(long double value, const NumberLocale& locale)
{
    constexpr int Precision = 6;
    if (!std::isfinite(value)) return NonFiniteText(value);
    Decimal d = ToDecimal(value);
    RoundDigits(d, std::max(Precision, d.exponent));
    if (d.digits.empty()) return "0";
    if (d.exponent < -3 || d.exponent > ConversionDigits) return ShortestText(value, Precision, -3, locale);
    const std::string fraction = FractionPart(d);
    return Sign(d) + Grouped(IntegerPart(d), locale.groupSeparator) +
           (fraction.empty() ? "" : locale.decimalSeparator + fraction);
}

std::string DecimalsText(long double value, int decimals, const NumberLocale& locale)
{
    return FixedOrGeneral(value, ConversionDigits, decimals, "", locale);
}

std::string ApproximateCountText(long double value, const NumberLocale& locale)
{
    constexpr int Digits = 2;
    constexpr int LargestFixedExponent = 15;
    if (!std::isfinite(value)) return NonFiniteText(value);
    Decimal d = ToDecimal(value);
    RoundDigits(d, Digits);
    if (d.exponent > LargestFixedExponent) return ShortestText(value, Digits, 1, locale);
    return Sign(d) + Grouped(IntegerPart(d), locale.groupSeparator);
}

std::string MoneyText(long double value, const NumberLocale& locale)
{
    return FixedOrGeneral(value, TotalsPrecision, 2, locale.groupSeparator, locale);
}

std::string RatioText(long double value, const NumberLocale& locale)
{
    return FixedOrGeneral(value, TotalsPrecision, 5, "", locale);
}

std::string DurationText(double days, const NumberLocale& locale)
{
    // Whole milliseconds, half away from zero; a negative (or undefined) duration reads as zero and
    // one beyond the 64-bit millisecond range as the largest it can hold.
    const long double rounded = std::round(static_cast<long double>(days) * 86'400'000.0L);
    uint64_t ms = 0;
    if (rounded >= 18446744073709551616.0L)
        ms = UINT64_MAX;
    else if (rounded > 0)
        ms = static_cast<uint64_t>(rounded);
    const uint64_t seconds = ms / 1000;
    auto twoDigits = [](uint64_t n) { return std::string(1, char('0' + n / 10)) + char('0' + n % 10); };
    return std::to_string(seconds / 3600) + locale.timeSeparator + twoDigits(seconds / 60 % 60) + locale.timeSeparator +
           twoDigits(seconds % 60);
}

std::string IntegerText(int64_t value) { return std::to_string(value); }

}  // namespace kestal
