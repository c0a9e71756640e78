// The assessment a kestal-sim command works on, and the clock its runs read.
#include "cli/CommandAssessment.h"

#include <limits>

#include "network/Series.h"
#include "project/ProjectFile.h"

namespace kestal {

Assessment OpenAssessment(const SimulationOptions& options)
{
    Assessment assessment = options.project ? OpenProjectFile(*options.project).assessment : Assessment{};
    for (const auto& [factor, item] : options.levels) assessment.Rate(CatalogueIndex(*factor), item);
    if (options.kText) assessment.SetKText(*options.kText);
    if (options.nText) assessment.SetNText(*options.nText);
    return assessment;
}

CommandClock::CommandClock(const SimulationOptions& options)
{
    if (options.seed) fixed_.emplace(*options.seed);
}

const Clock& CommandClock::clock() const { return fixed_ ? static_cast<const Clock&>(*fixed_) : SystemClock(); }

std::string SettingSubject(const SimulationOptions& options, bool given, const std::string& option,
                           const std::string& key, const std::string& text)
{
    if (given || !options.project) return Subject(option, text);
    return *options.project + ": " + Subject(key, text);
}

void CheckRunSize(const Assessment& assessment, const SimulationOptions& options)
{
    const std::string k = SettingSubject(options, options.kText.has_value(), "-K", "k", assessment.kText);
    const std::string n = SettingSubject(options, options.nText.has_value(), "-N", "n", assessment.nText);
    const int32_t kValue = IntegerOf(k, assessment.kText, "K is 1 to " + std::to_string(MaxExperiments));
    const int32_t nValue =
        IntegerOf(n, assessment.nText, "N is 1 to " + std::to_string(std::numeric_limits<int32_t>::max()));
    Attributed(k, [&] { CheckRunParameters(kValue, 1); });
    Attributed(n, [&] { CheckRunParameters(1, nValue); });
}

}  // namespace kestal
