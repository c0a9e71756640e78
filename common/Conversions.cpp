// Text to number conversions: integers and extended floats, with the system's error texts.
#include "common/Conversions.h"

#include <cmath>
#include <cstdlib>

#include "common/CLocale.h"
#include "common/KestalError.h"

namespace kestal {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Appends the run of decimal digits at text[pos...] to `out`; returns how many there were.
std::size_t TakeDigits(const std::string& text, std::size_t& pos, std::string& out)
{
    const std::size_t start = pos;
    while (pos < text.size() && IsDigit(text[pos])) out += text[pos++];
    return pos - start;
}

// Steps over an optional sign at text[pos], appending a minus sign to `out`.
void TakeSign(const std::string& text, std::size_t& pos, std::string& out)
{
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        if (text[pos] == '-') out += '-';
        ++pos;
    }
}

void SkipBlanks(const std::string& text, std::size_t& pos)
{
    while (pos < text.size() && text[pos] == ' ') ++pos;
}

}  // namespace

int32_t ParseInteger(const std::string& text)
{
    std::size_t pos = 0;
    SkipBlanks(text, pos);
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) negative = text[pos++] == '-';
    if (pos == text.size()) throw KestalError(ErrorText::NotAnInteger(text));
    // Accumulate the magnitude; 2^31 itself is allowed only with a minus sign.
    const int64_t limit = negative ? 2147483648LL : 2147483647LL;
    int64_t magnitude = 0;
    for (; pos < text.size(); ++pos) {
        if (!IsDigit(text[pos])) throw KestalError(ErrorText::NotAnInteger(text));
        magnitude = magnitude * 10 + (text[pos] - '0');
        if (magnitude > limit) throw KestalError(ErrorText::NotAnInteger(text));
    }
    return static_cast<int32_t>(negative ? -magnitude : magnitude);
}

std::optional<int32_t> IntegerIfValid(const std::string& text)
{
    try {
        return ParseInteger(text);
    } catch (const KestalError&) {
        return std::nullopt;
    }
}

long double ParseFloat(const std::string& text, const NumberLocale& locale)
{
    const std::string& separator = locale.decimalSeparator;
    // The number is copied in the neutral form [-]digits[.digits]e[-]digits and read exactly.
    std::string neutral;
    std::size_t pos = 0;
    SkipBlanks(text, pos);
    TakeSign(text, pos, neutral);
    std::size_t mantissaDigits = TakeDigits(text, pos, neutral);
    if (!separator.empty() && text.compare(pos, separator.size(), separator) == 0) {
        pos += separator.size();
        neutral += '.';
        mantissaDigits += TakeDigits(text, pos, neutral);
    }
    if (mantissaDigits == 0) throw KestalError(ErrorText::NotAFloat(text));
    if (pos < text.size() && (text[pos] == 'E' || text[pos] == 'e')) {
        ++pos;
        neutral += 'e';
        TakeSign(text, pos, neutral);
        if (TakeDigits(text, pos, neutral) == 0) throw KestalError(ErrorText::NotAFloat(text));
    }
    SkipBlanks(text, pos);
    if (pos != text.size()) throw KestalError(ErrorText::NotAFloat(text));

    // Read in the "C" locale, whatever the process locale is. strtold rounds correctly (to
    // nearest, ties to even); a result too small for extended becomes zero or a subnormal, one too
    // large is an infinity and not a valid value.
    const long double value = strtold_l(neutral.c_str(), nullptr, NeutralCLocale());
    if (std::isinf(value)) throw KestalError(ErrorText::NotAFloat(text));
    return value;
}

}  // namespace kestal
