// kestal-sim optimize: measures captured as ">>" captures them, every subset (doing nothing included)
// ranked, as a table or JSON.
#include "cli/OptimizeCommand.h"

#include <ostream>

#include "analysis/AnalysisTexts.h"
#include "analysis/BestMeasures.h"
#include "cli/Command.h"
#include "cli/CommandAssessment.h"
#include "cli/MeasureOptions.h"
#include "cli/OutputLocale.h"
#include "cli/TextTable.h"
#include "common/Formats.h"
#include "common/JsonText.h"

namespace kestal {

namespace {

const MeasureCount OptimizedCount = {
    [](int count) { return count >= MinCandidateMeasures && count <= MaxCandidateMeasures; }, BestSetCountText};

// The members' names in capture order.
std::vector<std::string> MemberNames(uint32_t members, const std::vector<CandidateMeasure>& candidates)
{
    std::vector<std::string> names;
    for (std::size_t i = 0; i < candidates.size(); ++i)
        if (members >> i & 1) names.push_back(candidates[i].name);
    return names;
}

// The best set, or the line on why nothing is recommended.
std::string BestText(const MeasureOptimum& optimum, const std::vector<CandidateMeasure>& candidates,
                     const NumberLocale& locale)
{
    return optimum.best ? MembersText(*optimum.best, candidates) : BestSetLine(optimum, candidates, locale);
}

void WriteTable(std::ostream& out, const MeasureOptimum& optimum, const std::vector<CandidateMeasure>& candidates,
                const NumberLocale& locale)
{
    out << "Происшествие без мер: " << GeneralText(optimum.baseline, locale) << '\n';
    std::vector<std::vector<std::string>> rows = {
        {"Мероприятия", "Затраты", "Происшествие", "Выгода", "Выгода/затраты", "В бюджете", "Парето"}};
    for (const MeasureSubset& s : optimum.subsets)
        rows.push_back({SubsetText(s, candidates), GeneralText(s.cost, locale), GeneralText(s.accident, locale),
                        GeneralText(s.benefit, locale), GeneralText(s.ratio, locale), s.withinBudget ? "да" : "нет",
                        s.pareto ? "да" : "нет"});
    WriteAlignedRows(out, rows);
    out << "Лучший набор: " << BestText(optimum, candidates, locale) << '\n';
}

void WriteJson(std::ostream& out, const MeasureOptimum& optimum, const std::vector<CandidateMeasure>& candidates,
               const NumberLocale& locale)
{
    const auto names = [&](uint32_t members) { return JsonOut(MemberNames(members, candidates)); };
    JsonOut subsets = JsonOut::array();
    for (const MeasureSubset& s : optimum.subsets)
        subsets.push_back({{"measures", names(s.members)},
                           {"cost", JsonNumber(s.cost)},
                           {"accident", JsonNumber(s.accident)},
                           {"benefit", JsonNumber(s.benefit)},
                           {"ratio", JsonNumber(s.ratio)},
                           {"within_budget", s.withinBudget},
                           {"pareto", s.pareto},
                           {"harmful", s.harmful}});
    JsonOut result = {{"baseline", JsonNumber(optimum.baseline)}, {"subsets", subsets}};
    result["best"] = optimum.best ? names(*optimum.best) : JsonOut(nullptr);
    if (!optimum.best) result["reason"] = BestSetLine(optimum, candidates, locale);
    out << JsonText(result) << '\n';
}

}  // namespace

int OptimizeCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    return RunCommandBody("optimize", out, err, [&](std::ostream& text) {
        const MeasureCommandOptions options = ParseMeasureCommandOptions(args, TakeRatingOption, {"table", "json"});
        const NumberLocale locale = OutputNumberLocale(options.simulation.format);
        Assessment assessment = OpenAssessment(options.simulation);
        SetUpMeasures(options, assessment, OptimizedCount);
        const std::vector<CandidateMeasure> candidates = assessment.CapturedCandidates();
        const MeasureOptimum optimum = assessment.PrepareBestMeasures().Execute();
        if (options.simulation.format == "json")
            WriteJson(text, optimum, candidates, locale);
        else
            WriteTable(text, optimum, candidates, locale);
    });
}

}  // namespace kestal
