// Text to number conversions that raise the system's messages on bad input.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "common/NumberLocale.h"

namespace kestal {

// Optional leading blanks, an optional sign and decimal digits; the value must fit a signed
// 32-bit integer. Anything else throws KestalError("'<text>' is not a valid integer value").
int32_t ParseInteger(const std::string& text);
// The same, with no value instead of the error: for texts that are shown while typed.
std::optional<int32_t> IntegerIfValid(const std::string& text);

// Decimal number with the locale's decimal separator and an optional exponent ("1,5E3");
// leading and trailing blanks allowed. Anything else throws
// KestalError("'<text>' is not a valid floating point value"). The result is extended.
long double ParseFloat(const std::string& text, const NumberLocale& locale);

}  // namespace kestal
