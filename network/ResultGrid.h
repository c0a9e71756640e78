// The result grid of a modeling run: each run's numbers as a block, and their texts as the grid
// shows them (header row, each node's mean, deviation and last count).
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "network/Network.h"
#include "network/Series.h"
#include "common/NumberLocale.h"

namespace kestal {

constexpr int ResultColumns = 5;
// "Узел", "Возможные состояния", "      Мера возможности", " Среднее Кв.Отклонение", "Индекс опасности".
extern const std::array<const char*, ResultColumns> ResultGridHeaders;
// The deviation cell of a run of one experiment, whose deviation is undefined.
inline constexpr const char* UndefinedDeviationText = "—";

// A node's numbers after a run: SeriesMean and SeriesDeviation of its counts (no deviation for
// K = 1), its count in the last experiment and its total count over the K experiments.
struct NodeOutcome {
    float mean = 0.0f;
    std::optional<float> deviation;
    int32_t last = 0;
    int64_t total = 0;
    bool operator==(const NodeOutcome&) const = default;
};

// One completed run: its K and N, the inputs it ran with and the outcome of every node, B to I.
struct RunBlock {
    int32_t k = 0;
    int32_t n = 0;
    NetworkInputs inputs;
    std::array<NodeOutcome, NodeCount> node{};
    bool operator==(const RunBlock&) const = default;
};

// The block of the run that just filled `series` (K and N from it) and left `net`'s counters.
RunBlock BlockOfRun(const GertNetwork& net, const SeriesTable& series);

// A node's cells: the mean and the deviation per initiation as fixed texts (mean / N and
// deviation / N in extended), and its count in the last experiment.
struct NodeResult {
    std::string mean;
    std::optional<std::string> deviation;
    int32_t last;
};
NodeResult NodeTexts(const RunBlock& block, int node, const NumberLocale& locale);

// The labels of a block from the second run on: "{K=200}" and "{N=4000}".
std::string KLabel(const RunBlock& block);
std::string NLabel(const RunBlock& block);

}  // namespace kestal
