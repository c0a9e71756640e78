// The main window: a frame of menus, status bar and background work around the pages, which show the
// session; the user's actions come up from the pages and reach the session through ActOnSession.
#pragma once

#include <QMainWindow>

#include <functional>
#include <memory>

#include "assessment/Session.h"
#include "factors/FactorTexts.h"

class QAction;
class QLabel;
class QMenu;
class QProgressBar;
class QPushButton;
class QTabWidget;
class QWindow;

namespace kestal {

class AnalysisPage;
class BackgroundWork;
class MeasurePage;
class ModelingPage;
class TotalsPage;
class UndoHistory;
struct ReportParts;
struct Workplace;

// The main window: menus, status bar and background work around the pages.
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
    // The design's client area, which its positions are given in.
    static constexpr int ClientWidth = 800;
    static constexpr int ClientHeight = 534;

    // ---- Building ----
    void BuildFrame();
    void BuildPages();
    void BuildStatusBar();
    // The pages' actions, each through ActOnSession.
    void ConnectPages();

    // ---- Handlers ----
    void FormCreate();
    // `first`: the window's first showing with a new assessment, which starts on the questionnaire's
    // level unchanged; otherwise the focus came back from the questionnaire or an about box, and a
    // T03 that changes is a change of the assessment.
    void FormActivate(bool first);
    void FocusWindowChanged(QWindow* now);
    void ShowAbout();
    void OpenQuestionnaire();
    // The factor's panel in view on "Моделирование", as a click on it shows it.
    void ShowFactorPanel(int factor);
    // The modeling run and the study in the background; what they find is committed when they end.
    void RunModeling();
    void RunStudy();
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
    // Brings every page in line with the session. Controls the user is editing keep their text;
    // factor lists with a typed text that names no item keep it unless `lists` is set.
    void ShowSession(bool lists = false);

    Session session_;
    QString projectPath_;          // the project file shown, empty for a new assessment
    QString untitledName_;         // what the title calls a new assessment: a workplace's name, or nothing
    SettingsTable savedSettings_;  // the ratings as last saved or opened (a new assessment's start)
    UndoHistory* history_ = nullptr;
    std::string changeName_;  // the name ActOnSession gives the change the next showing records
    QMenu* recentMenu_ = nullptr;
    std::unique_ptr<BackgroundWork> work_;
    bool showing_ = false;  // ShowSession is running: a handler it sets off shows again afterwards
    bool showAgain_ = false;
    // Which window had the focus last of those that count for FormActivate: none yet (the window was
    // not shown), this window, or the questionnaire or an about box. Other applications and every
    // other window (menus, lists, message, file and print dialogs) do not count.
    enum class Activation { NotShown, Main, Other };
    Activation activation_ = Activation::NotShown;
    // A file was opened before the first showing: that showing keeps the file's T03.
    bool openedBeforeShowing_ = false;

    // ---- Frame ----
    QAction* About1 = nullptr;             // "About ..."
    QProgressBar* ProgressBar1 = nullptr;  // the study's progress over the status bar
    QLabel* lbWorkProgress = nullptr;
    QPushButton* butStop = nullptr;
    QTabWidget* PageControl1 = nullptr;  // the pages
    ModelingPage* modeling_ = nullptr;
    MeasurePage* measures_ = nullptr;
    TotalsPage* totals_ = nullptr;
    AnalysisPage* analysis_ = nullptr;
};

}  // namespace kestal
