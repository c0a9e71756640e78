// The main window's frame: its creation, its menus and its activation.
#include "window/TFormKestal.h"

#include <QApplication>
#include <QMenuBar>
#include <QWindow>

#include <utility>

#include "window/MeasurePage.h"
#include "window/ModelingPage.h"
#include "window/TAboutBox.h"
#include "window/TFormSimpleDo.h"
#include "window/UndoHistory.h"
#include "widgets/BackgroundWork.h"
#include "widgets/Guard.h"
#include "widgets/HintDisplay.h"
#include "widgets/UiLocale.h"
#include "widgets/UiText.h"
#include "widgets/DesignControls.h"

namespace kestal {

namespace {

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
    for (QWidget* field : modeling_->TypedFields() + measures_->TypedFields()) history_->TakeKeysOf(field);
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
    history_ = new UndoHistory(
        session_, [this] { ShowSession(true); }, this);
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

}  // namespace kestal
