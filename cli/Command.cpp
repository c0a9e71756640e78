// The frame every kestal-sim command runs in.
#include "cli/Command.h"

#include <cerrno>
#include <cstring>
#include <ostream>
#include <sstream>
#include <stdexcept>
#include <string>

#include "assessment/Work.h"
#include "cli/Refusal.h"
#include "cli/StopSignals.h"

namespace kestal {

namespace {

void WriteLine(std::ostream& err, const char* name, const std::string& message)
{
    err << "kestal-sim " << name << ": " << OneLine(message) << '\n' << std::flush;
}

}  // namespace

int RunCommandBody(const char* name, std::ostream& out, std::ostream& err,
                   const std::function<void(std::ostream& text)>& body)
{
    std::ostringstream text;
    try {
        body(text);
    } catch (const WorkStopped&) {
        // Stopped by a signal: the status below.
    } catch (const std::exception& error) {
        if (!StopSignal()) {
            WriteLine(err, name, error.what());
            return UsageExitCode;
        }
    }
    if (const int signal = StopSignal()) return 128 + signal;
    errno = 0;
    out << text.str() << std::flush;
    if (!out) {
        const std::string reason = errno ? std::string(": ") + std::strerror(errno) : "";
        WriteLine(err, name, "the output could not be written" + reason);
        return WriteFailureExitCode;
    }
    return 0;
}

}  // namespace kestal
