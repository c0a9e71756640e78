// The start-up speed calibration and the run-time estimates derived from it.
#include "network/Calibration.h"

#include <algorithm>

namespace kestal {

namespace {

constexpr double SecondsPerDay = 86400.0;

}  // namespace

double RunCalibration(GertNetwork& net, SeriesTable& series)
{
    // Processor time: a machine busy with other work at start-up does not scale every estimate.
    const double start = net.clock->ThreadCpuSeconds();
    for (int round = 0; round < CalibrationRounds; ++round) {
        for (int e = 0; e < CalibrationBatches; ++e) {
            RunNetworkBatch(net, CalibrationInitiations);
            for (int j = 0; j < NodeCount; ++j) {
                series.column[j][e] = net.counters.node[j];
            }
        }
    }
    const double end = net.clock->ThreadCpuSeconds();
    return std::max(0.0, (end - start) / CalibrationRounds / SecondsPerDay);
}

double EstimateDays(double calibrationTime, int32_t k, int32_t n, int series)
{
    return EstimateDays(calibrationTime, k, n, series, 1.0L);
}

double EstimateDays(double calibrationTime, int32_t k, int32_t n, int series, long double costFactor)
{
    const long double t = calibrationTime;
    const long double kk = k;
    const long double nn = n;
    return static_cast<double>(static_cast<long double>(series) * t * nn * kk / CalibrationSize * costFactor);
}

}  // namespace kestal
