// Pooled frequencies, Wilson intervals and the accident frequency's relative error.
#include "analysis/RunPrecision.h"

#include <algorithm>
#include <cmath>

namespace kestal {

namespace {

// The lower end of the Wilson score interval of `successes` in `trials`. Its usual form
// (centre - spread) / scale, with centre = p + z²/2n, spread = z·sqrt(p(1 - p)/n + z²/4n²) and
// scale = 1 + z²/n, equals p² / (centre + spread), which has no cancellation: exactly 0 for p = 0.
long double WilsonLow(long double successes, long double trials)
{
    const long double p = successes / trials;
    const long double z2 = WilsonZ * WilsonZ;
    const long double centre = p + z2 / (2 * trials);
    const long double spread = WilsonZ * std::sqrt(p * (1 - p) / trials + z2 / (4 * trials * trials));
    return p * p / (centre + spread);
}

}  // namespace

NodeTotals SeriesTotals(const SeriesTable& series)
{
    CheckRunParameters(series.ExperimentCount, series.InitiationCount);
    NodeTotals totals{};
    for (int j = 0; j < NodeCount; ++j) {
        for (int32_t e = 0; e < series.ExperimentCount; ++e) {
            totals[j] += series.column[j][e];
        }
    }
    return totals;
}

RunPrecision PrecisionOfRun(const NodeTotals& totals, int32_t k, int32_t n, const NodeProbabilities& exact)
{
    CheckRunParameters(k, n);
    const long double trials = static_cast<long double>(k) * n;
    RunPrecision precision;
    for (int j = 0; j < NodeCount; ++j) {
        // The interval is symmetric: its upper end is one minus the lower end of the failures.
        const long double low = WilsonLow(totals[j], trials);
        const long double high = 1 - WilsonLow(trials - totals[j], trials);
        const long double p = exact.node[j];
        precision.node[j] = {totals[j] / trials, low, high, low <= p && p <= high};
    }
    precision.generatorLimit = GeneratorStates / std::max(DrawsPerInitiation(exact), 1.0L);
    precision.beyondGeneratorLimit = trials > precision.generatorLimit;
    const long double p = exact.node[NodeI];
    if (p > 0.0L) {
        precision.accidentRelativeError = std::sqrt((1 - p) / (p * std::min(trials, precision.generatorLimit)));
        const long double n = std::ceil((1 - p) / (p * 1e-4L * k));
        if (n <= LargestInitiationCount && n * k <= precision.generatorLimit) precision.initiationsForOnePercent = n;
    }
    return precision;
}

}  // namespace kestal
