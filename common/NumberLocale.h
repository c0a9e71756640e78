// The user's number and time conventions, handed to the logic as plain data.
#pragma once

#include <string>

struct NumberLocale {
    std::string decimalSeparator = ".";  // UTF-8, usually one character
    std::string groupSeparator = ",";    // UTF-8; a no-break space (U+00A0) under a Russian locale
    std::string timeSeparator = ":";
};

// "." / "," / ":" — the conventions of machine-readable output and of an English locale.
inline NumberLocale EnglishNumberLocale() { return {".", ",", ":"}; }
// "," / U+00A0 / ":" — a Russian locale.
inline NumberLocale RussianNumberLocale() { return {",", "\u00A0", ":"}; }
