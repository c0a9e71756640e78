// The main window's pages, built, shown from the session and switched to; its status bar with the
// progress and "Стоп" of the work that runs in the background.
#include "window/TFormKestal.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QStatusBar>
#include <QTabWidget>

#include <algorithm>
#include <utility>

#include "window/MeasurePage.h"
#include "window/ModelingPage.h"
#include "window/TotalsPage.h"
#include "analysispage/AnalysisPage.h"
#include "window/UndoHistory.h"
#include "widgets/BackgroundWork.h"
#include "widgets/Pictures.h"
#include "widgets/UiLocale.h"
#include "widgets/UiText.h"
#include "common/Formats.h"

namespace kestal {

namespace {

// The design's status bar.
constexpr int StatusBarHeight = 19;

// "Выполнено 37 %, осталось 0:00:12" while work runs.
QString WorkProgressText(int64_t done, int64_t total, double secondsLeft)
{
    const int percent = total > 0 ? static_cast<int>(100 * done / total) : 0;
    QString text = QStringLiteral("Выполнено %1 %").arg(percent);
    if (secondsLeft >= 0)
        text += QStringLiteral(", осталось ") + QText(DurationText(secondsLeft / 86400.0, UiNumberLocale()));
    return text;
}

}  // namespace

void TFormKestal::BuildPages()
{
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setUsesScrollButtons(false);
    modeling_ = new ModelingPage(PageControl1);
    measures_ = new MeasurePage(PageControl1);
    totals_ = new TotalsPage(PageControl1);
    PageControl1->addTab(modeling_, PagePicture(0), QStringLiteral("Моделирование"));
    PageControl1->addTab(measures_, PagePicture(1), QStringLiteral("Комплекс мер"));
    PageControl1->addTab(totals_, PagePicture(2), QStringLiteral("Итоги"));
    PageControl1->setTabVisible(2, false);
    analysis_ = new AnalysisPage(session_);
    PageControl1->addTab(analysis_, PagePicture(3), QStringLiteral("Анализ"));
    statusBar()->addPermanentWidget(analysis_->AccidentLabel());
    PageControl1->setCurrentWidget(modeling_);
    // Below the design's size the pages scroll rather than cut their controls off.
    auto* scroller = new QScrollArea;
    scroller->setObjectName(QStringLiteral("sbWindow"));
    scroller->setWidgetResizable(true);
    scroller->setFrameStyle(QFrame::NoFrame);
    scroller->setWidget(PageControl1);
    setCentralWidget(scroller);
}

void TFormKestal::BuildStatusBar()
{
    auto* statusBar = new QStatusBar(this);
    statusBar->setObjectName(QStringLiteral("StatusBar1"));
    statusBar->setFixedHeight(StatusBarHeight);
    statusBar->setSizeGripEnabled(false);
    setStatusBar(statusBar);
    // A thin bar over the status bar, at (80, 521) of the client area.
    ProgressBar1 = new QProgressBar(statusBar);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setGeometry(80, 521 - (ClientHeight - StatusBarHeight), 217, 8);
    ProgressBar1->hide();
    // While work runs: its progress and the button that stops it, at the status bar's right.
    lbWorkProgress = new QLabel(statusBar);
    lbWorkProgress->setObjectName(QStringLiteral("lbWorkProgress"));
    butStop = new QPushButton(QStringLiteral("Стоп"), statusBar);
    butStop->setObjectName(QStringLiteral("butStop"));
    butStop->setAutoDefault(false);
    butStop->setFocusPolicy(Qt::NoFocus);
    statusBar->addPermanentWidget(lbWorkProgress);
    statusBar->addPermanentWidget(butStop);
    lbWorkProgress->hide();
    butStop->hide();
    work_ = std::make_unique<BackgroundWork>(butStop, [this](int64_t done, int64_t total, double left) {
        lbWorkProgress->setText(WorkProgressText(done, total, left));
        // Each bar keeps its own range (the run's: K, so that it stands at the experiments done).
        for (QProgressBar* bar : {modeling_->RunProgress(), ProgressBar1}) {
            if (!bar->isVisible() || total <= 0) continue;
            const long double share = static_cast<long double>(std::min(done, total)) * bar->maximum() / total;
            bar->setValue(static_cast<int>(share));
        }
    });
    connect(butStop, &QPushButton::clicked, this, [this] { StopWork(); });
}

void TFormKestal::ShowSession(bool lists)
{
    if (showing_) {
        showAgain_ = true;
        return;
    }
    showing_ = true;
    do {
        showAgain_ = false;
        modeling_->Show(session_, lists);
        measures_->Show(session_);
        PageControl1->setTabVisible(PageControl1->indexOf(totals_), session_.state().shown.study.totalsShown);
        totals_->Show(session_);
        analysis_->Show();
        lists = false;
    } while (showAgain_);
    showing_ = false;
    // Whatever changed the assessment since the last change recorded (an action, a finished run or
    // study) is one change to undo.
    history_->Record(std::exchange(changeName_, {}));
}

void TFormKestal::ShowFactorPanel(int factor)
{
    PageControl1->setCurrentWidget(modeling_);
    modeling_->ShowFactorPanel(factor);
}

void TFormKestal::RunShownPage()
{
    // The study on "Комплекс мер", the modeling run on every other page; a button that may not be
    // used now is not pressed by its key either.
    if (PageControl1->currentWidget() == measures_)
        measures_->ClickRun();
    else
        modeling_->ClickRun();
}

bool TFormKestal::Working() const { return work_->Busy(); }

void TFormKestal::StopWork() { work_->RequestStop(); }

void TFormKestal::StartWork()
{
    // What the last work left in the status bar is not about this one.
    statusBar()->clearMessage();
    lbWorkProgress->setText(WorkProgressText(0, 0, -1.0));
    lbWorkProgress->show();
    butStop->show();
    history_->SetIdle(false);
}

void TFormKestal::EndWork()
{
    lbWorkProgress->hide();
    butStop->hide();
    history_->SetIdle(true);
}

}  // namespace kestal
