// The assessment a kestal-sim command works on: new or opened from a project file, with the command
// line's settings typed over it, and the clock its runs read.
#pragma once

#include <optional>
#include <string>

#include "assessment/Assessment.h"
#include "cli/Options.h"
#include "common/Clock.h"
#include "common/NumberLocale.h"

namespace kestal {

// Numbers on the command line, and the assessment's texts read from it, take "." as the decimal
// separator under every locale, as the JSON output writes them; a "," is refused.
inline NumberLocale CommandLineNumbers() { return EnglishNumberLocale(); }

// The assessment of --project (the file's whole assessment; a bad file is refused with the reader's
// message, which names the file and the place) or a new one; then each --level rated, and -K and
// -N typed.
Assessment OpenAssessment(const SimulationOptions& options);

// The clock a command's runs read: the fixed reading of --seed, else the system's.
class CommandClock {
public:
    explicit CommandClock(const SimulationOptions& options);
    const Clock& clock() const;

private:
    std::optional<FixedClock> fixed_;
};

// How a refusal names a text setting of the assessment: "<option> '<text>'" when the command line
// gave it (or there is no project), otherwise "<project>: <key> '<text>'".
std::string SettingSubject(const SimulationOptions& options, bool given, const std::string& option,
                           const std::string& key, const std::string& text);

// K and N as a run or a study reads them, refused naming their option or key and the range.
void CheckRunSize(const Assessment& assessment, const SimulationOptions& options);

}  // namespace kestal
