// kestal-sim batch: every workplace of a table assessed exactly, ranked, with its top factors.
#include "cli/BatchCommand.h"

#include <ostream>
#include <utility>

#include "analysis/WorkplaceSummary.h"
#include "cli/Command.h"
#include "cli/Options.h"
#include "cli/OutputLocale.h"
#include "cli/Progress.h"
#include "cli/TextTable.h"
#include "common/Formats.h"
#include "common/JsonText.h"
#include "sheets/SummaryFile.h"
#include "sheets/TableFile.h"

namespace kestal {

namespace {

struct BatchOptions {
    std::string file;
    std::string format = "table";
    bool importance = true;
};

BatchOptions ParseBatchOptions(const std::vector<std::string>& args)
{
    BatchOptions options;
    bool fileGiven = false;
    ArgumentReader reader(args);
    while (!reader.AtEnd()) {
        const std::string& arg = reader.Take();
        if (arg == "--format") {
            options.format = reader.TakeValue(arg);
            if (options.format != "table" && options.format != "csv" && options.format != "json")
                throw UsageError(Subject(arg, options.format) + ": expected table, csv or json");
        } else if (arg == "--no-importance") {
            options.importance = false;
        } else if (arg.starts_with("-") && arg != "-") {
            throw UsageError("unknown option '" + arg + "'");
        } else if (fileGiven) {
            throw UsageError("expected one table file, got also '" + arg + "'");
        } else {
            options.file = arg;
            fileGiven = true;
        }
    }
    if (!fileGiven) throw UsageError("expected a table file (CSV or XLSX)");
    return options;
}

std::string TopText(const WorkplaceAssessment& w, const char* separator)
{
    std::string text;
    for (const FactorInfo* factor : w.top)
        if (factor) text += (text.empty() ? "" : separator) + std::string(factor->id);
    return text;
}

void WriteTable(std::ostream& out, const WorkplaceList& list, const std::vector<WorkplaceAssessment>& assessed,
                const NumberLocale& locale)
{
    std::vector<std::vector<std::string>> rows = {
        {"Строка", "Рабочее место", "Ранг", "Происшествие", "Главные факторы"}};
    for (std::size_t i = 0; i < assessed.size(); ++i)
        rows.push_back({IntegerText(static_cast<int64_t>(list.workplaces[i].row)), OneLine(list.workplaces[i].name),
                        IntegerText(assessed[i].rank), GeneralText(assessed[i].nodes.node[NodeI], locale),
                        TopText(assessed[i], ", ")});
    WriteAlignedRows(out, rows);
}

void WriteJson(std::ostream& out, const WorkplaceList& list, const std::vector<WorkplaceAssessment>& assessed)
{
    // A row per workplace, made as it is written: an enterprise's summary costs no document of its own.
    const JsonRows workplaces{assessed.size(), [&](std::size_t i) {
                                  const WorkplaceAssessment& w = assessed[i];
                                  JsonOut nodes = JsonOut::array();
                                  for (const long double p : w.nodes.node) nodes.push_back(JsonNumber(p));
                                  JsonOut top = JsonOut::array();
                                  for (const FactorInfo* factor : w.top)
                                      if (factor) top.push_back(factor->id);
                                  return JsonOut{{"row", list.workplaces[i].row},
                                                 {"name", list.workplaces[i].name},
                                                 {"nodes", nodes},
                                                 {"accident", JsonNumber(w.nodes.node[NodeI])},
                                                 {"rank", w.rank},
                                                 {"top_factors", top}};
                              }};
    JsonOut errors = JsonOut::array();
    for (const WorkplaceRefusal& e : list.errors)
        errors.push_back({{"row", e.row}, {"column", e.column}, {"problem", e.problem}});
    out << JsonText({{"workplaces", nullptr}, {"errors", errors}}, "workplaces", workplaces) << '\n';
}

}  // namespace

int BatchCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    std::vector<std::string> refusals;
    const int status = RunCommandBody("batch", out, err, [&](std::ostream& text) {
        const BatchOptions options = ParseBatchOptions(args);
        const TableCells cells = ReadTableFile(options.file);
        const WorkplaceList list = Attributed(options.file, [&] { return ReadWorkplaces(cells); });
        std::optional<std::vector<WorkplaceAssessment>> assessed;
        {
            // Counted as the initiations a modeling run of about the same length would make.
            const int64_t work =
                static_cast<int64_t>(list.workplaces.size()) * (options.importance ? 1'000'000 : 3'000);
            TerminalProgress progress(ProgressTerminal(work));
            const WorkControl control = progress.Control();
            assessed = AssessWorkplaces(list.workplaces, options.importance, [&](std::size_t done, std::size_t total) {
                control.Report(static_cast<int64_t>(done), static_cast<int64_t>(total));
                return true;
            });
        }
        if (options.format == "json")
            WriteJson(text, list, *assessed);
        else if (options.format == "csv")
            text << SummaryCsv(list, *assessed);
        else
            WriteTable(text, list, *assessed, OutputNumberLocale(options.format));
        for (const WorkplaceRefusal& e : list.errors)
            refusals.push_back(options.file + ": строка " + std::to_string(e.row) + ", столбец " + e.column + ": " +
                               e.problem);
    });
    if (status != 0 || refusals.empty()) return status;
    for (const std::string& line : refusals) err << "kestal-sim batch: " << OneLine(line) << '\n';
    err << std::flush;
    return PartlyRefusedExitCode;
}

}  // namespace kestal
