// Parsing of the measure options and the capture of the measures they give.
#include "cli/MeasureOptions.h"

#include "cli/CommandAssessment.h"
#include "common/Text.h"

namespace kestal {

namespace {

MeasureOption ParseMeasureOption(const std::string& text)
{
    const std::string subject = Subject("--measure", text);
    if (InvalidUtf8Offset(text) != std::string::npos) throw UsageError(subject + ": not valid UTF-8");
    const auto last = text.rfind(';');
    const auto middle = last == std::string::npos || last == 0 ? std::string::npos : text.rfind(';', last - 1);
    if (middle == std::string::npos) throw UsageError(subject + ": expected NAME;COST;ID=NUMBER[,ID=NUMBER...]");
    MeasureOption measure{
        text, text.substr(0, middle), ReadAmount(text.substr(middle + 1, last - middle - 1), CommandLineNumbers()), {}};
    const std::string list = text.substr(last + 1);
    for (std::size_t start = 0, end = 0; end != std::string::npos; start = end + 1) {
        end = list.find(',', start);
        const std::string entry = list.substr(start, end - start);
        if (entry.empty()) throw UsageError(subject + ": an empty change entry; expected ID=NUMBER[,ID=NUMBER...]");
        const LevelChange change = ParseLevelChange(subject, entry);
        for (const LevelChange& earlier : measure.changes)
            if (earlier.first == change.first) throw UsageError(subject + ": " + change.first->id + " given twice");
        measure.changes.push_back(change);
    }
    return measure;
}

// The budget or damage, typed or from the file, as the study's button takes it.
void CheckAmount(const MeasureCommandOptions& options, bool given, const std::string& option, const std::string& key,
                 const TypedAmount& amount)
{
    const std::string subject = SettingSubject(options.simulation, given, option, key, amount.text);
    if (!Attributed(subject, [&] { return AmountAtLeastOne(amount); }))
        throw UsageError(subject + ": must be 1 or more");
}

void CheckCount(const MeasureCommandOptions& options, const Assessment& assessment, const MeasureCount& count)
{
    const bool fromFile = options.measures.empty() && options.simulation.project;
    const int measures = fromFile ? assessment.measures.MeasureCount : static_cast<int>(options.measures.size());
    if (count.accepts(measures)) return;
    const std::string number =
        std::to_string(measures) + (fromFile ? " measure" : " time") + (measures == 1 ? "" : "s");
    throw UsageError((fromFile ? *options.simulation.project + " holds " : "--measure given ") + number + ": " +
                     count.refusal);
}

void Capture(const MeasureOption& measure, Assessment& assessment)
{
    const std::string subject = Subject("--measure", measure.text);
    MeasureDraft draft{measure.name, measure.cost, {}};
    for (const auto& [factor, item] : measure.changes) {
        if (HeldByMeasure(assessment.measures, assessment.settings, *factor))
            throw UsageError(subject + ": " + factor->id + " belongs to an earlier measure");
        if (RatedItem(assessment.settings, *factor) == item)
            throw UsageError(subject + ": " + factor->id + " stands at level " + std::to_string(item + 1) + " already");
        draft.changes.push_back({CatalogueIndex(*factor), item});
    }
    Attributed(subject, [&] { assessment.Capture(draft); });
}

}  // namespace

MeasureCommandOptions ParseMeasureCommandOptions(const std::vector<std::string>& args, OptionTaker takeOther,
                                                 const std::vector<std::string>& formats)
{
    MeasureCommandOptions options;
    ArgumentReader reader(args);
    while (!reader.AtEnd()) {
        const std::string& arg = reader.Take();
        if (arg == "--measure")
            options.measures.push_back(ParseMeasureOption(reader.TakeValue(arg)));
        else if (arg == "--budget")
            options.budget = reader.TakeValue(arg);
        else if (arg == "--damage")
            options.damage = reader.TakeValue(arg);
        else if (!takeOther(reader, arg, options.simulation, formats))
            throw UsageError("unknown option '" + arg + "'");
    }
    return options;
}

void SetUpMeasures(const MeasureCommandOptions& options, Assessment& assessment, const MeasureCount& count)
{
    if (options.budget) assessment.SetBudget(ReadAmount(*options.budget, CommandLineNumbers()));
    if (options.damage) assessment.SetDamage(ReadAmount(*options.damage, CommandLineNumbers()));
    CheckAmount(options, options.budget.has_value(), "--budget", "budget", assessment.BudgetAmount());
    CheckAmount(options, options.damage.has_value(), "--damage", "damage", assessment.DamageAmount());
    CheckCount(options, assessment, count);
    if (options.measures.empty()) return;
    assessment.ResetMeasures();
    for (const MeasureOption& measure : options.measures) Capture(measure, assessment);
}

}  // namespace kestal
