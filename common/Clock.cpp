// The system clock and the monotonic reading of the fixed clock.
#include "common/Clock.h"

#include <chrono>

#include <time.h>

namespace kestal {

namespace {

constexpr int64_t MillisecondsPerDay = 86'400'000;

int64_t SystemMilliseconds()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

double SteadySeconds()
{
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

struct SystemClockImpl final : Clock {
    int32_t UtcMillisecondOfDay() const override
    {
        // The system clock counts Unix time, whose days are exactly 86 400 s long, so the remainder
        // is the UTC time of day.
        const int64_t ms = SystemMilliseconds();
        const int64_t ofDay = ((ms % MillisecondsPerDay) + MillisecondsPerDay) % MillisecondsPerDay;
        return static_cast<int32_t>(ofDay);
    }
    double MonotonicSeconds() const override { return SteadySeconds(); }
};

}  // namespace

const Clock& SystemClock()
{
    static const SystemClockImpl clock;
    return clock;
}

double FixedClock::MonotonicSeconds() const { return SteadySeconds(); }

double Clock::ThreadCpuSeconds() const
{
    timespec now{};
    if (clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now) != 0) return SteadySeconds();
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

int64_t Clock::UtcMillisecondsSinceEpoch() const { return SystemMilliseconds(); }

}  // namespace kestal
