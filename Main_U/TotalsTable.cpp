// The two views of the totals table on the page "Итоги": compact ("Меньше") and detailed ("Больше").
#include "Main_U/TFormKestal.h"

#include <QLineEdit>
#include <QPushButton>

#include <algorithm>

#include "ActSelect/Totals.h"
#include "Main_U/Grid.h"
#include "Main_U/UiLocale.h"
#include "Main_U/UiText.h"

void TFormKestal::WriteTotalsHeader()
{
    for (int column = 0; column < TotalsColumns; ++column) sgTotal->setCell(column, 0, Q(TotalsHeaders[column]));
}

void TFormKestal::ShowTotals(const TotalsView& view)
{
    sgTotal->clearContents();
    for (int column = 0; column < TotalsColumns; ++column) sgTotal->setCell(column, 0, QString());
    // The design's 50 rows, more where the view needs them.
    sgTotal->setRows(std::max(TotalsDesignRows, view.rowCount));
    for (const GridCell& cell : view.cells) sgTotal->setCell(cell.column, cell.row, Q(cell.text));
}

void TFormKestal::ShowTotalsButtons(bool detailed)
{
    buttMore->setEnabled(!detailed);
    buttMore->setVisible(!detailed);
    buttLess->setEnabled(detailed);
    buttLess->setVisible(detailed);
}

void TFormKestal::buttMoreClick()
{
    // The budget is read afresh; the view is built before the grid is cleared, so that an unreadable
    // budget leaves the table as it was.
    ShowTotals(DetailedTotals(measures, S(edAllMoney->text()), UiNumberLocale()));
    ShowTotalsButtons(true);
}

void TFormKestal::buttLessClick()
{
    ShowTotals(CompactTotals(measures, S(edAllMoney->text()), UiNumberLocale()));
    ShowTotalsButtons(false);
}
