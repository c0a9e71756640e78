// The study's listing, the totals table's two views and the totals page's labels.
#include "measures/Totals.h"

#include <algorithm>

#include "common/Formats.h"

namespace kestal {

const std::array<const char*, TotalsColumns> TotalsHeaders = {
    "№",
    "   Название мероприятия",
    "Затраты (у.е)",
    "Выгода (у.е.)",
    "Выгода/Затраты",
    "   Измененный фактор",
    "    Оченка ДО",
    " Оценка ПОСЛЕ",
};

bool WithinBudget(const operation& record, const Budget& budget)
{
    return budget.value >= static_cast<long double>(record.Cost);
}

namespace {

void Put(TotalsView& view, int row, int column, std::string text)
{
    view.rowCount = std::max(view.rowCount, row + 1);
    view.cells.push_back({row, column, std::move(text)});
}

TotalsView HeaderView()
{
    TotalsView view;
    for (int column = 0; column < TotalsColumns; ++column) Put(view, 0, column, TotalsHeaders[column]);
    return view;
}

// Columns 0..4 of a record within the budget.
void PutSummary(TotalsView& view, int row, int position, const operation& record, const NumberLocale& locale)
{
    Put(view, row, 0, IntegerText(position));
    Put(view, row, 1, record.Name);
    Put(view, row, 2, MoneyText(record.Cost, locale));
    Put(view, row, 3, MoneyText(record.Benefit, locale));
    Put(view, row, 4, RatioText(record.Ratio, locale));
}

}  // namespace

std::vector<std::string> StudyListing(const MeasureTables& tables, const Budget& budget, const NumberLocale& locale)
{
    std::vector<std::string> lines{ListingTitle};
    for (int s = 1; s <= StorePositions; ++s) {
        const operation& record = tables.MeasureStore(s);
        if (record.Name.empty()) continue;
        lines.push_back("--------");
        lines.push_back(record.Name + " :");
        if (WithinBudget(record, budget)) {
            lines.push_back("   -> затраты = " + GeneralText(record.Cost, locale));
            lines.push_back("   -> выгода  = " + GeneralText(record.Benefit, locale));
            lines.push_back("   >> выг/зат = " + GeneralText(record.Ratio, locale));
        } else {
            lines.push_back("      Затраты превышают имеющиеся ресурсы :");
            lines.push_back("             " + GeneralText(record.Cost, locale) + " > " + budget.text);
        }
    }
    return lines;
}

TotalsView CompactTotals(const MeasureTables& tables, const Budget& budget, const NumberLocale& locale)
{
    TotalsView view = HeaderView();
    for (int s = 1; s <= StorePositions; ++s) {
        const operation& record = tables.MeasureStore(s);
        if (record.Name.empty()) continue;
        if (WithinBudget(record, budget)) {
            PutSummary(view, s, s, record, locale);
        } else {
            Put(view, s, 0, IntegerText(s));
            Put(view, s, 1, record.Name);
            Put(view, s, 2, GeneralText(record.Cost, locale) + ">" + budget.text);
            Put(view, s, 3, "Большие");
            Put(view, s, 4, "затраты");
        }
    }
    return view;
}

TotalsView DetailedTotals(const MeasureTables& tables, const Budget& budget, const NumberLocale& locale)
{
    TotalsView view = HeaderView();
    int offset = 0;
    int previous = 0;
    for (int s = 1; s <= StorePositions; ++s) {
        const operation& record = tables.MeasureStore(s);
        if (record.Name.empty() || !WithinBudget(record, budget)) continue;
        offset += previous;
        const int row = s + offset;
        PutSummary(view, row, s, record, locale);
        const int changes = record.Changes.Count();
        for (int j = 1; j <= changes; ++j) {
            const ChangeFactor& change = record.Changes[j];
            Put(view, row + j - 1, 5, change.Factor);
            Put(view, row + j - 1, 6, change.LevelBefore);
            Put(view, row + j - 1, 7, change.LevelAfter);
        }
        previous = changes + 1;
    }
    return view;
}

std::string TotalMoneyLabel(const std::string& budgetText)
{
    return "Общая сумма, имеющихся в распоряжении финансовых средств : " + budgetText + " ( у.е.)";
}

std::string TotalDamageLabel(const std::string& damageText)
{
    return "Величина среднего ущерба от возможного происшествия : " + damageText + " ( у.е.)";
}

}  // namespace kestal
