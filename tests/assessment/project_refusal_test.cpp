// Bad project files: each is refused with a message naming the file, the first problem and its place.
#include <gtest/gtest.h>

#include <functional>
#include <limits>

#include <nlohmann/json.hpp>

#include "Assessments.h"
#include "project/ProjectFile.h"
#include "support/ErrorOf.h"

using namespace kestal;

namespace {

using Json = nlohmann::ordered_json;

const std::string& Valid()
{
    static const std::string json = [] {
        const FixedClock clock(ExampleClockReading);
        Session session(&clock, RussianNumberLocale(), RussianNumberLocale());
        AssessWorkplace(session);
        return ProjectJson(session.state());
    }();
    return json;
}

// The valid project, edited.
std::string Patched(const std::function<void(Json&)>& edit)
{
    Json project = Json::parse(Valid());
    edit(project);
    return project.dump(2);
}

// The valid project with the first `from` replaced by `to`.
std::string Replaced(const std::string& from, const std::string& to)
{
    std::string text = Valid();
    return text.replace(text.find(from), from.size(), to);
}

std::string Repeated(const std::string& text, int times)
{
    std::string out;
    for (int i = 0; i < times; ++i) out += text;
    return out;
}

// One factor of the plan's inputs as a file holds it.
Json PlanFactor(const char* id, double cost = 1, int low = 1, int high = 11)
{
    return {{"factor", id}, {"cost", cost}, {"low", low}, {"high", high}};
}

struct BadFile {
    const char* what;
    std::string bytes;
    std::string problem;
};

TEST(ProjectRefusal, NamesTheFileTheFirstProblemAndItsPlace)
{
    const BadFile files[] = {
        {"empty", "", "файл пуст"},
        {"over 10 MB", std::string(MaxProjectBytes + 1, ' '), "файл больше 10 МБ"},
        {"not text", "\x89PNG\r\n", "строка 1, столбец 1: текст не в кодировке UTF-8"},
        {"not UTF-8 inside", "{\n  \"k\": \"2\xC3\x28\"\n}", "строка 2, столбец 10: текст не в кодировке UTF-8"},
        {"other JSON", "[1, 2]", "это не проект Kestal"},
        {"other format", Patched([](Json& j) { j["format"] = "kestal-report"; }), "format: это не проект Kestal"},
        {"newer version", Patched([](Json& j) { j["version"] = 3; }),
         "version: файл записан более новой версией Kestal (формат 3)"},
        {"version beyond any integer", Replaced("\"version\": 2", "\"version\": 99999999999999999999"),
         "version: файл записан более новой версией Kestal (формат 99999999999999999999)"},
        {"version 0", Patched([](Json& j) { j["version"] = 0; }), "version: ожидается целое число от 1 до 2"},
        {"cut short", "{\n  \"format\": \"kestal-project\",\n  \"version\": 1,\n  \"levels\": {\n    \"H01\": 7,",
         "строка 5, столбец 14: файл обрывается"},
        {"syntax", "{\"format\": kestal-project}", "строка 1, столбец 12: ошибка в записи JSON"},
        {"number beyond double", "{\"format\": \"kestal-project\", \"version\": 1e999}",
         "строка 1, столбец 41: число вне допустимого диапазона"},
        {"key twice", Replaced("\"H02\": 5", "\"H02\": 5,\n    \"H02\": 6"), "levels.H02: поле повторяется"},
        {"deep nesting", Repeated("[", 17) + Repeated("]", 17), Repeated("[0]", 16) + ": слишком глубокая вложенность"},
        {"missing section", Patched([](Json& j) { j.erase("study"); }), "study: нет поля"},
        {"unknown field", Patched([](Json& j) { j["editor"]["zoom"] = 2; }), "editor.zoom: неизвестное поле"},
        {"level as text", Patched([](Json& j) { j["levels"]["H02"] = "5"; }),
         "levels.H02: ожидается целое число от 1 до 11"},
        {"level 4.5", Patched([](Json& j) { j["levels"]["M03"] = 4.5; }),
         "levels.M03: ожидается целое число от 1 до 11"},
        {"unknown factor", Patched([](Json& j) { j["levels"]["H10"] = 5; }), "levels.H10: неизвестный фактор"},
        {"unknown factor changed", Patched([](Json& j) { j["measures"][1]["changes"][0]["factor"] = "X01"; }),
         "measures[1].changes[0].factor: неизвестный фактор «X01»"},
        {"11 changes", Patched([](Json& j) {
             Json& changes = j["measures"][0]["changes"];
             while (changes.size() < 11) changes.push_back(changes[0]);
         }),
         "measures[0].changes: В одном мероприятии можно изменить не более 10 факторов"},
        {"factor twice", Patched([](Json& j) { j["measures"][0]["changes"][2] = j["measures"][0]["changes"][0]; }),
         "measures[0].changes[2].factor: фактор указан дважды"},
        {"16 measures", Patched([](Json& j) {
             Json& measures = j["measures"];
             while (measures.size() < 16) measures.push_back(measures[0]);
         }),
         "measures: Можно ввести не более 15 мероприятий"},
        {"cost below 1", Patched([](Json& j) { j["measures"][2]["cost"] = 0.5; }),
         "measures[2].cost: Затраты на внедрение должны быть не меньше 1 у.е."},
        {"cost beyond single", Patched([](Json& j) { j["measures"][2]["cost"] = 1e300; }),
         "measures[2].cost: число вне допустимого диапазона"},
        {"caption of another wording", Patched([](Json& j) { j["measures"][0]["changes"][0]["before"] = "Высокое"; }),
         "measures[0].changes[0].before: «Высокое» не оценка фактора H04"},
        {"unrated factor rated", Patched([](Json& j) { j["unrated"].push_back("H01"); }),
         "unrated[18]: уровень фактора не начальный"},
        {"answer not offered", Patched([](Json& j) { j["questionnaire"]["answers"][12] = "2"; }),
         "questionnaire.answers[12]: у вопроса нет ответа «2»"},
        {"no deviation", Patched([](Json& j) { j["results"][0]["nodes"][3]["deviation"] = nullptr; }),
         "results[0].nodes[3].deviation: ожидается число"},
        {"negative seed", Patched([](Json& j) { j["random"]["seed"] = -1; }),
         "random.seed: ожидается целое число от 0 до 4294967295"},
        {"caption of another level", Patched([](Json& j) { j["editor"]["rows"]["H01"]["after"] = "Низкая"; }),
         "editor.rows.H01.after: «Низкая» не подпись уровня 7"},
        {"the tree of version 1", Patched([](Json& j) { j["editor"]["tree"] = Json::object(); }),
         "editor.tree: неизвестное поле"},
        {"budget as typed", Patched([](Json& j) { j["budget"] = "1000"; }), "budget: ожидается число или null"},
        {"budget not a number", Patched([](Json& j) { j["study"]["totalsBudget"]["value"] = "1 000"; }),
         "study.totalsBudget.value: ожидается число"},
        // Contents that no session can hold.
        {"total beyond k × n", Patched([](Json& j) { j["results"][0]["nodes"][7]["total"] = 1000000000000000; }),
         "results[0].nodes[7].total: больше k × n (800000)"},
        {"last beyond n", Patched([](Json& j) { j["results"][0]["nodes"][0]["last"] = 4001; }),
         "results[0].nodes[0].last: больше n (4000)"},
        {"total below last", Patched([](Json& j) { j["results"][0]["nodes"][5]["total"] = 1; }),
         "results[0].nodes[5].total: меньше last (62)"},
        {"negative mean", Patched([](Json& j) { j["results"][0]["nodes"][2]["mean"] = -128.09; }),
         "results[0].nodes[2].mean: не равно total ÷ k"},
        {"negative deviation", Patched([](Json& j) { j["results"][0]["nodes"][3]["deviation"] = -12.763076; }),
         "results[0].nodes[3].deviation: меньше нуля"},
        {"deviation beyond the counts", Patched([](Json& j) { j["results"][0]["nodes"][7]["deviation"] = 250; }),
         "results[0].nodes[7].deviation: больше, чем допускают счёты"},
        {"ratio of 1e30", Patched([](Json& j) { j["store"][0]["ratio"] = 1e30; }),
         "store[0].ratio: не равно benefit ÷ cost"},
        {"a held factor unlocked", Patched([](Json& j) { j["editor"]["rows"]["T04"]["locked"] = false; }),
         "editor.rows.T04.locked: ожидается true: фактор входит в measures[1]"},
        {"a free factor locked", Patched([](Json& j) { j["editor"]["rows"]["H01"]["locked"] = true; }),
         "editor.rows.H01.locked: ожидается false: фактор не входит ни в одно мероприятие"},
        {"a locked factor selected", Patched([](Json& j) { j["editor"]["selected"] = "C01"; }),
         "editor.selected: выбран закреплённый фактор"},
        {"totals without a store", Patched([](Json& j) { j["store"] = Json::array(); }),
         "study.totalsShown: итоги показаны, а в store нет записей"},
        {"one expert", Patched([](Json& j) {
             j["panel"] = {{"experts", {{{"name", "А"}, {"levels", Json::object()}}}}};
         }),
         "panel.experts: число элементов должно быть от 2 до 12"},
        {"panel of unknown key", Patched([](Json& j) {
             j["panel"] = {{"experts", Json::array()}, {"w", 1}};
         }),
         "panel.w: неизвестное поле"},
        {"an expert without a name", Patched([](Json& j) {
             j["panel"] = {{"experts",
                            {{{"name", "А"}, {"levels", Json::object()}}, {{"name", ""}, {"levels", Json::object()}}}}};
         }),
         "panel.experts[1].name: пустое имя эксперта"},
        {"an expert's name with a blank", Patched([](Json& j) {
             j["panel"] = {
                 {"experts",
                  {{{"name", "А "}, {"levels", Json::object()}}, {{"name", "Б"}, {"levels", Json::object()}}}}};
         }),
         "panel.experts[0].name: имя эксперта начинается или кончается пробелом"},
        {"an expert twice", Patched([](Json& j) {
             j["panel"] = {
                 {"experts",
                  {{{"name", "А"}, {"levels", Json::object()}}, {{"name", "А"}, {"levels", Json::object()}}}}};
         }),
         "panel.experts[1].name: эксперт «А» уже есть"},
        {"an unknown factor", Patched([](Json& j) {
             j["panel"] = {
                 {"experts", {{{"name", "А"}, {"levels", {{"H10", 3}}}}, {{"name", "Б"}, {"levels", Json::object()}}}}};
         }),
         "panel.experts[0].levels.H10: неизвестный фактор «H10»"},
        {"a level 12", Patched([](Json& j) {
             j["panel"] = {{"experts",
                            {{{"name", "А"}, {"levels", Json::object()}}, {{"name", "Б"}, {"levels", {{"T06", 12}}}}}}};
         }),
         "panel.experts[1].levels.T06: ожидается целое число от 1 до 11"},
        {"plan of unknown key", Patched([](Json& j) {
             j["plan"] = {{"target", nullptr}, {"factors", Json::array()}, {"t", 1}};
         }),
         "plan.t: неизвестное поле"},
        {"plan without factors", Patched([](Json& j) {
             j["plan"] = {{"target", nullptr}};
         }),
         "plan.factors: нет поля"},
        {"a target above 1", Patched([](Json& j) {
             j["plan"] = {{"target", 1.5}, {"factors", Json::array()}};
         }),
         "plan.target: ожидается вероятность от 0 до 1"},
        {"a negative target", Patched([](Json& j) {
             j["plan"] = {{"target", -1e-3}, {"factors", Json::array()}};
         }),
         "plan.target: ожидается вероятность от 0 до 1"},
        {"a target as text", Patched([](Json& j) {
             j["plan"] = {{"target", "0,001"}, {"factors", Json::array()}};
         }),
         "plan.target: ожидается число"},
        {"factors out of order", Patched([](Json& j) {
             j["plan"] = {{"target", nullptr}, {"factors", {PlanFactor("M03"), PlanFactor("H03")}}};
         }),
         "plan.factors[1].factor: факторы должны идти в порядке каталога, каждый один раз"},
        {"a factor twice", Patched([](Json& j) {
             j["plan"] = {{"target", nullptr}, {"factors", {PlanFactor("H03"), PlanFactor("H03")}}};
         }),
         "plan.factors[1].factor: факторы должны идти в порядке каталога, каждый один раз"},
        {"an unknown factor", Patched([](Json& j) {
             j["plan"] = {{"target", nullptr}, {"factors", {PlanFactor("X01")}}};
         }),
         "plan.factors[0].factor: неизвестный фактор «X01»"},
        {"a negative cost", Patched([](Json& j) {
             j["plan"] = {{"target", nullptr}, {"factors", {PlanFactor("H03", -1)}}};
         }),
         "plan.factors[0].cost: ожидается число от 0 до 1e15"},
        {"a cost above 1e15", Patched([](Json& j) {
             j["plan"] = {{"target", nullptr}, {"factors", {PlanFactor("H03", 2e15)}}};
         }),
         "plan.factors[0].cost: ожидается число от 0 до 1e15"},
        {"a low level 0", Patched([](Json& j) {
             j["plan"] = {{"target", nullptr}, {"factors", {PlanFactor("H03", 1, 0)}}};
         }),
         "plan.factors[0].low: ожидается целое число от 1 до 11"},
        {"high below low", Patched([](Json& j) {
             j["plan"] = {{"target", nullptr}, {"factors", {PlanFactor("H03", 1, 5, 4)}}};
         }),
         "plan.factors[0].high: ожидается целое число от 5 до 11"},
    };
    ASSERT_NO_THROW(ReadProject(Valid(), "цех.kestal"));
    for (const BadFile& file : files)
        EXPECT_EQ(ErrorOf([&] { ReadProject(file.bytes, "цех.kestal"); }),
                  "Файл «цех.kestal» не открыт: " + file.problem)
            << file.what;
}

}  // namespace

