// kestal-sim exact: each node's exact probability, as a table or JSON.
#include "cli/ExactCommand.h"

#include <ostream>

#include "analysis/ExactNodes.h"
#include "cli/Command.h"
#include "cli/CommandAssessment.h"
#include "cli/OutputLocale.h"
#include "cli/TextTable.h"
#include "common/Formats.h"
#include "common/JsonText.h"

namespace kestal {

namespace {

void WriteTable(std::ostream& out, const NodeProbabilities& p, const NumberLocale& locale)
{
    std::vector<std::vector<std::string>> rows = {{"Узел", "Возможные состояния", "Вероятность"}};
    for (int node = 0; node < NodeCount; ++node)
        rows.push_back({NodeLetters[node], NodeDisplayTexts[node], GeneralText(p.node[node], locale)});
    WriteAlignedRows(out, rows);
    out << "Розыгрышей на инициацию: " << GeneralText(DrawsPerInitiation(p), locale) << '\n';
}

void WriteJson(std::ostream& out, const NodeProbabilities& p)
{
    JsonOut nodes = JsonOut::array();
    for (int node = 0; node < NodeCount; ++node)
        nodes.push_back(
            {{"node", NodeLetters[node]}, {"name", NodeDisplayTexts[node]}, {"probability", JsonNumber(p.node[node])}});
    out << JsonText({{"nodes", nodes}, {"draws_per_initiation", JsonNumber(DrawsPerInitiation(p))}}) << '\n';
}

}  // namespace

int ExactCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    return RunCommandBody("exact", out, err, [&](std::ostream& text) {
        const SimulationOptions options = ParseSimulationOptions(args, TakeRatingOption, {"table", "json"});
        const NodeProbabilities p = OpenAssessment(options).ExactNodes();
        if (options.format == "json")
            WriteJson(text, p);
        else
            WriteTable(text, p, OutputNumberLocale(options.format));
    });
}

}  // namespace kestal
