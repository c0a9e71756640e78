// The page "Комплекс мер": the measure editor's fields, panels and track bars, the measure tree and
// listing, K and N, budget, damage and the study button. It shows a session and sends what the
// user does up as signals.
#pragma once

#include <QWidget>

#include <array>
#include <string>
#include <vector>

#include "assessment/Session.h"
#include "factors/FactorTexts.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSlider;
class QTabWidget;
class QTreeWidget;

namespace kestal {

class FactorPanel;

class MeasurePage : public QWidget {
    Q_OBJECT
public:
    explicit MeasurePage(QWidget* parent);

    // Brings the page in line with `session`; fields the user is editing keep their text.
    void Show(const Session& session);
    // Forgets what was shown of an earlier session: tree and listing start anew with `session`.
    void Forget(const Session& session);
    // F9: the study button, when it may be used.
    void ClickRun();
    // The fields whose typing changes the assessment: K, N, the budget and the damage.
    QList<QWidget*> TypedFields() const;

signals:
    // A click on a factor's panel.
    void factorChosen(int factor);
    // The user moved a factor's track bar.
    void barMoved(int factor, int position);
    // A factor's track bar took or lost the focus within the window.
    void barEntered(int factor);
    void barLeft(int factor);
    void nameEdited(const QString& text);
    void costEdited(const QString& text);
    // ">>" (a bar that had the focus has lost it first) and "Сброс".
    void captureRequested();
    void resetRequested();
    void kEdited(const QString& text);
    void nEdited(const QString& text);
    void budgetEdited(const QString& text);
    void damageEdited(const QString& text);
    void studyRequested();

private:
    QWidget* BuildParameters();
    void ConnectEditor();
    void ShowEditor(const Session& session);
    void ShowPanel(const Session& session, int factor);
    void Capture();

    QLineEdit* edActName = nullptr;   // the pending measure's name
    QLineEdit* edExpense = nullptr;   // its cost
    QPushButton* butActIn = nullptr;  // ">>": the pending measure captured
    QPushButton* butReset = nullptr;  // "Сброс"
    QTabWidget* pcFactOpt = nullptr;  // the editor's tabs of factor groups
    struct MeasureControls {
        FactorPanel* panel = nullptr;  // pXXOpt
        QLabel* name = nullptr;        // lbOptXX
        QLabel* id = nullptr;          // lbOptXXa; nullptr for H06, whose name label carries the id
        QLabel* before = nullptr;      // st1_XX
        QLabel* after = nullptr;       // st2_XX
        QSlider* bar = nullptr;        // tbXX
    };
    std::array<MeasureControls, FactorCount> measureControls{};  // by catalogue index
    QTreeWidget* tvAction = nullptr;                             // the measure tree
    QPlainTextEdit* RichEdit3 = nullptr;                         // the study's listing
    QComboBox* cbInputKOpt = nullptr;                            // K
    QComboBox* cbInputNOpt = nullptr;                            // N
    QLineEdit* edAllMoney = nullptr;                             // the budget
    QLineEdit* edDamage = nullptr;                               // the damage
    QLineEdit* edOutTimeOpt = nullptr;                           // the study's estimated time
    QPushButton* buttonRunOpt = nullptr;                         // the study
    int treeExpansionsShown_ = 0;
    std::vector<std::string> listingShown_;
};

}  // namespace kestal
