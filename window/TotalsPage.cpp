// The page "Итоги" as the window shows it: the totals table, the budget and damage labels and the view buttons.
#include "window/TotalsPage.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

#include "measures/Totals.h"
#include "widgets/Grid.h"
#include "widgets/DesignControls.h"
#include "widgets/UiText.h"

namespace kestal {

TotalsPage::TotalsPage(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("tsResaltAct"));
    sgTotal = new Grid(this, "sgTotal", TotalsColumns, TotalsDesignRows, 18);
    sgTotal->setEditTriggers(QAbstractItemView::NoEditTriggers);
    const int widths[TotalsColumns] = {18, 185, 70, 70, 91, 131, 101, 92};
    for (int column = 0; column < TotalsColumns; ++column) sgTotal->setColumnWidth(column, widths[column]);
    // The design's height is the least; the table takes the page's room above the labels.
    sgTotal->setMinimumHeight(380);

    // Below the table, which spans the top of the page: the two labels and the buttons.
    auto* bottom = new QWidget(this);
    bottom->setObjectName(QStringLiteral("pTotalButtons"));
    bottom->setFixedHeight(80);
    lbTotalMoney =
        MakeLabel(bottom, "lbTotalMoney",
                  "Общая сумма, имеющихся в распоряжении финансовых средств ( у.е.) :", {8, 6, 560, 30}, true);
    lbTotDamage = MakeLabel(bottom, "lbTotDamage",
                            "Величина среднего ущерба от возможного происшествия ( у.е.) :", {8, 40, 560, 30}, true);
    buttMore = MakeButton(bottom, "buttMore", "Больше", {600, 6, 90, 25});
    buttLess = MakeButton(bottom, "buttLess", "Меньше", {600, 6, 90, 25});
    buttLess->setEnabled(false);
    buttLess->hide();
    QPushButton* buttSave = MakeButton(bottom, "buttSave", "Сохранить", {600, 40, 90, 25});
    buttSave->setEnabled(false);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    layout->addWidget(sgTotal, 1);
    layout->addWidget(bottom);

    for (int column = 0; column < TotalsColumns; ++column) sgTotal->setCell(column, 0, QText(TotalsHeaders[column]));
    connect(buttMore, &QPushButton::clicked, this, [this] { emit detailRequested(true); });
    connect(buttLess, &QPushButton::clicked, this, [this] { emit detailRequested(false); });
}

void TotalsPage::Show(const Session& session)
{
    const StudyOutcome& study = session.state().shown.study;
    // "Сброс" hides the page and leaves its table as it was.
    if (!study.totalsShown) return;
    lbTotalMoney->setText(QText(study.moneyLabel));
    lbTotDamage->setText(QText(study.damageLabel));
    buttMore->setEnabled(!study.detailed);
    buttMore->setVisible(!study.detailed);
    buttLess->setEnabled(study.detailed);
    buttLess->setVisible(study.detailed);
    TotalsView view = session.Totals();
    if (view.cells == totalsShown_) return;
    sgTotal->clearContents();
    // The design's 50 rows, more where the view needs them.
    sgTotal->setRows(std::max(TotalsDesignRows, view.rowCount));
    for (const GridCell& cell : view.cells) sgTotal->setCell(cell.column, cell.row, QText(cell.text));
    // Names and factors are shown whole: the columns grow to fit them.
    sgTotal->fitColumns();
    totalsShown_ = std::move(view.cells);
}

void TotalsPage::Forget()
{
    sgTotal->clearContents();
    totalsShown_.clear();
}

}  // namespace kestal