namespace {

// What the file refuses the session's operation refuses too, with nothing changed.
TEST(PlanInputsRefusal, LeavesTheAssessmentAsItWas)
{
    const FixedClock clock(ExampleClockReading);
    Session session(&clock, RussianNumberLocale(), RussianNumberLocale());
    AssessWorkplace(session);
    const PlanInputs kept{1e-3L, {{FactorIndex("H03"), 100.0L, 1, 9}}};
    session.assessment().SetPlanInputs(kept);
    const std::string before = ProjectJson(session.state());
    const int h03 = FactorIndex("H03"), m03 = FactorIndex("M03");
    const PlanInputs bad[] = {
        {1.5L, {}},
        {-1e-9L, {}},
        {std::nullopt, {{m03, 1.0L, 1, 11}, {h03, 1.0L, 1, 11}}},
        {std::nullopt, {{h03, 1.0L, 1, 11}, {h03, 2.0L, 1, 11}}},
        {std::nullopt, {{FactorCount, 1.0L, 1, 11}}},
        {std::nullopt, {{-1, 1.0L, 1, 11}}},
        {std::nullopt, {{h03, -1.0L, 1, 11}}},
        {std::nullopt, {{h03, 2 * MostPlanStepCost, 1, 11}}},
        {std::nullopt, {{h03, std::numeric_limits<long double>::quiet_NaN(), 1, 11}}},
        {std::nullopt, {{h03, 1.0L, 0, 11}}},
        {std::nullopt, {{h03, 1.0L, 6, 5}}},
        {std::nullopt, {{h03, 1.0L, 1, 12}}},
    };
    for (std::size_t i = 0; i < std::size(bad); ++i) {
        EXPECT_THROW(session.assessment().SetPlanInputs(bad[i]), KestalError) << i;
        EXPECT_EQ(ProjectJson(session.state()), before) << i;
        EXPECT_EQ(session.assessment().plan, kept) << i;
    }
}

}  // namespace
