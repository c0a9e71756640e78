// The terminal progress bar of long kestal-sim runs.
#include "cli/Progress.h"

#include <cstdio>
#include <string>

#include <unistd.h>

namespace {
// Below this many initiations a run is over before a bar would be seen.
constexpr int64_t VisibleWork = 50'000'000;
constexpr int BarWidth = 40;
}  // namespace

TerminalProgress::TerminalProgress(int64_t total, int64_t workPerStep)
    : total_(total), active_(total > 0 && total * workPerStep >= VisibleWork && isatty(STDERR_FILENO)) {}

TerminalProgress::~TerminalProgress() {
    if (active_) std::fprintf(stderr, "\r%*s\r", BarWidth + 8, "");
}

void TerminalProgress::Advance(int64_t done) {
    if (!active_) return;
    const int percent = static_cast<int>(done * 100 / total_);
    if (percent == lastPercent_) return;
    lastPercent_ = percent;
    const int filled = percent * BarWidth / 100;
    std::fprintf(stderr, "\r[%s%s] %3d%%", std::string(filled, '#').c_str(),
                 std::string(BarWidth - filled, ' ').c_str(), percent);
    std::fflush(stderr);
}
