// The main window: the program's state, its three pages and the handlers of the modeling workflow and of
// the measure pages.
#pragma once

#include <QMainWindow>

#include <array>
#include <cstdint>
#include <vector>

#include "ActSelect/EditorRules.h"
#include "ActSelect/MeasureStore.h"
#include "GERTnet/Network.h"
#include "GERTnet/Series.h"
#include "common/Clock.h"
#include "factors/FactorTexts.h"
#include "factors/Settings.h"

class FactorPanel;
class Grid;
struct TotalsView;
class QAction;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QScrollArea;
class QSlider;
class QSplitter;
class QStatusBar;
class QTabWidget;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;
class QWindow;

class TFormKestal : public QMainWindow {
    Q_OBJECT
public:
    // Builds the window and runs FormCreate (the calibration included). The network reads `clock`,
    // which must outlive the window.
    explicit TFormKestal(const Clock* clock = &SystemClock());
    ~TFormKestal() override;

    // ---- The program's state ----
    GertNetwork net;
    SeriesTable series;
    SettingsTable settings = InitialSettings();
    MeasureTables measures;
    int32_t RunCounter = 0;           // modeling runs whose blocks stand in sgResult
    double CalibrationTime = 0.0;     // the start-up calibration's duration, in days
    uint8_t QuestionnaireLevel = 0;   // the T03 item the questionnaire chose

    // ---- Handlers ----
    void FormCreate();
    void FormActivate();
    void DisplayHint(const QString& hint);
    void About1Click();
    void pT03DblClick();
    // Factor panels and the monitor; `factor` indexes FactorCatalogue.
    void ShowFactorHelp(int factor, HelpForm form);
    void SelectFactorLevel(int factor);
    void FactorPageChanged();
    void ShowIntroduction();
    // The modeling run and the run-time estimates.
    void buttonRunClick();
    void cbInputKChange();
    void cbInputNChange();
    void cbInputKOptChange();
    void cbInputNOptChange();
    // Header row of the totals table.
    void WriteTotalsHeader();
    // The measure editor; `factor` indexes FactorCatalogue.
    void pXXOptClick(int factor);
    void tbXXEnter(int factor);
    void tbXXChange(int factor);
    void tbXXExit(int factor);
    void edExpenseChange();
    void butResetClick();
    void butActInClick();
    // The study, the enabling of its run button and the two views of the totals table.
    void buttonRunOptClick();
    void edAllMoneyChange();
    void edDamageChange();
    void buttMoreClick();
    void buttLessClick();
    // The editor's 30 factor rows as the page shows them, in catalogue order.
    EditorRows MeasureEditorRows() const;

    // ---- Frame ----
    QAction* About1 = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    QTabWidget* PageControl1 = nullptr;
    QWidget* tsModeling = nullptr;
    QWidget* tsAction = nullptr;
    QWidget* tsResaltAct = nullptr;

    // ---- Page "Моделирование" ----
    QGroupBox* gbFactors = nullptr;
    QTabWidget* pcFactors = nullptr;
    std::array<QWidget*, GroupCount> factorPages{};          // tsHuman .. tsTechnology
    std::array<QLabel*, GroupCount> factorHeaders{};         // pHuman .. pTechnology
    std::array<QScrollArea*, GroupCount> factorScrollBoxes{};  // ScrollBox2 .. ScrollBox5
    struct FactorControls {
        FactorPanel* panel = nullptr;  // pXX
        QComboBox* list = nullptr;     // cbXX
    };
    std::array<FactorControls, FactorCount> factorControls{};  // by catalogue index
    QGroupBox* gbHelp = nullptr;
    QToolButton* SpeedButton1 = nullptr;
    QPlainTextEdit* reHelp = nullptr;
    QProgressBar* pbTime = nullptr;
    QGroupBox* gbResult = nullptr;
    Grid* sgResult = nullptr;
    QGroupBox* gbRun = nullptr;
    QFrame* Bevel1 = nullptr;
    QLabel* lbInPutK = nullptr;
    QLabel* lbInPutK1 = nullptr;
    QComboBox* cbInputK = nullptr;
    QLabel* lbInPutN = nullptr;
    QLabel* lbInPutN1 = nullptr;
    QComboBox* cbInputN = nullptr;
    QLabel* lbOutTime = nullptr;
    QLineEdit* edOutTime = nullptr;
    QPushButton* buttonRun = nullptr;

