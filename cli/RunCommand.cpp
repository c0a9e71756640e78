// kestal-sim run: K experiments of N initiations, reported per node as the result grid shows them.
#include "cli/RunCommand.h"

#include <array>
#include <optional>
#include <ostream>
#include <utility>

#include "network/ResultGrid.h"
#include "cli/Command.h"
#include "cli/CommandAssessment.h"
#include "cli/OutputLocale.h"
#include "cli/Progress.h"
#include "cli/TextTable.h"
#include "common/Formats.h"
#include "common/JsonText.h"

namespace kestal {

namespace {

std::array<NodeResult, NodeCount> Summarise(const RunBlock& block, const NumberLocale& locale)
{
    std::array<NodeResult, NodeCount> results;
    for (int node = 0; node < NodeCount; ++node) results[node] = NodeTexts(block, node, locale);
    return results;
}

void WriteTable(std::ostream& out, const std::array<NodeResult, NodeCount>& results)
{
    std::vector<std::vector<std::string>> rows;
    rows.emplace_back(ResultGridHeaders.begin(), ResultGridHeaders.end());
    for (int node = 0; node < NodeCount; ++node) {
        const NodeResult& r = results[node];
        rows.push_back({NodeLetters[node], NodeDisplayTexts[node], r.mean, r.deviation.value_or(UndefinedDeviationText),
                        IntegerText(r.last)});
    }
    WriteAlignedRows(out, rows);
}

void WriteCsv(std::ostream& out, const std::array<NodeResult, NodeCount>& results)
{
    out << "node,name,mean,deviation,last\n";
    for (int node = 0; node < NodeCount; ++node) {
        const NodeResult& r = results[node];
        out << NodeLetters[node] << ',' << NodeDisplayTexts[node] << ',' << r.mean << ','
            << r.deviation.value_or(UndefinedDeviationText) << ',' << r.last << '\n';
    }
}

// The grid's texts, and the run's precision against the exact probabilities of its ratings: the
// accident frequency's relative error (never below that of the generator's distinct initiations),
// the N for 1 % at this K (null when no run reaches it), the generator's limit and whether K·N is
// beyond it.
void WriteJson(std::ostream& out, const RunBlock& block, const SimulationOptions& options,
               const std::array<NodeResult, NodeCount>& results)
{
    const NodeProbabilities exact = ExactNodeProbabilities(block.inputs);
    const RunPrecision precision = PrecisionOf(block);
    JsonOut nodes = JsonOut::array();
    for (int node = 0; node < NodeCount; ++node) {
        const NodeResult& r = results[node];
        const NodePrecision& p = precision.node[node];
        nodes.push_back({{"node", NodeLetters[node]},
                         {"name", NodeDisplayTexts[node]},
                         {"mean", r.mean},
                         {"deviation", r.deviation ? JsonOut(*r.deviation) : JsonOut(nullptr)},
                         {"last", r.last},
                         {"pooled", JsonNumber(p.pooled)},
                         {"ci95", JsonOut::array({JsonNumber(p.low), JsonNumber(p.high)})},
                         {"exact", JsonNumber(exact.node[node])}});
    }
    const JsonOut run = {{"K", block.k},
                         {"N", block.n},
                         {"seed", options.seed ? JsonOut(*options.seed) : JsonOut(nullptr)},
                         {"nodes", nodes},
                         {"accident_relative_error", JsonNumber(precision.accidentRelativeError)},
                         {"N_for_1_percent", JsonNumber(precision.initiationsForOnePercent)},
                         {"generator_limit", JsonNumber(precision.generatorLimit)},
                         {"beyond_generator_limit", precision.beyondGeneratorLimit}};
    out << JsonText(run) << '\n';
}

}  // namespace

int RunCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    return RunCommandBody("run", out, err, [&](std::ostream& text) {
        const SimulationOptions options = ParseSimulationOptions(args, TakeSimulationOption, {"table", "csv", "json"});
        const NumberLocale locale = OutputNumberLocale(options.format);
        Assessment assessment = OpenAssessment(options);
        CheckRunSize(assessment, options);
        const CommandClock clock(options);
        ModelingRun run = assessment.PrepareRun(clock.clock());
        {
            TerminalProgress progress(
                ProgressTerminal(int64_t{run.series.ExperimentCount} * run.series.InitiationCount));
            run.Execute(progress.Control());
        }
        assessment.CommitRun(std::move(run));
        const RunBlock& block = assessment.results.back();
        const auto results = Summarise(block, locale);
        if (options.format == "csv")
            WriteCsv(text, results);
        else if (options.format == "json")
            WriteJson(text, block, options, results);
        else
            WriteTable(text, results);
    });
}

}  // namespace kestal
