// The measure editor's rules: change-node texts, tree addressing, readiness of ">>" and of the run button.
#include <gtest/gtest.h>

#include "measures/EditorRules.h"
#include "common/KestalError.h"

TEST(EditorRules, ChangeNodeTexts) {
    const FactorInfo& h01 = *FindFactor("H01");
    EXPECT_EQ(ChangeNodeText(h01, 5, 3), "H01  ( -2) --> Ниже среднего");
    EXPECT_EQ(ChangeNodeText(h01, 5, 6), "H01  (+1) --> Хорошая");
    EXPECT_EQ(ChangeNodeText(h01, 5, 5), NoChangeText);
    EXPECT_EQ(ChangeNodeText(*FindFactor("M02"), 3, 2), "M02  ( -1) --> Низкая");
    EXPECT_EQ(GroupImage(h01), 4);
    EXPECT_EQ(GroupImage(*FindFactor("M02")), 5);
    EXPECT_EQ(GroupImage(*FindFactor("C04")), 6);
    EXPECT_EQ(GroupImage(*FindFactor("T06")), 7);
    EXPECT_EQ(MeasureNameText(12), "Мероприятие 12");
}

TEST(EditorRules, ReadinessOfCapture) {
    const NumberLocale ru = RussianNumberLocale();
    EditorRows rows;
    for (int f = 0; f < FactorCount; ++f) rows[f] = FreshEditorRow(FactorCatalogue[f], FactorCatalogue[f].defaultItem);
    EXPECT_EQ(ReadinessAfterCostChange("", rows, ru), std::nullopt);
    EXPECT_EQ(ReadinessAfterCostChange("5", rows, ru), false);
    // Any factor showing a change counts, locked ones included.
    rows[29].levelAfter = "Низкая";
    rows[29].locked = true;
    EXPECT_EQ(ReadinessAfterCostChange("5", rows, ru), true);
    EXPECT_EQ(ReadinessAfterCostChange("1,5", rows, ru), true);
    EXPECT_EQ(ReadinessAfterCostChange("0,99", rows, ru), false);
    EXPECT_THROW(ReadinessAfterCostChange("1.5", rows, ru), KestalError);

    EXPECT_EQ(ReadinessAfterMove(5, 5, "300", ru), false);
    EXPECT_EQ(ReadinessAfterMove(5, 7, "300", ru), true);
    EXPECT_EQ(ReadinessAfterMove(5, 7, "0", ru), std::nullopt);
    EXPECT_THROW(ReadinessAfterMove(5, 7, "", ru), KestalError);
}

TEST(EditorRules, RunButton) {
    const NumberLocale ru = RussianNumberLocale();
    EXPECT_TRUE(RunButtonEnabled("1500", "10000000", 2, ru));
    EXPECT_TRUE(RunButtonEnabled("1", "1E45", 3, ru));
    EXPECT_TRUE(RunButtonEnabled("1500,5", "10000000", 2, ru));
    EXPECT_FALSE(RunButtonEnabled("1500", "10000000", 1, ru));
    EXPECT_FALSE(RunButtonEnabled("1500", "0,5", 2, ru));
    EXPECT_FALSE(RunButtonEnabled("0", "не число", 2, ru));  // the damage is not read
    EXPECT_THROW(RunButtonEnabled("1500.5", "10000000", 2, ru), KestalError);
}
