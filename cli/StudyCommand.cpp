// kestal-sim study: each --measure is one capture, then the study; the listing and the totals rows.
#include "cli/StudyCommand.h"

#include <memory>
#include <ostream>
#include <sstream>

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

// Each --measure as the editor takes it: the name and cost typed, the bars moved, ">>" pressed.
void CaptureMeasures(const StudyOptions& options, Session& session) {
    session.SetBudgetText(options.budget);
    session.SetDamageText(options.damage);
    for (const MeasureOption& measure : options.measures) {
        session.SetMeasureName(measure.name);
        session.SetCostText(measure.cost);
        for (const auto& [f, item] : measure.moves) {
            if (session.state().editor[f].locked)
                throw UsageError(std::string("factor ") + FactorCatalogue[f].id +
                                 " belongs to an earlier measure, in --measure " + measure.text);
            session.MoveBar(f, item);
        }
        if (!session.WouldCapture())
            throw UsageError("no factor leaves its current level in --measure " + measure.text);
        session.Capture();
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
    try {
        const StudyOptions options = ParseOptions(args);
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
        std::ostringstream text;
        if (options.simulation.format == "json")
            WriteJson(text, state.study.listing, state.measures, state.study.totalsBudget, locale);
        else
            WriteTable(text, state.study.listing, session.Totals());
        out << text.str();
        return 0;
    } catch (const std::exception& error) {  // UsageError and KestalError: the message is the user's
        err << "kestal-sim study: " << error.what() << '\n';
        return UsageExitCode;
    }
}
