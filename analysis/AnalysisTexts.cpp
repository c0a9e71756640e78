// The exact analysis as texts: node, importance and frontier tables and the precision line.
#include "analysis/AnalysisTexts.h"

#include <algorithm>
#include <string_view>

#include "common/Formats.h"

namespace kestal {

namespace {

const char* const Yes = "да";
const char* const No = "нет";
const char* const RunExactHeader = "Точная при оценках опыта";

std::string_view Trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// "H09 Качество принятия решения (оперативность мышления)": the id and both lines of the name.
std::string FactorText(const FactorInfo& factor)
{
    std::string text = std::string(factor.id) + " " + std::string(Trimmed(factor.displayName));
    if (factor.displayName2) text += " " + std::string(Trimmed(factor.displayName2));
    return text;
}

// The list text of level `number` (1 .. 11) of the factor; "—" for none.
std::string LevelText(const FactorInfo& factor, int number)
{
    return number >= 1 && number <= LevelCount ? (*factor.wording)[number - 1] : "—";
}

std::vector<std::string> FrontierRow(const MeasureSubset& subset, const std::vector<CandidateMeasure>& measures,
                                     const NumberLocale& locale)
{
    return {SubsetText(subset, measures),
            MoneyText(subset.cost, locale),
            SignificantText(subset.benefit, locale),
            SignificantText(subset.ratio, locale),
            ProbabilityText(subset.accident, locale),
            subset.withinBudget ? Yes : No};
}

}  // namespace

std::string AccidentStatusText(const NodeProbabilities& exact, const NumberLocale& locale)
{
    return "Вероятность происшествия: " + ProbabilityText(exact.node[NodeI], locale);
}

TextTable NodeTable(const NodeProbabilities& exact, const JudgedRun* run, const NumberLocale& locale)
{
    const bool both = run && run->ratingsChanged;
    TextTable table;
    table.headers = {"Узел", "Состояние", "Точная вероятность"};
    if (both) table.headers.push_back(RunExactHeader);
    table.headers.insert(table.headers.end(), {"Частота опыта", "95 % интервал: от", "до", "Точная в интервале"});
    for (int node = 0; node < NodeCount; ++node) {
        std::vector<std::string> row{NodeLetters[node], NodeDisplayTexts[node],
                                     ProbabilityText(exact.node[node], locale)};
        if (run) {
            const NodePrecision& precision = run->precision.node[node];
            if (both) row.push_back(ProbabilityText(run->exact.node[node], locale));
            row.insert(row.end(), {ProbabilityText(precision.pooled, locale), ProbabilityText(precision.low, locale),
                                   ProbabilityText(precision.high, locale), precision.exactInside ? Yes : No});
        } else {
            row.resize(table.headers.size());
        }
        table.rows.push_back(std::move(row));
    }
    return table;
}

std::string PrecisionLine(const JudgedRun* run, const NumberLocale& locale)
{
    if (!run) return "Частоты опыта и их 95 % интервалы появятся после моделирования.";
    const RunPrecision& precision = run->precision;
    std::string line;
    if (!precision.accidentRelativeError) {
        line = "Происшествие при оценках опыта невозможно: погрешность его частоты не определена.";
    } else {
        line = "Относительная погрешность частоты происшествия " +
               DecimalsText(100 * *precision.accidentRelativeError, 1, locale) + " %";
        const std::string limit = ApproximateCountText(precision.generatorLimit, locale);
        if (precision.beyondGeneratorLimit)
            line += "; K·N больше числа различных инициаций, которые генератор даёт при этих оценках (≈ " + limit +
                    "): новые инициации ничего не добавляют, ответ — точная вероятность.";
        else if (precision.initiationsForOnePercent)
            line += "; для 1 % при K = " + std::to_string(run->k) + " нужно N ≈ " +
                    ApproximateCountText(*precision.initiationsForOnePercent, locale) + ".";
        else
            line += "; 1 % моделированием не достичь: генератор даёт при этих оценках не больше ≈ " + limit +
                    " различных инициаций, ответ — точная вероятность.";
    }
    if (run->ratingsChanged)
        line += " Оценки факторов изменены после моделирования: частоты опыта — при прежних оценках.";
    return line;
}

TextTable ImportanceRows(const ImportanceTable& table, const NumberLocale& locale)
{
    TextTable rows;
    rows.headers = {"Фактор", "Текущий уровень", "Лучший уровень", "Вероятность происшествия при лучшем уровне",
                    "Снижение, %"};
    for (const FactorImportance& factor : table.factors) {
        const long double share = table.accident > 0 ? 100 * factor.reduction / table.accident : 0.0L;
        rows.rows.push_back({FactorText(*factor.factor), LevelText(*factor.factor, factor.level),
                             LevelText(*factor.factor, factor.bestLevel),
                             ProbabilityText(factor.accident[factor.bestLevel - 1], locale),
                             DecimalsText(share, 1, locale)});
    }
    return rows;
}

std::string MembersText(uint32_t members, const std::vector<CandidateMeasure>& measures)
{
    if (members == 0) return NoMeasuresText;
    std::string text;
    for (std::size_t i = 0; i < measures.size(); ++i) {
        if (!(members >> i & 1)) continue;
        if (!text.empty()) text += " + ";
        text += measures[i].name;
    }
    return text;
}

std::string SubsetText(const MeasureSubset& subset, const std::vector<CandidateMeasure>& measures)
{
    return MembersText(subset.members, measures) + (subset.harmful ? HarmfulMark : "");
}

std::string BestSetLine(const MeasureOptimum& optimum, const std::vector<CandidateMeasure>& measures,
                        const NumberLocale& locale)
{
    for (const MeasureSubset& subset : optimum.subsets)
        if (optimum.best == subset.members)
            return "Лучший набор в пределах бюджета: " + MembersText(subset.members, measures) + "; затраты " +
                   MoneyText(subset.cost, locale) + " у.е., выгода " + SignificantText(subset.benefit, locale) +
                   " у.е.";
    switch (optimum.reason) {
    case NoBestSet::NoneWithinBudget:
        return "Ни один набор мер, снижающий вероятность происшествия, не укладывается в бюджет " +
               MoneyText(optimum.budget, locale) + " у.е.";
    case NoBestSet::NoBenefit:
        return "При величине ущерба не больше 0 ни один набор мер не даёт выгоды";
    default:
        return NothingHelpsText;
    }
}

std::string HarmfulLine(const MeasureOptimum& optimum, const std::vector<CandidateMeasure>& measures,
                        const NumberLocale& locale)
{
    std::vector<const MeasureSubset*> alone(measures.size(), nullptr);
    std::size_t harmful = 0;
    for (const MeasureSubset& subset : optimum.subsets) {
        if (!subset.harmful) continue;
        ++harmful;
        for (std::size_t i = 0; i < measures.size(); ++i)
            if (subset.members == 1u << i) alone[i] = &subset;
    }
    if (harmful == 0) return "";
    std::string named;
    for (std::size_t i = 0; i < measures.size(); ++i)
        if (alone[i])
            named += (named.empty() ? "" : "; ") + ("«" + measures[i].name + "» — до ") +
                     ProbabilityText(alone[i]->accident, locale);
    const std::string count = "наборов мер, повышающих её: " + std::to_string(harmful) + " из " +
                              std::to_string(optimum.subsets.size()) + ".";
    const std::string baseline = "(без мер " + ProbabilityText(optimum.baseline, locale) + ")";
    if (named.empty())
        return "Ни одна мера сама по себе не повышает вероятность происшествия " + baseline + "; " + count;
    return "Повышают вероятность происшествия " + baseline + ": " + named + "; " + count;
}

TextTable FrontierTable(const MeasureOptimum& optimum, const std::vector<CandidateMeasure>& measures,
                        const NumberLocale& locale)
{
    TextTable table;
    table.headers = {
        "Мероприятия",       "Затраты, у.е.", "Выгода, у.е.", "Выгода / затраты", "Вероятность происшествия",
        "В пределах бюджета"};
    for (const MeasureSubset& subset : optimum.subsets)
        if (optimum.best == subset.members) table.rows.push_back(FrontierRow(subset, measures, locale));
    if (!table.rows.empty()) table.highlightedRow = 0;
    for (const MeasureSubset& subset : optimum.subsets)
        if (subset.pareto && optimum.best != subset.members)
            table.rows.push_back(FrontierRow(subset, measures, locale));

    std::vector<const MeasureSubset*> harmful;
    for (const MeasureSubset& subset : optimum.subsets)
        if (subset.harmful && !subset.pareto && optimum.best != subset.members) harmful.push_back(&subset);
    if (harmful.empty()) return table;
    std::stable_sort(harmful.begin(), harmful.end(),
                     [](const MeasureSubset* a, const MeasureSubset* b) { return a->accident > b->accident; });
    table.sectionRow = static_cast<int>(table.rows.size());
    table.rows.push_back({"Наборы, повышающие вероятность происшествия:", "", "", "", "", ""});
    for (std::size_t i = 0; i < harmful.size() && i < HarmfulSetsListed; ++i)
        table.rows.push_back(FrontierRow(*harmful[i], measures, locale));
    if (harmful.size() > HarmfulSetsListed)
        table.rows.push_back({"… и ещё " + std::to_string(harmful.size() - HarmfulSetsListed) +
                                  " (каждый назван в подсказке своей точки на графике)",
                              "", "", "", "", ""});
    return table;
}

}  // namespace kestal
