// The random source, its reseeding from the clock and the branch samplers.
#include "network/RandomSource.h"

namespace kestal {

namespace {

// The extended values nearest to one third and two thirds.
constexpr long double OneThird = 1.0L / 3.0L;
constexpr long double TwoThirds = 2.0L / 3.0L;

}  // namespace

void RandomSource::ReseedFromClock(const Clock& clock)
{
    const int32_t reading = clock.UtcMillisecondOfDay();
    if (reading == lastClockReading) {
        return;  // same millisecond as the previous batch: go on with the sequence
    }
    lastClockReading = reading;
    RandomSeed = static_cast<uint32_t>(reading);
}

long double RandomSource::NextUniform()
{
    RandomSeed = NextState(RandomSeed);
    return static_cast<long double>(RandomSeed) * 0x1p-32L;
}

float DrawSingle(RandomSource& random) { return static_cast<float>(random.NextUniform()); }

Thresholds3 BranchThresholds3(float p)
{
    const long double x = p;
    long double t1, t2;
    if (p >= 0.5f) {
        t1 = (x - 0.5L) * 4.0L / 3.0L + OneThird;
        t2 = (x - 0.5L) * 2.0L / 3.0L + TwoThirds;
    } else {
        t1 = OneThird - (0.5L - x) * 2.0L / 3.0L;
        t2 = TwoThirds - (0.5L - x) * 4.0L / 3.0L;
    }
    return {static_cast<float>(t1), static_cast<float>(t2)};
}

Thresholds4 BranchThresholds4(float p)
{
    const long double x = p;
    long double t1, t2, t3;
    if (p >= 0.5f) {
        t1 = (x - 0.5L) * 3.0L / 2.0L + 0.25L;
        t2 = (x - 0.5L) + 0.5L;
        t3 = (x - 0.5L) / 2.0L + 0.75L;
    } else {
        t1 = 0.25L - (0.5L - x) / 2.0L;
        t2 = 0.5L - (0.5L - x);
        t3 = 0.75L - (0.5L - x) * 3.0L / 2.0L;
    }
    return {static_cast<float>(t1), static_cast<float>(t2), static_cast<float>(t3)};
}

uint8_t SampleBranch2(RandomSource& random, uint8_t a, uint8_t b, float p) { return DrawSingle(random) < p ? a : b; }

uint8_t SampleBranch3(RandomSource& random, uint8_t a, uint8_t b, uint8_t c, float p)
{
    const Thresholds3 t = BranchThresholds3(p);
    const float u = DrawSingle(random);
    if (u < t.t1) return a;
    if (u < t.t2) return b;
    return c;
}

uint8_t SampleBranch4(RandomSource& random, uint8_t a, uint8_t b, uint8_t c, uint8_t d, float p)
{
    const Thresholds4 t = BranchThresholds4(p);
    const float u = DrawSingle(random);
    if (u < t.t1) return a;
    if (u < t.t2) return b;
    if (u < t.t3) return c;
    return d;
}

}  // namespace kestal
