// The series of K experiments: filling it, its mean and deviation, and the run parameter checks.
#include "network/Series.h"

#include <algorithm>
#include <cmath>

#include "common/Conversions.h"
#include "common/KestalError.h"

namespace kestal {

namespace {

// K as the statistics read it; a value outside the table is a caller's fault, refused rather
// than read past the columns.
int32_t ExperimentsToRead(const SeriesTable& series)
{
    const int32_t k = series.ExperimentCount;
    if (k < 1 || k > MaxExperiments) {
        throw KestalError(KOutOfRangeText);
    }
    return k;
}

float MeanOf(const SeriesTable& series, int column, int32_t k)
{
    int64_t sum = 0;
    for (int32_t e = 0; e < k; ++e) {
        sum += series.column[column][e];
    }
    return static_cast<float>(static_cast<long double>(sum) / static_cast<long double>(k));
}

}  // namespace

float SeriesMean(const SeriesTable& series, int column) { return MeanOf(series, column, ExperimentsToRead(series)); }

std::optional<float> SeriesDeviation(const SeriesTable& series, int column)
{
    const int32_t k = ExperimentsToRead(series);
    if (k == 1) {
        return std::nullopt;  // divisor K - 1 is zero: no deviation of a single experiment
    }
    const float m = MeanOf(series, column, k);
    float acc = 0.0f;
    for (int32_t e = 0; e < k; ++e) {
        const float d = static_cast<float>(static_cast<long double>(series.column[column][e]) - m);
        const float q = static_cast<float>(static_cast<long double>(d) * d);
        acc = static_cast<float>(static_cast<long double>(acc) + q);
    }
    return static_cast<float>(std::sqrt(static_cast<long double>(acc) / static_cast<long double>(k - 1)));
}

namespace {

// Reads again the millisecond the random source took last: a batch started on it goes on from the
// generator's current state (the random source's rule for a repeated reading).
struct ContinuingClock final : Clock {
    ContinuingClock(int32_t reading, const Clock* base) : reading(reading), base(base) {}
    int32_t UtcMillisecondOfDay() const override { return reading; }
    double MonotonicSeconds() const override { return base->MonotonicSeconds(); }
    int32_t reading;
    const Clock* base;
};

// Gives the network its own clock back, also when a slice's report ends the work.
struct ClockRestorer {
    GertNetwork& net;
    const Clock* clock;
    ~ClockRestorer() { net.clock = clock; }
};

}  // namespace

void RunNetworkBatchInSlices(GertNetwork& net, int32_t n, int32_t slice,
                             const std::function<void(int32_t done)>& between)
{
    slice = std::max(slice, 1);
    if (n <= slice) {
        RunNetworkBatch(net, n);
        return;
    }
    RunNetworkBatch(net, slice);  // the reseed from the clock, as the whole batch makes it
    OutcomeCounters total = net.counters;
    const ClockRestorer restorer{net, net.clock};
    const ContinuingClock continuing(net.random.lastClockReading, net.clock);
    net.clock = &continuing;
    for (int32_t done = slice; done < n;) {
        if (between) between(done);
        const int32_t part = std::min(slice, n - done);
        RunNetworkBatch(net, part);
        for (int j = 0; j < NodeCount; ++j) total.node[j] += net.counters.node[j];
        done += part;
    }
    net.counters = total;
}

void RunExperiment(GertNetwork& net, int32_t n, int32_t experiment, const ExperimentProgress& progress)
{
    RunNetworkBatchInSlices(net, n, SliceInitiations, [&](int32_t done) {
        if (progress) progress(experiment, done);
    });
}

void RunSeries(GertNetwork& net, SeriesTable& series, const ExperimentProgress& progress)
{
    CheckRunParameters(series.ExperimentCount, series.InitiationCount);
    for (int32_t e = 1; e <= series.ExperimentCount; ++e) {
        RunExperiment(net, series.InitiationCount, e, progress);
        for (int j = 0; j < NodeCount; ++j) {
            series.column[j][e - 1] = net.counters.node[j];
        }
        if (progress) {
            progress(e, series.InitiationCount);
        }
    }
}

void CheckRunParameters(int32_t k, int32_t n)
{
    if (k < 1 || k > MaxExperiments) {
        throw KestalError(KOutOfRangeText);
    }
    if (n < 1) {
        throw KestalError(NOutOfRangeText);
    }
}

RunSize ReadRunSize(const std::string& kText, const std::string& nText)
{
    const RunSize size{ParseInteger(kText), ParseInteger(nText)};
    CheckRunParameters(size.k, size.n);
    return size;
}

}  // namespace kestal
