// The main window's frame: its creation and activation, its pages' actions brought to the session,
// the modeling run and the study in the background, the about box and the questionnaire.
#include "window/TFormKestal.h"

#include <QApplication>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QStatusBar>
#include <QWindow>

#include <utility>

#include "window/MeasurePage.h"
#include "window/ModelingPage.h"
#include "window/TAboutBox.h"
#include "window/TFormSimpleDo.h"
#include "window/TotalsPage.h"
#include "window/UndoHistory.h"
#include "analysispage/AnalysisPage.h"
#include "analysispage/ExpertPanelView.h"
#include "analysispage/PlanView.h"
#include "widgets/BackgroundWork.h"
#include "widgets/Guard.h"
#include "widgets/HintDisplay.h"
#include "widgets/UiLocale.h"
#include "widgets/UiText.h"
#include "widgets/DesignControls.h"

namespace {

// The design's client area.
constexpr int ClientWidth = 800;
constexpr int ClientHeight = 534;
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

}  // namespace

TFormKestal::TFormKestal(const Clock* clock) : session_(clock, UiNumberLocale(), UiNumberLocale())
{
    setObjectName(QStringLiteral("FormKestal"));
    setWindowTitle(QText(ApplicationTitle));
    setFont(KestalFont());
    BuildFrame();
    ConnectPages();
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
    connect(questionnaire, &QAction::triggered, this, Guard(this, [this] { OpenQuestionnaire(); }));
    AddWorkplaceActions(file, tools);
    QMenu* help = menuBar()->addMenu(QStringLiteral("Help"));
    help->setObjectName(QStringLiteral("Help1"));
    About1 = help->addAction(QStringLiteral("About ..."));
    About1->setObjectName(QStringLiteral("About1"));
    connect(About1, &QAction::triggered, this, Guard(this, [this] { ShowAbout(); }));

    BuildStatusBar();

    BuildPages();
    setMinimumSize(MinimumWidth, MinimumHeight);
    resize(ClientWidth, ClientHeight + menuBar()->sizeHint().height());
}

void TFormKestal::FormCreate()
{
    session_.Calibrate();
    setWindowState(windowState() | Qt::WindowMaximized);
    new HintDisplay(this, [this](const QString& hint) { modeling_->ShowHint(hint); });
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
    modeling_->ShowFactorList(session_, T03());
    ShowTitle();
}

void TFormKestal::ShowAbout()
{
    (new TAboutBox(this))->show();
}

void TFormKestal::OpenQuestionnaire()
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
    ShowTitle();
}

void TFormKestal::ConnectPages()
{
    connect(modeling_, &ModelingPage::levelChosen, this,
            [this](int factor, int item) { ActOnSession([&] { session_.SelectLevel(factor, item); }); });
    connect(modeling_, &ModelingPage::runRequested, this, [this] { RunModeling(); });
    connect(modeling_, &ModelingPage::questionnaireRequested, this, Guard(this, [this] { OpenQuestionnaire(); }));
    connect(analysis_, &AnalysisPage::factorChosen, this,
            [this](int factor) { Guarded(this, [&] { ShowFactorPanel(factor); }); });
    // K and N are one pair, typed on either page.
    const auto setK = [this](const QString& text) { ActOnSession([&] { session_.SetKText(Utf8(text)); }); };
    const auto setN = [this](const QString& text) { ActOnSession([&] { session_.SetNText(Utf8(text)); }); };
    connect(modeling_, &ModelingPage::kEdited, this, setK);
    connect(modeling_, &ModelingPage::nEdited, this, setN);
    connect(measures_, &MeasurePage::kEdited, this, setK);
    connect(measures_, &MeasurePage::nEdited, this, setN);
    connect(measures_, &MeasurePage::factorChosen, this,
            [this](int factor) { ActOnSession([&] { session_.SelectMeasureFactor(factor); }); });
    connect(measures_, &MeasurePage::barMoved, this,
            [this](int factor, int position) { ActOnSession([&] { session_.MoveBar(factor, position); }); });
    connect(measures_, &MeasurePage::barEntered, this,
            [this](int factor) { ActOnSession([&] { session_.EnterBar(factor); }); });
    connect(measures_, &MeasurePage::barLeft, this,
            [this](int factor) { ActOnSession([&] { session_.ExitBar(factor); }); });
    connect(measures_, &MeasurePage::nameEdited, this,
            [this](const QString& text) { ActOnSession([&] { session_.SetMeasureName(Utf8(text)); }); });
    connect(measures_, &MeasurePage::costEdited, this,
            [this](const QString& text) { ActOnSession([&] { session_.SetCostText(Utf8(text)); }); });
    connect(measures_, &MeasurePage::budgetEdited, this,
            [this](const QString& text) { ActOnSession([&] { session_.SetBudgetText(Utf8(text)); }); });
    connect(measures_, &MeasurePage::damageEdited, this,
            [this](const QString& text) { ActOnSession([&] { session_.SetDamageText(Utf8(text)); }); });
    connect(measures_, &MeasurePage::captureRequested, this, [this] { ActOnSession([this] { session_.Capture(); }); });
    connect(measures_, &MeasurePage::resetRequested, this,
            [this] { ActOnSession([this] { session_.ResetMeasures(); }); });
    connect(measures_, &MeasurePage::studyRequested, this, [this] { RunStudy(); });
    connect(totals_, &TotalsPage::detailRequested, this,
            [this](bool detailed) { ActOnSession([&] { session_.ShowTotals(detailed); }); });
    analysis_->findChild<PlanView*>()->SetCapture([this](const PlanView::Result& plan) {
        ActOnSession([&] { CapturePlanAsMeasure(session_, plan, UiNumberLocale()); });
    });
    const auto edit = [this](const std::function<void(Session&)>& action) { ActOnSession([&] { action(session_); }); };
    analysis_->findChild<ExpertPanelView*>()->SetEdit(edit);
    analysis_->findChild<PlanView*>()->SetEdit(edit);
}

void TFormKestal::RunModeling()
{
    if (Working()) return;  // one piece of work at a time
    // The run is checked and taken off the session before anything shows that it started.
    auto run = std::make_shared<ModelingRun>();
    if (!Guarded(this, [&] { *run = session_.PrepareRun(); })) return;
    modeling_->RunStarted(run->series.ExperimentCount);
    StartWork();
    work_->Start([run](const WorkControl& control) { run->Execute(control); },
                 [this, run](BackgroundWork::Outcome outcome, const QString& error) {
                     EndWork();
                     const bool finished = outcome == BackgroundWork::Outcome::Completed;
                     modeling_->RunEnded(finished);
                     if (finished)
                         ActOnSession([&] { session_.CommitRun(std::move(*run)); });
                     else
                         ShowSession();
                     if (outcome == BackgroundWork::Outcome::Failed) ShowError(this, error);
                 });
}

void TFormKestal::RunStudy()
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
                     if (outcome == BackgroundWork::Outcome::Completed) {
                         ActOnSession([&] { session_.CommitStudy(std::move(*study)); });
                     } else {
                         if (outcome == BackgroundWork::Outcome::Stopped)
                             statusBar()->showMessage(QStringLiteral("Расчёт комплекса мер остановлен: результаты прежние."));
                         ShowSession();
                     }
                     if (outcome == BackgroundWork::Outcome::Failed) ShowError(this, error);
                 });
}
