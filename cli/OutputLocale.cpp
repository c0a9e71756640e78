// The number conventions of kestal-sim's output.
#include "cli/OutputLocale.h"

#include <clocale>
#include <cstdlib>
#include <string>

namespace kestal {

namespace {

// The locale LC_NUMERIC takes from the environment, as the C library resolves it.
std::string NumericLocaleName()
{
    for (const char* variable : {"LC_ALL", "LC_NUMERIC", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value && *value) return value;
    }
    return "C";
}

NumberLocale UserNumberLocale()
{
    const std::string name = NumericLocaleName();
    NumberLocale locale;
    if (std::setlocale(LC_NUMERIC, "")) {
        const std::lconv* conventions = std::localeconv();
        locale = ConventionsOf(name, conventions->decimal_point, conventions->thousands_sep);
    } else {
        // Not installed: go by the language of the locale's name.
        const NumberLocale language = name.rfind("ru", 0) == 0 ? RussianNumberLocale() : EnglishNumberLocale();
        locale = ConventionsOf(name, language.decimalSeparator, language.groupSeparator);
    }
    std::setlocale(LC_NUMERIC, "C");
    return locale;
}

}  // namespace

NumberLocale OutputNumberLocale(const std::string& format)
{
    return format == "table" ? UserNumberLocale() : EnglishNumberLocale();
}

}  // namespace kestal
