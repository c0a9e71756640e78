// Parsing of the shared kestal-sim options.
#include "cli/Options.h"

#include <algorithm>

namespace kestal {

const std::string& ArgumentReader::TakeValue(const std::string& option)
{
    if (AtEnd()) throw UsageError("option " + option + " needs a value");
    return Take();
}

LevelChange ParseLevelChange(const std::string& subject, const std::string& entry)
{
    const auto equals = entry.find('=');
    if (equals == std::string::npos) throw UsageError(subject + ": expected ID=NUMBER, got '" + entry + "'");
    const std::string id = entry.substr(0, equals);
    const FactorInfo* factor = FindFactor(id);
    if (!factor) throw UsageError(subject + ": unknown factor id '" + id + "'");
    const std::string range = "a level number is 1 to " + std::to_string(LevelCount);
    const int32_t number = IntegerOf(subject, entry.substr(equals + 1), range);
    if (number < 1 || number > LevelCount) throw UsageError(subject + ": " + range);
    return {factor, number - 1};
}

namespace {

constexpr int32_t LastSeed = 86'399'999;

int32_t ParseSeed(const std::string& text)
{
    const std::string subject = Subject("--seed", text);
    const std::string range = "the seed is 0 to " + std::to_string(LastSeed);
    const int32_t seed = IntegerOf(subject, text, range);
    if (seed < 0 || seed > LastSeed) throw UsageError(subject + ": " + range);
    return seed;
}

// "table, csv or json".
std::string Alternatives(const std::vector<std::string>& formats)
{
    std::string text;
    for (std::size_t i = 0; i < formats.size(); ++i)
        text += (i == 0 ? "" : i + 1 == formats.size() ? " or " : ", ") + formats[i];
    return text;
}

}  // namespace

bool TakeSimulationOption(ArgumentReader& reader, const std::string& arg, SimulationOptions& options,
                          const std::vector<std::string>& formats)
{
    if (arg == "-K")
        options.kText = reader.TakeValue(arg);
    else if (arg == "-N")
        options.nText = reader.TakeValue(arg);
    else if (arg == "--seed")
        options.seed = ParseSeed(reader.TakeValue(arg));
    else
        return TakeRatingOption(reader, arg, options, formats);
    return true;
}

bool TakeRatingOption(ArgumentReader& reader, const std::string& arg, SimulationOptions& options,
                      const std::vector<std::string>& formats)
{
    if (arg == "--project") {
        options.project = reader.TakeValue(arg);
    } else if (arg == "--level") {
        const std::string& entry = reader.TakeValue(arg);
        options.levels.push_back(ParseLevelChange(Subject(arg, entry), entry));
    } else if (arg == "--format") {
        options.format = reader.TakeValue(arg);
        if (std::find(formats.begin(), formats.end(), options.format) == formats.end())
            throw UsageError(Subject(arg, options.format) + ": expected " + Alternatives(formats));
    } else {
        return false;
    }
    return true;
}

SimulationOptions ParseSimulationOptions(const std::vector<std::string>& args, OptionTaker take,
                                         const std::vector<std::string>& formats)
{
    SimulationOptions options;
    ArgumentReader reader(args);
    while (!reader.AtEnd()) {
        const std::string& arg = reader.Take();
        if (!take(reader, arg, options, formats)) throw UsageError("unknown option '" + arg + "'");
    }
    return options;
}

}  // namespace kestal
