// The result grid of a modeling run as texts: its header row and each node's mean, deviation and last count.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "GERTnet/Network.h"
#include "GERTnet/Series.h"
#include "common/NumberLocale.h"

constexpr int ResultColumns = 5;
// "Узел", "Возможные состояния", "      Мера возможности", " Среднее Кв.Отклонение", "Индекс опасности".
extern const std::array<const char*, ResultColumns> ResultGridHeaders;
// The deviation cell of a run of one experiment, whose deviation is undefined.
inline constexpr const char* UndefinedDeviationText = "—";

// A node's numbers after a run: the mean and the deviation of its counts per initiation as fixed
// texts (SeriesMean / N and SeriesDeviation / N in extended; no deviation for K = 1), and its count
// in the last experiment.
struct NodeResult {
    std::string mean;
    std::optional<std::string> deviation;
    int32_t last;
};
NodeResult ResultOfNode(const GertNetwork& net, const SeriesTable& series, int node, const NumberLocale& locale);
