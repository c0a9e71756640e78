// The start-up speed calibration: 11 batches of 14 000 initiations, timed.
#pragma once

#include "GERTnet/Network.h"
#include "GERTnet/Series.h"

constexpr int CalibrationBatches = 11;
constexpr int32_t CalibrationInitiations = 14000;
constexpr long double CalibrationSize = 154000.0L;  // 11 × 14 000, the divisor of every estimate

// Runs the calibration into entries 0..10 of every series column and returns its duration as a
// fraction of a day, measured on the clock's monotonic reading (never negative).
double RunCalibration(GertNetwork& net, SeriesTable& series);

// Estimated duration, in days, of `series` runs of K × N initiations:
// series × CalibrationTime × N × K / 154000 in extended precision.
double EstimateDays(double calibrationTime, int32_t k, int32_t n, int series = 1);
