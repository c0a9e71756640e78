// JSON string literals and numbers for kestal-sim's machine-readable output.
#pragma once

#include <string>

namespace kestal {

// `text` (UTF-8) as a quoted JSON string.
std::string JsonString(const std::string& text);

// `value` with 17 significant digits and "." as the decimal separator, whatever the locale
// ("0.00056893174558283741", "2.1019476964872256e-45", "300"); null when it is not finite.
std::string JsonNumber(long double value);

}  // namespace kestal
