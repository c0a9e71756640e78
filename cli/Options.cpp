// Parsing of the shared kestal-sim options and the simulation set up from them.
#include "cli/Options.h"

#include <algorithm>
#include <clocale>
#include <cstdlib>

#include "common/Conversions.h"

const std::string& ArgumentReader::TakeValue(const std::string& option) {
    if (AtEnd()) throw UsageError("option " + option + " needs a value");
    return Take();
}

int LevelItemOfNumber(const std::string& numberText, const std::string& option, const std::string& value) {
    const int32_t number = ParseInteger(numberText);
    if (number < 1 || number > LevelCount)
        throw UsageError("level number must be 1 to 11 in " + option + " " + value);
    return number - 1;
}

namespace {

// "H01=8": the factor and the item index 7 of level number 8.
std::pair<const FactorInfo*, int> ParseLevelOption(const std::string& text) {
    const auto equals = text.find('=');
    if (equals == std::string::npos) throw UsageError("--level expects ID=NUMBER, got '" + text + "'");
    const std::string id = text.substr(0, equals);
    const FactorInfo* factor = FindFactor(id);
    if (!factor) throw UsageError("unknown factor id '" + id + "' in --level " + text);
    return {factor, LevelItemOfNumber(text.substr(equals + 1), "--level", text)};
}

int32_t ParseSeed(const std::string& text) {
    const int32_t seed = ParseInteger(text);
    if (seed < 0 || seed > 86399999) throw UsageError("--seed must be 0 to 86399999");
    return seed;
}

}  // namespace

bool TakeSimulationOption(ArgumentReader& reader, const std::string& arg, SimulationOptions& options,
                          const std::vector<std::string>& formats) {
    if (arg == "-K") {
        options.kText = reader.TakeValue(arg);
    } else if (arg == "-N") {
        options.nText = reader.TakeValue(arg);
    } else if (arg == "--seed") {
        options.seed = ParseSeed(reader.TakeValue(arg));
    } else {
        return TakeRatingOption(reader, arg, options, formats);
    }
    return true;
}

bool TakeRatingOption(ArgumentReader& reader, const std::string& arg, SimulationOptions& options,
                      const std::vector<std::string>& formats) {
    if (arg == "--level") {
        options.levels.push_back(ParseLevelOption(reader.TakeValue(arg)));
    } else if (arg == "--format") {
        options.format = reader.TakeValue(arg);
        if (std::find(formats.begin(), formats.end(), options.format) == formats.end())
            throw UsageError("unknown format '" + options.format + "'");
    } else {
        return false;
    }
    return true;
}

SimulationOptions ParseSimulationOptions(const std::vector<std::string>& args, OptionTaker take,
                                         const std::vector<std::string>& formats) {
    SimulationOptions options;
    ArgumentReader reader(args);
    while (!reader.AtEnd()) {
        const std::string& arg = reader.Take();
        if (!take(reader, arg, options, formats)) throw UsageError("unknown option '" + arg + "'");
    }
    return options;
}

CommandSession OpenSession(const SimulationOptions& options, const NumberLocale& displayLocale) {
    CommandSession opened;
    const Clock* clock = &SystemClock();
    if (options.seed) {
        opened.fixedClock = std::make_unique<FixedClock>(*options.seed);
        clock = opened.fixedClock.get();
    }
    opened.session = std::make_unique<Session>(clock, EnglishNumberLocale(), displayLocale);
    for (const auto& [factor, item] : options.levels) opened.session->SelectLevel(CatalogueIndex(*factor), item);
    opened.session->SetKText(options.kText);
    opened.session->SetNText(options.nText);
    return opened;
}

NumberLocale UserNumberLocale() {
    // Where the user's locale is installed, the C library knows its separators.
    if (const char* name = std::setlocale(LC_NUMERIC, ""); name && std::string(name) != "C") {
        const std::lconv* conventions = std::localeconv();
        NumberLocale locale = EnglishNumberLocale();
        locale.decimalSeparator = conventions->decimal_point;
        locale.groupSeparator = conventions->thousands_sep;
        std::setlocale(LC_NUMERIC, "C");
        return locale;
    }
    std::setlocale(LC_NUMERIC, "C");
    // Otherwise go by the language of the locale's name.
    for (const char* variable : {"LC_ALL", "LC_NUMERIC", "LANG"}) {
        const char* value = std::getenv(variable);
        if (!value || !*value) continue;
        if (std::string(value).rfind("ru", 0) == 0) return RussianNumberLocale();
        break;
    }
    return EnglishNumberLocale();
}

NumberLocale OutputNumberLocale(const std::string& format) {
    return format == "table" ? UserNumberLocale() : EnglishNumberLocale();
}
