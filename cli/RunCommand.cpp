// kestal-sim run: K experiments of N initiations, reported per node as the result grid shows them.
#include "cli/RunCommand.h"

#include <array>
#include <optional>
#include <ostream>

#include "Analysis/RunPrecision.h"
#include "GERTnet/ResultGrid.h"
#include "cli/Command.h"
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

// The grid's texts, and the run's precision against the exact probabilities of its ratings.
void WriteJson(std::ostream& out, const Simulation& simulation, const SimulationOptions& options,
               const std::array<NodeResult, NodeCount>& results) {
    const SeriesTable& series = simulation.series;
    const NodeProbabilities exact = ExactNodeProbabilities(simulation.net.inputs);
    const RunPrecision precision =
        PrecisionOfRun(SeriesTotals(series), series.ExperimentCount, series.InitiationCount, exact);
    out << "{\"K\":" << series.ExperimentCount << ",\"N\":" << series.InitiationCount
        << ",\"seed\":" << (options.seed ? std::to_string(*options.seed) : "null") << ",\"nodes\":[";
    for (int node = 0; node < NodeCount; ++node) {
        const NodeResult& r = results[node];
        const NodePrecision& p = precision.node[node];
        out << (node ? "," : "") << "{\"node\":" << JsonString(NodeLetters[node])
            << ",\"name\":" << JsonString(NodeDisplayTexts[node]) << ",\"mean\":" << JsonString(r.mean)
            << ",\"deviation\":" << (r.deviation ? JsonString(*r.deviation) : "null") << ",\"last\":" << r.last
            << ",\"pooled\":" << JsonNumber(p.pooled) << ",\"ci95\":[" << JsonNumber(p.low) << ','
            << JsonNumber(p.high) << "],\"exact\":" << JsonNumber(exact.node[node]) << '}';
    }
    const auto optional = [](const std::optional<long double>& value) { return value ? JsonNumber(*value) : "null"; };
    out << "],\"accident_relative_error\":" << optional(precision.accidentRelativeError)
        << ",\"N_for_1_percent\":" << optional(precision.initiationsForOnePercent) << "}\n";
}

}  // namespace

int RunCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    return RunCommandBody("run", out, err, [&](std::ostream& text) {
        const SimulationOptions options = ParseSimulationOptions(args, TakeSimulationOption, {"table", "csv", "json"});
        auto simulation = PrepareSimulation(options);
        {
            TerminalProgress progress(simulation->series.ExperimentCount, simulation->series.InitiationCount);
            RunSeries(simulation->net, simulation->series, [&](int32_t e) { progress.Advance(e); });
        }
        const NumberLocale locale = OutputNumberLocale(options.format);
        const auto results = Summarise(*simulation, locale);
        if (options.format == "csv")
            WriteCsv(text, results);
        else if (options.format == "json")
            WriteJson(text, *simulation, options, results);
        else
            WriteTable(text, results);
    });
}
