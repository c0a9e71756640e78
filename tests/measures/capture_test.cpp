// Capture of a measure (">>"): what it writes, in which order, and what it refuses.
#include <gtest/gtest.h>

#include "common/KestalError.h"
#include "measure_helpers.h"

using namespace kestal;

using namespace measure_test;

namespace {

// The catalogue indices of the factors the capture found changed, as ids.
std::vector<std::string> LockedIds(const CaptureResult& result)
{
    std::vector<std::string> ids;
    for (int f : result.lockedFactors) ids.push_back(FactorCatalogue[f].id);
    return ids;
}

void ExpectNothingWritten(const MeasurePage& page)
{
    EXPECT_EQ(page.tables->MeasureCount, 0);
    EXPECT_EQ(page.tables->ChangeTotal, 0);
    for (const operation& record : page.tables->store) EXPECT_TRUE(record.Name.empty() && record.Changes.Count() == 0);
    for (const operation& record : page.tables->captured)
        EXPECT_TRUE(record.Name.empty() && record.Changes.Count() == 0);
    for (const auto& row : page.tables->MeasurePlanTable)
        for (int k = 1; k < PlanColumns; ++k) EXPECT_EQ(row[k].Value, 0.0f);
}

}  // namespace

TEST(Capture, WorkedExampleH01AndM02)
{
    MeasurePage page;
    // Edited M02 last, as the tree shows; the store follows the capture order all the same.
    page.MoveTrackBars({{"H01", 7}});
    const CaptureResult result = page.Capture("Мероприятие 1", "300", {{"M02", 2}});
    const MeasureTables& t = *page.tables;

    ASSERT_TRUE(result.captured);
    EXPECT_EQ(result.measure, 1);
    EXPECT_EQ(LockedIds(result), (std::vector<std::string>{"H01", "M02"}));
    EXPECT_EQ(result.costNodeText, "Затраты = 300 у.е.");
    EXPECT_EQ(result.nextName, "Мероприятие 2");
    EXPECT_FALSE(result.runEnabled);
    EXPECT_EQ(t.MeasureCount, 1);
    EXPECT_EQ(t.ChangeTotal, 2);

    const operation& measure = t.MeasureStore(1);
    EXPECT_EQ(measure.Name, "Мероприятие 1");
    EXPECT_EQ(measure.Cost, 300.0f);
    EXPECT_EQ(measure.Delta, 0.0f);
    EXPECT_EQ(measure.Ratio, 0.0f);
    ASSERT_EQ(measure.Changes.Count(), 2);
    const ChangeFactor& h01 = measure.Changes[1];
    // The settings' row text (padded to 63 characters), not the plan table's catalogue text.
    EXPECT_EQ(h01.Factor, "H01 Пригодность по физиологическим показателям                 ");
    EXPECT_EQ(h01.LevelBefore, "Выше среднего");
    EXPECT_EQ(h01.LevelAfter, "Очень хорошая");
    EXPECT_EQ(h01.ValueBefore, page.settings.row[4].Value);
    EXPECT_EQ(h01.ValueAfter, LevelTable[7].value);
    const ChangeFactor& m02 = measure.Changes[2];
    EXPECT_EQ(m02.Factor, page.settings.row[17].RowText);
    EXPECT_EQ(m02.LevelBefore, "Ниже среднего");
    EXPECT_EQ(m02.LevelAfter, "Низкая");
    EXPECT_EQ(m02.ValueBefore, page.settings.row[17].Value);
    EXPECT_EQ(m02.ValueAfter, LevelTable[2].value);

    for (int r = 0; r < FactorCount; ++r) {
        const FactorSetting& cell = t.MeasurePlanTable[r][1];
        EXPECT_EQ(cell.RowText, PlanRowTexts[r]);
        if (r == 4) {
            EXPECT_EQ(cell.Value, LevelTable[7].value);
            EXPECT_EQ(cell.LevelName, "Очень хорошая");
        } else if (r == 17) {
            EXPECT_EQ(cell.Value, LevelTable[2].value);
            EXPECT_EQ(cell.LevelName, "Низкая");
        } else {
            EXPECT_EQ(cell.Value, 0.0f) << r;
            EXPECT_EQ(cell.LevelName, "") << r;
        }
    }
    // Kept apart for the study, and shown at its own position until a study ranks it.
    EXPECT_EQ(t.captured[0].Name, measure.Name);
    EXPECT_EQ(t.captured[0].Cost, measure.Cost);
    EXPECT_EQ(t.captured[0].Changes[2].Factor, m02.Factor);
    EXPECT_TRUE(t.MeasureStore(2).Name.empty());
}

