// An amount of money as typed into a field: the text, and the number read from it once, where it entered.
#pragma once

#include <optional>
#include <string>

#include "common/NumberLocale.h"

namespace kestal {

struct TypedAmount {
    std::optional<long double> value;  // none while the text is no number
    std::string text;                  // as typed: shown, and named by the messages about it
    // The number; for a text that is no number, the conversion error that names the text.
    long double Number() const;
    bool operator==(const TypedAmount&) const = default;
};

// The text read with the locale's decimal separator and an optional exponent, in extended precision.
TypedAmount ReadAmount(const std::string& text, const NumberLocale& locale);

}  // namespace kestal
