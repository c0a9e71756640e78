// The one decision on the number conventions Kestal writes under a locale.
#include "common/NumberLocale.h"

namespace kestal {

namespace {

bool IsCLocale(const std::string& name)
{
    return name.empty() || name == "C" || name == "POSIX" || name.starts_with("C.") || name.starts_with("POSIX.");
}

bool IsSpace(const std::string& separator)
{
    for (const char* space : {" ", "\u00A0", "\u2007", "\u2009", "\u202F"})
        if (separator == space) return true;
    return false;
}

}  // namespace

NumberLocale ConventionsOf(const std::string& localeName, std::string decimalSeparator, std::string groupSeparator,
                           std::string timeSeparator)
{
    if (timeSeparator.empty()) timeSeparator = ":";
    if (IsCLocale(localeName)) return {".", "", timeSeparator};
    if (decimalSeparator.empty()) decimalSeparator = ".";
    if (IsSpace(groupSeparator)) groupSeparator = "\u00A0";
    return {decimalSeparator, groupSeparator, timeSeparator};
}

}  // namespace kestal
