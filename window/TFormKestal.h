// The main window: a view of the session with its three pages. It shows the session's state and
// forwards the user's actions to the session's operations; long work runs in the background.
#pragma once

#include <QMainWindow>

#include <array>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "assessment/Session.h"
#include "factors/FactorTexts.h"

class AnalysisPage;
class BackgroundWork;
class FactorPanel;
class Grid;
class QAction;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QImage;
class QMenu;
class QTextDocument;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QScrollArea;
class QSlider;
class QTabWidget;
class QTreeWidget;
class QWindow;
class UndoHistory;
struct ReportParts;
struct Workplace;

class TFormKestal : public QMainWindow {
    Q_OBJECT
public:
    // Builds the window and runs FormCreate (the calibration included). The session reads `clock`,
    // which must outlive the window.
    explicit TFormKestal(const Clock* clock = &SystemClock());
    ~TFormKestal() override;

    // The session the window shows.
    const Session& session() const { return session_; }
    // Whether a modeling run or a study is running in the background.
    bool Working() const;
    // `kestal FILE`: opens the file its arguments name (the program's name first), before the window
    // is first shown; a file that cannot be opened is refused as "Открыть…" refuses it and the window
    // shows a new assessment. An opened file keeps its T03 at that first showing.
    void OpenFromCommandLine(const QStringList& arguments);
    // The window's size and place as the last session left them.
    void RestoreGeometry();
    // Opens the project at `path`, refusing a bad file with nothing changed.
    void OpenProjectAt(const QString& path);
    // Writes the report to `path` on this thread: PDF for a ".pdf" file, ODT for ".odt", HTML
    // otherwise. KestalError when it fails.
    void WriteReport(const QString& path);
    // The project at `path` as A against the current ratings as B, compared in the background; the
    // comparison's view opens when it is done. A bad file is refused with nothing changed.
    void CompareWithFile(const QString& path);
    // The workplaces of the table at `path` assessed in the background; the summary's view opens
    // when it is done. A file that cannot be read is refused with nothing changed.
    void SummariseFile(const QString& path);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // ---- Building ----
    void BuildFrame();
    void BuildModelingPage();
    QWidget* BuildFactorGroup();
    void BuildMeasurePage();
    QWidget* BuildMeasureParameters();
    void BuildTotalsPage();
    void ConnectModelingPage();
    void ConnectFactorPanels();
    void ConnectMeasurePage();
    void ConnectStudyAndTotals();

    // ---- Handlers ----
    void FormCreate();
    // `first`: the window's first showing with a new assessment, which starts on the questionnaire's
    // level unchanged; otherwise the focus came back from the questionnaire or an about box, and a
    // T03 that changes is a change of the assessment.
    void FormActivate(bool first);
    void FocusWindowChanged(QWindow* now);
    void About1Click();
    void pT03DblClick();
    void ShowFactorHelp(int factor, HelpForm form);
    // The factor's panel in view on "Моделирование", as a click on it shows it.
    void ShowFactorPanel(int factor);
    void FactorListEdited(int factor, const QString& text);
    void FactorPageChanged();
    void buttonRunClick();
    void butActInClick();
    void buttonRunOptClick();
    void StopWork();
    // F9: the run of the page shown.
    void RunShownPage();
    // The status bar's progress and "Стоп" while work runs.
    void StartWork();
    void EndWork();

    // ---- Project files ----
    void BuildFileMenu(QMenu* file);
    void NewProject();
    void OpenProject();
    // True when saved; false when refused or cancelled.
    bool SaveProject();
    bool SaveProjectAs();
    bool SaveProjectTo(const QString& path);
    // Whether the assessment changed since it was last saved or opened: the undo stack is not clean.
    bool Unsaved() const;
    // Asks "Сохранить изменения?" where something would be lost; false when the user cancels.
    bool MayDiscard();
    void MarkSaved(const QString& path);
    void ShowTitle();
    void ShowLoadedSession(SessionState state, const QString& path);
    static QStringList RecentFiles();
    void RememberFile(const QString& path);
    void ForgetFile(const QString& path);
    void ShowRecentFiles();
    // ---- Comparison with another assessment, summary of many workplaces ----
    // "Сервис → Сравнить с…" and "File → Сводная оценка рабочих мест…": a file chosen, then below.
    void AddWorkplaceActions(QMenu* file, QMenu* tools);
    void CompareWith();
    // The ratings as last saved or opened (a new assessment's start) as A.
    void CompareWithSaved();
    void CompareInBackground(const NetworkInputs& reference, const QString& nameA);
    void SummariseWorkplaces();
    // After the unsaved question: a new assessment with the workplace's levels.
    void OpenWorkplace(const Workplace& workplace);
    // ---- Report ----
    void ExportReport();
    void PrintReport();
    // Composes the report's figures and texts on a worker thread (progress and "Стоп" as a run
    // has them), draws its charts here, then hands it all to `use` on a worker thread again.
    void ComposeReport(std::function<void(const ReportParts&)> use);

