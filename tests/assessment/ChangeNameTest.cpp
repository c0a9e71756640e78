// Which operations change the assessment, and what each change is called where it is undone.
#include <gtest/gtest.h>

#include <functional>

#include "assessment/ChangeName.h"
#include "assessment/Session.h"

namespace {

int Factor(const char* id) { return CatalogueIndex(*FindFactor(id)); }

PanelExpert Expert(const char* name, std::initializer_list<std::pair<const char*, int>> levels)
{
    PanelExpert expert{name, {}};
    for (const auto& [id, level] : levels) expert.level[Factor(id)] = level;
    return expert;
}

TEST(ChangeName, EditorMovesAreNoChangeAndEveryChangeIsNamedForWhatItChanged)
{
    FixedClock clock{45'296'789};
    Session base(&clock, RussianNumberLocale(), RussianNumberLocale());
    base.SetKText("2");
    base.SetNText("100");
    // Two experts who agree on H03 and M02 at levels the ratings do not have.
    const ExpertPanel panel{{Expert("Иванов", {{"H03", 2}, {"M02", 9}, {"C04", 4}}),
                             Expert("Петров", {{"H03", 2}, {"M02", 9}, {"C04", 8}})}};
    base.SetPanel(panel);
    QuestionnaireAnswers answers{};
    answers[0] = OffersAnswer(0, 1) ? 1 : 2;
    const auto withPanel = [&](const std::function<void(ExpertPanel&)>& edit) {
        return [&, edit](Session& s) {
            ExpertPanel changed = panel;
            edit(changed);
            s.SetPanel(changed);
        };
    };
    const struct {
        const char* name;  // empty: the same assessment
        TypedAmount field;
        std::function<void(Session&)> act;
    } rows[] = {
        {"", TypedAmount::None, [](Session& s) { s.MoveBar(Factor("H03"), 9); }},
        {"", TypedAmount::None, [](Session& s) { s.SelectMeasureFactor(Factor("M02")); }},
        {"", TypedAmount::None, [](Session& s) { s.SetMeasureName("Новое"); }},
        {"", TypedAmount::None, [](Session& s) { s.SetCostText("25"); }},
        {"", TypedAmount::None, [](Session& s) { s.SetBudgetText("1500,0"); }},  // the same amount
        {"", TypedAmount::None, [](Session& s) { s.ShowTotals(true); }},
        {"оценка C04", TypedAmount::None, [](Session& s) { s.SelectLevel(Factor("C04"), 1); }},
        {"оценки факторов", TypedAmount::None,
         [](Session& s) {
             s.SelectLevel(Factor("H03"), 1);
             s.SelectLevel(Factor("M02"), 7);
         }},
        {"согласованные оценки экспертов", TypedAmount::None,
         [](Session& s) {
             s.SelectLevel(Factor("H03"), 1);
             s.SelectLevel(Factor("C04"), 3);
         }},
        {"число опытов K", TypedAmount::K, [](Session& s) { s.SetKText("3"); }},
        {"число опытов K", TypedAmount::K, [](Session& s) { s.SetKText("k"); }},
        {"число инициаций N", TypedAmount::N, [](Session& s) { s.SetNText("101"); }},
        {"сумма средств", TypedAmount::Budget, [](Session& s) { s.SetBudgetText(""); }},
        {"величина ущерба", TypedAmount::Damage, [](Session& s) { s.SetDamageText("7"); }},
        {"моделирование", TypedAmount::None, [](Session& s) { s.Run(); }},
        {"запись мероприятия", TypedAmount::None,
         [](Session& s) {
             s.SetCostText("5");
             s.MoveBar(Factor("T04"), (s.state().editor[Factor("T04")].currentItem + 1) % LevelCount);
             s.Capture();
         }},
        {"анкета T03", TypedAmount::None, [&](Session& s) { s.ApplyQuestionnaire(answers); }},
        {"имя эксперта", TypedAmount::None, withPanel([](ExpertPanel& p) { p.experts[1].name = "Сидоров"; })},
        {"оценки экспертов", TypedAmount::None, withPanel([](ExpertPanel& p) { p.experts[0].level[0] = 5; })},
        {"добавление эксперта", TypedAmount::None, withPanel([](ExpertPanel& p) { p.experts.push_back(Expert("Орлов", {})); })},
        {"удаление панели экспертов", TypedAmount::None, withPanel([](ExpertPanel& p) { p.experts.clear(); })},
    };
    for (const auto& row : rows) {
        Session session = base;
        row.act(session);
        const std::string name = row.name;
        EXPECT_EQ(HoldsSameAssessment(base.state(), session.state()), name.empty()) << name;
        if (name.empty()) continue;
        const ChangeName change = NameChange(base.state(), session.state());
        EXPECT_EQ(change.name, name);
        EXPECT_EQ(change.field, row.field) << name;
    }
}

}  // namespace
