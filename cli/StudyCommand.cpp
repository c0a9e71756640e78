// kestal-sim study: each --measure is one capture, then the study; the listing and the totals rows.
#include "cli/StudyCommand.h"

#include <memory>
#include <ostream>
#include <sstream>

#include "ActSelect/Capture.h"
#include "ActSelect/Study.h"
#include "ActSelect/Totals.h"
#include "cli/Json.h"
#include "cli/Options.h"
#include "cli/Progress.h"
#include "cli/TextTable.h"
#include "common/Conversions.h"
#include "common/Formats.h"

namespace {

// One --measure: "NAME;COST;ID=NUMBER[,ID=NUMBER...]"; the name may itself hold ';'.
struct MeasureOption {
    std::string text;
    std::string name;
    std::string cost;
    std::vector<std::pair<int, int>> moves;  // FactorCatalogue index, list item 0..10
};

MeasureOption ParseMeasureOption(const std::string& text) {
    const std::string what = "--measure expects NAME;COST;ID=NUMBER[,ID=NUMBER...], got '" + text + "'";
    const auto last = text.rfind(';');
    const auto middle = last == std::string::npos || last == 0 ? std::string::npos : text.rfind(';', last - 1);
    if (middle == std::string::npos) throw UsageError(what);
    MeasureOption measure{text, text.substr(0, middle), text.substr(middle + 1, last - middle - 1), {}};
    std::istringstream list(text.substr(last + 1));
    for (std::string change; std::getline(list, change, ',');) {
        const auto equals = change.find('=');
        const FactorInfo* factor = equals == std::string::npos ? nullptr : FindFactor(change.substr(0, equals));
        if (!factor) throw UsageError(what);
        const int item = LevelItemOfNumber(change.substr(equals + 1), "--measure", text);
        const int index = CatalogueIndex(*factor);
        for (const auto& move : measure.moves)
            if (move.first == index) throw UsageError(std::string("factor ") + factor->id + " given twice in --measure " + text);
        measure.moves.emplace_back(index, item);
    }
    if (measure.moves.empty()) throw UsageError(what);
    return measure;
}

struct StudyOptions {
    SimulationOptions simulation;
    std::vector<MeasureOption> measures;
    std::string budget = "1500";
    std::string damage = "10000000";
};

StudyOptions ParseOptions(const std::vector<std::string>& args) {
    StudyOptions options;
    ArgumentReader reader(args);
    while (!reader.AtEnd()) {
        const std::string& arg = reader.Take();
        if (arg == "--measure")
            options.measures.push_back(ParseMeasureOption(reader.TakeValue(arg)));
        else if (arg == "--budget")
            options.budget = reader.TakeValue(arg);
        else if (arg == "--damage")
            options.damage = reader.TakeValue(arg);
        else if (!TakeSimulationOption(reader, arg, options.simulation, {"table", "json"}))
            throw UsageError("unknown option '" + arg + "'");
    }
    return options;
}

// The measure page as the editor leaves it: every factor at its current level, then the captures.
void CaptureMeasures(const StudyOptions& options, const Simulation& simulation, MeasureTables& tables,
                     const NumberLocale& locale) {
    EditorRows rows;
    for (int f = 0; f < FactorCount; ++f) rows[f] = StartEditorRow(FactorCatalogue[f]);
    for (const auto& [factor, item] : options.simulation.levels)
        rows[CatalogueIndex(*factor)] = FreshEditorRow(*factor, item);

    for (const MeasureOption& measure : options.measures) {
        for (const auto& [f, item] : measure.moves) {
            if (rows[f].locked)
                throw UsageError(std::string("factor ") + FactorCatalogue[f].id +
                                 " belongs to an earlier measure, in --measure " + measure.text);
            rows[f].position = item;
            rows[f].levelAfter = (*FactorCatalogue[f].wording)[item];
        }
        const CaptureResult result = CaptureMeasure(
            tables, simulation.settings, {rows, measure.name, measure.cost, options.budget, options.damage}, locale);
        if (!result.captured)
            throw UsageError("no factor leaves its current level in --measure " + measure.text);
        for (int f : result.lockedFactors) rows[f].locked = true;
    }
}

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
    try {
        const StudyOptions options = ParseOptions(args);
        auto simulation = PrepareSimulation(options.simulation);
        const NumberLocale locale = OutputNumberLocale(options.simulation.format);
        auto tables = std::make_unique<MeasureTables>();
        InitPlanTable(*tables);
        ClearMeasureStore(*tables);
        CaptureMeasures(options, *simulation, *tables, locale);

        const StudyParameters parameters = CheckStudy(
            *tables, {options.simulation.kText, options.simulation.nText, options.budget, options.damage}, locale);
        int64_t experiments = 0;
        {
            TerminalProgress progress(StudySeriesCount(parameters.measures) * int64_t{parameters.k}, parameters.n);
            RunStudy(*tables, simulation->settings, simulation->net, simulation->series, parameters,
                     {{}, [&](int32_t) { progress.Advance(++experiments); }});
        }
        const std::vector<std::string> listing = StudyListing(*tables, options.budget, locale);
        std::ostringstream text;
        if (options.simulation.format == "json")
            WriteJson(text, listing, *tables, options.budget, locale);
        else
            WriteTable(text, listing, CompactTotals(*tables, options.budget, locale));
        out << text.str();
        return 0;
    } catch (const std::exception& error) {  // UsageError and KestalError: the message is the user's
        err << "kestal-sim study: " << error.what() << '\n';
        return UsageExitCode;
    }
}
