// The progress bar of long kestal-sim work on standard error, and the control that stops the work
// when SIGINT or SIGTERM was caught.
#pragma once

#include <cstdint>
#include <cstdio>

#include "assessment/Work.h"

namespace kestal {

// Standard error when it is a terminal and work of `initiations` lasts long enough for a bar to be
// seen; otherwise null.
std::FILE* ProgressTerminal(int64_t initiations);

class TerminalProgress {
public:
    // Draws on `terminal`; nothing when it is null.
    explicit TerminalProgress(std::FILE* terminal) : terminal_(terminal) {}
    // The bar's line erased, whether the work finished or not.
    ~TerminalProgress();
    TerminalProgress(const TerminalProgress&) = delete;
    TerminalProgress& operator=(const TerminalProgress&) = delete;

    // The bar follows the work's own count of its initiations; the work stops at its next report,
    // within an experiment, once a stop signal was caught.
    WorkControl Control();

private:
    void Draw(int64_t done, int64_t total);

    std::FILE* terminal_;
    int lastPercent_ = -1;
};

}  // namespace kestal
