// The main window's frame, its creation and activation, the background work, the about box and
// the questionnaire, and the loop that shows the session.
#include "window/TFormKestal.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QStatusBar>
#include <QTabWidget>
#include <QWindow>

#include <utility>

#include "window/TAboutBox.h"
#include "window/TFormSimpleDo.h"
#include "window/UndoHistory.h"
#include "analysispage/AnalysisPage.h"
#include "analysispage/ExpertPanelView.h"
#include "analysispage/PlanView.h"
#include "network/ResultGrid.h"
#include "widgets/BackgroundWork.h"
#include "widgets/Grid.h"
#include "widgets/Guard.h"
#include "widgets/HintDisplay.h"
#include "widgets/Monitor.h"
#include "widgets/Pictures.h"
#include "widgets/UiLocale.h"
#include "widgets/UiText.h"
#include "widgets/DesignControls.h"
#include "common/Formats.h"

namespace {

// The design's client area.
constexpr int ClientWidth = 800;
constexpr int ClientHeight = 534;
constexpr int StatusBarHeight = 19;
// The smallest window: below the design's size its pages scroll.
constexpr int MinimumWidth = 640;
constexpr int MinimumHeight = 480;

int T03() { return CatalogueIndex(*FindFactor("T03")); }

// Whether the window is the questionnaire or an about box: the windows of this application from
// which coming back re-applies the questionnaire's level.
bool CountsForActivation(const QWindow* window)
{
    if (window->type() == Qt::Popup || window->type() == Qt::ToolTip) return false;
    for (const QWidget* widget : QApplication::topLevelWidgets())
        if (widget->windowHandle() == window)
            return qobject_cast<const TAboutBox*>(widget) != nullptr ||
                   qobject_cast<const TFormSimpleDo*>(widget) != nullptr;
    return false;
}

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

TFormKestal::TFormKestal(const Clock* clock) : session_(clock, UiNumberLocale(), UiNumberLocale())
{
    setObjectName(QStringLiteral("FormKestal"));
    setWindowTitle(QText(ApplicationTitle));
    setFont(KestalFont());
    BuildFrame();
    BuildModelingPage();
    BuildMeasurePage();
    BuildTotalsPage();
    ConnectModelingPage();
    ConnectFactorPanels();
    ConnectMeasurePage();
    ConnectStudyAndTotals();
    // Typing into these fields is recorded: the undo keys there undo the window's changes.
    for (const char* field : {"cbInputK", "cbInputN", "cbInputKOpt", "cbInputNOpt", "edAllMoney", "edDamage"})
        history_->TakeKeysOf(findChild<QWidget*>(QString::fromLatin1(field)));
    for (const FactorInfo& factor : FactorCatalogue)
        history_->TakeKeysOf(findChild<QWidget*>(QStringLiteral("cb") + QString::fromLatin1(factor.id)));
    connect(qApp, &QGuiApplication::focusWindowChanged, this, &TFormKestal::FocusWindowChanged);
    // Scrolling the pages re-rates nothing: lists, track bars and tabs take the wheel only with focus.
    TakeWheelOnlyWithFocusWithin(this);
    FormCreate();
}

TFormKestal::~TFormKestal() = default;

bool TFormKestal::Working() const
{
    return work_->Busy();
}

void TFormKestal::BuildFrame()
{
    QMenu* file = menuBar()->addMenu(QStringLiteral("File"));
    file->setObjectName(QStringLiteral("File1"));
    BuildFileMenu(file);
    history_ = new UndoHistory(session_, [this] { ShowSession(true); }, this);
    connect(&history_->stack(), &QUndoStack::cleanChanged, this, [this] { ShowTitle(); });
    QMenu* editMenu = menuBar()->addMenu(QStringLiteral("Правка"));
    editMenu->setObjectName(QStringLiteral("mnEdit"));
    history_->AddActions(editMenu);
    QMenu* tools = menuBar()->addMenu(QStringLiteral("Сервис"));
    tools->setObjectName(QStringLiteral("mnTools"));
    QAction* runPage = tools->addAction(QStringLiteral("Запуск расчёта"));
    runPage->setObjectName(QStringLiteral("acRunPage"));
    runPage->setShortcut(Qt::Key_F9);
    connect(runPage, &QAction::triggered, this, [this] { RunShownPage(); });
    QAction* questionnaire = tools->addAction(QStringLiteral("Напряжённость труда (T03)…"));
    questionnaire->setObjectName(QStringLiteral("acQuestionnaire"));
    connect(questionnaire, &QAction::triggered, this, Guard(this, [this] { pT03DblClick(); }));
    AddWorkplaceActions(file, tools);
    QMenu* help = menuBar()->addMenu(QStringLiteral("Help"));
    help->setObjectName(QStringLiteral("Help1"));
    About1 = help->addAction(QStringLiteral("About ..."));
    About1->setObjectName(QStringLiteral("About1"));
    connect(About1, &QAction::triggered, this, Guard(this, [this] { About1Click(); }));

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
        // Each bar keeps its own range (pbTime: K, so that it stands at the experiments done).
        for (QProgressBar* bar : {pbTime, ProgressBar1}) {
            if (!bar->isVisible() || total <= 0) continue;
            const long double share = static_cast<long double>(std::min(done, total)) * bar->maximum() / total;
            bar->setValue(static_cast<int>(share));
        }
    });
    connect(butStop, &QPushButton::clicked, this, [this] { StopWork(); });

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setUsesScrollButtons(false);
    const char* captions[] = {"Моделирование", "Комплекс мер", "Итоги"};
    const char* names[] = {"tsModeling", "tsAction", "tsResaltAct"};
    std::array<QWidget*, 3> pages{};
    for (int page = 0; page < 3; ++page) {
        pages[page] = new QWidget;
        pages[page]->setObjectName(QString::fromLatin1(names[page]));
        PageControl1->addTab(pages[page], PagePicture(page), QText(captions[page]));
    }
    tsModeling = pages[0];
    tsAction = pages[1];
    tsResaltAct = pages[2];
    PageControl1->setTabVisible(2, false);
    analysis_ = new AnalysisPage(session_);
    PageControl1->addTab(analysis_, PagePicture(3), QStringLiteral("Анализ"));
    statusBar->addPermanentWidget(analysis_->AccidentLabel());
    analysis_->findChild<PlanView*>()->SetCapture([this](const PlanView::Result& plan) {
        ActOnSession([&] { CapturePlanAsMeasure(session_, plan, UiNumberLocale()); });
    });
    const auto edit = [this](const std::function<void(Session&)>& action) { ActOnSession([&] { action(session_); }); };
    analysis_->findChild<ExpertPanelView*>()->SetEdit(edit);
    analysis_->findChild<PlanView*>()->SetEdit(edit);
    PageControl1->setCurrentWidget(tsModeling);
    // Below the design's size the pages scroll rather than cut their controls off.
    auto* scroller = new QScrollArea;
    scroller->setObjectName(QStringLiteral("sbWindow"));
    scroller->setWidgetResizable(true);
    scroller->setFrameStyle(QFrame::NoFrame);
    scroller->setWidget(PageControl1);
    setCentralWidget(scroller);
    setMinimumSize(MinimumWidth, MinimumHeight);
    resize(ClientWidth, ClientHeight + menuBar()->sizeHint().height());
}

