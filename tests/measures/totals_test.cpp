// The study's listing, the totals table's compact and detailed views and the totals labels.
#include <gtest/gtest.h>

#include <map>
#include <memory>

#include "measures/Totals.h"
#include "common/KestalError.h"

using namespace kestal;

namespace {

const std::string Nbsp = "\u00A0";

// Cells of a view by (row, column); a cell written twice would be a fault of the view.
std::map<std::pair<int, int>, std::string> Cells(const TotalsView& view)
{
    std::map<std::pair<int, int>, std::string> cells;
    for (const GridCell& cell : view.cells)
        EXPECT_TRUE(cells.emplace(std::pair(cell.row, cell.column), cell.text).second);
    return cells;
}

void AddChanges(operation& record, int count, const std::string& tag)
{
    for (int j = 1; j <= count; ++j)
        record.Changes[j] = {tag + " фактор " + std::to_string(j), "до " + std::to_string(j),
                             "после " + std::to_string(j), 0.5f, 0.6f};
}

// Position 1 within a budget of 1500, position 2 over it, position 3 free, position 4 within.
std::unique_ptr<MeasureTables> RankedStore()
{
    auto tables = std::make_unique<MeasureTables>();
    operation& first = tables->MeasureStore(1);
    first = {"Обучение", {}, 300.0f, 0.0012345f, 12345.5f, 41.25f};
    AddChanges(first, 2, "A");
    operation& second = tables->MeasureStore(2);
    second = {"Обучение + Ремонт", {}, 2000.5f, 0.0f, 0.0f, -159.0f};
    tables->MeasureStore(4) = {"Ремонт", {}, 1500.0f, -0.0001f, -1000.0f, -0.6666667f};
    AddChanges(tables->MeasureStore(4), 1, "B");
    return tables;
}

}  // namespace

TEST(StudyListing, LinesExactly)
{
    const auto tables = RankedStore();
    const std::vector<std::string> lines = StudyListing(*tables, {1500, "1500"}, RussianNumberLocale());
    const std::vector<std::string> expected = {
        "                      РЕЗУЛЬТАТЫ.",
        "--------",
        "Обучение :",
        "   -> затраты = 300",
        "   -> выгода  = 12345,5",
        "   >> выг/зат = 41,25",
        "--------",
        "Обучение + Ремонт :",
        "      Затраты превышают имеющиеся ресурсы :",
        "             2000,5 > 1500",
        "--------",
        "Ремонт :",
        "   -> затраты = 1500",
        "   -> выгода  = -1000",
        "   >> выг/зат = -0,666666686534882",
    };
    EXPECT_EQ(lines, expected);
    // The budget text as typed ends the over-budget line.
    EXPECT_EQ(StudyListing(*tables, {1500, " 1500,0"}, RussianNumberLocale())[9], "             2000,5 >  1500,0");
    EXPECT_EQ(StudyListing(MeasureTables{}, {1500, "1500"}, RussianNumberLocale()),
              std::vector<std::string>{ListingTitle});
}

TEST(CompactTotals, RowsExactlyUnderARussianLocale)
{
    const auto tables = RankedStore();
    const TotalsView view = CompactTotals(*tables, {1500, "1500"}, RussianNumberLocale());
    auto cells = Cells(view);
    const char* headers[] = {"№",
                             "   Название мероприятия",
                             "Затраты (у.е)",
                             "Выгода (у.е.)",
                             "Выгода/Затраты",
                             "   Измененный фактор",
                             "    Оченка ДО",
                             " Оценка ПОСЛЕ"};
    for (int c = 0; c < 8; ++c) EXPECT_EQ(cells[std::pair(0, c)], headers[c]);
    const std::map<std::pair<int, int>, std::string> rows = {
        {{1, 0}, "1"},
        {{1, 1}, "Обучение"},
        {{1, 2}, "300,00"},
        {{1, 3}, "12" + Nbsp + "345,50"},
        {{1, 4}, "41,25000"},
        {{2, 0}, "2"},
        {{2, 1}, "Обучение + Ремонт"},
        {{2, 2}, "2000,5>1500"},
        {{2, 3}, "Большие"},
        {{2, 4}, "затраты"},
        {{4, 0}, "4"},
        {{4, 1}, "Ремонт"},
        {{4, 2}, "1" + Nbsp + "500,00"},
        {{4, 3}, "-1" + Nbsp + "000,00"},
        {{4, 4}, "-0,66667"},
    };
    for (int c = 0; c < 8; ++c) cells.erase({0, c});
    EXPECT_EQ(cells, rows);
    EXPECT_EQ(view.rowCount, 5);
    EXPECT_EQ(view.cells.front().row, 0);

    // The budget is read when the view is built: raised, the pair is shown with its stored numbers.
    auto raised = Cells(CompactTotals(*tables, {2500, "2500"}, RussianNumberLocale()));
    EXPECT_EQ(raised[std::pair(2, 2)], "2" + Nbsp + "000,50");
    EXPECT_EQ(raised[std::pair(2, 3)], "0,00");
    EXPECT_EQ(raised[std::pair(2, 4)], "-159,00000");
    // Lowered, a judged record is over it.
    auto lowered = Cells(CompactTotals(*tables, {299.5L, "299,5"}, RussianNumberLocale()));
    EXPECT_EQ(lowered[std::pair(1, 2)], "300>299,5");
}

