// The main window's frame, its creation and activation, the hint display, the about box and the questionnaire.
#include "Main_U/TFormKestal.h"

#include <QApplication>
#include <QComboBox>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressBar>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QTabWidget>
#include <QWindow>

#include <utility>

#include "About/TAboutBox.h"
#include "ActSelect/MeasureStore.h"
#include "DoSimple/TFormSimpleDo.h"
#include "GERTnet/Calibration.h"
#include "GERTnet/ResultGrid.h"
#include "Main_U/Grid.h"
#include "Main_U/Guard.h"
#include "Main_U/HintDisplay.h"
#include "Main_U/Monitor.h"
#include "Main_U/Pictures.h"
#include "Main_U/UiLocale.h"
#include "Main_U/UiText.h"

namespace {

// The design's client area.
constexpr int ClientWidth = 800;
constexpr int ClientHeight = 534;
constexpr int StatusBarHeight = 19;

// Catalogue index of factor T03, whose list the questionnaire sets.
int T03()
{
    return CatalogueIndex(*FindFactor("T03"));
}

// Windows that take the focus only while they are open: menus, drop-down lists, tooltips and
// message boxes. The window's activation ignores them.
bool TransientWindow(const QWindow* window)
{
    if (window->type() == Qt::Popup || window->type() == Qt::ToolTip) return true;
    for (const QWidget* widget : QApplication::topLevelWidgets())
        if (widget->windowHandle() == window) return qobject_cast<const QMessageBox*>(widget) != nullptr;
    return false;
}

}  // namespace

TFormKestal::TFormKestal(const Clock* clock)
{
    net.clock = clock;
    setObjectName(QStringLiteral("FormKestal"));
    setWindowTitle(Q(ApplicationTitle));
    setFont(KestalFont());
    BuildFrame();
    BuildModelingPage();
    BuildMeasurePage();
    BuildTotalsPage();
    ConnectModelingPage();
    ConnectFactorPanels();
    ConnectMeasureParameters();
    ConnectMeasureEditor();
    ConnectMeasureCapture();
    ConnectStudyAndTotals();
    connect(qApp, &QGuiApplication::focusWindowChanged, this, &TFormKestal::FocusWindowChanged);
    FormCreate();
}

TFormKestal::~TFormKestal() = default;

void TFormKestal::BuildFrame()
{
    QMenu* file = menuBar()->addMenu(QStringLiteral("File"));
    file->setObjectName(QStringLiteral("File1"));
    QMenu* help = menuBar()->addMenu(QStringLiteral("Help"));
    help->setObjectName(QStringLiteral("Help1"));
    About1 = help->addAction(QStringLiteral("About ..."));
    About1->setObjectName(QStringLiteral("About1"));
    connect(About1, &QAction::triggered, this, Guard(this, [this] { About1Click(); }));

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setFixedHeight(StatusBarHeight);
    StatusBar1->setSizeGripEnabled(false);
    setStatusBar(StatusBar1);
    // A thin bar over the status bar, at (80, 521) of the client area.
    ProgressBar1 = new QProgressBar(StatusBar1);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setGeometry(80, 521 - (ClientHeight - StatusBarHeight), 217, 8);
    ProgressBar1->hide();

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setUsesScrollButtons(false);
    const char* captions[] = {"Моделирование", "Комплекс мер", "Итоги"};
    const char* names[] = {"tsModeling", "tsAction", "tsResaltAct"};
    std::array<QWidget*, 3> pages{};
    for (int page = 0; page < 3; ++page) {
        pages[page] = new QWidget;
        pages[page]->setObjectName(QString::fromLatin1(names[page]));
        PageControl1->addTab(pages[page], PagePicture(page), Q(captions[page]));
    }
    tsModeling = pages[0];
    tsAction = pages[1];
    tsResaltAct = pages[2];
    PageControl1->setTabVisible(2, false);
    PageControl1->setCurrentWidget(tsModeling);
    setCentralWidget(PageControl1);
    resize(ClientWidth, ClientHeight + menuBar()->sizeHint().height());
}

void TFormKestal::FormCreate()
{
    CopySettingsToInputs(settings, net.inputs);
    CalibrationTime = RunCalibration(net, series);
    StoreRunSize(cbInputK, cbInputN);
    WriteRunEstimate();
    setWindowState(windowState() | Qt::WindowMaximized);
    new HintDisplay(this, [this](const QString& hint) { DisplayHint(hint); });
    for (int column = 0; column < ResultColumns; ++column) sgResult->setCell(column, 0, Q(ResultGridHeaders[column]));
    WriteLines(reHelp, IntroductionLines);
    for (std::size_t factor = 0; factor < FactorCatalogue.size(); ++factor) {
        QComboBox* list = factorControls[factor].list;
        const QSignalBlocker blocker(list);
        list->setCurrentIndex(FactorCatalogue[factor].defaultItem);
    }
    QuestionnaireLevel = 6;
    InitPlanTable(measures);
    ClearMeasureStore(measures);
    WriteTotalsHeader();
}

void TFormKestal::FocusWindowChanged(QWindow* now)
{
    // Another application taking the focus changes nothing: what counts is which window of this
    // application had it last.
    if (!now || TransientWindow(now)) return;
    const bool main = now == windowHandle();
    const bool mainBefore = std::exchange(mainHadFocus_, main);
    // First showing, or back from another window of this application.
    if (main && !mainBefore) Guarded(this, [this] { FormActivate(); });
}

void TFormKestal::FormActivate()
{
    QComboBox* list = factorControls[T03()].list;
    {
        const QSignalBlocker blocker(list);
        list->setCurrentIndex(QuestionnaireLevel);
    }
    SelectFactorLevel(T03());
}

void TFormKestal::DisplayHint(const QString& hint)
{
    reHelp->setPlainText(hint);
}

void TFormKestal::About1Click()
{
    (new TAboutBox(this))->show();
}

void TFormKestal::pT03DblClick()
{
    (new TFormSimpleDo(this, QuestionnaireLevel))->show();
}
