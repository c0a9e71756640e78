// What the study's outcome looks like: the monitor listing, the totals table's compact and detailed
// views and the labels of the totals page, as plain texts.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "measures/MeasureStore.h"
#include "common/NumberLocale.h"

namespace kestal {

// The listing's first line, also its whole text after a reset.
inline constexpr const char* ListingTitle = "                      РЕЗУЛЬТАТЫ.";

// The budget a view is judged against: the number read from the budget text, and the text as typed,
// which the over-budget lines repeat.
struct Budget {
    long double value;
    std::string text;
    bool operator==(const Budget&) const = default;
};

// A record is within the budget when the budget is at least its cost.
bool WithinBudget(const operation& record, const Budget& budget);

// The listing of the store: the title, then for each record in use, position 1..24, its lines;
// numbers are general texts.
std::vector<std::string> StudyListing(const MeasureTables& tables, const Budget& budget, const NumberLocale& locale);

constexpr int TotalsColumns = 8;
constexpr int TotalsDesignRows = 50;  // rows of the grid as designed, the header included
extern const std::array<const char*, TotalsColumns> TotalsHeaders;

// One cell of the totals table; row 0 is the header row.
struct GridCell {
    int row;
    int column;
    std::string text;
    bool operator==(const GridCell&) const = default;
};

// A whole view of the totals table, to be written on a cleared grid.
struct TotalsView {
    std::vector<GridCell> cells;  // the header row first, then the rows in order
    int rowCount = 0;             // rows needed to show every cell, the header included
};

// Compact view: the header row, then row s for each record in use at position s: number, name,
// cost, benefit and ratio, or for a record over the budget its cost against the budget's text and
// "Большие" / "затраты". Written by the study and by "Меньше".
TotalsView CompactTotals(const MeasureTables& tables, const Budget& budget, const NumberLocale& locale);

// Detailed view ("Больше"): the records within the budget, each followed by its changes in columns
// 5..7 from its own row on; over-budget records are left out, blank rows separate the records.
TotalsView DetailedTotals(const MeasureTables& tables, const Budget& budget, const NumberLocale& locale);

// The labels of the totals page with the budget and damage texts as typed.
std::string TotalMoneyLabel(const std::string& budgetText);
std::string TotalDamageLabel(const std::string& damageText);

}  // namespace kestal