TEST(DetailedTotals, WorkedExamplePlacement)
{
    MeasureTables tables;
    for (int s = 1; s <= 3; ++s) {
        tables.MeasureStore(s) = {"Мера " + std::to_string(s), {}, 100.0f * s, 0.001f, 10000.0f, 100.0f / s};
        AddChanges(tables.MeasureStore(s), 4 - s, std::to_string(s));
    }
    const TotalsView view = DetailedTotals(tables, {1500, "1500"}, EnglishNumberLocale());
    auto cells = Cells(view);
    std::map<int, std::string> firstColumn;
    std::map<int, std::string> factorColumn;
    for (const auto& [at, text] : cells) {
        if (at.first == 0) continue;
        if (at.second == 0) firstColumn[at.first] = text;
        if (at.second == 5) factorColumn[at.first] = text;
    }
    EXPECT_EQ(firstColumn, (std::map<int, std::string>{{1, "1"}, {6, "2"}, {10, "3"}}));
    EXPECT_EQ(factorColumn, (std::map<int, std::string>{{1, "1 фактор 1"},
                                                        {2, "1 фактор 2"},
                                                        {3, "1 фактор 3"},
                                                        {6, "2 фактор 1"},
                                                        {7, "2 фактор 2"},
                                                        {10, "3 фактор 1"}}));
    EXPECT_EQ(cells[std::pair(7, 6)], "до 2");
    EXPECT_EQ(cells[std::pair(7, 7)], "после 2");
    EXPECT_EQ(cells[std::pair(6, 1)], "Мера 2");
    EXPECT_EQ(cells[std::pair(6, 2)], "200.00");
    EXPECT_EQ(cells[std::pair(6, 3)], "10,000.00");
    EXPECT_EQ(cells[std::pair(6, 4)], "50.00000");
    EXPECT_EQ(cells.count(std::pair(2, 0)), 0u);
    EXPECT_EQ(view.rowCount, 11);

    // Position 2 over the budget: left out, position 3 moves up to row 7.
    tables.MeasureStore(2).Cost = 2000.0f;
    auto without = Cells(DetailedTotals(tables, {1500, "1500"}, EnglishNumberLocale()));
    EXPECT_EQ(without[std::pair(7, 0)], "3");
    EXPECT_EQ(without[std::pair(7, 5)], "3 фактор 1");
    for (const auto& [at, text] : without) EXPECT_NE(text, "Мера 2");
}

TEST(DetailedTotals, RecordWithoutChangesIsFollowedByOneBlankRowAndTheGridGrows)
{
    MeasureTables tables;
    tables.MeasureStore(1) = {"Без изменений", {}, 100.0f, 0.0f, 0.0f, 0.0f};
    tables.MeasureStore(2) = {"Вторая", {}, 100.0f, 0.0f, 0.0f, 0.0f};
    AddChanges(tables.MeasureStore(2), 1, "x");
    tables.MeasureStore(3).Name = "Третья";
    AddChanges(tables.MeasureStore(3), 30, "y");
    auto cells = Cells(DetailedTotals(tables, {1500, "1500"}, EnglishNumberLocale()));
    EXPECT_EQ(cells[std::pair(1, 0)], "1");
    EXPECT_EQ(cells[std::pair(3, 0)], "2");  // offset 1
    EXPECT_EQ(cells[std::pair(6, 0)], "3");  // offset 3
    EXPECT_EQ(cells[std::pair(35, 5)], "y фактор 30");
    EXPECT_EQ(DetailedTotals(tables, {1500, "1500"}, EnglishNumberLocale()).rowCount, 36);
}

TEST(TotalsLabels, CarryTheTextsAsTyped)
{
    EXPECT_EQ(TotalMoneyLabel(" 1500"), "Общая сумма, имеющихся в распоряжении финансовых средств :  1500 ( у.е.)");
    EXPECT_EQ(TotalDamageLabel("1e7"), "Величина среднего ущерба от возможного происшествия : 1e7 ( у.е.)");
}
