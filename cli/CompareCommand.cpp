// kestal-sim compare: ratings, node probabilities and the Shapley contributions of two assessments.
#include "cli/CompareCommand.h"

#include <ostream>

#include "analysis/AssessmentComparison.h"
#include "analysis/FactorImportance.h"
#include "project/ProjectFile.h"
#include "cli/Command.h"
#include "cli/Options.h"
#include "cli/OutputLocale.h"
#include "cli/TextTable.h"
#include "common/Formats.h"
#include "common/JsonText.h"

namespace kestal {

namespace {

struct CompareOptions {
    std::vector<std::string> files;
    std::string format = "table";
};

CompareOptions ParseCompareOptions(const std::vector<std::string>& args)
{
    CompareOptions options;
    ArgumentReader reader(args);
    while (!reader.AtEnd()) {
        const std::string& arg = reader.Take();
        if (arg == "--format") {
            options.format = reader.TakeValue(arg);
            if (options.format != "table" && options.format != "json")
                throw UsageError(Subject(arg, options.format) + ": expected table or json");
        } else if (arg.starts_with("-") && arg != "-") {
            throw UsageError("unknown option '" + arg + "'");
        } else {
            options.files.push_back(arg);
        }
    }
    if (options.files.size() != 2)
        throw UsageError("expected two project files A and B, got " + std::to_string(options.files.size()));
    return options;
}

NetworkInputs RatingsOf(const std::string& path) { return OpenProjectFile(path).assessment.RatingInputs(); }

std::string LevelText(int level, const char* none) { return level ? IntegerText(level) : none; }

void WriteTable(std::ostream& out, const CompareOptions& options, const NetworkInputs& a, const NetworkInputs& b,
                const AssessmentComparison& c, const NumberLocale& locale)
{
    out << "A: " << options.files[0] << "\nB: " << options.files[1] << "\n\n";
    std::vector<std::vector<std::string>> ratings = {{"Фактор", "A", "B", ""}};
    for (const FactorInfo& f : FactorCatalogue)
        ratings.push_back({f.id, LevelText(LevelNumberOf(a.slot[f.slot]), "—"),
                           LevelText(LevelNumberOf(b.slot[f.slot]), "—"), a.slot[f.slot] != b.slot[f.slot] ? "*" : ""});
    WriteAlignedRows(out, ratings);
    out << '\n';
    std::vector<std::vector<std::string>> nodes = {{"Узел", "Возможные состояния", "A", "B"}};
    for (int node = 0; node < NodeCount; ++node)
        nodes.push_back({NodeLetters[node], NodeDisplayTexts[node], GeneralText(c.a.node[node], locale),
                         GeneralText(c.b.node[node], locale)});
    WriteAlignedRows(out, nodes);
    out << "\nΔP = P_B(I) − P_A(I): " << GeneralText(c.difference, locale) << '\n';
    if (c.contributions.empty()) {
        out << "Оценки факторов совпадают.\n";
        return;
    }
    out << (c.method == ContributionMethod::Exact ? "Вклады факторов (точно, по всем подмножествам):\n"
                                                  : "Вклады факторов (выборка случайных порядков):\n");
    // A waterfall in numbers: P_A(I), then after each contribution, largest first, up to P_B(I).
    std::vector<std::vector<std::string>> rows = {{"Фактор", "Было", "Стало", "Вклад", "Ст. ошибка", "P(I) с ним"},
                                                  {"A", "", "", "", "", GeneralText(c.a.node[NodeI], locale)}};
    long double running = c.a.node[NodeI];
    for (const FactorContribution& f : c.contributions)
        rows.push_back({f.factor->id, LevelText(f.from, "—"), LevelText(f.to, "—"), GeneralText(f.contribution, locale),
                        GeneralText(f.error, locale), GeneralText(running += f.contribution, locale)});
    WriteAlignedRows(out, rows);
}

void WriteJson(std::ostream& out, const CompareOptions& options, const AssessmentComparison& c)
{
    const auto level = [](int number) { return number ? JsonOut(number) : JsonOut(nullptr); };
    JsonOut nodes = JsonOut::array();
    for (int node = 0; node < NodeCount; ++node)
        nodes.push_back(
            {{"node", NodeLetters[node]}, {"a", JsonNumber(c.a.node[node])}, {"b", JsonNumber(c.b.node[node])}});
    JsonOut contributions = JsonOut::array();
    for (const FactorContribution& f : c.contributions)
        contributions.push_back({{"factor", f.factor->id},
                                 {"from", level(f.from)},
                                 {"to", level(f.to)},
                                 {"contribution", JsonNumber(f.contribution)},
                                 {"error", JsonNumber(f.error)}});
    out << JsonText({{"a", {{"file", options.files[0]}, {"accident", JsonNumber(c.a.node[NodeI])}}},
                     {"b", {{"file", options.files[1]}, {"accident", JsonNumber(c.b.node[NodeI])}}},
                     {"difference", JsonNumber(c.difference)},
                     {"method", c.method == ContributionMethod::Exact ? "exact" : "sampling"},
                     {"nodes", nodes},
                     {"contributions", contributions}})
        << '\n';
}

}  // namespace

int CompareCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    return RunCommandBody("compare", out, err, [&](std::ostream& text) {
        const CompareOptions options = ParseCompareOptions(args);
        const NetworkInputs a = RatingsOf(options.files[0]);
        const NetworkInputs b = RatingsOf(options.files[1]);
        const AssessmentComparison comparison = CompareAssessments(a, b);
        if (options.format == "json")
            WriteJson(text, options, comparison);
        else
            WriteTable(text, options, a, b, comparison, OutputNumberLocale(options.format));
    });
}

}  // namespace kestal
