// Reading a project file: the document, its format and version, and each section into a new
// assessment and then the editor's state over it, every value checked before the state is returned.
#include <algorithm>
#include <cmath>
#include <limits>

#include "project/JsonDocument.h"
#include "assessment/MeasureTree.h"
#include "measures/Amounts.h"
#include "project/ProjectFile.h"
#include "project/ProjectReading.h"
#include "common/KestalError.h"

namespace kestal {

namespace {

// Nesting of a valid project is at most 4 (version 1: the tree's change nodes lie 9 deep).
constexpr std::size_t MaxDepth = 16;
constexpr int64_t MaxInt32 = std::numeric_limits<int32_t>::max();
constexpr int32_t MillisecondsPerDay = 86'400'000;

// The members of an object keyed by the 30 factor ids, in catalogue order.
std::vector<JsonNode> FactorMembers(const JsonNode& node)
{
    if (!node.value().is_object()) node.Refuse("ожидается объект");
    for (const auto& member : node.value().items())
        if (!FindFactor(member.key())) node[member.key()].Refuse("неизвестный фактор");
    std::vector<JsonNode> members;
    for (const FactorInfo& factor : FactorCatalogue) members.push_back(node[factor.id]);
    return members;
}

// Each factor's list item, from its level number.
std::array<int, FactorCount> ReadLevels(const JsonNode& levels)
{
    std::array<int, FactorCount> items{};
    const std::vector<JsonNode> members = FactorMembers(levels);
    for (int f = 0; f < FactorCount; ++f) items[f] = static_cast<int>(members[f].Integer(1, LevelCount)) - 1;
    return items;
}

// An amount of version 1: a text as typed, with "." or "," before the fraction; none where it is no
// number either way.
std::optional<long double> AmountOfText(const JsonNode& node)
{
    const std::string text = node.Text();
    if (const auto amount = AmountOf(text, EnglishNumberLocale())) return amount;
    return AmountOf(text, RussianNumberLocale());
}

// The ratings: factors never rated keep their start-up level name, the others get their level's.
void ReadRatings(const JsonNode& unrated, const std::array<int, FactorCount>& items, Assessment& assessment)
{
    std::array<bool, FactorCount> keepsStart{};
    for (const JsonNode& id : unrated.Items(0, FactorCount)) {
        const FactorInfo& factor = FactorOf(id);
        const int f = CatalogueIndex(factor);
        if (keepsStart[f]) id.Refuse("фактор указан дважды");
        if (items[f] != factor.defaultItem) id.Refuse("уровень фактора не начальный");
        keepsStart[f] = true;
    }
    for (int f = 0; f < FactorCount; ++f)
        if (!keepsStart[f]) ApplyLevel(assessment.settings, FactorCatalogue[f], items[f]);
}

// A level caption that must name the list item `item` of `factor`.
std::string CaptionOf(const JsonNode& node, const FactorInfo& factor, int item)
{
    const std::string caption = node.Text();
    if (ItemOfLevelText(factor, caption) != item)
        node.Refuse("«" + caption + "» не подпись уровня " + std::to_string(item + 1));
    return caption;
}

// The bars, and each row's lock as the file gives it; the caption of a row's level must name the
// level the factor is rated at.
std::array<bool, FactorCount> ReadEditorRows(const JsonNode& rows, const std::array<int, FactorCount>& items,
                                             Presentation& shown)
{
    std::array<bool, FactorCount> locked{};
    const std::vector<JsonNode> members = FactorMembers(rows);
    for (int f = 0; f < FactorCount; ++f) {
        const JsonNode& node = members[f];
        node.ExpectObject({"position", "locked", "before", "after"});
        EditorBar& bar = shown.bars[f];
        bar.position = static_cast<int>(node["position"].Integer(1, LevelCount)) - 1;
        locked[f] = node["locked"].Bool();
        CaptionOf(node["before"], FactorCatalogue[f], items[f]);
        bar.levelAfter = CaptionOf(node["after"], FactorCatalogue[f], bar.position);
    }
    return locked;
}

// A factor is locked exactly when a captured measure holds it.
void CheckLocks(const JsonNode& rows, const std::vector<std::vector<int>>& measureFactors,
                const std::array<bool, FactorCount>& locked)
{
    for (int f = 0; f < FactorCount; ++f) {
        int holder = -1;
        for (std::size_t m = 0; m < measureFactors.size() && holder < 0; ++m)
            if (std::count(measureFactors[m].begin(), measureFactors[m].end(), f)) holder = static_cast<int>(m);
        const JsonNode node = rows[FactorCatalogue[f].id]["locked"];
        if (holder >= 0 && !locked[f])
            node.Refuse("ожидается true: фактор входит в measures[" + std::to_string(holder) + "]");
        if (holder < 0 && locked[f]) node.Refuse("ожидается false: фактор не входит ни в одно мероприятие");
    }
}

// The editor over the assessment read so far: its ratings and its captured measures.
void ReadEditor(const JsonNode& editor, int version, const std::array<int, FactorCount>& items,
                const std::vector<std::vector<int>>& measureFactors, Presentation& shown)
{
    // Version 1 kept the tree and its expansions too; they are passed over and the tree is derived.
    if (version == 1)
        editor.ExpectObject({"rows", "selected", "measureName", "costText", "captureReady", "studyReady", "enabled",
                             "tree", "treeExpansions", "studyEstimateShown"});
    else
        editor.ExpectObject(
            {"rows", "selected", "measureName", "cost", "captureReady", "studyReady", "enabled", "studyEstimateShown"});
    const std::array<bool, FactorCount> locked = ReadEditorRows(editor["rows"], items, shown);
    CheckLocks(editor["rows"], measureFactors, locked);
    const JsonNode selected = editor["selected"];
    shown.selectedFactor = selected.IsNull() ? -1 : CatalogueIndex(FactorOf(selected));
    if (shown.selectedFactor >= 0 && locked[shown.selectedFactor]) selected.Refuse("выбран закреплённый фактор");
    shown.measureName = editor["measureName"].Text();
    shown.cost = version == 1 ? AmountOfText(editor["costText"]) : editor["cost"].Amount();
    shown.captureArmed = editor["captureReady"].Bool();
    shown.studyReady = editor["studyReady"].Bool();
    shown.editorEnabled = editor["enabled"].Bool();
    shown.studyEstimateShown = editor["studyEstimateShown"].Bool();
}

// The counts of a node over k experiments of n initiations: each experiment counts at most n; the
// mean is the total over k as the series writes it; the deviation is at most what counts between 0
// and n with that mean allow (with room for the rounding of its single-precision sums).
void CheckCounts(const JsonNode& outcome, const RunBlock& block, const NodeOutcome& out)
{
    const int64_t k = block.k;
    const int64_t n = block.n;
    if (out.last > n) outcome["last"].Refuse("больше n (" + std::to_string(n) + ")");
    if (out.total > k * n) outcome["total"].Refuse("больше k × n (" + std::to_string(k * n) + ")");
    if (out.total < out.last) outcome["total"].Refuse("меньше last (" + std::to_string(out.last) + ")");
    const long double exactMean = static_cast<long double>(out.total) / static_cast<long double>(k);
    if (out.mean != static_cast<float>(exactMean)) outcome["mean"].Refuse("не равно total ÷ k");
    if (!out.deviation) return;
    const long double deviation = *out.deviation;
    if (deviation < 0.0L) outcome["deviation"].Refuse("меньше нуля");
    const long double offset = exactMean - out.mean;
    const long double squares = k * exactMean * (n - exactMean) + k * offset * offset;
    const long double most = std::sqrt(squares / static_cast<long double>(k - 1)) * 1.001L;
    if (deviation > most) outcome["deviation"].Refuse("больше, чем допускают счёты");
}

RunBlock ReadBlock(const JsonNode& node)
{
    node.ExpectObject({"k", "n", "levels", "nodes"});
    RunBlock block;
    block.k = static_cast<int32_t>(node["k"].Integer(1, MaxExperiments));
    block.n = static_cast<int32_t>(node["n"].Integer(1, MaxInt32));
    // The ratings the run ran with.
    const std::array<int, FactorCount> items = ReadLevels(node["levels"]);
    for (int f = 0; f < FactorCount; ++f) block.inputs.slot[FactorCatalogue[f].slot] = LevelTable[items[f]].value;
    int i = 0;
    for (const JsonNode& outcome : node["nodes"].Items(NodeCount, NodeCount)) {
        outcome.ExpectObject({"mean", "deviation", "last", "total"});
        NodeOutcome& out = block.node[i++];
        out.mean = outcome["mean"].Single();
        // A run of one experiment has no deviation.
        const JsonNode deviation = outcome["deviation"];
        if (block.k == 1 && !deviation.IsNull()) deviation.Refuse("при k = 1 ожидается null");
        if (block.k > 1) out.deviation = deviation.Single();
        out.last = static_cast<int32_t>(outcome["last"].Integer(0, MaxInt32));
        out.total = outcome["total"].Integer(0, std::numeric_limits<int64_t>::max());
        CheckCounts(outcome, block, out);
    }
    return block;
}

void ReadQuestionnaire(const JsonNode& questionnaire, Assessment& assessment)
{
    questionnaire.ExpectObject({"level", "answers"});
    assessment.QuestionnaireLevel = static_cast<uint8_t>(questionnaire["level"].Integer(1, LevelCount) - 1);
    int n = 0;
    for (const JsonNode& answer : questionnaire["answers"].Items(Criteria.size(), Criteria.size())) {
        const std::string name = answer.Text();
        const auto found = std::find(AnswerClassNames.begin(), AnswerClassNames.end(), name);
        const int answerClass = static_cast<int>(found - AnswerClassNames.begin());
        if (!OffersAnswer(n, answerClass)) answer.Refuse("у вопроса нет ответа «" + name + "»");
        assessment.answers[n++] = static_cast<uint8_t>(answerClass);
    }
}

void ReadStudy(const JsonNode& study, int version, const MeasureTables& measures, StudyOutcome& outcome)
{
    study.ExpectObject({"listing", "totalsShown", "detailed", "totalsBudget", "moneyLabel", "damageLabel"});
    outcome.listing.clear();
    for (const JsonNode& line : study["listing"].Items(0, std::numeric_limits<std::size_t>::max()))
        outcome.listing.push_back(line.Text());
    outcome.totalsShown = study["totalsShown"].Bool();
    const auto& store = measures.store;
    const bool named = std::any_of(store.begin(), store.end(), [](const operation& r) { return !r.Name.empty(); });
    if (outcome.totalsShown && !named) study["totalsShown"].Refuse("итоги показаны, а в store нет записей");
    outcome.detailed = study["detailed"].Bool();
    const JsonNode budget = study["totalsBudget"];
    budget.ExpectObject({"value", "text"});
    const JsonNode value = budget["value"];
    if (version == 1 && !value.value().is_string()) value.Refuse("ожидается число, записанное текстом");
    const std::optional<long double> amount = value.Amount(version == 1);
    if (!amount) value.Refuse("ожидается число");
    outcome.totalsBudget = {*amount, budget["text"].Text()};
    outcome.moneyLabel = study["moneyLabel"].Text();
    outcome.damageLabel = study["damageLabel"].Text();
}

void ReadRandom(const JsonNode& random, RandomSource& source)
{
    random.ExpectObject({"seed", "lastClockReading"});
    source.RandomSeed = static_cast<uint32_t>(random["seed"].Integer(0, UINT32_MAX));
    source.lastClockReading = static_cast<int32_t>(random["lastClockReading"].Integer(-1, MillisecondsPerDay - 1));
}

// The expert panel: 2 to 12 experts with names neither empty, nor begun or ended with a blank, nor
// repeated; per expert the levels of the factors he rated.
ExpertPanel ReadPanel(const JsonNode& node)
{
    node.ExpectObject({"experts"});
    ExpertPanel panel;
    for (const JsonNode& item : node["experts"].Items(MinPanelExperts, MaxPanelExperts)) {
        item.ExpectObject({"name", "levels"});
        const JsonNode name = item["name"];
        PanelExpert expert{name.Text(), {}};
        if (expert.name.empty()) name.Refuse("пустое имя эксперта");
        if (expert.name.find_first_of(" \t") == 0 || expert.name.find_last_of(" \t") == expert.name.size() - 1)
            name.Refuse("имя эксперта начинается или кончается пробелом");
        for (const PanelExpert& before : panel.experts)
            if (before.name == expert.name) name.Refuse("эксперт «" + expert.name + "» уже есть");
        const JsonNode levels = item["levels"];
        if (!levels.value().is_object()) levels.Refuse("ожидается объект");
        for (const auto& member : levels.value().items()) {
            const JsonNode level = levels[member.key()];
            const FactorInfo* factor = FindFactor(member.key());
            if (!factor) level.Refuse("неизвестный фактор «" + member.key() + "»");
            expert.level[CatalogueIndex(*factor)] = static_cast<int>(level.Integer(1, LevelCount));
        }
        panel.experts.push_back(std::move(expert));
    }
    return panel;
}

// The plan's inputs: a target of 0 … 1 or null, and factors in catalogue order, each once, with a
// cost per step of 0 … 10^15 or null and allowed levels low ≤ high within 1 … 11.
PlanInputs ReadPlan(const JsonNode& node)
{
    node.ExpectObject({"target", "factors"});
    PlanInputs plan;
    const JsonNode target = node["target"];
    if (!target.IsNull()) {
        plan.target = target.Amount();
        if (!plan.target || !(*plan.target >= 0.0L && *plan.target <= 1.0L))
            target.Refuse("ожидается вероятность от 0 до 1");
    }
    int before = -1;
    for (const JsonNode& item : node["factors"].Items(0, FactorCount)) {
        item.ExpectObject({"factor", "cost", "low", "high"});
        PlanFactorInput factor;
        factor.factor = CatalogueIndex(FactorOf(item["factor"]));
        if (factor.factor <= before) item["factor"].Refuse("факторы должны идти в порядке каталога, каждый один раз");
        before = factor.factor;
        const JsonNode cost = item["cost"];
        if (!cost.IsNull()) {
            factor.costPerStep = cost.Amount();
            if (!factor.costPerStep || !(*factor.costPerStep >= 0.0L && *factor.costPerStep <= MostPlanStepCost))
                cost.Refuse("ожидается число от 0 до 1e15");
        }
        factor.low = static_cast<int>(item["low"].Integer(1, LevelCount));
        factor.high = static_cast<int>(item["high"].Integer(factor.low, LevelCount));
        plan.factors.push_back(std::move(factor));
    }
    return plan;
}

// The format's name and version, before anything else: a newer file is refused as such, whatever
// size its version number has. Returns the version.
int CheckFormat(const JsonNode& root)
{
    if (!root.value().is_object()) root.Refuse("это не проект Kestal");
    const JsonNode format = root["format"];
    if (!format.value().is_string() || format.Text() != ProjectFormatName) format.Refuse("это не проект Kestal");
    const JsonNode version = root["version"];
    if (version.value().is_number() && version.value().get<double>() > ProjectFormatVersion)
        version.Refuse("файл записан более новой версией Kestal (формат " + version.NumberText() + ")");
    const int number = static_cast<int>(version.Integer(1, ProjectFormatVersion));
    root.ExpectObject({"format", "version", "levels", "unrated", "k", "n", "budget", "damage", "measures",
                       "questionnaire", "results", "random", "editor", "store", "study", "panel", "plan"});
    return number;
}

// The assessment first, the editor's state over it; the sections in the order of the file, so that
// the first problem found is the first in the file.
SessionState StateOf(const JsonNode& root)
{
    const int version = CheckFormat(root);
    const std::array<int, FactorCount> items = ReadLevels(root["levels"]);
    SessionState state;
    Assessment& assessment = state.assessment;
    assessment.SetKText(root["k"].Text());
    assessment.SetNText(root["n"].Text());
    ReadRatings(root["unrated"], items, assessment);
    assessment.budget = version == 1 ? AmountOfText(root["budget"]) : root["budget"].Amount();
    assessment.damage = version == 1 ? AmountOfText(root["damage"]) : root["damage"].Amount();
    const std::vector<std::vector<int>> measureFactors = ReadMeasures(root["measures"], assessment);
    ReadQuestionnaire(root["questionnaire"], assessment);
    for (const JsonNode& block : root["results"].Items(0, std::numeric_limits<std::size_t>::max()))
        assessment.results.push_back(ReadBlock(block));
    ReadRandom(root["random"], assessment.net.random);
    ReadEditor(root["editor"], version, items, measureFactors, state.shown);
    ReadStore(root["store"], assessment);
    ReadStudy(root["study"], version, assessment.measures, state.shown.study);
    if (root.Has("panel")) assessment.panel = ReadPanel(root["panel"]);
    if (root.Has("plan")) assessment.plan = ReadPlan(root["plan"]);
    FormDerivedParts(state, EnglishNumberLocale());
    return state;
}

}  // namespace

const FactorInfo& FactorOf(const JsonNode& id)
{
    const std::string text = id.Text();
    const FactorInfo* factor = FindFactor(text);
    if (!factor) id.Refuse("неизвестный фактор «" + text + "»");
    return *factor;
}

std::string NotOpenedText(const std::string& fileName, const DocumentProblem& problem)
{
    return "Файл «" + fileName + "» не открыт: " + (problem.place.empty() ? "" : problem.place + ": ") +
           problem.problem;
}

SessionState ReadProject(const std::string& bytes, const std::string& fileName)
{
    try {
        if (bytes.size() > MaxProjectBytes) throw DocumentProblem{"", "файл больше 10 МБ"};
        const JsonDocument document = ParseJsonDocument(bytes, MaxDepth);
        return StateOf(JsonNode(document.root, "", &document.numberTexts));
    } catch (const DocumentProblem& problem) {
        throw KestalError(NotOpenedText(fileName, problem));
    }
}

}  // namespace kestal
