// The session a kestal-sim command works on: new or opened from a project file, with the command
// line's settings typed over it.
#pragma once

#include <memory>
#include <string>

#include "assessment/Session.h"
#include "cli/Options.h"
#include "common/Clock.h"
#include "common/NumberLocale.h"

namespace kestal {

// Numbers on the command line, and the session's texts read from it, take "." as the decimal
// separator under every locale, as the JSON output writes them; a "," is refused.
inline NumberLocale CommandLineNumbers() { return EnglishNumberLocale(); }

struct CommandSession {
    std::unique_ptr<FixedClock> fixedClock;
    std::unique_ptr<Session> session;
};

// The session of --project (the file's whole state; a bad file is refused with the reader's
// message, which names the file and the place) or a new one; then each --level picked, and -K and
// -N typed. It reads the fixed clock of --seed or the system clock and its texts with
// CommandLineNumbers; it writes its own texts (listing, totals) in `displayLocale`.
CommandSession OpenSession(const SimulationOptions& options, const NumberLocale& displayLocale);

// How a refusal names a text setting of the session: "<option> '<text>'" when the command line gave
// it (or there is no project), otherwise "<project>: <key> '<text>'".
std::string SettingSubject(const SimulationOptions& options, bool given, const std::string& option,
                           const std::string& key, const std::string& text);

// K and N as a run or a study reads them, refused naming their option or key and the range.
void CheckRunSize(const Session& session, const SimulationOptions& options);

}  // namespace kestal