TEST(Capture, FollowsTheCaptureOrderWhateverTheOrderOfEditing)
{
    MeasurePage page;
    page.MoveTrackBars({{"T05", 0}, {"C02", 9}, {"M08", 10}, {"H13", 3}, {"H02", 4}});
    const CaptureResult result = page.Capture("Смешанное", "0300", {});
    EXPECT_EQ(LockedIds(result), (std::vector<std::string>{"H02", "H13", "M08", "C02", "T05"}));
    const ChangeFactorS& changes = page.tables->MeasureStore(1).Changes;
    ASSERT_EQ(changes.Count(), 5);
    EXPECT_EQ(changes[1].Factor.substr(0, 3), "H02");
    EXPECT_EQ(changes[2].Factor.substr(0, 3), "H13");
    EXPECT_EQ(changes[3].Factor.substr(0, 3), "M08");
    EXPECT_EQ(changes[4].Factor, page.settings.row[1].RowText);   // C02: "02 ... C02"
    EXPECT_EQ(changes[5].Factor, page.settings.row[28].RowText);  // T05
    // The cost as typed in the tree, its value in the store.
    EXPECT_EQ(result.costNodeText, "Затраты = 0300 у.е.");
    EXPECT_EQ(page.tables->MeasureStore(1).Cost, 300.0f);
}

TEST(Capture, SecondMeasureSkipsLockedFactorsAndEnablesTheRunButton)
{
    MeasurePage page;
    EXPECT_FALSE(page.Capture("Первое", "300", {{"H01", 7}}).runEnabled);
    // H01 still stands away from its level but is locked; only M01 is new.
    const CaptureResult second = page.Capture("Второе", "450", {{"M01", 6}});
    EXPECT_TRUE(second.runEnabled);
    EXPECT_EQ(second.measure, 2);
    EXPECT_EQ(LockedIds(second), std::vector<std::string>{"M01"});
    EXPECT_EQ(second.nextName, "Мероприятие 3");
    const MeasureTables& t = *page.tables;
    EXPECT_EQ(t.MeasureCount, 2);
    EXPECT_EQ(t.ChangeTotal, 2);
    EXPECT_EQ(t.MeasureStore(2).Name, "Второе");
    EXPECT_EQ(t.MeasureStore(2).Changes.Count(), 1);
    EXPECT_EQ(t.MeasurePlanTable[16][2].Value, LevelTable[6].value);  // M01 in column 2
    EXPECT_EQ(t.MeasurePlanTable[4][2].Value, 0.0f);                  // H01 stays in column 1
}

TEST(Capture, RunButtonFollowsBudgetAndDamage)
{
    MeasurePage page;
    page.Capture("Первое", "300", {{"H01", 7}});
    page.damage = "0";
    EXPECT_FALSE(page.Capture("Второе", "300", {{"H02", 7}}).runEnabled);
    // A budget below 1 disables without reading the damage text.
    page.budget = "0";
    page.damage = "много";
    EXPECT_FALSE(page.Capture("Третье", "300", {{"H03", 2}}).runEnabled);
    EXPECT_EQ(page.tables->MeasureCount, 3);
}

TEST(Capture, PressWithoutChangeIsNotAMeasure)
{
    MeasurePage page;
    page.Capture("Первое", "300", {{"H01", 7}});
    // A track bar moved and moved back, and a locked factor still showing its change.
    page.MoveTrackBars({{"H02", 9}, {"H02", 5}});
    const CaptureResult result = page.Capture("Ничего", "300", {});
    EXPECT_FALSE(result.captured);
    EXPECT_TRUE(result.lockedFactors.empty());
    EXPECT_EQ(page.tables->MeasureCount, 1);
    EXPECT_EQ(page.tables->ChangeTotal, 1);
    EXPECT_TRUE(page.tables->MeasureStore(2).Name.empty());
    // Nothing is stored, so the cost is not read.
    EXPECT_FALSE(page.Capture("Ничего", "", {}).captured);
}