    // ---- Showing the session ----
    // Runs `action` on the session (guarded: an error leaves a message box), then shows the session;
    // a change of the assessment becomes undoable, named `name` or by what changed.
    void ActOnSession(const std::function<void()>& action, const std::string& name = {});
    // Brings every control in line with the session. Controls the user is editing keep their text;
    // factor lists with a typed text that names no item keep it unless `lists` is set.
    void ShowSession(bool lists = false);
    void ShowRunSize();
    void ShowFactorLists(bool force);
    void ShowFactorList(int factor);
    void ShowResults();
    void ShowMeasureEditor();
    void ShowMeasurePanel(int factor);
    void ShowStudy();
    void ShowTotals();

    Session session_;
    QString projectPath_;      // the project file shown, empty for a new assessment
    SettingsTable savedSettings_;  // the ratings as last saved or opened (a new assessment's start)
    UndoHistory* history_ = nullptr;
    std::string changeName_;  // the name ActOnSession gives the change the next showing records
    QMenu* recentMenu_ = nullptr;
    std::unique_ptr<BackgroundWork> work_;
    bool showing_ = false;  // ShowSession is running: a handler it sets off shows again afterwards
    bool showAgain_ = false;
    int resultBlocksShown_ = 0;
    int treeExpansionsShown_ = 0;
    std::vector<std::string> listingShown_;
    std::vector<GridCell> totalsShown_;
    // Which window had the focus last of those that count for FormActivate: none yet (the window was
    // not shown), this window, or the questionnaire or an about box. Other applications and every
    // other window (menus, lists, message, file and print dialogs) do not count.
    enum class Activation { NotShown, Main, Other };
    Activation activation_ = Activation::NotShown;
    // A file was opened before the first showing: that showing keeps the file's T03.
    bool openedBeforeShowing_ = false;

    // ---- Frame ----
    QAction* About1 = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    QLabel* lbWorkProgress = nullptr;
    QPushButton* butStop = nullptr;
    QTabWidget* PageControl1 = nullptr;
    QWidget* tsModeling = nullptr;
    QWidget* tsAction = nullptr;
    QWidget* tsResaltAct = nullptr;
    AnalysisPage* analysis_ = nullptr;

    // ---- Page "Моделирование" ----
    QTabWidget* pcFactors = nullptr;
    std::array<QWidget*, GroupCount> factorPages{};
    struct FactorControls {
        FactorPanel* panel = nullptr;  // pXX
        QComboBox* list = nullptr;     // cbXX
    };
    std::array<FactorControls, FactorCount> factorControls{};  // by catalogue index
    QPlainTextEdit* reHelp = nullptr;
    QProgressBar* pbTime = nullptr;
    Grid* sgResult = nullptr;
    QComboBox* cbInputK = nullptr;
    QComboBox* cbInputN = nullptr;
    QLineEdit* edOutTime = nullptr;
    QPushButton* buttonRun = nullptr;

    // ---- Page "Комплекс мер" ----
    QLineEdit* edActName = nullptr;
    QLineEdit* edExpense = nullptr;
    QPushButton* butActIn = nullptr;
    QPushButton* butReset = nullptr;
    QTabWidget* pcFactOpt = nullptr;
    struct MeasureControls {
        FactorPanel* panel = nullptr;  // pXXOpt
        QLabel* name = nullptr;        // lbOptXX
        QLabel* id = nullptr;          // lbOptXXa; nullptr for H06, whose name label carries the id
        QLabel* before = nullptr;      // st1_XX
        QLabel* after = nullptr;       // st2_XX
        QSlider* bar = nullptr;        // tbXX
    };
    std::array<MeasureControls, FactorCount> measureControls{};  // by catalogue index
    QTreeWidget* tvAction = nullptr;
    QPlainTextEdit* RichEdit3 = nullptr;
    QComboBox* cbInputKOpt = nullptr;
    QComboBox* cbInputNOpt = nullptr;
    QLineEdit* edAllMoney = nullptr;
    QLineEdit* edDamage = nullptr;
    QLineEdit* edOutTimeOpt = nullptr;
    QPushButton* buttonRunOpt = nullptr;

    // ---- Page "Итоги" ----
    Grid* sgTotal = nullptr;
    QLabel* lbTotalMoney = nullptr;
    QLabel* lbTotDamage = nullptr;
    QPushButton* buttMore = nullptr;
    QPushButton* buttLess = nullptr;
};
