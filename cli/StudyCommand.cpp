// kestal-sim study: each --measure is one capture, then the study; the listing and the totals rows.
#include "cli/StudyCommand.h"

#include <ostream>
#include <utility>

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
               const Budget& budget, const NumberLocale& locale) {
    out << "{\"listing\":[";
    for (std::size_t i = 0; i < listing.size(); ++i) out << (i ? "," : "") << JsonString(listing[i]);
    out << "],\"candidates\":[";
    bool first = true;
    for (int s = 1; s <= StorePositions; ++s) {
        const operation& record = tables.MeasureStore(s);
        if (record.Name.empty()) continue;
        const bool within = WithinBudget(record, budget);
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
        const NumberLocale locale = OutputNumberLocale(options.simulation.format);
        const CommandSession opened = OpenSession(options.simulation, locale);
        Session& session = *opened.session;
        CaptureMeasures(options, session);
        MeasureStudy study = session.PrepareStudy();
        {
            TerminalProgress progress(StudySeriesCount(study.parameters.measures) * int64_t{study.parameters.k},
                                      study.parameters.n);
            study.Execute({[&](int64_t done, int64_t) { progress.Advance(done); }, {}});
        }
        session.CommitStudy(std::move(study));
        const SessionState& state = session.state();
        if (options.simulation.format == "json")
            WriteJson(text, state.study.listing, state.measures, state.study.totalsBudget, locale);
        else
            WriteTable(text, state.study.listing, session.Totals());
    });
}
