// The result grid's header texts, each run's block of numbers and its node texts.
#include "network/ResultGrid.h"

#include "common/Formats.h"

namespace kestal {

const std::array<const char*, ResultColumns> ResultGridHeaders = {
    "Узел", "Возможные состояния", "      Мера возможности", " Среднее Кв.Отклонение", "Индекс опасности",
};

RunBlock BlockOfRun(const GertNetwork& net, const SeriesTable& series)
{
    RunBlock block{series.ExperimentCount, series.InitiationCount, net.inputs, {}};
    for (int node = 0; node < NodeCount; ++node) {
        NodeOutcome& outcome = block.node[node];
        outcome.mean = SeriesMean(series, node);
        outcome.deviation = SeriesDeviation(series, node);
        outcome.last = net.counters.node[node];
        for (int32_t e = 0; e < series.ExperimentCount; ++e) outcome.total += series.column[node][e];
    }
    return block;
}

NodeResult NodeTexts(const RunBlock& block, int node, const NumberLocale& locale)
{
    const long double n = block.n;
    const NodeOutcome& outcome = block.node[node];
    NodeResult result{FixedText(outcome.mean / n, locale), std::nullopt, outcome.last};
    if (outcome.deviation) result.deviation = FixedText(*outcome.deviation / n, locale);
    return result;
}

std::string KLabel(const RunBlock& block) { return "{K=" + IntegerText(block.k) + "}"; }
std::string NLabel(const RunBlock& block) { return "{N=" + IntegerText(block.n) + "}"; }

}  // namespace kestal
