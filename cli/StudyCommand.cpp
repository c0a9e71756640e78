// kestal-sim study: each --measure is one capture, then the study; the listing and the totals rows.
#include "cli/StudyCommand.h"

#include <charconv>
#include <limits>
#include <ostream>
#include <utility>

#include "cli/Command.h"
#include "cli/CommandAssessment.h"
#include "cli/MeasureOptions.h"
#include "cli/OutputLocale.h"
#include "cli/Progress.h"
#include "cli/TextTable.h"
#include "common/CheckedMath.h"
#include "common/Formats.h"
#include "common/JsonText.h"

namespace kestal {

namespace {

const MeasureCount StudiedCount = {[](int count) { return StudySeriesCount(count) > 0; }, StudyCountText};

// The shortest text that reads back as `cost`: "3e+38".
std::string CostText(float cost)
{
    char text[32];
    return std::string(text, std::to_chars(text, text + sizeof text, cost).ptr);
}

// The study stores the cost of every combination as a single: the total of all the measures' costs,
// the largest, must be one. Refused before anything runs.
void CheckCostTotal(const MeasureTables& tables)
{
    long double total = 0.0L;
    std::string costs;
    for (int m = 0; m < tables.MeasureCount; ++m) {
        total += tables.captured[m].Cost;
        costs += (m ? " + " : "") + CostText(tables.captured[m].Cost);
    }
    try {
        ToSingle(total);
    } catch (const KestalError&) {
        throw UsageError("the costs " + costs + " add up to more than a cost can hold (" +
                         CostText(std::numeric_limits<float>::max()) + ")");
    }
}

void WriteTable(std::ostream& out, const std::vector<std::string>& listing, const TotalsView& totals)
{
    for (const std::string& line : listing) out << line << '\n';
    out << '\n';
    // The compact rows: columns 0..4 of the header row and of every row written.
    constexpr int CompactColumns = 5;
    std::vector<std::vector<std::string>> grid(totals.rowCount);
    for (const GridCell& cell : totals.cells)
        if (cell.column < CompactColumns) {
            grid[cell.row].resize(CompactColumns);
            grid[cell.row][cell.column] = cell.text;
        }
    std::erase_if(grid, [](const std::vector<std::string>& row) { return row.empty(); });
    WriteAlignedRows(out, grid);
}

void WriteJson(std::ostream& out, const std::vector<std::string>& listing, const MeasureTables& tables,
               const Budget& budget, const NumberLocale& locale)
{
    JsonOut candidates = JsonOut::array();
    for (int s = 1; s <= StorePositions; ++s) {
        const operation& record = tables.MeasureStore(s);
        if (record.Name.empty()) continue;
        const bool within = WithinBudget(record, budget);
        const auto figure = [&](float value) {
            return within ? JsonOut(GeneralText(value, locale)) : JsonOut(nullptr);
        };
        JsonOut changes = JsonOut::array();
        for (int j = 1; j <= record.Changes.Count(); ++j) {
            const ChangeFactor& change = record.Changes[j];
            changes.push_back(
                {{"factor", change.Factor}, {"before", change.LevelBefore}, {"after", change.LevelAfter}});
        }
        candidates.push_back({{"position", s},
                              {"name", record.Name},
                              {"cost", GeneralText(record.Cost, locale)},
                              {"benefit", figure(record.Benefit)},
                              {"ratio", figure(record.Ratio)},
                              {"over_budget", !within},
                              {"changes", changes}});
    }
    out << JsonText({{"listing", listing}, {"candidates", candidates}}) << '\n';
}

}  // namespace

int StudyCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    return RunCommandBody("study", out, err, [&](std::ostream& text) {
        const MeasureCommandOptions options = ParseMeasureCommandOptions(args, TakeSimulationOption, {"table", "json"});
        const NumberLocale locale = OutputNumberLocale(options.simulation.format);
        Assessment assessment = OpenAssessment(options.simulation);
        SetUpMeasures(options, assessment, StudiedCount);
        CheckRunSize(assessment, options.simulation);
        CheckCostTotal(assessment.measures);
        const CommandClock clock(options.simulation);
        MeasureStudy study = assessment.PrepareStudy(clock.clock());
        {
            const StudyParameters& size = study.parameters;
            TerminalProgress progress(ProgressTerminal(StudySeriesCount(size.measures) * int64_t{size.k} * size.n));
            study.Execute(progress.Control());
        }
        const Budget budget = study.budget;
        assessment.CommitStudy(std::move(study));
        const std::vector<std::string> listing = StudyListing(assessment.measures, budget, locale);
        if (options.simulation.format == "json")
            WriteJson(text, listing, assessment.measures, budget, locale);
        else
            WriteTable(text, listing, CompactTotals(assessment.measures, budget, locale));
    });
}

}  // namespace kestal
