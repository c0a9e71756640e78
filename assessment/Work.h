// How long work (a modeling run, a study) reports its progress and is asked to stop.
#pragma once

#include <cstdint>
#include <functional>

namespace kestal {

// Raised inside work that was asked to stop; the work's copies are dropped, nothing is committed.
struct WorkStopped {};

struct WorkControl {
    // After each experiment and between the slices of one: initiations done and the work's total.
    std::function<void(int64_t done, int64_t total)> progress;
    // Asked at every report; true ends the work there with WorkStopped, within an experiment too.
    std::function<bool()> stopRequested;

    void Report(int64_t done, int64_t total) const
    {
        if (progress) progress(done, total);
        if (stopRequested && stopRequested()) throw WorkStopped{};
    }
};

}  // namespace kestal
