// Amounts of money (costs, budget, damage) between the texts a user types, the numbers a session
// holds and the JSON numbers a project file writes.
#pragma once

#include <optional>
#include <string>

#include "common/NumberLocale.h"

namespace kestal {

// The amount a typed text holds, read as the study reads it (the locale's decimal separator, an
// optional exponent, extended precision); none where the text is no number.
std::optional<long double> AmountOf(const std::string& text, const NumberLocale& locale);

// The amount as a JSON number: "." and the fewest digits that read back as the same extended value
// (fixed from 0.00001 to below 10^15, otherwise with an exponent; minus zero as "-0.0").
std::string AmountLiteral(long double amount);

// The amount as the user would type it: the fewest digits that read back as it, with the locale's
// decimal separator, no grouping, and "E" before an exponent ("1,5E20").
std::string AmountText(long double amount, const NumberLocale& locale);
// The same for a single-precision amount (a captured measure's cost): the fewest digits of the single.
std::string AmountText(float amount, const NumberLocale& locale);

}  // namespace kestal
