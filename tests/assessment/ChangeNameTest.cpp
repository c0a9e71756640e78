// What the changes of ratings, amounts and the expert panel are called where they are undone.
#include <gtest/gtest.h>

#include <functional>

#include "assessment/ChangeName.h"
#include "assessment/Session.h"

namespace {

int Factor(const char* id) { return CatalogueIndex(*FindFactor(id)); }

PanelExpert Expert(const char* name, int h03, int c04)
{
    PanelExpert expert{name, {}};
    expert.level[Factor("H03")] = h03;
    expert.level[Factor("C04")] = c04;
    return expert;
}

TEST(ChangeName, RatingsAmountsAndThePanel)
{
    FixedClock clock{45'296'789};
    Session base(&clock, RussianNumberLocale(), RussianNumberLocale());
    // The consensus: H03 on level 2, C04 on level 4 (of 4 and 8, the lower middle).
    const ExpertPanel panel{{Expert("Иванов", 2, 4), Expert("Петров", 2, 8)}};
    base.SetPanel(panel);
    const auto rate = [](std::vector<std::pair<const char*, int>> items) {
        return [=](Session& s) {
            for (const auto& [id, item] : items) s.SelectLevel(Factor(id), item);
        };
    };
    const auto edit = [&](const std::function<void(ExpertPanel&)>& change) {
        return [&, change](Session& s) {
            ExpertPanel changed = panel;
            change(changed);
            s.SetPanel(changed);
        };
    };
    const struct {
        const char* name;  // empty: the same assessment
        std::function<void(Session&)> act;
    } rows[] = {
        {"", [](Session& s) { s.SetBudgetText("1500,0"); }},  // another text of the same amount
        {"сумма средств", [](Session& s) { s.SetBudgetText("1500,5"); }},
        {"оценка C04", rate({{"C04", 1}})},
        {"оценки факторов", rate({{"H03", 1}, {"C04", 1}})},
        {"согласованные оценки экспертов", rate({{"H03", 1}, {"C04", 3}})},
        {"имя эксперта", edit([](ExpertPanel& p) { p.experts[1].name = "Сидоров"; })},
        {"оценки экспертов", edit([](ExpertPanel& p) { p.experts[0].level[0] = 5; })},
        {"добавление эксперта", edit([](ExpertPanel& p) { p.experts.push_back(Expert("Орлов", 0, 0)); })},
        {"удаление панели экспертов", edit([](ExpertPanel& p) { p.experts.clear(); })},
    };
    for (const auto& row : rows) {
        Session session = base;
        row.act(session);
        EXPECT_EQ(HoldsSameAssessment(base.state(), session.state()), *row.name == 0) << row.name;
        if (*row.name) {
            EXPECT_EQ(NameChange(base.state(), session.state()).name, row.name);
        }
    }
}

}  // namespace
