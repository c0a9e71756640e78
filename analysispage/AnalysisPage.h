// The page "Анализ": the exact analysis of the session in tables and pictures, and the exact
// accident probability for the status bar.
#pragma once

#include <QWidget>

#include <functional>
#include <optional>
#include <vector>

#include "analysispage/AnalysisView.h"
#include "analysispage/PlanResult.h"
#include "assessment/Session.h"

class QLabel;
class QTabWidget;

namespace kestal {

class ExpertPanelView;
class PlanView;

class AnalysisPage : public QWidget {
    Q_OBJECT
public:
    explicit AnalysisPage(const Session& session);

    // The exact accident probability of the current ratings, for the status bar's right side.
    QLabel* AccidentLabel() const { return accident_; }
    // Brings the page in line with the session: the accident label always, each tab while shown.
    void Show();
    // How the tabs that change the session (the plan's inputs, the expert panel) change it.
    void SetEdit(const SessionEdit& edit);
    // What "Записать как мероприятие" on the plan tab does with the level plan shown.
    void SetPlanCapture(std::function<void(const PlanResult& plan)> capture);

signals:
    // A factor's bar or row was clicked: its catalogue index.
    void factorChosen(int factor);

private:
    // `view` as the next tab, titled `title`, scrolling within it where the window is small.
    template <class View>
    View* AddTab(View* view, const QString& title);

    const Session& session_;
    std::optional<NetworkInputs> accidentShown_;
    QLabel* accident_;
    QTabWidget* tabs_;
    std::vector<AnalysisView*> views_;  // in the order of the tabs
    PlanView* plan_;
    ExpertPanelView* experts_;
};

}  // namespace kestal
