// Number and time texts as the result grid, the listings, the totals table and the estimates show them.
#pragma once

#include <cstdint>
#include <string>

#include "common/NumberLocale.h"

namespace kestal {

// Result grid: rounded to 18 significant digits (ties to even), then to 14 decimals (half up);
// at least one integer digit, exactly 14 decimals, no grouping: 0,75312500000000.
std::string FixedText(long double value, const NumberLocale& locale);

// Listings: 15 significant digits, trailing zeros dropped; fixed notation while the decimal
// exponent is below 15 and the magnitude is at least 0.00001 (or the value is 0), otherwise
// scientific: "1,5E-7", "1E20".
std::string GeneralText(long double value, const NumberLocale& locale);

// Probabilities of the exact analysis: 4 significant digits, trailing zeros dropped; fixed notation
// from 0.0001 up, scientific below: "0,0005478", "2,107E-45". A value below 1 never reads "1": it
// keeps as many digits as it needs to stay below ("0,9999998"), and a value above 0 never reads "0".
std::string ProbabilityText(long double value, const NumberLocale& locale);

// Benefits and ratios of the analysis, sign and size kept: 6 significant digits but never rounded
// above the units, trailing zeros dropped, the integer part grouped; below 0.0001 in magnitude, or
// beyond 18 integer digits, scientific: "-156,1", "5 000", "1 234 567", "-1,6E-8".
std::string SignificantText(long double value, const NumberLocale& locale);

// Exactly `decimals` places, no grouping: "4,8".
std::string DecimalsText(long double value, int decimals, const NumberLocale& locale);

// An estimated count: 2 significant digits, grouped ("88 000"); from 10^15 on, scientific ("8,8E40").
std::string ApproximateCountText(long double value, const NumberLocale& locale);

// Money in the totals table: 12 significant digits, then 2 decimals, with grouping.
std::string MoneyText(long double value, const NumberLocale& locale);

// Ratios in the totals table: 12 significant digits, then 5 decimals, no grouping.
std::string RatioText(long double value, const NumberLocale& locale);

// Run-time estimate: a duration given as a fraction of a day, written H:mm:ss (hours not padded,
// running on past 24), milliseconds dropped, with the locale's time separator.
std::string DurationText(double days, const NumberLocale& locale);

// Integers in plain decimal.
std::string IntegerText(int64_t value);

}  // namespace kestal
