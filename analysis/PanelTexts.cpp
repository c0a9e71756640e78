// The panel's texts.
#include "analysis/PanelTexts.h"

#include "common/Formats.h"

namespace kestal {

std::vector<std::string> BandLines(const PanelBand& band, long double current, const NumberLocale& locale)
{
    const auto number = [&locale](long double value) { return ProbabilityText(value, locale); };
    std::vector<std::string> lines;
    lines.push_back(
        (band.method == BandMethod::Enumeration ? "Перебор всех наборов оценок: " : "Выборка наборов оценок: ") +
        std::to_string(band.cases));
    const NodeBand& accident = band.node[NodeI];
    lines.push_back("Вероятность происшествия: P5 " + number(accident.p05) + ", P50 " + number(accident.p50) +
                    ", P95 " + number(accident.p95) + "; при текущих оценках " + number(current));
    if (band.target && band.exceedance)
        lines.push_back("Доля наборов с вероятностью происшествия выше цели " + number(*band.target) + ": " +
                        number(*band.exceedance));
    if (band.shares.empty())
        lines.push_back("Эксперты ни в одной оценке не расходятся: полоса сжата в точку");
    else
        lines.push_back("Больше всего разброса даёт " + std::string(band.shares.front().factor->id) +
                        " (доля дисперсии " + number(band.shares.front().share) +
                        "): эту оценку стоит согласовать первой");
    return lines;
}

TextTable BandTable(const PanelBand& band, const NumberLocale& locale)
{
    TextTable table{{"Узел", "Среднее", "Минимум", "P5", "P50", "P95", "Максимум"}, {}, -1};
    for (int node = 0; node < NodeCount; ++node) {
        const NodeBand& b = band.node[node];
        std::vector<std::string> row{NodeLetters[node]};
        for (const long double value : {b.mean, b.min, b.p05, b.p50, b.p95, b.max})
            row.push_back(ProbabilityText(value, locale));
        table.rows.push_back(std::move(row));
    }
    return table;
}

TextTable SharesTable(const PanelBand& band, const NumberLocale& locale)
{
    TextTable table{{"Фактор", "Доля дисперсии"}, {}, -1};
    for (const FactorShare& share : band.shares)
        table.rows.push_back({share.factor->id, ProbabilityText(share.share, locale)});
    return table;
}

std::string RangeText(const FactorOpinions& opinions)
{
    if (opinions.lowest == opinions.highest) return std::to_string(opinions.lowest);
    return std::to_string(opinions.lowest) + "–" + std::to_string(opinions.highest);
}

TextTable OpinionsTable(const ExpertPanel& panel, const std::array<int, FactorCount>& current)
{
    TextTable table{{"Фактор", "Сейчас"}, {}, -1};
    for (const PanelExpert& expert : panel.experts) table.headers.push_back(expert.name);
    table.headers.insert(table.headers.end(), {"Согласованный", "Разброс"});
    for (const FactorOpinions& opinions : PanelOpinions(panel)) {
        const int factor = CatalogueIndex(*opinions.factor);
        std::vector<std::string> row{opinions.factor->id,
                                     IsLevelNumber(current[factor]) ? std::to_string(current[factor]) : "—"};
        for (const PanelExpert& expert : panel.experts)
            row.push_back(IsLevelNumber(expert.level[factor]) ? std::to_string(expert.level[factor]) : "—");
        row.push_back(std::to_string(opinions.consensus));
        row.push_back(RangeText(opinions));
        table.rows.push_back(std::move(row));
    }
    return table;
}

}  // namespace kestal