void TFormKestal::FormCreate()
{
    session_.Calibrate();
    setWindowState(windowState() | Qt::WindowMaximized);
    new HintDisplay(this, [this](const QString& hint) { reHelp->setPlainText(hint); });
    for (int column = 0; column < ResultColumns; ++column) sgResult->setCell(column, 0, QText(ResultGridHeaders[column]));
    for (int column = 0; column < TotalsColumns; ++column) sgTotal->setCell(column, 0, QText(TotalsHeaders[column]));
    WriteLines(reHelp, IntroductionLines);
    history_->Start();
    ShowSession(true);
    MarkSaved(QString());
}

void TFormKestal::FocusWindowChanged(QWindow* now)
{
    // Another application taking the focus changes nothing: what counts is which window of this
    // application had it last, of the main window, the questionnaire and the about boxes.
    if (!now) return;
    if (now == windowHandle()) {
        const Activation before = std::exchange(activation_, Activation::Main);
        if (before == Activation::Other) FormActivate(false);
        if (before == Activation::NotShown && !openedBeforeShowing_) FormActivate(true);
    } else if (CountsForActivation(now)) {
        activation_ = Activation::Other;
    }
}

void TFormKestal::FormActivate(bool first)
{
    if (first && history_->Untouched() && !Unsaved()) {
        // A new assessment starts on the questionnaire's level: no change of the user's.
        Guarded(this, [this] { session_.Activate(); });
        history_->Absorb();
        ShowSession();
        MarkSaved(projectPath_);
    } else {
        ActOnSession([this] { session_.Activate(); }, "оценка T03 по опроснику");
    }
    // The T03 list shows the questionnaire's level, whatever was typed into it.
    ShowFactorList(T03());
    ShowTitle();
}

void TFormKestal::About1Click()
{
    (new TAboutBox(this))->show();
}

void TFormKestal::pT03DblClick()
{
    (new TFormSimpleDo(this, [this](const QuestionnaireAnswers& answers) {
        ActOnSession([&] { session_.ApplyQuestionnaire(answers); });
    }))->show();
}

void TFormKestal::ActOnSession(const std::function<void()>& action, const std::string& name)
{
    Guarded(this, action);
    if (!name.empty()) changeName_ = name;
    ShowSession();
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
        ShowRunSize();
        ShowFactorLists(lists);
        ShowResults();
        ShowMeasureEditor();
        ShowStudy();
        ShowTotals();
        analysis_->Show();
        lists = false;
    } while (showAgain_);
    showing_ = false;
    // Whatever changed the assessment since the last change recorded (an action, a finished run or
    // study) is one change to undo.
    history_->Record(std::exchange(changeName_, {}));
    ShowTitle();
}

void TFormKestal::RunShownPage()
{
    // The study on "Комплекс мер", the modeling run on every other page; a button that may not be
    // used now is not pressed by its key either.
    QPushButton* run = PageControl1->currentWidget() == tsAction ? buttonRunOpt : buttonRun;
    if (run->isEnabled()) run->click();
}

void TFormKestal::StopWork()
{
    work_->RequestStop();
}

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
