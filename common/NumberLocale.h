// The user's number and time conventions, handed to the logic as plain data.
#pragma once

#include <string>

namespace kestal {

struct NumberLocale {
    std::string decimalSeparator = ".";  // UTF-8, usually one character
    std::string groupSeparator = ",";    // UTF-8; a no-break space (U+00A0) under a Russian locale
    std::string timeSeparator = ":";
};

// "." / "," / ":" — the conventions of machine-readable output and of an English locale.
inline NumberLocale EnglishNumberLocale() { return {".", ",", ":"}; }
// "," / U+00A0 / ":" — a Russian locale.
inline NumberLocale RussianNumberLocale() { return {",", "\u00A0", ":"}; }

// The conventions Kestal writes numbers in under the locale named `localeName` (as LC_NUMERIC or
// the toolkit names it, e.g. "ru_RU.UTF-8", "ru_RU", "C.UTF-8"), given what the locale's own data
// say: the window and kestal-sim both go through here, so that they write the same texts. The C
// and POSIX locales ("C", "C.UTF-8", "POSIX"): "." and no grouping. Elsewhere the locale's decimal
// separator, and its group separator, except that every kind of space (U+0020, U+00A0, U+2007,
// U+2009, U+202F) is written as the no-break space U+00A0.
NumberLocale ConventionsOf(const std::string& localeName, std::string decimalSeparator, std::string groupSeparator,
                           std::string timeSeparator = ":");

}  // namespace kestal
