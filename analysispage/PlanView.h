// The tab "План" of the page "Анализ": a target, each factor's cost per level step and allowed
// levels, the cheapest plan by measures and by level steps, and the cost–risk curve, worked out on
// a worker thread.
#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "analysispage/AnalysisView.h"
#include "analysispage/PlanResult.h"
#include "assessment/Session.h"
#include "widgets/WorkerThread.h"

class QChartView;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTableWidget;

namespace kestal {

class PlanView : public AnalysisView {
    Q_OBJECT
public:
    explicit PlanView(const Session& session);

    // What the work found, and what it was asked.
    using Result = PlanResult;
    // Waits for the work, if any, to end and shows what it found.
    void WaitForEnd();
    // What "Записать как мероприятие" does with the level plan shown (the window captures it).
    using Capture = std::function<void(const Result& result)>;
    void SetCapture(Capture capture);
    // How the view changes the session.
    void SetEdit(SessionEdit edit);

protected:
    // Brings the target and the step table in line with the session's plan inputs where these
    // changed elsewhere (a project opened, an undo), and the note over the results.
    void Refresh() override;

private:
    // The note over the results shows while the ratings or measures differ from those they were
    // worked out for.
    void MarkStale();
    struct Request {
        long double target;
        std::vector<FactorSteps> steps;
    };
    // The typed target (none while empty) and step table; nothing while some text is not a number
    // in its range.
    std::optional<PlanInputs> Typed() const;
    // What the typed texts ask; nothing while they do not read or no target is typed.
    std::optional<Request> Read() const;
    // The typed inputs become the session's, where they read and differ.
    void Keep();
    // The button follows the texts: enabled while they read and no work runs.
    void Judge();
    void Start();
    void Show(const Result& result);

    QLineEdit* target_;
    QTableWidget* steps_;
    QPushButton* compute_;
    QPushButton* stop_;
    QPushButton* capture_;
    Capture captureAction_;
    SessionEdit edit_;
    std::optional<PlanInputs> inputsShown_;  // the session's inputs the texts were last in line with
    std::optional<Result> shown_;
    QProgressBar* progress_;
    QLabel* stale_;
    QLabel* measures_;
    QLabel* levels_;
    QChartView* chart_;
    // Last: it goes first, stopping the work before the widgets go.
    WorkerThread work_;
};

}  // namespace kestal
