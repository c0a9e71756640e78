// The page "Моделирование": factor groups and level lists, the monitor, the result grid, K and N and
// the run button. It shows a session and sends what the user does up as signals.
#pragma once

#include <QWidget>

#include <array>

#include "assessment/Session.h"
#include "factors/FactorTexts.h"

class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTabWidget;

namespace kestal {

class FactorPanel;
class Grid;

class ModelingPage : public QWidget {
    Q_OBJECT
public:
    explicit ModelingPage(QWidget* parent);

    // Brings the page in line with `session`. A level list with a typed text that names no item
    // keeps it unless `lists` is set.
    void Show(const Session& session, bool lists = false);
    // The factor's level list shows the session's level, whatever was typed into it.
    void ShowFactorList(const Session& session, int factor);
    // Forgets what was shown of an earlier session: the result grid starts empty.
    void Forget();
    // The factor's panel in view, as a click on it shows it.
    void ShowFactorPanel(int factor);
    // The monitor shows `text` alone.
    void ShowHint(const QString& text);
    // A run of `experiments` experiments started: the monitor says to wait, the bar counts them.
    void RunStarted(int experiments);
    // The run ended: the monitor says whether it finished or was stopped.
    void RunEnded(bool finished);
    // The bar that counts a run's experiments while it is shown.
    QProgressBar* RunProgress() const { return pbTime; }
    // F9: the run button, when it may be used.
    void ClickRun();
    // The fields whose typing changes the assessment: K, N and the factors' level lists.
    QList<QWidget*> TypedFields() const;

signals:
    // A level picked or typed: its item, or -1 for a text that names none.
    void levelChosen(int factor, int item);
    void kEdited(const QString& text);
    void nEdited(const QString& text);
    void runRequested();
    // A double click on the T03 panel or its "анкета…" button.
    void questionnaireRequested();

private:
    QWidget* BuildFactorGroup();
    void ConnectFactorPanels();
    void ShowFactorHelp(int factor, HelpForm form);
    void FactorListEdited(int factor, const QString& text);
    void FactorPageChanged();
    void ShowFactorLists(const Session& session, bool force);
    void ShowResults(const Session& session);

    QTabWidget* pcFactors = nullptr;  // the tabs of factor groups
    std::array<QWidget*, GroupCount> factorPages{};
    struct FactorControls {
        FactorPanel* panel = nullptr;  // pXX
        QComboBox* list = nullptr;     // cbXX
    };
    std::array<FactorControls, FactorCount> factorControls{};  // by catalogue index
    QPlainTextEdit* reHelp = nullptr;                          // the monitor: help texts and the run's messages
    QProgressBar* pbTime = nullptr;                            // the run's experiments done
    Grid* sgResult = nullptr;                                  // the result grid, a block per run
    QComboBox* cbInputK = nullptr;                             // K
    QComboBox* cbInputN = nullptr;                             // N
    QLineEdit* edOutTime = nullptr;                            // the run's estimated time
    QPushButton* buttonRun = nullptr;                          // "Запуск моделирования"
    int resultBlocksShown_ = 0;
};

}  // namespace kestal
