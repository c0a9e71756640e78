// A progress bar on standard error, drawn only when standard error is a terminal.
#pragma once

#include <cstdint>

class TerminalProgress {
public:
    // `total` steps; nothing is drawn when stderr is not a terminal or the work is small.
    TerminalProgress(int64_t total, int64_t workPerStep);
    ~TerminalProgress();
    void Advance(int64_t done);

private:
    int64_t total_;
    bool active_;
    int lastPercent_ = -1;
};
