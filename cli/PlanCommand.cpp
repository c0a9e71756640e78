// kestal-sim plan: the target, step costs and ranges read, both plans searched, a table or JSON.
#include "cli/PlanCommand.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <map>
#include <optional>
#include <ostream>

#include "analysis/ExpertPanelCsv.h"
#include "analysis/LevelPlan.h"
#include "analysis/MeasurePlan.h"
#include "analysis/PlanBand.h"
#include "analysis/PlanTexts.h"
#include "cli/Command.h"
#include "cli/CommandAssessment.h"
#include "cli/MeasureOptions.h"
#include "cli/PanelCommand.h"
#include "cli/OutputLocale.h"
#include "cli/Progress.h"
#include "cli/StopSignals.h"
#include "common/Conversions.h"
#include "common/Formats.h"
#include "common/JsonText.h"

namespace kestal {

namespace {

constexpr long double MostStepCost = 1e15L;
constexpr const char* PlanCountText = "Для плана нужно от 2 до 15 мероприятий или ни одного";

const MeasureCount PlannedCount = {
    [](int count) { return count == 0 || (count >= MinCandidateMeasures && count <= MaxCandidateMeasures); },
    PlanCountText};

struct PlanOptions {
    std::optional<std::string> target;
    // By factor: the cost per step and the allowed range, with the option texts that gave them.
    std::map<const FactorInfo*, std::pair<long double, std::string>> costs;
    std::map<const FactorInfo*, std::pair<std::pair<int, int>, std::string>> ranges;
    std::optional<int64_t> evaluationLimit;
    std::optional<std::string> panelFile;
};

// The experts' band after a plan; stopped by SIGINT or SIGTERM.
PanelBand BandAfter(const ExpertPanel& panel, const NetworkInputs& ratings, const PlanSettings& settings)
{
    const auto band = BandAfterPlan(panel, ratings, settings, [](uint64_t, uint64_t) { return StopSignal() == 0; });
    if (!band) throw WorkStopped{};
    return *band;
}

// The accident probability's band after a plan, where a panel was given.
void AddBand(JsonOut& plan, const std::optional<PanelBand>& band)
{
    if (!band) return;
    const NodeBand& b = band->node[NodeI];
    plan["band"] = {{"p05", JsonNumber(b.p05)}, {"p50", JsonNumber(b.p50)}, {"p95", JsonNumber(b.p95)}};
}

// "1e-3", "0.001" or "0.1 %": a probability from 0 to 1, "." as the decimal separator.
long double ParseTarget(const std::string& text)
{
    const std::string subject = Subject("--target", text);
    const bool percent = !text.empty() && text.back() == '%';
    const std::string number = percent ? text.substr(0, text.size() - 1) : text;
    long double value = Attributed(subject, [&] { return ParseFloat(number, CommandLineNumbers()); });
    if (percent) value /= 100;
    if (!(value >= 0.0L && value <= 1.0L)) throw UsageError(subject + ": a probability is 0 to 1 (0 % to 100 %)");
    return value;
}

// "ID=TEXT": the factor and the text after "=".
std::pair<const FactorInfo*, std::string> FactorEntry(const std::string& subject, const std::string& entry,
                                                      const char* expected)
{
    const auto equals = entry.find('=');
    if (equals == std::string::npos) throw UsageError(subject + ": expected " + expected);
    const std::string id = entry.substr(0, equals);
    const FactorInfo* factor = FindFactor(id);
    if (!factor) throw UsageError(subject + ": unknown factor id '" + id + "'");
    return {factor, entry.substr(equals + 1)};
}

void TakeStepCost(const std::string& entry, PlanOptions& options)
{
    const std::string subject = Subject("--step-cost", entry);
    const auto [factor, text] = FactorEntry(subject, entry, "ID=COST");
    const long double cost = Attributed(subject, [&] { return ParseFloat(text, CommandLineNumbers()); });
    // Up to 1e15, so that the dearest plan's cost (30 factors, 10 steps each) stays a whole number
    // when the costs are, and within what JSON readers take.
    if (!(cost >= 0.0L && cost <= MostStepCost)) throw UsageError(subject + ": a cost per step is 0 to 1e15");
    if (options.costs.count(factor)) throw UsageError(subject + ": " + factor->id + " given twice");
    options.costs[factor] = {cost, subject};
}

void TakeRange(const std::string& entry, PlanOptions& options)
{
    const std::string subject = Subject("--range", entry);
    const auto [factor, text] = FactorEntry(subject, entry, "ID=LOW-HIGH");
    const auto dash = text.find('-', 1);
    if (dash == std::string::npos) throw UsageError(subject + ": expected ID=LOW-HIGH");
    const std::string range = "levels are 1 to " + std::to_string(LevelCount) + ", LOW at most HIGH";
    const int32_t low = IntegerOf(subject, text.substr(0, dash), range);
    const int32_t high = IntegerOf(subject, text.substr(dash + 1), range);
    if (low < 1 || high > LevelCount || low > high) throw UsageError(subject + ": " + range);
    if (options.ranges.count(factor)) throw UsageError(subject + ": " + factor->id + " given twice");
    options.ranges[factor] = {{low, high}, subject};
}

int64_t ParseLimit(const std::string& text)
{
    const std::string subject = Subject("--work", text);
    const std::string range = "at least 1 evaluation";
    const int32_t limit = IntegerOf(subject, text, range);
    if (limit < 1) throw UsageError(subject + ": " + range);
    return limit;
}

// The plan's own options taken out; the others (--measure, --project, --level, --format) left
// for the measure commands' reader, which refuses what nobody knows.
std::vector<std::string> TakePlanOptions(const std::vector<std::string>& args, PlanOptions& options)
{
    std::vector<std::string> rest;
    ArgumentReader reader(args);
    while (!reader.AtEnd()) {
        const std::string& arg = reader.Take();
        if (arg == "--target")
            options.target = reader.TakeValue(arg);
        else if (arg == "--step-cost")
            TakeStepCost(reader.TakeValue(arg), options);
        else if (arg == "--range")
            TakeRange(reader.TakeValue(arg), options);
        else if (arg == "--panel")
            options.panelFile = reader.TakeValue(arg);
        else if (arg == "--work")
            options.evaluationLimit = ParseLimit(reader.TakeValue(arg));
        else if (arg == "--budget" || arg == "--damage")
            throw UsageError("unknown option '" + arg + "'");
        else if (arg == "--measure" || arg == "--project" || arg == "--level" || arg == "--format")
            rest.push_back(arg), rest.push_back(reader.TakeValue(arg));
        else
            rest.push_back(arg);
    }
    if (!options.target) throw UsageError("option --target is required");
    for (const auto& [factor, range] : options.ranges)
        if (!options.costs.count(factor))
            throw UsageError(range.second + ": " + factor->id + " has no --step-cost, so it is not changed");
    return rest;
}

JsonOut JsonNames(uint32_t members, const std::vector<CandidateMeasure>& measures)
{
    JsonOut names = JsonOut::array();
    for (std::size_t i = 0; i < measures.size(); ++i)
        if (members >> i & 1) names.push_back(measures[i].name);
    return names;
}

JsonOut JsonChanges(const LevelPlan& plan)
{
    JsonOut changes = JsonOut::array();
    for (const PlannedLevel& change : plan.changes)
        changes.push_back({{"factor", change.factor->id}, {"from", change.from}, {"to", change.to}});
    return changes;
}

// The bands after the plans, when a panel was given.
struct PlanBands {
    std::optional<PanelBand> measures;
    std::optional<PanelBand> levels;
};

void WriteJson(std::ostream& out, long double target, long double current, const std::optional<MeasurePlan>& measures,
               const std::vector<CandidateMeasure>& candidates, const std::optional<LevelPlan>& levels,
               const PlanBands& bands)
{
    JsonOut byMeasures = nullptr;
    if (measures) {
        byMeasures = {{"reachable", measures->reachable},
                      {"set", JsonNames(measures->chosen.members, candidates)},
                      {"cost", JsonNumber(measures->chosen.cost)},
                      {"accident", JsonNumber(measures->chosen.accident)}};
        AddBand(byMeasures, bands.measures);
    }
    JsonOut bySteps = nullptr;
    if (levels) {
        bySteps = {{"reachable", levels->reachable},           {"proven", levels->proven},
                   {"changes", JsonChanges(*levels)},          {"cost", JsonNumber(levels->cost)},
                   {"accident", JsonNumber(levels->accident)}, {"lower_bound", JsonNumber(levels->lowerBound)}};
        AddBand(bySteps, bands.levels);
    }
    out << JsonText({{"target", JsonNumber(target)},
                     {"current", JsonNumber(current)},
                     {"measures", byMeasures},
                     {"levels", bySteps}})
        << '\n';
}

void WriteTable(std::ostream& out, long double target, long double current, const std::optional<MeasurePlan>& measures,
                const std::vector<CandidateMeasure>& candidates, const std::optional<LevelPlan>& levels,
                const PlanBands& bands, const NumberLocale& locale)
{
    const auto number = [&locale](long double value) { return GeneralText(value, locale); };
    const auto write = [&](const std::vector<std::string>& lines, const std::optional<PanelBand>& band) {
        for (const std::string& line : lines) out << line << '\n';
        if (band) out << PlanBandLine(*band, locale, GeneralText) << '\n';
    };
    out << "Цель: " << number(target) << '\n' << "Происшествие сейчас: " << number(current) << '\n';
    if (measures) write(MeasurePlanLines(*measures, candidates, locale, GeneralText), bands.measures);
    if (levels) write(LevelPlanLines(*levels, locale, GeneralText), bands.levels);
}

}  // namespace

int PlanCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    return RunCommandBody("plan", out, err, [&](std::ostream& text) {
        PlanOptions plan;
        const std::vector<std::string> rest = TakePlanOptions(args, plan);
        const MeasureCommandOptions options = ParseMeasureCommandOptions(rest, TakeRatingOption, {"table", "json"});
        const long double target = ParseTarget(*plan.target);
        std::optional<ExpertPanel> panel;
        if (plan.panelFile) panel = ReadPanelFile(*plan.panelFile);
        const NumberLocale locale = OutputNumberLocale(options.simulation.format);
        Assessment assessment = OpenAssessment(options.simulation);
        SetUpMeasures(options, assessment, PlannedCount);
        const NetworkInputs inputs = assessment.RatingInputs();

        const std::vector<CandidateMeasure> candidates = assessment.CapturedCandidates();
        std::optional<MeasurePlan> measures;
        if (!candidates.empty()) measures = PlanMeasures(inputs, candidates, target);

        std::optional<LevelPlan> levels;
        if (!plan.costs.empty()) {
            std::vector<FactorSteps> steps;
            for (const FactorInfo& factor : FactorCatalogue) {
                const auto cost = plan.costs.find(&factor);
                if (cost == plan.costs.end()) continue;
                FactorSteps s{&factor, cost->second.first, 1, LevelCount};
                if (const auto range = plan.ranges.find(&factor); range != plan.ranges.end())
                    std::tie(s.low, s.high) = range->second.first;
                steps.push_back(s);
            }
            LevelPlanControl control;
            if (plan.evaluationLimit) control.evaluationLimit = *plan.evaluationLimit;
            // One exact evaluation takes about as long as 4000 initiations of a run.
            TerminalProgress progress(ProgressTerminal(control.evaluationLimit * 4000));
            const WorkControl work = progress.Control();
            control.report = [&work](int64_t done, int64_t limit) { work.Report(std::min(done, limit), limit); };
            levels = PlanLevels(inputs, steps, target, control);
        }

        PlanBands bands;
        if (panel) {
            if (measures) bands.measures = BandAfter(*panel, inputs, SettingsOf(measures->chosen.members, candidates));
            if (levels) bands.levels = BandAfter(*panel, inputs, SettingsOf(*levels));
        }

        const long double current = ExactNodeProbabilities(inputs).node[NodeI];
        if (options.simulation.format == "json")
            WriteJson(text, target, current, measures, candidates, levels, bands);
        else
            WriteTable(text, target, current, measures, candidates, levels, bands, locale);
    });
}

}  // namespace kestal
