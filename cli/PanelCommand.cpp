// kestal-sim panel: an expert panel's concordance, consensus and band, as a table or JSON.
#include "cli/PanelCommand.h"

#include <cerrno>
#include <cmath>
#include <cstring>
#include <fstream>
#include <optional>
#include <ostream>

#include "analysis/ExpertPanel.h"
#include "analysis/PanelConcordance.h"
#include "analysis/ExpertPanelCsv.h"
#include "assessment/Work.h"
#include "cli/Command.h"
#include "cli/CommandAssessment.h"
#include "cli/OutputLocale.h"
#include "cli/StopSignals.h"
#include "cli/TextTable.h"
#include "common/Conversions.h"
#include "common/Formats.h"
#include "common/JsonText.h"

namespace kestal {

namespace {

// A panel's table is small; anything longer is not one (and a device file never ends).
constexpr std::size_t MaxPanelFileBytes = 1 << 20;

struct PanelOptions {
    SimulationOptions simulation;
    std::optional<std::string> panelFile;
    std::optional<std::string> targetText;
};

PanelOptions ParsePanelOptions(const std::vector<std::string>& args)
{
    PanelOptions options;
    const std::vector<std::string> formats = {"table", "json"};
    ArgumentReader reader(args);
    while (!reader.AtEnd()) {
        const std::string& arg = reader.Take();
        if (arg == "--panel")
            options.panelFile = reader.TakeValue(arg);
        else if (arg == "--target")
            options.targetText = reader.TakeValue(arg);
        else if (!TakeRatingOption(reader, arg, options.simulation, formats))
            throw UsageError("unknown option '" + arg + "'");
    }
    if (!options.panelFile && !options.simulation.project)
        throw UsageError("expected --panel FILE or a --project FILE that holds a panel");
    return options;
}

long double ParseTarget(const std::string& text)
{
    const std::string subject = Subject("--target", text);
    const long double target = Attributed(subject, [&] { return ParseFloat(text, CommandLineNumbers()); });
    if (!(target >= 0 && target <= 1)) throw UsageError(subject + ": a target is a probability from 0 to 1");
    return target;
}

void WriteJson(std::ostream& out, const ExpertPanel& panel, const PanelBand& band,
               const std::vector<FactorOpinions>& opinions, const Concordance& concordance)
{
    JsonOut experts = JsonOut::array();
    for (const PanelExpert& expert : panel.experts) experts.push_back(expert.name);
    JsonOut nodes = JsonOut::array();
    for (int node = 0; node < NodeCount; ++node) {
        const NodeBand& b = band.node[node];
        nodes.push_back({{"node", NodeLetters[node]},
                         {"mean", JsonNumber(b.mean)},
                         {"min", JsonNumber(b.min)},
                         {"max", JsonNumber(b.max)},
                         {"p05", JsonNumber(b.p05)},
                         {"p50", JsonNumber(b.p50)},
                         {"p95", JsonNumber(b.p95)}});
    }
    JsonOut shares = JsonOut::array();
    for (const FactorShare& share : band.shares)
        shares.push_back({{"factor", share.factor->id}, {"share", JsonNumber(share.share)}});
    JsonOut consensus = JsonOut::object();
    for (const FactorOpinions& row : opinions) consensus[row.factor->id] = row.consensus;
    const JsonOut agreement = concordance.formed ? JsonOut{{"w", JsonNumber(concordance.w)},
                                                           {"chi2", JsonNumber(concordance.chi2)},
                                                           {"df", concordance.df},
                                                           {"p_value", JsonNumber(concordance.pValue)},
                                                           {"factors", concordance.factors}}
                                                 : JsonOut{{"w", nullptr}, {"reason", concordance.reason}};
    out << JsonText({{"experts", experts},
                     {"method", band.method == BandMethod::Enumeration ? "enumeration" : "sampling"},
                     {"cases", band.cases},
                     {"nodes", nodes},
                     {"target", JsonNumber(band.target)},
                     {"exceedance", JsonNumber(band.exceedance)},
                     {"shares", shares},
                     {"consensus", consensus},
                     {"concordance", agreement}})
        << '\n';
}

void WriteTable(std::ostream& out, const ExpertPanel& panel, const PanelBand& band,
                const std::vector<FactorOpinions>& opinions, const Concordance& concordance, const NumberLocale& locale)
{
    out << "Эксперты:";
    for (std::size_t k = 0; k < panel.experts.size(); ++k) out << (k ? ", " : " ") << panel.experts[k].name;
    out << '\n'
        << (band.method == BandMethod::Enumeration ? "Перебор всех наборов оценок: " : "Выборка наборов оценок: ")
        << IntegerText(static_cast<int64_t>(band.cases)) << '\n';
    std::vector<std::vector<std::string>> rows = {
        {"Узел", "Возможные состояния", "Среднее", "Минимум", "P5", "P50", "P95", "Максимум"}};
    for (int node = 0; node < NodeCount; ++node) {
        const NodeBand& b = band.node[node];
        rows.push_back({NodeLetters[node], NodeDisplayTexts[node], GeneralText(b.mean, locale),
                        GeneralText(b.min, locale), GeneralText(b.p05, locale), GeneralText(b.p50, locale),
                        GeneralText(b.p95, locale), GeneralText(b.max, locale)});
    }
    WriteAlignedRows(out, rows);
    if (band.target)
        out << "Доля наборов с вероятностью происшествия выше " << GeneralText(*band.target, locale) << ": "
            << GeneralText(*band.exceedance, locale) << '\n';
    if (concordance.formed)
        out << "Согласованность (W Кендалла): W = " << GeneralText(concordance.w, locale)
            << ", χ² = " << GeneralText(concordance.chi2, locale) << ", степеней свободы " << concordance.df
            << ", p = " << GeneralText(concordance.pValue, locale) << ", факторов " << concordance.factors << '\n';
    else
        out << "Согласованность (W Кендалла) не вычислена: " << concordance.reason << '\n';
    if (!band.shares.empty()) {
        out << "Доли дисперсии вероятности происшествия:\n";
        std::vector<std::vector<std::string>> shares = {{"Фактор", "Доля"}};
        for (const FactorShare& share : band.shares)
            shares.push_back({share.factor->id, GeneralText(share.share, locale)});
        WriteAlignedRows(out, shares);
    }
    if (!opinions.empty()) {
        out << "Оценки факторов:\n";
        std::vector<std::vector<std::string>> levels = {
            {"Фактор", "Наименьший", "Наибольший", "Согласованный", "Оценок"}};
        for (const FactorOpinions& row : opinions)
            levels.push_back({row.factor->id, IntegerText(row.lowest), IntegerText(row.highest),
                              IntegerText(row.consensus), IntegerText(static_cast<int64_t>(row.levels.size()))});
        WriteAlignedRows(out, levels);
    }
}

}  // namespace

ExpertPanel ReadPanelFile(const std::string& path)
{
    const std::string subject = Subject("--panel", path);
    std::ifstream file(path, std::ios::binary);
    if (!file) throw UsageError(subject + ": the file cannot be read: " + std::strerror(errno));
    std::string bytes(MaxPanelFileBytes + 1, '\0');
    file.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (file.bad()) throw UsageError(subject + ": the file cannot be read");
    bytes.resize(static_cast<std::size_t>(file.gcount()));
    if (bytes.size() > MaxPanelFileBytes) throw UsageError(subject + ": the file is longer than 1 MiB");
    return Attributed(subject, [&] { return ReadExpertPanelCsv(bytes); });
}

int PanelCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    return RunCommandBody("panel", out, err, [&](std::ostream& text) {
        const PanelOptions options = ParsePanelOptions(args);
        const std::optional<long double> target =
            options.targetText ? std::optional<long double>(ParseTarget(*options.targetText)) : std::nullopt;
        // The panel of --panel, else the one the project holds.
        std::optional<ExpertPanel> listed;
        if (options.panelFile) listed = ReadPanelFile(*options.panelFile);
        const Assessment assessment = OpenAssessment(options.simulation);
        const ExpertPanel panel = listed ? *listed : assessment.panel;
        if (panel.experts.empty())
            throw UsageError(Subject("--project", *options.simulation.project) + ": the project holds no expert panel");
        const NetworkInputs ratings = assessment.RatingInputs();
        const std::optional<PanelBand> band =
            ComputePanelBand(panel, ratings, target, [](std::uint64_t, std::uint64_t) { return StopSignal() == 0; });
        if (!band) throw WorkStopped{};
        const std::vector<FactorOpinions> opinions = PanelOpinions(panel);
        const Concordance concordance = PanelConcordance(panel);
        if (options.simulation.format == "json")
            WriteJson(text, panel, *band, opinions, concordance);
        else
            WriteTable(text, panel, *band, opinions, concordance, OutputNumberLocale(options.simulation.format));
    });
}

}  // namespace kestal
