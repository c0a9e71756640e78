// The result grid's header texts and each node's texts after a run.
#include "GERTnet/ResultGrid.h"

#include "common/Formats.h"

const std::array<const char*, ResultColumns> ResultGridHeaders = {
    "Узел", "Возможные состояния", "      Мера возможности", " Среднее Кв.Отклонение", "Индекс опасности",
};

NodeResult ResultOfNode(const GertNetwork& net, const SeriesTable& series, int node, const NumberLocale& locale)
{
    const long double n = series.InitiationCount;
    NodeResult result{FixedText(SeriesMean(series, node) / n, locale), std::nullopt, net.counters.node[node]};
    if (const std::optional<float> deviation = SeriesDeviation(series, node))
        result.deviation = FixedText(*deviation / n, locale);
    return result;
}
