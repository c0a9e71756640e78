// kestal-sim study: each --measure is one capture, then the study; the listing and the totals rows.
#include "cli/StudyCommand.h"

#include <memory>
#include <ostream>

#include "ActSelect/Study.h"
#include "ActSelect/Totals.h"
#include "cli/Command.h"
#include "cli/Json.h"
#include "cli/MeasureOptions.h"
#include "cli/Options.h"
#include "cli/Progress.h"
#include "cli/TextTable.h"
#include "common/Formats.h"

namespace {

void WriteTable(std::ostream& out, const std::vector<std::string>& listing, const TotalsView& totals) {
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
               const std::string& budget, const NumberLocale& locale) {
    out << "{\"listing\":[";
    for (std::size_t i = 0; i < listing.size(); ++i) out << (i ? "," : "") << JsonString(listing[i]);
    out << "],\"candidates\":[";
    bool first = true;
    for (int s = 1; s <= StorePositions; ++s) {
        const operation& record = tables.MeasureStore(s);
        if (record.Name.empty()) continue;
        const bool within = WithinBudget(record, budget, locale);
        out << (first ? "" : ",") << "{\"position\":" << s << ",\"name\":" << JsonString(record.Name)
            << ",\"cost\":" << JsonString(GeneralText(record.Cost, locale))
            << ",\"benefit\":" << (within ? JsonString(GeneralText(record.Benefit, locale)) : "null")
            << ",\"ratio\":" << (within ? JsonString(GeneralText(record.Ratio, locale)) : "null")
            << ",\"over_budget\":" << (within ? "false" : "true") << ",\"changes\":[";
        for (int j = 1; j <= record.Changes.Count(); ++j) {
            const ChangeFactor& change = record.Changes[j];
            out << (j > 1 ? "," : "") << "{\"factor\":" << JsonString(change.Factor)
                << ",\"before\":" << JsonString(change.LevelBefore) << ",\"after\":" << JsonString(change.LevelAfter)
                << '}';
        }
        out << "]}";
        first = false;
    }
    out << "]}\n";
}

}  // namespace

int StudyCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    return RunCommandBody("study", out, err, [&](std::ostream& text) {
        const MeasureCommandOptions options = ParseMeasureCommandOptions(args, TakeSimulationOption, {"table", "json"});
        auto simulation = PrepareSimulation(options.simulation);
        const NumberLocale locale = OutputNumberLocale(options.simulation.format);
        auto tables = std::make_unique<MeasureTables>();
        InitPlanTable(*tables);
        ClearMeasureStore(*tables);
        CaptureMeasures(options, simulation->settings, *tables, locale);

        const StudyParameters parameters = CheckStudy(
            *tables, {options.simulation.kText, options.simulation.nText, options.budget, options.damage}, locale);
        int64_t experiments = 0;
        {
            TerminalProgress progress(StudySeriesCount(parameters.measures) * int64_t{parameters.k}, parameters.n);
            RunStudy(*tables, simulation->settings, simulation->net, simulation->series, parameters,
                     {{}, [&](int32_t) { progress.Advance(++experiments); }});
        }
        const std::vector<std::string> listing = StudyListing(*tables, options.budget, locale);
        if (options.simulation.format == "json")
            WriteJson(text, listing, *tables, options.budget, locale);
        else
            WriteTable(text, listing, CompactTotals(*tables, options.budget, locale));
    });
}
