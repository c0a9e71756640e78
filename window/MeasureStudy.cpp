// The measure study of the page "Комплекс мер" in the background, its listing in the measure
// monitor, the budget and damage fields, and the page "Итоги" as a view of the study's outcome.
#include "window/TFormKestal.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>

#include <algorithm>
#include <memory>

#include "widgets/BackgroundWork.h"
#include "widgets/Grid.h"
#include "widgets/Guard.h"
#include "widgets/Monitor.h"
#include "widgets/UiText.h"
#include "widgets/DesignControls.h"

namespace {

QStringList Texts(const std::vector<std::string>& lines)
{
    QStringList texts;
    for (const std::string& line : lines) texts << QText(line);
    return texts;
}

}  // namespace

void TFormKestal::ConnectStudyAndTotals()
{
    connect(buttonRunOpt, &QPushButton::clicked, this, [this] { buttonRunOptClick(); });
    connect(edAllMoney, &QLineEdit::textChanged, this,
            [this](const QString& text) { ActOnSession([&] { session_.SetBudgetText(Utf8(text)); }); });
    connect(edDamage, &QLineEdit::textChanged, this,
            [this](const QString& text) { ActOnSession([&] { session_.SetDamageText(Utf8(text)); }); });
    connect(buttMore, &QPushButton::clicked, this, [this] { ActOnSession([this] { session_.ShowTotals(true); }); });
    connect(buttLess, &QPushButton::clicked, this, [this] { ActOnSession([this] { session_.ShowTotals(false); }); });
}

void TFormKestal::buttonRunOptClick()
{
    if (Working()) return;  // one piece of work at a time
    // Refusals and unreadable numbers stop the study before anything changes.
    auto study = std::make_shared<MeasureStudy>();
    if (!Guarded(this, [&] { *study = session_.PrepareStudy(); })) return;
    ProgressBar1->setValue(0);
    ProgressBar1->show();
    StartWork();
    work_->Start([study](const WorkControl& control) { study->Execute(control); },
                 [this, study](BackgroundWork::Outcome outcome, const QString& error) {
                     ProgressBar1->hide();
                     ProgressBar1->setValue(0);
                     EndWork();
                     // A study that fails or is stopped leaves listing, totals and store as they were.
                     if (outcome == BackgroundWork::Outcome::Completed) session_.CommitStudy(std::move(*study));
                     if (outcome == BackgroundWork::Outcome::Stopped)
                         statusBar()->showMessage(QStringLiteral("Расчёт комплекса мер остановлен: результаты прежние."));
                     ShowSession();
                     if (outcome == BackgroundWork::Outcome::Failed) ShowError(this, error);
                 });
}

void TFormKestal::ShowStudy()
{
    const SessionState& state = session_.state();
    SetEditText(edAllMoney, QText(state.budgetText));
    SetEditText(edDamage, QText(state.damageText));
    buttonRunOpt->setEnabled(state.studyReady);
    if (listingShown_ != state.study.listing) {
        listingShown_ = state.study.listing;
        WriteLines(RichEdit3, Texts(listingShown_));
    }
    PageControl1->setTabVisible(PageControl1->indexOf(tsResaltAct), state.study.totalsShown);
}

void TFormKestal::ShowTotals()
{
    const StudyOutcome& study = session_.state().study;
    // "Сброс" hides the page and leaves its table as it was.
    if (!study.totalsShown) return;
    lbTotalMoney->setText(QText(study.moneyLabel));
    lbTotDamage->setText(QText(study.damageLabel));
    buttMore->setEnabled(!study.detailed);
    buttMore->setVisible(!study.detailed);
    buttLess->setEnabled(study.detailed);
    buttLess->setVisible(study.detailed);
    TotalsView view = session_.Totals();
    if (view.cells == totalsShown_) return;
    sgTotal->clearContents();
    // The design's 50 rows, more where the view needs them.
    sgTotal->setRows(std::max(TotalsDesignRows, view.rowCount));
    for (const GridCell& cell : view.cells) sgTotal->setCell(cell.column, cell.row, QText(cell.text));
    // Names and factors are shown whole: the columns grow to fit them.
    sgTotal->fitColumns();
    totalsShown_ = std::move(view.cells);
}
