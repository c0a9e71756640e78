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

std::array<NodeResult, NodeCount> Summarise(const Simulation& simulation, const NumberLocale& locale) {
    std::array<NodeResult, NodeCount> results;
    for (int node = 0; node < NodeCount; ++node)
        results[node] = ResultOfNode(simulation.net, simulation.series, node, locale);
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

void WriteJson(std::ostream& out, const Simulation& simulation, const SimulationOptions& options,
               const std::array<NodeResult, NodeCount>& results) {
    out << "{\"K\":" << simulation.series.ExperimentCount << ",\"N\":" << simulation.series.InitiationCount
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
        auto simulation = PrepareSimulation(options);
        {
            TerminalProgress progress(simulation->series.ExperimentCount, simulation->series.InitiationCount);
            RunSeries(simulation->net, simulation->series, [&](int32_t e) { progress.Advance(e); });
        }
        const NumberLocale locale = OutputNumberLocale(options.format);
        const auto results = Summarise(*simulation, locale);
        std::ostringstream text;
        if (options.format == "csv")
            WriteCsv(text, results);
        else if (options.format == "json")
            WriteJson(text, *simulation, options, results);
        else
            WriteTable(text, results);
        out << text.str();
        return 0;
    } catch (const std::exception& error) {  // UsageError and KestalError: the message is the user's
        err << "kestal-sim run: " << error.what() << '\n';
        return UsageExitCode;
    }
}
