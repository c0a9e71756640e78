// The start-up speed calibration: 11 batches of 14 000 initiations, timed.
#pragma once

#include "network/Network.h"
#include "network/Series.h"

namespace kestal {

constexpr int CalibrationBatches = 11;
constexpr int32_t CalibrationInitiations = 14000;
constexpr long double CalibrationSize = 154000.0L;  // 11 × 14 000, the divisor of every estimate
// The 11 batches take well under a millisecond: they are run this many times, so that the
// measured time is tens of milliseconds and not a clock tick or a cold cache.
constexpr int CalibrationRounds = 100;

// Runs the calibration into entries 0..10 of every series column (the last round's counts) and
// returns the duration of one round, 154 000 initiations, as a fraction of a day, measured on the
// processor time of the calling thread over all rounds (never negative).
double RunCalibration(GertNetwork& net, SeriesTable& series);

// Estimated duration, in days, of `series` runs of K × N initiations:
// series × CalibrationTime × N × K / 154000 in extended precision.
double EstimateDays(double calibrationTime, int32_t k, int32_t n, int series = 1);

// The same, times `costFactor`: the time an initiation takes under the current ratings relative to
// the calibration's ratings (1 gives the estimate above exactly).
double EstimateDays(double calibrationTime, int32_t k, int32_t n, int series, long double costFactor);

}  // namespace kestal
