// The session's operations: refusals and stopped work change nothing, a failed study leaves the last
// outcome, the study's estimate follows the measures, and the best set says why it cannot be judged.
#include <gtest/gtest.h>

#include "report/Report.h"
#include "assessment/Session.h"
#include "common/KestalError.h"
#include "support/ErrorOf.h"
#include "support/FactorIndex.h"

using namespace kestal;

namespace {

// A session on a fixed clock with small runs, as the window holds it under a Russian locale.
struct Fixture {
    FixedClock clock{45'296'789};
    Session session{&clock, RussianNumberLocale(), RussianNumberLocale()};
    Fixture()
    {
        session.SetKText("5");
        session.SetNText("2000");
    }
    void Capture(const char* name, const char* cost, std::initializer_list<std::pair<const char*, int>> moves)
    {
        session.SetMeasureName(name);
        session.SetCostText(cost);
        for (const auto& [id, item] : moves) session.MoveBar(FactorIndex(id), item);
        session.Capture();
    }
};

// What a refused or stopped operation must leave as it was: the whole state, the assessment and
// everything the pages show of it.
void ExpectSameOutcome(const SessionState& before, const SessionState& after)
{
    EXPECT_TRUE(after.assessment == before.assessment);
    EXPECT_TRUE(after == before);
}

TEST(Session, StoppedWorkChangesNothing)
{
    Fixture f;
    f.Capture("Обучение", "300", {{"H14", 10}});
    f.Capture("Ремонт", "400", {{"M08", 10}});
    const SessionState before = f.session.state();
    // Asked to stop after the third experiment: the run and the study end there.
    int experiments = 0;
    const WorkControl stopAtThree{[&](int64_t, int64_t) { ++experiments; }, [&] { return experiments == 3; }};
    EXPECT_THROW(f.session.Run(stopAtThree), WorkStopped);
    experiments = 0;
    EXPECT_THROW(f.session.Study(stopAtThree), WorkStopped);
    ExpectSameOutcome(before, f.session.state());

    // Completed, the same work counts its experiments to the end, over-budget series included.
    int64_t last = 0, total = 0;
    f.session.SetBudgetText("350");
    f.session.Study({[&](int64_t done, int64_t all) { last = done, total = all; }, {}});
    EXPECT_EQ(total, 4 * 5 * 2000);  // initiations: four series of K = 5 experiments of N = 2000
    EXPECT_EQ(last, total);
}

TEST(Session, AFailedStudyLeavesTheLastOutcome)
{
    Fixture f;
    f.Capture("Обучение", "300", {{"H14", 10}});
    f.Capture("Ремонт", "400", {{"M08", 10}});
    f.session.Study();
    ASSERT_GT(f.session.state().shown.study.listing.size(), 1u);
    f.session.SetDamageText("1E45");
    const SessionState before = f.session.state();
    EXPECT_EQ(ErrorOf([&] { f.session.Study(); }), "Floating point overflow");
    ExpectSameOutcome(before, f.session.state());
}

TEST(Session, ABlankNameIsRefusedWithNothingChanged)
{
    Fixture f;
    f.session.MoveBar(FactorIndex("H01"), 8);
    f.session.SetCostText("100");
    for (const char* blank : {"", "   ", "\t"}) {
        f.session.SetMeasureName(blank);
        const SessionState before = f.session.state();
        EXPECT_EQ(ErrorOf([&] { f.session.Capture(); }), BlankMeasureNameText);
        ExpectSameOutcome(before, f.session.state());
        EXPECT_FALSE(f.session.state().Row(FactorIndex("H01")).locked);
    }
}

TEST(Session, CaptureIsEnabledOnlyWhenAPressWouldCaptureSomething)
{
    Fixture f;
    f.session.SetCostText("100");
    EXPECT_FALSE(f.session.CaptureButtonEnabled());
    f.session.MoveBar(FactorIndex("T01"), 6);
    EXPECT_TRUE(f.session.CaptureButtonEnabled());
    f.session.Capture();
    // T01 still shows its change, so the editor's rule would be ready; nothing is left to capture.
    f.session.SetCostText("5");
    EXPECT_TRUE(f.session.state().shown.captureArmed);
    EXPECT_FALSE(f.session.CaptureButtonEnabled());
    // A level chosen on the modeling page leaves the factor with the measure that holds it.
    f.session.SelectLevel(FactorIndex("T01"), 2);
    EXPECT_TRUE(f.session.state().Row(FactorIndex("T01")).locked);
    f.session.MoveBar(FactorIndex("T01"), 7);
    EXPECT_FALSE(f.session.HasPendingChanges());
}

// The index of `target` in pre-order over the tree (root 0); -1 where it is not in the tree.
int PreOrderIndex(const TreeNode& node, const TreeNode* target, int& next)
{
    const int index = next++;
    if (&node == target) return index;
    for (const TreeNode& child : node.children)
        if (const int found = PreOrderIndex(child, target, next); found >= 0) return found;
    return -1;
}

TEST(Session, TheTreeKeepsItsAddressing)
{
    // The pending measure's nodes stand at 3m + t + 1, + 2, + 3 (m measures, t changes captured),
    // one change node per factor however often its bar is focused.
    Fixture f;
    f.Capture("Первое", "10", {{"H01", 8}, {"M02", 1}});
    f.Capture("Второе", "10", {{"T01", 1}});
    f.session.EnterBar(FactorIndex("C01"));
    f.session.MoveBar(FactorIndex("C01"), 8);
    f.session.ExitBar(FactorIndex("C01"));
    f.session.EnterBar(FactorIndex("C01"));
    const TreeNode& tree = f.session.state().shown.tree;
    const TreeNode& pending = tree.children.back();
    const int base = 3 * f.session.assessment().measures.MeasureCount + f.session.assessment().measures.ChangeTotal;
    const TreeNode* nodes[] = {&pending, &pending.children.front(), &pending.children.front().children.front()};
    for (int i = 0; i < 3; ++i) {
        int next = 0;
        EXPECT_EQ(PreOrderIndex(tree, nodes[i], next), base + 1 + i);
    }
    EXPECT_EQ(pending.children.front().children.size(), 1u);
}

TEST(Session, StudyEstimateFollowsTheMeasures)
{
    Fixture f;
    EXPECT_EQ(f.session.StudyEstimateText(), "  0:00:00");  // K and N were typed
    for (const char* id : {"H01", "H02", "H03", "H04"}) f.Capture("Мера", "10", {{id, 1}});
    EXPECT_EQ(f.session.StudyEstimateText(), " Нызнаю");
    f.session.SetKText("сто");
    f.session.ResetMeasures();
    EXPECT_EQ(f.session.StudyEstimateText(), "");
    EXPECT_EQ(f.session.RunEstimateText(), NoEstimateText);
}

TEST(Session, SaysWhyTheBestSetCannotBeJudged)
{
    Fixture f;
    f.Capture("Обучение", "300", {{"H14", 10}});
    EXPECT_EQ(f.session.assessment().BestMeasuresProblem(), BestSetCountText);
    f.Capture("Ремонт", "400", {{"M08", 10}});
    EXPECT_EQ(f.session.assessment().BestMeasuresProblem(), "");
    EXPECT_EQ(f.session.assessment().PrepareBestMeasures().Execute().budget, 1500.0L);
    f.session.SetDamageText("много");
    EXPECT_EQ(f.session.assessment().BestMeasuresProblem(), BestSetDamageText);
    f.session.SetBudgetText("1500.5");  // the point is no separator under a Russian locale
    EXPECT_EQ(f.session.assessment().BestMeasuresProblem(), BestSetBudgetText);
    f.session.SetBudgetText("1500");
    f.session.SetDamageText("0,5");
    EXPECT_EQ(f.session.assessment().BestMeasuresProblem(), BestSetDamageAmountText);
    EXPECT_EQ(ErrorOf([&] { f.session.assessment().PrepareBestMeasures().Execute(); }), BestSetDamageAmountText);
}

// The best set off the session: its progress reaches every subset, and a stop ends it.
TEST(Session, TheBestSetReportsProgressAndStops)
{
    Fixture f;
    for (const char* id : {"H14", "M08", "H03", "C01", "T02", "H05", "M03", "H01", "H02", "H04", "H06"})
        f.Capture(id, "100", {{id, 10}});
    const BestSetWork work = f.session.assessment().PrepareBestMeasures();
    ASSERT_EQ(work.measures.size(), 11u);
    int64_t last = -1, calls = 0;
    WorkControl control;
    control.progress = [&](int64_t done, int64_t total) {
        EXPECT_EQ(total, 2048);
        EXPECT_GT(done, last);
        last = done;
        ++calls;
    };
    EXPECT_EQ(work.Execute(control).subsets.size(), 2048u);
    EXPECT_EQ(last, 2048);
    EXPECT_EQ(calls, 2048 / 512 + 1);
    last = -1;
    control.stopRequested = [&] { return last >= 1024; };
    EXPECT_THROW(work.Execute(control), WorkStopped);
    EXPECT_EQ(last, 1024);
}

// A rating moved to the level a captured measure gives its factor: that change is no change, the
// measure keeps its others, and the best set and the report are judged without aborting.
TEST(Session, AChangeToTheCurrentLevelIsNoChange)
{
    const struct {
        std::vector<std::pair<const char*, int>> ratings;  // picked on "Моделирование" after the capture
        std::size_t fenceChanges, ventilationChanges;
    } rows[] = {
        {{}, 2, 2},
        {{{"T04", 9}}, 1, 2},
        {{{"T04", 9}, {"M07", 10}}, 0, 2},
        {{{"T04", 9}, {"M07", 10}, {"H05", 9}, {"C01", 7}}, 0, 0},
    };
    for (const auto& row : rows) {
        Fixture f;
        f.Capture("Ограждение опасной зоны", "450", {{"M07", 10}, {"T04", 9}});
        f.Capture("Ремонт вентиляции", "700", {{"H05", 9}, {"C01", 7}});
        for (const auto& [id, item] : row.ratings) f.session.SelectLevel(FactorIndex(id), item);
        const std::vector<CandidateMeasure> candidates = f.session.assessment().CapturedCandidates();
        ASSERT_EQ(candidates.size(), 2u);
        EXPECT_EQ(candidates[0].changes.size(), row.fenceChanges);
        EXPECT_EQ(candidates[1].changes.size(), row.ventilationChanges);
        const MeasureOptimum optimum = f.session.assessment().PrepareBestMeasures().Execute();
        EXPECT_EQ(optimum.subsets.size(), 4u);
        if (row.fenceChanges + row.ventilationChanges == 0) {
            EXPECT_FALSE(optimum.best);
            EXPECT_EQ(optimum.reason, NoBestSet::NothingHelps);
        }
        const std::string report = ReportHtml(f.session, {"07.12.2026 11:20", "", "", ""});
        EXPECT_NE(report.find("Лучший набор мер"), std::string::npos);
    }
}

TEST(Session, APanelIsSetWholeOrRefusedWithNothingChanged)
{
    Fixture f;
    const auto panelOf = [](std::vector<std::string> names, int level = 5) {
        ExpertPanel panel;
        for (std::string& name : names) panel.experts.push_back({std::move(name), {}});
        if (!panel.experts.empty()) panel.experts.back().level[FactorIndex("H03")] = level;
        return panel;
    };
    const ExpertPanel two = panelOf({"А", "Б"});
    f.session.assessment().SetPanel(two);
    const struct {
        ExpertPanel panel;
        const char* error;
    } cases[] = {
        {panelOf({"А"}), "В панели от 2 до 12 экспертов"},
        {panelOf({"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12", "13"}),
         "В панели от 2 до 12 экспертов"},
        {panelOf({"А", ""}), "Имя эксперта не может быть пустым"},
        {panelOf({"А", " Б"}), "Имя эксперта « Б» начинается или кончается пробелом"},
        {panelOf({"А", "Б\t"}), "Имя эксперта «Б\t» начинается или кончается пробелом"},
        {panelOf({"А", "Б", "А"}), "Эксперт «А» в панели уже есть"},
        {panelOf({"А", "Б"}, 12), "Уровень 12 эксперта «Б» — не номер от 1 до 11"},
        {panelOf({"А", "Б"}, -1), "Уровень -1 эксперта «Б» — не номер от 1 до 11"},
        {panelOf({"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12"}, 11), "no error"},
        {panelOf({}), "no error"},
    };
    for (const auto& c : cases) {
        f.session.assessment().SetPanel(two);
        EXPECT_EQ(ErrorOf([&] { f.session.assessment().SetPanel(c.panel); }), c.error);
        EXPECT_EQ(f.session.assessment().panel, std::string(c.error) == "no error" ? c.panel : two) << c.error;
    }
}

}  // namespace
