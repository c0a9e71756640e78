// The progress bar of long kestal-sim work on standard error, and the control that stops the work.
#include "cli/Progress.h"

#include <string>

#include <unistd.h>

#include "cli/StopSignals.h"

namespace kestal {

namespace {
// Below this many initiations work is over before a bar would be seen.
constexpr int64_t VisibleWork = 50'000'000;
constexpr int BarWidth = 40;
}  // namespace

std::FILE* ProgressTerminal(int64_t initiations)
{
    return initiations >= VisibleWork && isatty(STDERR_FILENO) ? stderr : nullptr;
}

TerminalProgress::~TerminalProgress()
{
    if (lastPercent_ < 0) return;
    std::fprintf(terminal_, "\r%*s\r", BarWidth + 8, "");
    std::fflush(terminal_);
}

WorkControl TerminalProgress::Control()
{
    return {[this](int64_t done, int64_t total) { Draw(done, total); }, [] { return StopSignal() != 0; }};
}

void TerminalProgress::Draw(int64_t done, int64_t total)
{
    const int percent = static_cast<int>(done * 100 / total);
    if (!terminal_ || percent == lastPercent_) return;
    lastPercent_ = percent;
    const int filled = percent * BarWidth / 100;
    std::fprintf(terminal_, "\r[%s%s] %3d%%", std::string(filled, '#').c_str(),
                 std::string(BarWidth - filled, ' ').c_str(), percent);
    std::fflush(terminal_);
}

}  // namespace kestal
