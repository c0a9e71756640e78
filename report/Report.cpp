// The assessment report as HTML.
#include "report/Report.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>

#include "analysis/AnalysisTexts.h"
#include "analysis/PanelConcordance.h"
#include "analysis/PanelTexts.h"
#include "questionnaire/RateIntensity.h"
#include "common/Formats.h"

namespace kestal {

namespace {

constexpr int ImportanceRowsShown = 10;
constexpr int SummaryFactors = 3;

const char* const Style =
    "body{font-family:'DejaVu Sans',sans-serif;font-size:10pt}"
    "h1{font-size:15pt}h2{font-size:12pt;margin-top:14pt}"
    "table{border-collapse:collapse;margin:4pt 0}"
    "td,th{border:1px solid #999;padding:2pt 5pt;text-align:left;vertical-align:top}"
    "th{background:#e8e8e8}tr.best td{background:#fff3b0;font-weight:bold}";

std::string Paragraph(const std::string& text) { return "<p>" + HtmlEscaped(text) + "</p>\n"; }

std::string Heading(const std::string& text) { return "<h2>" + HtmlEscaped(text) + "</h2>\n"; }

// A table whose header row is a real header (<thead>), so that a paged document repeats it.
std::string Table(const TextTable& table)
{
    std::string html = "<table width=\"100%\" border=\"1\" cellspacing=\"0\" cellpadding=\"3\">\n<thead><tr>";
    for (const std::string& header : table.headers) html += "<th>" + HtmlEscaped(header) + "</th>";
    html += "</tr></thead>\n<tbody>\n";
    for (std::size_t r = 0; r < table.rows.size(); ++r) {
        if (static_cast<int>(r) == table.sectionRow) {
            html += "<tr><th colspan=\"" + std::to_string(table.headers.size()) + "\">" +
                    HtmlEscaped(table.rows[r].front()) + "</th></tr>\n";
            continue;
        }
        html += static_cast<int>(r) == table.highlightedRow ? "<tr class=\"best\">" : "<tr>";
        for (const std::string& cell : table.rows[r]) html += "<td>" + HtmlEscaped(cell) + "</td>";
        html += "</tr>\n";
    }
    return html + "</tbody>\n</table>\n";
}

std::string Picture(const std::string& source)
{
    return source.empty() ? "" : "<p><img src=\"" + HtmlEscaped(source) + "\" width=\"640\"></p>\n";
}

std::string FactorName(const FactorInfo& factor)
{
    std::string name = factor.displayName;
    if (factor.displayName2) name += factor.displayName2;
    return name;
}

std::string Ratings(const Assessment& assessment)
{
    TextTable table{{"Код", "Фактор", "Оценка"}, {}, -1};
    for (const FactorInfo& factor : FactorCatalogue)
        table.rows.push_back(
            {factor.id, FactorName(factor), (*factor.wording)[RatedItem(assessment.settings, factor)]});
    return Heading("Оценки факторов") + Table(table);
}

// The three factors whose best level lowers the accident probability most, with how much.
std::string TopFactors(const Session& session)
{
    const ImportanceTable importance = session.assessment().Importance();
    const NumberLocale& locale = session.displayLocale();
    std::string items;
    int shown = 0;
    for (const FactorImportance& factor : importance.factors) {
        if (shown == SummaryFactors || !(factor.reduction > 0)) break;
        const long double accident = factor.accident[factor.bestLevel - 1];
        items += "<li>" +
                 HtmlEscaped(std::string(factor.factor->id) + " " + FactorName(*factor.factor) + ": до уровня «" +
                             (*factor.factor->wording)[factor.bestLevel - 1] + "» — " +
                             ProbabilityText(accident, locale) + " (на " +
                             DecimalsText(100 * factor.reduction / importance.accident, 1, locale) + " % меньше)") +
                 "</li>\n";
        ++shown;
    }
    if (shown == 0) return Paragraph("Улучшение ни одного фактора не снижает вероятность происшествия.");
    return Paragraph("Сильнее всего её снижает улучшение факторов:") + "<ol>\n" + items + "</ol>\n";
}

// What a reader needs first, run or no run: the exact accident probability of the current ratings,
// the factors that lower it most and the best set of measures, or why there is none.
std::string Summary(const Session& session, const std::optional<MeasureOptimum>& optimum)
{
    const Assessment& assessment = session.assessment();
    const NodeProbabilities exact = assessment.ExactNodes();
    std::string best = !optimum ? assessment.BestMeasuresProblem()
                                : BestSetLine(*optimum, assessment.CapturedCandidates(), session.displayLocale());
    if (!best.ends_with('.')) best += '.';
    return Heading("Сводка") +
           Paragraph("Вероятность происшествия при текущих оценках (точный расчёт): " +
                     ProbabilityText(exact.node[NodeI], session.displayLocale()) + ".") +
           TopFactors(session) + Paragraph("Лучший набор мер: " + best);
}

// The exact probabilities of every node under the current ratings.
std::string ExactNodes(const Session& session)
{
    TextTable table = NodeTable(session.assessment().ExactNodes(), nullptr, session.displayLocale());
    table.headers.resize(3);
    for (std::vector<std::string>& row : table.rows) row.resize(3);
    return Heading("Точные вероятности узлов") + Table(table);
}

// The last run, judged against the exact probabilities of the ratings it was made with.
std::string LastRun(const Session& session)
{
    const Assessment& assessment = session.assessment();
    if (assessment.results.empty()) return "";
    const RunBlock& block = assessment.results.back();
    const JudgedRun judged = Judge(block, assessment.RatingInputs());
    const NumberLocale& locale = session.displayLocale();
    TextTable table{{"Узел", "Состояние", "Мера возможности", "Среднее кв. отклонение", "Индекс опасности",
                     "95 % интервал", judged.ratingsChanged ? "Точная при оценках опыта" : "Точная вероятность"},
                    {},
                    -1};
    for (int node = 0; node < NodeCount; ++node) {
        const NodeResult texts = NodeTexts(block, node, locale);
        const NodePrecision& p = judged.precision.node[node];
        table.rows.push_back({NodeLetters[node], NodeDisplayTexts[node], texts.mean,
                              texts.deviation.value_or(UndefinedDeviationText), IntegerText(texts.last),
                              ProbabilityText(p.low, locale) + " … " + ProbabilityText(p.high, locale),
                              ProbabilityText(judged.exact.node[node], locale)});
    }
    return Heading("Результаты моделирования") +
           Paragraph("Последний опыт: K = " + IntegerText(block.k) + ", N = " + IntegerText(block.n) + ".") +
           Table(table) + Paragraph(PrecisionLine(&judged, locale));
}

std::string Study(const Session& session)
{
    const StudyOutcome& study = session.state().shown.study;
    if (!study.totalsShown) return "";
    TextTable table;
    const TotalsView view = session.Totals();
    std::vector<std::vector<std::string>> rows(view.rowCount, std::vector<std::string>(TotalsColumns));
    for (const GridCell& cell : view.cells) rows[cell.row][cell.column] = cell.text;
    table.headers = rows.front();
    for (std::size_t r = 1; r < rows.size(); ++r)
        if (std::any_of(rows[r].begin(), rows[r].end(), [](const std::string& cell) { return !cell.empty(); }))
            table.rows.push_back(rows[r]);
    return Heading("Комплекс мер: ранжирование") + Paragraph(study.moneyLabel) + Paragraph(study.damageLabel) +
           Table(table);
}

std::string Importance(const Session& session, const ReportSource& source)
{
    TextTable table = ImportanceRows(session.assessment().Importance(), session.displayLocale());
    if (table.rows.size() > ImportanceRowsShown) table.rows.resize(ImportanceRowsShown);
    return Heading("Важность факторов: первые 10") + Table(table) + Picture(source.importanceChart);
}

std::string BestSet(const Session& session, const std::optional<MeasureOptimum>& judged, const ReportSource& source)
{
    std::string html = Heading("Лучший набор мер");
    if (!judged) return html + Paragraph(session.assessment().BestMeasuresProblem());
    const MeasureOptimum& optimum = *judged;
    const std::vector<CandidateMeasure> measures = session.assessment().CapturedCandidates();
    const NumberLocale& locale = session.displayLocale();
    const std::string harmful = HarmfulLine(optimum, measures, locale);
    return html + Paragraph(BestSetLine(optimum, measures, locale)) + (harmful.empty() ? "" : Paragraph(harmful)) +
           Table(FrontierTable(optimum, measures, locale)) + Picture(source.bestSetChart) +
           Paragraph(RankingAndBestSetText);
}

std::string Questionnaire(const Assessment& assessment)
{
    TextTable table{{"Критерий", "Ответ", "Класс"}, {}, -1};
    for (std::size_t n = 0; n < Criteria.size(); ++n) {
        const Answer& answer = Criteria[n].answers.at(assessment.answers[n]);
        table.rows.push_back({Criteria[n].reportHeading, answer.text, AnswerClassNames.at(assessment.answers[n])});
    }
    return Heading("Напряжённость труда (T03)") +
           Paragraph("Оценка по анкете: " + std::string(IntensityLevelNames.at(assessment.QuestionnaireLevel))) +
           Table(table);
}

// The expert panel, when there is one: its experts, their agreement, each disputed or rated factor's
// consensus, and the band of the node probabilities over their ratings with the current ratings for
// the factors no expert rated, as the tab "Эксперты" shows them (no target).
std::string Panel(const Session& session, const WorkControl& control)
{
    const Assessment& assessment = session.assessment();
    const ExpertPanel& panel = assessment.panel;
    if (panel.experts.empty()) return "";
    const NumberLocale& locale = session.displayLocale();
    std::string names;
    for (const PanelExpert& expert : panel.experts) names += (names.empty() ? "" : ", ") + expert.name;
    std::array<int, FactorCount> current{};
    for (int f = 0; f < FactorCount; ++f) current[f] = RatedItem(assessment.settings, FactorCatalogue[f]) + 1;
    const NetworkInputs ratings = assessment.RatingInputs();
    const std::optional<PanelBand> band = ComputePanelBand(
        panel, ratings, std::nullopt,
        [&control](std::uint64_t, std::uint64_t) { return !(control.stopRequested && control.stopRequested()); });
    if (!band) throw WorkStopped{};
    std::string html = Heading("Панель экспертов") + Paragraph("Эксперты: " + names) +
                       Paragraph(AgreementLine(PanelConcordance(panel), locale)) +
                       Table(OpinionsTable(panel, current)) +
                       Paragraph(
                           "Полоса вероятностей узлов по оценкам экспертов; факторы, которые не оценил ни один "
                           "эксперт, — с текущими оценками.");
    for (const std::string& line : BandLines(*band, ExactNodeProbabilities(ratings).node[NodeI], locale))
        html += Paragraph(line);
    html += Table(BandTable(*band, locale));
    if (!band->shares.empty())
        html += Paragraph("Доли дисперсии вероятности происшествия:") + Table(SharesTable(*band, locale));
    return html;
}

}  // namespace

std::string HtmlEscaped(const std::string& text)
{
    std::string escaped;
    for (const char c : text) {
        switch (c) {
        case '&':
            escaped += "&amp;";
            break;
        case '<':
            escaped += "&lt;";
            break;
        case '>':
            escaped += "&gt;";
            break;
        case '"':
            escaped += "&quot;";
            break;
        case '\'':
            escaped += "&#39;";
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}

std::string ReportHtml(const Session& session, const ReportSource& source, const WorkControl& control)
{
    const Assessment& assessment = session.assessment();
    const std::string file = source.projectFile.empty() ? "не сохранён" : source.projectFile;
    // The best set once, for the summary and its own section.
    std::optional<MeasureOptimum> optimum;
    if (assessment.BestMeasuresProblem().empty()) optimum = assessment.PrepareBestMeasures().Execute(control);
    return "<!DOCTYPE html>\n<html lang=\"ru\"><head><meta charset=\"utf-8\"><title>Kestal 2.0 — отчёт</title>"
           "<style>" +
           std::string(Style) + "</style></head><body>\n<h1>Kestal 2.0 — отчёт об оценке системы ЧМС</h1>\n" +
           Paragraph("Дата и время: " + source.dateTime) + Paragraph("Файл проекта: " + file) +
           Summary(session, optimum) + ExactNodes(session) + LastRun(session) + Ratings(assessment) + Study(session) +
           Importance(session, source) + BestSet(session, optimum, source) + Panel(session, control) +
           Questionnaire(assessment) + "</body></html>\n";
}

}  // namespace kestal