    // ---- Page "Комплекс мер" ----
    QGroupBox* GroupBox4 = nullptr;
    QLabel* lbNameAct = nullptr;
    QLineEdit* edActName = nullptr;
    QLabel* lbExpense = nullptr;
    QLineEdit* edExpense = nullptr;
    QLabel* Label7 = nullptr;
    QPushButton* butActIn = nullptr;
    QPushButton* butReset = nullptr;
    QTabWidget* pcFactOpt = nullptr;
    std::array<QWidget*, GroupCount> measurePages{};
    std::array<QScrollArea*, GroupCount> measureScrollBoxes{};
    struct MeasureControls {
        FactorPanel* panel = nullptr;  // pXXOpt
        QLabel* name = nullptr;        // lbOptXX
        QLabel* id = nullptr;          // lbOptXXa; nullptr for H06, whose name label carries the id
        QLabel* before = nullptr;      // st1_XX
        QLabel* after = nullptr;       // st2_XX
        QSlider* bar = nullptr;        // tbXX
    };
    std::array<MeasureControls, FactorCount> measureControls{};  // by catalogue index
    QGroupBox* GroupBox5 = nullptr;
    QSplitter* splitAction = nullptr;
    QTreeWidget* tvAction = nullptr;
    QPlainTextEdit* RichEdit3 = nullptr;
    QGroupBox* GroupBox6 = nullptr;
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
    QPushButton* buttSave = nullptr;

private:
    void BuildFrame();
    void BuildModelingPage();
    void BuildFactorGroup();
    void BuildMeasurePage();
    void BuildMeasureParameters();
    void BuildTotalsPage();
    void ConnectModelingPage();
    void ConnectFactorPanels();
    void ConnectMeasureParameters();
    void FocusWindowChanged(QWindow* now);
    void ConnectMeasureEditor();
    void ConnectMeasureCapture();
    void ConnectStudyAndTotals();
    // The current level of a factor: its list's item, or while the list's text selects none, the
    // item last applied (the level before shows it).
    int CurrentItem(int factor) const;
    // Measure panels: normal or selected; locked or free.
    void ShowPanelSelected(int factor, bool selected);
    void ShowPanelLocked(int factor, bool locked);
    // A tree node by its pre-order index; "Invalid index" when the tree has none there.
    QTreeWidgetItem* TreeNode(int index) const;
    // The pending measure's change node of `factor` as the first child of its changes node: the
    // factor's node moved there, or a new "нет изменений" node.
    QTreeWidgetItem* OpenChangeNode(int factor);
    // The changes node of the captured measure gets exactly one node per captured factor.
    void MatchChangeNodes(QTreeWidgetItem* changes, const std::vector<int>& factors);
    // Writes a whole view of the totals table on a cleared grid that grows to fit it.
    void ShowTotals(const TotalsView& view);
    // "Больше" for the compact view, "Меньше" for the detailed one.
    void ShowTotalsButtons(bool detailed);
    // K and N: the integer values of the given fields, stored in the series table.
    void StoreRunSize(const QComboBox* kField, const QComboBox* nField);
    // edOutTime for the stored K and N.
    void WriteRunEstimate();
    // edOutTime and edOutTimeOpt for the stored K and N.
    void WriteEstimates();
    // A factor list's typed text selects the item with exactly that text, or none.
    void FactorListEdited(int factor, const QString& text);

    // Whether this window, rather than another window of this application (about box, questionnaire),
    // had the focus last. Other applications, menus, drop-down lists and message boxes do not count.
    bool mainHadFocus_ = false;
};
