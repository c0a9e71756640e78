// A project saved and read back is the same session: the same state, and with the same clock the
// same next run and study.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <tuple>

#include "Assessments.h"
#include "assessment/MeasureTree.h"
#include "project/ProjectFile.h"

using namespace kestal;

namespace {

// What a project keeps of an assessment: everything but the last run's working tables (the series'
// counts, the network's counters and inputs), which every run and study rebuild before reading them,
// and the amounts' texts, which are formed from the amounts in the locale of the session that opens it.
auto KeptOf(const Assessment& a)
{
    return std::tie(a.settings, a.kText, a.nText, a.results, a.budget, a.damage, a.measures.store, a.measures.captured,
                    a.measures.MeasureCount, a.measures.ChangeTotal, a.QuestionnaireLevel, a.answers,
                    a.net.random.RandomSeed, a.net.random.lastClockReading, a.panel, a.plan);
}

// What a project keeps of a session's state: its assessment, the amounts' texts and what the pages
// show but the measure tree, which follows from the measures.
auto Kept(const SessionState& state)
{
    const Assessment& a = state.assessment;
    const Presentation& s = state.shown;
    return std::tuple_cat(
        KeptOf(a), std::tie(a.budgetText, a.damageText, s.bars, s.selectedFactor, s.measureName, s.costText, s.cost,
                            s.captureArmed, s.studyReady, s.editorEnabled, s.studyEstimateShown, s.study));
}

// The plan table's columns of the captured measures (the study's own columns are rebuilt by each study).
bool SamePlanColumns(const MeasureTables& a, const MeasureTables& b)
{
    for (int r = 0; r < FactorCount; ++r)
        for (int k = 1; k <= a.MeasureCount; ++k)
            if (!(a.MeasurePlanTable[r][k] == b.MeasurePlanTable[r][k])) return false;
    return true;
}

// The tree with its change nodes in factor order and without the nodes of bars focused but not moved:
// what the tree shows whatever order the bars were moved in.
TreeNode Shown(TreeNode node)
{
    std::erase_if(node.children, [](const TreeNode& child) { return child.text == NoChangeText; });
    std::sort(node.children.begin(), node.children.end(),
              [](const TreeNode& a, const TreeNode& b) { return a.factor < b.factor; });
    for (TreeNode& child : node.children) child = Shown(child);
    return node;
}

// A measure half entered: one captured, a bar moved and another panel's bar focused, a run of one
// experiment (no deviation) and a K text that is no number.
void HalfEntered(Session& session)
{
    Rate(session, "M02", 2);
    EnterMeasure(session, "Освещение", "120,5", {{"M02", 6}});
    session.SetKText("1");
    session.SetNText("700");
    session.Run();
    session.SelectMeasureFactor(FactorIndex("T02"));
    session.EnterBar(FactorIndex("T02"));
    session.MoveBar(FactorIndex("T02"), 9);
    session.SelectMeasureFactor(FactorIndex("H12"));
    session.EnterBar(FactorIndex("H12"));
    session.SetMeasureName("Тренажёр");
    session.SetCostText("80");
    session.SetKText("2 0");
}

// The example assessment with a panel of three experts, one of them with a name that needs quoting
// in a table, and opinions missing here and there.
void WithPanel(Session& session)
{
    AssessWorkplace(session);
    ExpertPanel panel;
    panel.experts = {{"Иванов И. И.", {}}, {"Петрова; \"старший\"", {}}, {"Ким", {}}};
    const std::vector<std::pair<const char*, std::array<int, 3>>> levels = {
        {"H03", {8, 7, 9}}, {"M03", {8, 0, 6}}, {"T06", {0, 0, 11}}, {"H01", {1, 1, 0}}};
    for (const auto& [id, given] : levels)
        for (int k = 0; k < 3; ++k) panel.experts[k].level[FactorIndex(id)] = given[k];
    session.assessment().SetPanel(panel);
}

// The plan's inputs at their edges: a target of no short decimal, a cost of 0, the largest cost, a
// range narrowed without a cost, a factor at the catalogue's end.
void WithPlan(Session& session)
{
    AssessWorkplace(session);
    session.assessment().SetPlanInputs({1.0L / 3000,
                                        {{FactorIndex("H03"), 2.5L, 1, 9},
                                         {FactorIndex("M03"), 0.0L, 1, 11},
                                         {FactorIndex("T02"), std::nullopt, 3, 6},
                                         {FactorIndex("T06"), MostPlanStepCost, 11, 11}}});
}

struct Made {
    const char* name;
    std::function<void(Session&)> make;
};
void PrintTo(const Made& made, std::ostream* out) { *out << made.name; }

class ProjectRoundTrip : public testing::TestWithParam<Made> {};

TEST_P(ProjectRoundTrip, ReopensTheSameSessionAndContinuesAlike)
{
    const FixedClock clock(ExampleClockReading);
    Session saved(&clock, RussianNumberLocale(), RussianNumberLocale());
    GetParam().make(saved);

    const std::string json = ProjectJson(saved.state());
    Session opened(&clock, RussianNumberLocale(), RussianNumberLocale());
    opened.Load(ReadProject(json, "проект.kestal"));

    EXPECT_EQ(ProjectJson(opened.state()), json);
    EXPECT_TRUE(Kept(opened.state()) == Kept(saved.state()));
    EXPECT_TRUE(SamePlanColumns(opened.assessment().measures, saved.assessment().measures));
    EXPECT_EQ(Shown(opened.state().shown.tree), Shown(saved.state().shown.tree));

    for (Session* session : {&saved, &opened}) {
        session->SetKText("20");
        session->SetNText("500");
        session->Run();
        if (session->assessment().measures.MeasureCount >= 2) session->Study();
    }
    EXPECT_EQ(ProjectJson(opened.state()), ProjectJson(saved.state()));
    EXPECT_TRUE(Kept(opened.state()) == Kept(saved.state()));
}

// An assessment saved on its own, with what the pages show of it seen afresh, reads back as the same
// assessment, and is written again byte for byte.
TEST_P(ProjectRoundTrip, AnAssessmentAloneIsSavedAndReadBackTheSame)
{
    const FixedClock clock(ExampleClockReading);
    Session made(&clock, RussianNumberLocale(), RussianNumberLocale());
    GetParam().make(made);
    const Assessment& assessment = made.assessment();
    const std::string json = ProjectJson({assessment, PresentationOf(assessment, EnglishNumberLocale())});
    const SessionState read = ReadProject(json, "одна.kestal");
    EXPECT_EQ(ProjectJson(read), json);
    EXPECT_TRUE(KeptOf(read.assessment) == KeptOf(assessment));
    EXPECT_TRUE(read.shown == PresentationOf(read.assessment, EnglishNumberLocale()));
}

INSTANTIATE_TEST_SUITE_P(Assessments, ProjectRoundTrip,
                         testing::Values(Made{"Fresh", [](Session&) {}}, Made{"Workplace", AssessWorkplace},
                                         Made{"HalfEntered", HalfEntered}, Made{"WithPanel", WithPanel},
                                         Made{"WithPlan", WithPlan}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
