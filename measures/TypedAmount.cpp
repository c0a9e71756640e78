// Amounts of money read once from the text that was typed.
#include "measures/TypedAmount.h"

#include "common/Conversions.h"
#include "common/KestalError.h"

namespace kestal {

long double TypedAmount::Number() const
{
    if (!value) throw KestalError(ErrorText::NotAFloat(text));
    return *value;
}

TypedAmount ReadAmount(const std::string& text, const NumberLocale& locale)
{
    try {
        return {ParseFloat(text, locale), text};
    } catch (const KestalError&) {
        return {std::nullopt, text};
    }
}

}  // namespace kestal
