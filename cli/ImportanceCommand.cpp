// kestal-sim importance: the importance table, as a table or JSON.
#include "cli/ImportanceCommand.h"

#include <ostream>

#include "analysis/FactorImportance.h"
#include "cli/Command.h"
#include "cli/CommandAssessment.h"
#include "cli/OutputLocale.h"
#include "cli/TextTable.h"
#include "common/Formats.h"
#include "common/JsonText.h"

namespace kestal {

namespace {

// A level number, or the text for a setting that is no level's value.
std::string LevelText(int level, const char* none) { return level ? IntegerText(level) : none; }

void WriteTable(std::ostream& out, const ImportanceTable& table, const NumberLocale& locale)
{
    out << "Происшествие: " << GeneralText(table.accident, locale) << '\n';
    std::vector<std::vector<std::string>> rows = {
        {"Фактор", "Уровень", "Лучший", "Худший", "Происшествие при лучшем", "Снижение"}};
    for (const FactorImportance& f : table.factors)
        rows.push_back({f.factor->id, LevelText(f.level, "—"), IntegerText(f.bestLevel), IntegerText(f.worstLevel),
                        GeneralText(f.accident[f.bestLevel - 1], locale), GeneralText(f.reduction, locale)});
    WriteAlignedRows(out, rows);
}

void WriteJson(std::ostream& out, const ImportanceTable& table)
{
    JsonOut factors = JsonOut::array();
    for (const FactorImportance& f : table.factors) {
        JsonOut accident = JsonOut::array();
        for (const long double value : f.accident) accident.push_back(JsonNumber(value));
        factors.push_back({{"factor", f.factor->id},
                           {"level", f.level ? JsonOut(f.level) : JsonOut(nullptr)},
                           {"accident", accident},
                           {"best_level", f.bestLevel},
                           {"worst_level", f.worstLevel}});
    }
    out << JsonText({{"accident", JsonNumber(table.accident)}, {"factors", factors}}) << '\n';
}

}  // namespace

int ImportanceCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    return RunCommandBody("importance", out, err, [&](std::ostream& text) {
        const SimulationOptions options = ParseSimulationOptions(args, TakeRatingOption, {"table", "json"});
        const ImportanceTable table = OpenAssessment(options).Importance();
        if (options.format == "json")
            WriteJson(text, table);
        else
            WriteTable(text, table, OutputNumberLocale(options.format));
    });
}

}  // namespace kestal
