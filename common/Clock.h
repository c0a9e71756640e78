// The clock interface: the only way the logic reads the time.
#pragma once

#include <cstdint>

namespace kestal {

struct Clock {
    virtual ~Clock() = default;
    // UTC time of day in milliseconds, 0 .. 86 399 999: the seed of the random source.
    virtual int32_t UtcMillisecondOfDay() const = 0;
    // A monotonic high-resolution reading in seconds, for measuring durations.
    virtual double MonotonicSeconds() const = 0;
    // The processor time the calling thread has used, in seconds: what work costs, whatever else
    // the machine runs meanwhile. The system's reading unless a clock says otherwise.
    virtual double ThreadCpuSeconds() const;
    // Milliseconds since 1970-01-01 00:00:00 UTC: when something is recorded (a register's stamps).
    // The system's reading unless a clock says otherwise.
    virtual int64_t UtcMillisecondsSinceEpoch() const;
};

// The system clock, used by the program.
const Clock& SystemClock();

// A clock that always reads the same UTC time of day (tests, kestal-sim --seed); its monotonic
// reading is the system's.
struct FixedClock final : Clock {
    explicit FixedClock(int32_t millisecondOfDay) : reading(millisecondOfDay) {}
    int32_t UtcMillisecondOfDay() const override { return reading; }
    double MonotonicSeconds() const override;
    int32_t reading;
};

}  // namespace kestal
