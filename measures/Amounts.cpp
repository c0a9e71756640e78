// Amounts of money as texts, numbers and JSON numbers.
#include "measures/Amounts.h"

#include <charconv>
#include <cmath>

#include "measures/TypedAmount.h"

namespace kestal {

namespace {

bool FixedRange(long double magnitude) { return magnitude == 0.0L || (magnitude >= 1e-5L && magnitude < 1e15L); }

// The fewest digits that read back as `amount`, "." as the separator; "e+20" style exponents.
template <class Number>
std::string ShortestText(Number amount)
{
    char text[128];
    const auto format = FixedRange(std::fabs(static_cast<long double>(amount))) ? std::chars_format::fixed
                                                                                : std::chars_format::scientific;
    return std::string(text, std::to_chars(text, text + sizeof text, amount, format).ptr);
}

// "1.5e+20" as typed: "1,5E20".
template <class Number>
std::string TypedText(Number amount, const NumberLocale& locale)
{
    const std::string shortest = ShortestText(amount);
    std::string typed;
    for (std::size_t i = 0; i < shortest.size(); ++i) {
        const char c = shortest[i];
        if (c == '.')
            typed += locale.decimalSeparator;
        else if (c == 'e')
            typed += 'E';
        else if (!(c == '+' && i > 0 && shortest[i - 1] == 'e'))
            typed += c;
    }
    return typed;
}

}  // namespace

std::optional<long double> AmountOf(const std::string& text, const NumberLocale& locale)
{
    return ReadAmount(text, locale).value;
}

std::string AmountLiteral(long double amount)
{
    if (amount == 0.0L && std::signbit(amount)) return "-0.0";
    return ShortestText(amount);
}

std::string AmountText(long double amount, const NumberLocale& locale) { return TypedText(amount, locale); }

std::string AmountText(float amount, const NumberLocale& locale) { return TypedText(amount, locale); }

}  // namespace kestal
