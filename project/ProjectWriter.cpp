// Writing a session's state as a project file: the assessment first, then what the pages show.
#include <charconv>
#include <cmath>
#include <limits>
#include <stdexcept>

#include "measures/Amounts.h"
#include "project/ProjectFile.h"
#include "common/JsonText.h"
#include "common/Text.h"
#include "factors/Levels.h"

namespace kestal {

namespace {

using Out = JsonOut;

// The shortest decimal that reads back as `value`, as a JSON number: a double that rounds to
// `value` in single precision. Where that decimal read as a double would round differently, the
// double of `value` itself.
Out SingleJson(float value)
{
    char text[32];
    const char* end = std::to_chars(text, text + sizeof text, value).ptr;
    double shortest = 0.0;
    std::from_chars(text, end, shortest);
    return static_cast<float>(shortest) == value ? shortest : static_cast<double>(value);
}

// An amount as a JSON number of full precision (JSON has no number of extended precision: its
// digits are AmountLiteral's), null for none. An amount beyond the range of a double, which JSON
// readers refuse, is written as a text.
Out AmountJson(const std::optional<long double>& amount)
{
    if (!amount) return nullptr;
    const std::string literal = AmountLiteral(*amount);
    if (!(std::fabs(*amount) <= std::numeric_limits<double>::max())) return literal;
    return JsonLiteral(literal);
}

const FactorInfo& FactorOfRowText(const SettingsTable& settings, const std::string& rowText)
{
    for (const FactorInfo& factor : FactorCatalogue)
        if (settings.row[factor.slot].RowText == rowText) return factor;
    throw std::logic_error("a change names no factor: " + rowText);
}

Out ChangesJson(const ChangeFactorS& changes, const SettingsTable& settings)
{
    Out out = Out::array();
    for (int j = 1; j <= changes.Count(); ++j) {
        const FactorInfo& factor = FactorOfRowText(settings, changes[j].Factor);
        out.push_back({{"factor", factor.id},
                       {"before", changes[j].LevelBefore},
                       {"after", ItemOfLevelText(factor, changes[j].LevelAfter) + 1}});
    }
    return out;
}

Out FactorLevels(const SettingsTable& settings)
{
    Out levels = Out::object();
    for (const FactorInfo& factor : FactorCatalogue) levels[factor.id] = RatedItem(settings, factor) + 1;
    return levels;
}

// Factors whose level name is still the start-up one: never rated from their list.
Out Unrated(const SettingsTable& settings)
{
    Out unrated = Out::array();
    for (const FactorInfo& factor : FactorCatalogue)
        if (!RatedFromList(settings, factor)) unrated.push_back(factor.id);
    return unrated;
}

Out CapturedMeasures(const Assessment& assessment)
{
    Out measures = Out::array();
    for (int k = 0; k < assessment.measures.MeasureCount; ++k) {
        const operation& measure = assessment.measures.captured[k];
        measures.push_back({{"name", measure.Name},
                            {"cost", SingleJson(measure.Cost)},
                            {"changes", ChangesJson(measure.Changes, assessment.settings)}});
    }
    return measures;
}

// The store's records up to the last one in use.
Out StoreRecords(const Assessment& assessment)
{
    const MeasureTables& tables = assessment.measures;
    int used = StorePositions;
    while (used > 0 && tables.MeasureStore(used).Name.empty()) --used;
    Out store = Out::array();
    for (int s = 1; s <= used; ++s) {
        const operation& record = tables.MeasureStore(s);
        store.push_back({{"name", record.Name},
                         {"cost", SingleJson(record.Cost)},
                         {"delta", SingleJson(record.Delta)},
                         {"benefit", SingleJson(record.Benefit)},
                         {"ratio", SingleJson(record.Ratio)},
                         {"changes", ChangesJson(record.Changes, assessment.settings)}});
    }
    return store;
}

Out Questionnaire(const Assessment& assessment)
{
    Out answers = Out::array();
    for (const uint8_t answer : assessment.answers) answers.push_back(AnswerClassNames.at(answer));
    return {{"level", assessment.QuestionnaireLevel + 1}, {"answers", answers}};
}

Out ResultBlocks(const std::vector<RunBlock>& blocks)
{
    Out results = Out::array();
    for (const RunBlock& block : blocks) {
        Out nodes = Out::array();
        for (const NodeOutcome& node : block.node)
            nodes.push_back({{"mean", SingleJson(node.mean)},
                             {"deviation", node.deviation ? SingleJson(*node.deviation) : Out(nullptr)},
                             {"last", node.last},
                             {"total", node.total}});
        Out levels = Out::object();
        for (const FactorInfo& factor : FactorCatalogue)
            levels[factor.id] = LevelNumberOf(block.inputs.slot[factor.slot]);
        results.push_back({{"k", block.k}, {"n", block.n}, {"levels", levels}, {"nodes", nodes}});
    }
    return results;
}

Out Editor(const SessionState& state)
{
    const Presentation& shown = state.shown;
    Out rows = Out::object();
    for (int f = 0; f < FactorCount; ++f) {
        const EditorRow row = state.Row(f);
        rows[FactorCatalogue[f].id] = {{"position", row.position + 1},
                                       {"locked", row.locked},
                                       {"before", row.levelBefore},
                                       {"after", row.levelAfter}};
    }
    return {{"rows", rows},
            {"selected", shown.selectedFactor < 0 ? Out(nullptr) : Out(FactorCatalogue.at(shown.selectedFactor).id)},
            {"measureName", shown.measureName},
            {"cost", AmountJson(shown.cost)},
            {"captureReady", shown.captureArmed},
            {"studyReady", shown.studyReady},
            {"enabled", shown.editorEnabled},
            {"studyEstimateShown", shown.studyEstimateShown}};
}

Out Study(const StudyOutcome& study)
{
    return {{"listing", study.listing},
            {"totalsShown", study.totalsShown},
            {"detailed", study.detailed},
            {"totalsBudget", {{"value", AmountJson(study.totalsBudget.value)}, {"text", study.totalsBudget.text}}},
            {"moneyLabel", study.moneyLabel},
            {"damageLabel", study.damageLabel}};
}

// The expert panel: each expert's name and the levels he gave, in catalogue order.
Out PanelJson(const ExpertPanel& panel)
{
    Out experts = Out::array();
    for (const PanelExpert& expert : panel.experts) {
        Out levels = Out::object();
        for (const FactorInfo& factor : FactorCatalogue)
            if (IsLevelNumber(expert.level[CatalogueIndex(factor)]))
                levels[factor.id] = expert.level[CatalogueIndex(factor)];
        experts.push_back({{"name", expert.name}, {"levels", levels}});
    }
    return {{"experts", experts}};
}

// The plan's inputs: the target and the factors that carry a cost or narrowed levels.
Out PlanJson(const PlanInputs& plan)
{
    Out factors = Out::array();
    for (const PlanFactorInput& factor : plan.factors)
        factors.push_back({{"factor", FactorCatalogue[factor.factor].id},
                           {"cost", AmountJson(factor.costPerStep)},
                           {"low", factor.low},
                           {"high", factor.high}});
    return {{"target", AmountJson(plan.target)}, {"factors", factors}};
}

}  // namespace

std::string ProjectJson(const SessionState& state)
{
    const Assessment& a = state.assessment;
    const RandomSource& random = a.net.random;
    Out project = {
        {"format", ProjectFormatName},
        {"version", ProjectFormatVersion},
        {"levels", FactorLevels(a.settings)},
        {"unrated", Unrated(a.settings)},
        {"k", a.kText},
        {"n", a.nText},
        {"budget", AmountJson(a.budget)},
        {"damage", AmountJson(a.damage)},
        {"measures", CapturedMeasures(a)},
        {"questionnaire", Questionnaire(a)},
        {"results", ResultBlocks(a.results)},
        {"random", {{"seed", random.RandomSeed}, {"lastClockReading", random.lastClockReading}}},
        {"editor", Editor(state)},
        {"store", StoreRecords(a)},
        {"study", Study(state.shown.study)},
    };
    // An assessment without a panel is written as it was before panels were kept.
    if (!a.panel.experts.empty()) project["panel"] = PanelJson(a.panel);
    // So is one whose plan was never asked.
    if (a.plan != PlanInputs{}) project["plan"] = PlanJson(a.plan);
    // Indented by two blanks per level; texts that are not UTF-8 (none come from the windows) are
    // written with U+FFFD in their place.
    return JsonText(project, 2) + "\n";
}

}  // namespace kestal
