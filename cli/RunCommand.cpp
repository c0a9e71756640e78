// kestal-sim run: K experiments of N initiations, reported per node as the result grid shows them.
#include "cli/RunCommand.h"

#include <array>
#include <optional>
#include <ostream>
#include <sstream>

#include "GERTnet/ResultGrid.h"
#include "cli/Json.h"
#include "cli/Options.h"
#include "cli/Progress.h"
#include "cli/TextTable.h"
#include "common/Formats.h"

namespace {

std::array<NodeResult, NodeCount> Summarise(const RunBlock& block, const NumberLocale& locale) {
    std::array<NodeResult, NodeCount> results;
    for (int node = 0; node < NodeCount; ++node) results[node] = NodeTexts(block, node, locale);
    return results;
}

void WriteTable(std::ostream& out, const std::array<NodeResult, NodeCount>& results) {
    std::vector<std::vector<std::string>> rows;
    rows.emplace_back(ResultGridHeaders.begin(), ResultGridHeaders.end());
    for (int node = 0; node < NodeCount; ++node) {
        const NodeResult& r = results[node];
        rows.push_back({NodeLetters[node], NodeDisplayTexts[node], r.mean, r.deviation.value_or(UndefinedDeviationText),
                        IntegerText(r.last)});
    }
    WriteAlignedRows(out, rows);
}

void WriteCsv(std::ostream& out, const std::array<NodeResult, NodeCount>& results) {
    out << "node,name,mean,deviation,last\n";
    for (int node = 0; node < NodeCount; ++node) {
        const NodeResult& r = results[node];
        out << NodeLetters[node] << ',' << NodeDisplayTexts[node] << ',' << r.mean << ','
            << r.deviation.value_or(UndefinedDeviationText) << ',' << r.last << '\n';
    }
}

void WriteJson(std::ostream& out, const RunBlock& block, const SimulationOptions& options,
               const std::array<NodeResult, NodeCount>& results) {
    out << "{\"K\":" << block.k << ",\"N\":" << block.n
        << ",\"seed\":" << (options.seed ? std::to_string(*options.seed) : "null") << ",\"nodes\":[";
    for (int node = 0; node < NodeCount; ++node) {
        const NodeResult& r = results[node];
        out << (node ? "," : "") << "{\"node\":" << JsonString(NodeLetters[node])
            << ",\"name\":" << JsonString(NodeDisplayTexts[node]) << ",\"mean\":" << JsonString(r.mean)
            << ",\"deviation\":" << (r.deviation ? JsonString(*r.deviation) : "null") << ",\"last\":" << r.last
            << '}';
    }
    out << "]}\n";
}

}  // namespace

int RunCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    try {
        SimulationOptions options;
        ArgumentReader reader(args);
        while (!reader.AtEnd()) {
            const std::string& arg = reader.Take();
            if (!TakeSimulationOption(reader, arg, options, {"table", "csv", "json"}))
                throw UsageError("unknown option '" + arg + "'");
        }
        const NumberLocale locale = OutputNumberLocale(options.format);
        const CommandSession opened = OpenSession(options, locale);
        Session& session = *opened.session;
        ModelingRun run = session.PrepareRun();
        {
            TerminalProgress progress(run.series.ExperimentCount, run.series.InitiationCount);
            run.Execute({[&](int64_t done, int64_t) { progress.Advance(done); }, {}});
        }
        session.CommitRun(std::move(run));
        const RunBlock& block = session.state().results.back();
        const auto results = Summarise(block, locale);
        std::ostringstream text;
        if (options.format == "csv")
            WriteCsv(text, results);
        else if (options.format == "json")
            WriteJson(text, block, options, results);
        else
            WriteTable(text, results);
        out << text.str();
        return 0;
    } catch (const std::exception& error) {  // UsageError and KestalError: the message is the user's
        err << "kestal-sim run: " << error.what() << '\n';
        return UsageExitCode;
    }
}
