// The number conventions of kestal-sim's output.
#include "cli/OutputLocale.h"

#include <clocale>
#include <cstdlib>

namespace {

NumberLocale UserNumberLocale() {
    NumberLocale locale = EnglishNumberLocale();
    if (std::setlocale(LC_NUMERIC, "")) {
        const std::lconv* conventions = std::localeconv();
        locale.decimalSeparator = conventions->decimal_point;
        locale.groupSeparator = conventions->thousands_sep;
    } else {
        // Not installed: go by the language of the locale's name.
        for (const char* variable : {"LC_ALL", "LC_NUMERIC", "LANG"}) {
            const char* value = std::getenv(variable);
            if (!value || !*value) continue;
            if (std::string(value).rfind("ru", 0) == 0) locale = RussianNumberLocale();
            break;
        }
    }
    std::setlocale(LC_NUMERIC, "C");
    return locale;
}

}  // namespace

NumberLocale OutputNumberLocale(const std::string& format) {
    return format == "table" ? UserNumberLocale() : EnglishNumberLocale();
}