TEST(Capture, RefusesBeforeWritingAnything)
{
    MeasurePage page;
    const auto refused = [&](const std::string& cost, const std::string& message) {
        try {
            CaptureMeasure(*page.tables, page.settings, page.Input("Мера", cost));
            ADD_FAILURE() << "accepted cost '" << cost << "'";
        } catch (const KestalError& error) {
            EXPECT_EQ(std::string(error.what()), message);
        }
        ExpectNothingWritten(page);
    };
    page.MoveTrackBars({{"H01", 7}});
    refused("", "'' is not a valid floating point value");
    refused("12,5", "'12,5' is not a valid floating point value");
    refused("0", CostBelowOneText);
    refused("0.5", CostBelowOneText);
    refused("-300", CostBelowOneText);
    page.budget = "1500,5";
    refused("300", "'1500,5' is not a valid floating point value");
    page.budget = "1500";
    page.damage = "";
    refused("300", "'' is not a valid floating point value");
    page.damage = "10000000";

    // Eleven changed factors in one measure.
    page.MoveTrackBars({{"H02", 0},
                        {"H03", 0},
                        {"H04", 0},
                        {"H05", 0},
                        {"H06", 0},
                        {"H07", 0},
                        {"H08", 0},
                        {"H09", 0},
                        {"H12", 0},
                        {"H13", 0}});
    refused("300", TooManyChangesText);
    // Ten are taken.
    page.MoveTrackBars({{"H13", FindFactor("H13")->defaultItem}});
    // The cost is the text read as a floating-point number.
    EXPECT_EQ(page.Capture("Десять", "12.5", {}).lockedFactors.size(), 10u);
    EXPECT_EQ(page.tables->MeasureStore(1).Cost, 12.5f);
    EXPECT_EQ(page.tables->MeasureStore(1).Changes.Count(), 10);
    EXPECT_EQ(page.tables->ChangeTotal, 10);
}

TEST(Capture, RefusesASixteenthMeasure)
{
    MeasurePage page;
    for (int f = 0; f < MaxMeasures; ++f) {
        const FactorInfo& factor = FactorCatalogue[f];
        page.Capture("М" + std::to_string(f + 1), "100", {{factor.id, factor.defaultItem == 0 ? 1 : 0}});
    }
    ASSERT_EQ(page.tables->MeasureCount, 15);
    const FactorInfo& next = FactorCatalogue[MaxMeasures];
    page.MoveTrackBars({{next.id, next.defaultItem == 0 ? 1 : 0}});
    try {
        CaptureMeasure(*page.tables, page.settings, page.Input("М16", "100"));
        ADD_FAILURE() << "a 16th measure was captured";
    } catch (const KestalError& error) {
        EXPECT_STREQ(error.what(), TooManyMeasuresText);
    }
    EXPECT_EQ(page.tables->MeasureCount, 15);
    EXPECT_EQ(page.tables->ChangeTotal, 15);
    EXPECT_TRUE(page.tables->MeasureStore(16).Name.empty());
}

// The captions come from the ratings and the list: the longest (20 characters) kept whole.
TEST(Capture, KeepsTwentyCharacterLevelTextsAndAnEmptyName)
{
    MeasurePage page;
    ApplyLevel(page.settings, *FindFactor("H01"), 0);
    page.rows[0].currentItem = 0;
    page.Capture("", "300", {{"H01", 10}});
    const operation& measure = page.tables->MeasureStore(1);
    EXPECT_EQ(measure.Name, "");
    EXPECT_EQ(measure.Changes[1].LevelBefore, "Очень, очень низкая");
    EXPECT_EQ(measure.Changes[1].LevelAfter, "Очень, очень высокая");
    EXPECT_EQ(page.tables->MeasurePlanTable[4][1].LevelName, "Очень, очень высокая");
}

// A measure captured after a study of three takes a column the study filled with a combination of
// two: the column holds the measure's own changes only, as a project file rebuilds it.
TEST(Capture, AfterAStudyOfThreeTheNextColumnHoldsOnlyItsMeasure)
{
    MeasurePage page;
    page.Capture("А", "100", {{"H01", 10}});
    page.Capture("Б", "100", {{"H02", 10}});
    page.Capture("В", "100", {{"H03", 10}});
    page.Study("2", "100");
    page.Capture("Г", "5", {{"M04", 9}});
    for (int slot = 0; slot < FactorCount; ++slot) {
        const FactorSetting& cell = page.tables->MeasurePlanTable[slot][4];
        const bool own = slot == FindFactor("M04")->slot;
        EXPECT_EQ(cell.Value, own ? LevelTable[9].value : 0.0f) << slot;
        EXPECT_EQ(cell.LevelName.empty(), !own) << slot;
    }
}
