// The measure editor's rules: change-node texts, tree addressing, readiness of ">>" and of the run button.
#include <gtest/gtest.h>

#include "measures/EditorRules.h"
#include "common/KestalError.h"

using namespace kestal;

namespace {

TypedAmount Ru(const char* text) { return ReadAmount(text, RussianNumberLocale()); }

}  // namespace

TEST(EditorRules, ChangeNodeTexts)
{
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

TEST(EditorRules, ReadinessOfCapture)
{
    EditorRows rows;
    for (int f = 0; f < FactorCount; ++f) {
        const FactorInfo& factor = FactorCatalogue[f];
        const char* text = (*factor.wording)[factor.defaultItem];
        rows[f] = {factor.defaultItem, factor.defaultItem, false, text, text};
    }
    EXPECT_EQ(ReadinessAfterCostChange(Ru(""), rows), std::nullopt);
    EXPECT_EQ(ReadinessAfterCostChange(Ru("5"), rows), false);
    // Any factor showing a change counts, locked ones included.
    rows[29].levelAfter = "Низкая";
    rows[29].locked = true;
    EXPECT_EQ(ReadinessAfterCostChange(Ru("5"), rows), true);
    EXPECT_EQ(ReadinessAfterCostChange(Ru("1,5"), rows), true);
    EXPECT_EQ(ReadinessAfterCostChange(Ru("0,99"), rows), false);
    EXPECT_THROW(ReadinessAfterCostChange(Ru("1.5"), rows), KestalError);

    EXPECT_EQ(ReadinessAfterMove(5, 5, Ru("300")), false);
    EXPECT_EQ(ReadinessAfterMove(5, 7, Ru("300")), true);
    EXPECT_EQ(ReadinessAfterMove(5, 7, Ru("0")), std::nullopt);
    EXPECT_THROW(ReadinessAfterMove(5, 7, Ru("")), KestalError);
}

TEST(EditorRules, RunButton)
{
    EXPECT_TRUE(RunButtonEnabled(Ru("1500"), Ru("10000000"), 2));
    EXPECT_TRUE(RunButtonEnabled(Ru("1"), Ru("1E45"), 3));
    EXPECT_TRUE(RunButtonEnabled(Ru("1500,5"), Ru("10000000"), 2));
    EXPECT_FALSE(RunButtonEnabled(Ru("1500"), Ru("10000000"), 1));
    EXPECT_FALSE(RunButtonEnabled(Ru("1500"), Ru("0,5"), 2));
    EXPECT_FALSE(RunButtonEnabled(Ru("0"), Ru("не число"), 2));  // the damage is not read
    EXPECT_THROW(RunButtonEnabled(Ru("1500.5"), Ru("10000000"), 2), KestalError);
}
