// The series of K experiments: per-experiment node counts and their mean and deviation.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "network/Network.h"

namespace kestal {

constexpr int32_t MaxExperiments = 2000;

struct SeriesTable {
    std::array<std::array<int32_t, MaxExperiments>, NodeCount> column{};
    int32_t ExperimentCount = 0;  // K
    int32_t InitiationCount = 0;  // N
    bool operator==(const SeriesTable&) const = default;
};

// Mean of entries 0..K-1 of a column: exact integer sum / K in extended, rounded to single.
float SeriesMean(const SeriesTable& series, int column);

// Sample standard deviation (divisor K-1) with single rounding at every accumulation step.
// Undefined for K = 1: returns nothing.
std::optional<float> SeriesDeviation(const SeriesTable& series, int column);

// Called while experiment `experiment` (1..K) runs, after each slice of its initiations, with the
// initiations of it done so far: N once the experiment is complete (its counts are then in the
// table). It may throw to end the work there; what the work changed is then to be dropped.
using ExperimentProgress = std::function<void(int32_t experiment, int32_t done)>;

// An experiment runs this many initiations at a time, so that its progress is seen and a stop
// takes effect within milliseconds at any N.
constexpr int32_t SliceInitiations = 1 << 20;

// RunNetworkBatch(net, n) in slices of at most `slice` initiations, each continuing the generator
// state the previous one left: counters, generator state and clock reading end exactly as one
// batch of n leaves them. `between` is called after each slice but the last with the initiations
// done so far.
void RunNetworkBatchInSlices(GertNetwork& net, int32_t n, int32_t slice,
                             const std::function<void(int32_t done)>& between);

// One experiment of a series: RunNetworkBatchInSlices with SliceInitiations, `progress` told
// (experiment `experiment`) between the slices; the caller reports the experiment's end once it
// has taken its counts.
void RunExperiment(GertNetwork& net, int32_t n, int32_t experiment, const ExperimentProgress& progress);

// For e = 1..K: RunExperiment(N), then all eight counters into entry e-1. K and N are taken
// from the table; the caller has checked 1 <= K <= MaxExperiments and N >= 1.
void RunSeries(GertNetwork& net, SeriesTable& series, const ExperimentProgress& progress = {});

// Range checks of a run's parameters; throw KestalError with the user's message when refused.
void CheckRunParameters(int32_t k, int32_t n);

// K and N of a run or a study, read from their texts (K first) and checked: the conversion message
// of the first text that is not an integer, or the range message.
struct RunSize {
    int32_t k;
    int32_t n;
};
RunSize ReadRunSize(const std::string& kText, const std::string& nText);
inline constexpr const char* KOutOfRangeText = "Число опытов K должно быть от 1 до 2000";
inline constexpr const char* NOutOfRangeText = "Число инициаций N должно быть не меньше 1";

}  // namespace kestal
