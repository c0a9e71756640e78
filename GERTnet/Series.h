// The series of K experiments: per-experiment node counts and their mean and deviation.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "GERTnet/Network.h"

constexpr int32_t MaxExperiments = 2000;

struct SeriesTable {
    std::array<std::array<int32_t, MaxExperiments>, NodeCount> column{};
    int32_t ExperimentCount = 0;  // K
    int32_t InitiationCount = 0;  // N
};

// Mean of entries 0..K-1 of a column: exact integer sum / K in extended, rounded to single.
float SeriesMean(const SeriesTable& series, int column);

// Sample standard deviation (divisor K-1) with single rounding at every accumulation step.
// Undefined for K = 1: returns nothing.
std::optional<float> SeriesDeviation(const SeriesTable& series, int column);

// Called after each experiment with its number 1..K.
using ExperimentProgress = std::function<void(int32_t experiment)>;

// For e = 1..K: RunNetworkBatch(N), then all eight counters into entry e-1. K and N are taken
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
