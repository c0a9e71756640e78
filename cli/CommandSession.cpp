// The session a kestal-sim command works on.
#include "cli/CommandSession.h"

#include <limits>

#include "network/Series.h"
#include "project/ProjectFile.h"

namespace kestal {

CommandSession OpenSession(const SimulationOptions& options, const NumberLocale& displayLocale)
{
    CommandSession opened;
    const Clock* clock = &SystemClock();
    if (options.seed) {
        opened.fixedClock = std::make_unique<FixedClock>(*options.seed);
        clock = opened.fixedClock.get();
    }
    opened.session = std::make_unique<Session>(clock, CommandLineNumbers(), displayLocale);
    Session& session = *opened.session;
    if (options.project) session.Load(OpenProjectFile(*options.project));
    for (const auto& [factor, item] : options.levels) session.SelectLevel(CatalogueIndex(*factor), item);
    if (options.kText) session.SetKText(*options.kText);
    if (options.nText) session.SetNText(*options.nText);
    return opened;
}

std::string SettingSubject(const SimulationOptions& options, bool given, const std::string& option,
                           const std::string& key, const std::string& text)
{
    if (given || !options.project) return Subject(option, text);
    return *options.project + ": " + Subject(key, text);
}

void CheckRunSize(const Session& session, const SimulationOptions& options)
{
    const SessionState& state = session.state();
    const std::string k = SettingSubject(options, options.kText.has_value(), "-K", "k", state.kText);
    const std::string n = SettingSubject(options, options.nText.has_value(), "-N", "n", state.nText);
    const int32_t kValue = IntegerOf(k, state.kText, "K is 1 to " + std::to_string(MaxExperiments));
    const int32_t nValue =
        IntegerOf(n, state.nText, "N is 1 to " + std::to_string(std::numeric_limits<int32_t>::max()));
    Attributed(k, [&] { CheckRunParameters(kValue, 1); });
    Attributed(n, [&] { CheckRunParameters(1, nValue); });
}

}  // namespace kestal
