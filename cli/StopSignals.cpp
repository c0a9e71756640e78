// SIGINT and SIGTERM during kestal-sim's work: remembered, so that the work stops at its next report, within an
// experiment; SIGPIPE ignored, so that a closed output is reported as a failed write.
#include "cli/StopSignals.h"

#include <csignal>

namespace kestal {

namespace {

volatile std::sig_atomic_t caught = 0;

void Remember(int signal) { caught = signal; }

}  // namespace

void CatchStopSignals()
{
    struct sigaction action {};
    action.sa_handler = Remember;
    action.sa_flags = SA_RESETHAND;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    // A reader that went away is a failed write (status 1), not a death by SIGPIPE.
    std::signal(SIGPIPE, SIG_IGN);
}

int StopSignal() { return caught; }

}  // namespace kestal
