// The page "Итоги" as the window shows it: the totals table, the budget and damage labels and the view buttons.
#include "window/TFormKestal.h"

#include <QPushButton>
#include <QVBoxLayout>

#include "measures/Totals.h"
#include "widgets/Grid.h"
#include "widgets/DesignControls.h"

void TFormKestal::BuildTotalsPage()
{
    sgTotal = new Grid(tsResaltAct, "sgTotal", TotalsColumns, TotalsDesignRows, 18);
    sgTotal->setEditTriggers(QAbstractItemView::NoEditTriggers);
    const int widths[TotalsColumns] = {18, 185, 70, 70, 91, 131, 101, 92};
    for (int column = 0; column < TotalsColumns; ++column) sgTotal->setColumnWidth(column, widths[column]);
    // The design's height is the least; the table takes the page's room above the labels.
    sgTotal->setMinimumHeight(380);

    // Below the table, which spans the top of the page: the two labels and the buttons.
    auto* bottom = new QWidget(tsResaltAct);
    bottom->setObjectName(QStringLiteral("pTotalButtons"));
    bottom->setFixedHeight(80);
    lbTotalMoney = MakeLabel(bottom, "lbTotalMoney",
                             "Общая сумма, имеющихся в распоряжении финансовых средств ( у.е.) :", {8, 6, 560, 30},
                             true);
    lbTotDamage = MakeLabel(bottom, "lbTotDamage", "Величина среднего ущерба от возможного происшествия ( у.е.) :",
                            {8, 40, 560, 30}, true);
    buttMore = MakeButton(bottom, "buttMore", "Больше", {600, 6, 90, 25});
    buttLess = MakeButton(bottom, "buttLess", "Меньше", {600, 6, 90, 25});
    buttLess->setEnabled(false);
    buttLess->hide();
    QPushButton* buttSave = MakeButton(bottom, "buttSave", "Сохранить", {600, 40, 90, 25});
    buttSave->setEnabled(false);

    auto* layout = new QVBoxLayout(tsResaltAct);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    layout->addWidget(sgTotal, 1);
    layout->addWidget(bottom);
}
