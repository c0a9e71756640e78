// What the window's pages do, checked on the session alone: a new session's state, runs under the
// current ratings and the clock, the run size's refusals, the study's button, a second study and a
// change left pending through one.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "Assessments.h"
#include "assessment/Session.h"
#include "common/Formats.h"
#include "network/Calibration.h"
#include "project/ProjectFile.h"
#include "support/ErrorOf.h"

using namespace kestal;

namespace {

// A session as the window holds it: on a fixed clock, with Russian numbers.
struct Page {
    explicit Page(int32_t reading = 45'296'789) : clock(reading) {}
    FixedClock clock;
    Session session{&clock, RussianNumberLocale(), RussianNumberLocale()};
    const SessionState& state() const { return session.state(); }
    const Assessment& assessment() const { return session.assessment(); }

    // The factor's panel clicked, its bar focused, moved to `item` and left, as the page does it.
    void Move(const char* id, int item)
    {
        const int factor = FactorIndex(id);
        session.SelectMeasureFactor(factor);
        session.EnterBar(factor);
        session.MoveBar(factor, item);
        session.ExitBar(factor);
    }
    // The moves, the cost typed, ">>" pressed; the name stays the one the page proposes.
    void Capture(const std::vector<std::pair<const char*, int>>& moves, const char* cost)
    {
        for (const auto& [id, item] : moves) Move(id, item);
        session.SetCostText(cost);
        session.Capture();
    }
    // A cheap measure with a large effect and a dear one with a smaller effect, judged with small
    // runs that still rank them apart.
    void TwoMeasures()
    {
        session.SetKText("5");
        session.SetNText("200000");
        Capture({{"H08", 10}, {"H14", 10}}, "1");
        Capture({{"T06", 10}}, "1000");
    }
    std::vector<std::string> Names() const
    {
        std::vector<std::string> names;
        for (int position = 1; position <= StorePositions; ++position)
            if (!assessment().measures.MeasureStore(position).Name.empty())
                names.push_back(assessment().measures.MeasureStore(position).Name);
        return names;
    }
};

TEST(PageOperations, ANewSessionStartsOnTheInitialRatingsWithEmptyTables)
{
    // The window calibrates at start-up.
    Page page;
    page.session.Calibrate();
    const Assessment& state = page.assessment();
    EXPECT_EQ(state.settings, InitialSettings());
    EXPECT_EQ(state.settings.row[0].LevelName, "Среднее(удовл.)");
    for (int slot = 0; slot < FactorCount; ++slot)
        EXPECT_EQ(state.net.inputs.slot[slot], state.settings.row[slot].Value);
    for (int slot = 0; slot < FactorCount; ++slot)
        for (int column = 1; column < PlanColumns; ++column) {
            EXPECT_EQ(state.measures.MeasurePlanTable[slot][column].RowText, PlanRowTexts[slot]);
            EXPECT_EQ(state.measures.MeasurePlanTable[slot][column].Value, 0.0f);
        }
    for (int position = 1; position <= StorePositions; ++position)
        EXPECT_TRUE(state.measures.MeasureStore(position).Name.empty());
    EXPECT_EQ(state.measures.MeasureCount, 0);
    EXPECT_EQ(state.RunCounter(), 0);
    EXPECT_EQ(state.QuestionnaireLevel, 6);
    EXPECT_EQ(state.series.ExperimentCount, 200);
    EXPECT_EQ(state.series.InitiationCount, 4000);
    EXPECT_GE(page.session.CalibrationTime(), 0.0);
    EXPECT_EQ(page.session.RunEstimateText(),
              "  " + DurationText(EstimateDays(page.session.CalibrationTime(), 200, 4000), RussianNumberLocale()));
    EXPECT_EQ(page.session.StudyEstimateText(), "");
}

TEST(PageOperations, ARunTakesTheCurrentRatingsAndTheClockDecidesItsCounts)
{
    // Equal clocks give equal runs, byte for byte as a file keeps them; another reading differs.
    const auto run = [](int32_t reading, int m07Item) {
        Page page(reading);
        page.session.SelectLevel(FactorIndex("M07"), m07Item);
        page.session.SetKText("4");
        page.session.SetNText("1000");
        page.session.Run();
        return std::pair{ProjectJson(page.state()), page.assessment()};
    };
    const auto [first, firstState] = run(45'296'789, 10);
    const auto [second, secondState] = run(45'296'789, 10);
    const auto [other, otherState] = run(45'296'790, 10);
    EXPECT_EQ(firstState.net.inputs.slot[FindFactor("M07")->slot], 0.916f);
    EXPECT_EQ(firstState.results.back().inputs.slot[FindFactor("M07")->slot], 0.916f);
    EXPECT_EQ(first, second);
    EXPECT_EQ(firstState.series.column, secondState.series.column);
    EXPECT_NE(firstState.series.column, otherState.series.column);
}

TEST(PageOperations, ARunSizeOutOfRangeIsRefusedWithNothingChanged)
{
    const struct {
        const char* k;
        const char* n;
        const char* message;
    } cases[] = {
        {"0", "100", KOutOfRangeText},
        {"2001", "100", KOutOfRangeText},
        {"-5", "100", KOutOfRangeText},
        {"10", "0", NOutOfRangeText},
        {"10", "-1", NOutOfRangeText},
        {"abc", "100", "'abc' is not a valid integer value"},
        {"5", "1x", "'1x' is not a valid integer value"},
    };
    Page page;
    for (const auto& refused : cases) {
        page.session.SetKText(refused.k);
        page.session.SetNText(refused.n);
        const SessionState before = page.state();
        EXPECT_EQ(ErrorOf([&] { page.session.Run(); }), refused.message) << refused.k << " " << refused.n;
        EXPECT_TRUE(page.state() == before) << refused.k << " " << refused.n;
        EXPECT_EQ(page.assessment().RunCounter(), 0);
    }
    // The limits themselves run: one initiation ends in B or in C.
    page.session.SetKText("2000");
    page.session.SetNText("1");
    page.session.Run();
    ASSERT_EQ(page.assessment().RunCounter(), 1);
    EXPECT_EQ(page.assessment().net.counters.node[0] + page.assessment().net.counters.node[1], 1);
}

TEST(PageOperations, TheStudyMayStartFromTheSecondCaptureWhileBudgetAndDamageRead)
{
    // The second measure's factors edited in either order.
    const std::vector<std::pair<const char*, int>> orders[] = {{{"C01", 6}, {"T05", 2}}, {{"T05", 2}, {"C01", 6}}};
    Page page;
    for (const auto& order : orders) {
        page.session.ResetMeasures();
        page.Capture({{"H02", 7}}, "300");
        EXPECT_FALSE(page.state().shown.studyReady);
        page.Capture(order, "0400");
        EXPECT_TRUE(page.state().shown.studyReady);
        const MeasureTables& tables = page.assessment().measures;
        EXPECT_EQ(tables.MeasureCount, 2);
        EXPECT_EQ(tables.ChangeTotal, 3);
        EXPECT_EQ(tables.MeasureStore(2).Cost, 400.0f);
        // The cost node keeps the text as typed; C before T whatever the order of editing.
        const TreeNode& cost = page.state().shown.tree.children[1].children.back();
        EXPECT_EQ(cost.text, "Затраты = 0400 у.е.");
        EXPECT_EQ(cost.image, 3);
        EXPECT_EQ(tables.MeasureStore(2).Changes[1].LevelAfter, "Хорошая");
        EXPECT_EQ(tables.MeasureStore(2).Changes[2].LevelAfter, "Низкая");
    }

    // Budget and damage: numbers of at least 1; an empty field changes nothing; while a text is no
    // number the study may not start, and typing it raises nothing.
    const struct {
        bool budget;
        const char* text;
        bool ready;
    } steps[] = {{true, "0", false}, {true, "15", true},  {false, "", true},    {false, "-5", false},
                 {false, "5", true}, {true, "2,5", true}, {true, "2,5x", false}};
    for (const auto& step : steps) {
        EXPECT_EQ(ErrorOf([&] {
                      step.budget ? page.session.SetBudgetText(step.text) : page.session.SetDamageText(step.text);
                  }),
                  "no error");
        EXPECT_EQ(page.state().shown.studyReady, step.ready) << step.budget << " " << step.text;
    }
}

TEST(PageOperations, ASecondStudyRanksTheCapturedMeasuresAgain)
{
    Page page;
    page.TwoMeasures();
    page.session.Study();
    const std::vector<std::string> first = page.Names();
    EXPECT_EQ(first, (std::vector<std::string>{"Мероприятие 1", "Мероприятие 1 + Мероприятие 2", "Мероприятие 2"}));
    EXPECT_FALSE(page.state().shown.studyReady);
    page.session.SetBudgetText("1500");
    ASSERT_TRUE(page.state().shown.studyReady);
    page.session.Study();
    EXPECT_EQ(page.Names(), first);
    EXPECT_EQ(page.assessment().measures.MeasureStore(2).Cost, 1001.0f);
    EXPECT_EQ(page.state().shown.study.listing.size(), 16u);
    EXPECT_EQ(page.assessment().measures.captured[1].Name, "Мероприятие 2");
    EXPECT_EQ(page.assessment().measures.captured[1].Ratio, 0.0f);
}

TEST(PageOperations, AChangeLeftPendingThroughAStudyIsCapturedAfterIt)
{
    Page page;
    page.TwoMeasures();
    page.Move("M04", 8);
    page.session.Study();
    ASSERT_FALSE(page.state().shown.editorEnabled);
    page.session.SetCostText("5");
    page.session.Capture();
    const MeasureTables& tables = page.assessment().measures;
    EXPECT_EQ(tables.MeasureCount, 3);
    EXPECT_EQ(tables.captured[2].Changes[1].LevelAfter, "Высокая");
    // The ranked record at position 3 is replaced whole by the unjudged measure.
    EXPECT_EQ(tables.MeasureStore(3).Name, "Мероприятие 3");
    EXPECT_EQ(tables.MeasureStore(3).Benefit, 0.0f);
    EXPECT_EQ(tables.MeasureStore(3).Ratio, 0.0f);
    ASSERT_EQ(page.state().shown.tree.children.size(), 4u);
    EXPECT_EQ(page.state().shown.tree.children[3].text, "Мероприятие 4");
    EXPECT_EQ(page.state().shown.tree.children[3].image, 1);
    EXPECT_TRUE(page.state().shown.studyReady);
    page.session.Study();
    EXPECT_EQ(page.Names().size(), 7u);
}

}  // namespace
