// The tab "План" of the page "Анализ": a target, each factor's cost per level step and allowed
// levels, the cheapest plan by measures and by level steps, and the cost–risk curve, worked out on
// a worker thread.
#pragma once

#include <QWidget>

#include <functional>
#include <optional>
#include <vector>

#include "analysis/LevelPlan.h"
#include "analysis/MeasurePlan.h"
#include "assessment/Session.h"

class BackgroundWork;
class QChartView;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTableWidget;

class PlanView : public QWidget {
    Q_OBJECT
public:
    explicit PlanView(const Session& session);
    ~PlanView() override;

    // What the work found, and what it was asked.
    struct Result {
        NetworkInputs ratings;
        long double target = 0.0L;
        std::vector<CandidateMeasure> measures;
        std::optional<MeasurePlan> measurePlan;
        std::optional<LevelPlan> levelPlan;
        std::vector<LevelPlan> curve;
    };
    // Waits for the work, if any, to end and shows what it found.
    void WaitForEnd();
    // What "Записать как мероприятие" does with the level plan shown (the window captures it).
    using Capture = std::function<void(const Result& result)>;
    void SetCapture(Capture capture);

protected:
    void showEvent(QShowEvent* event) override;

private:
    // The note over the results shows while the ratings or measures differ from those they were
    // worked out for.
    void MarkStale();
    struct Request {
        long double target;
        std::vector<FactorSteps> steps;
    };
    // The typed target and step table; nothing while some text is not a number in its range.
    std::optional<Request> Read() const;
    // The button follows the texts: enabled while they read and no work runs.
    void Judge();
    void Start();
    void Show(const Result& result);

    const Session& session_;
    QLineEdit* target_;
    QTableWidget* steps_;
    QPushButton* compute_;
    QPushButton* stop_;
    QPushButton* capture_;
    Capture captureAction_;
    std::optional<Result> shown_;
    QProgressBar* progress_;
    QLabel* stale_;
    QLabel* measures_;
    QLabel* levels_;
    QChartView* chart_;
    BackgroundWork* work_;
};

// The level plan of `result` captured as the measure editor would capture it: name "План <target>",
// its cost, its level changes. Refused with nothing changed (KestalError) where the editor's rules do
// not allow it: ratings changed since the plan, a measure pending in the editor, a 16th measure,
// more than 10 changes, a factor of an earlier measure, a cost below 1.
void CapturePlanAsMeasure(Session& session, const PlanView::Result& result, const NumberLocale& locale);

// The target as the window reads it: "1e-3", "0,001", "0.001" or "0,1 %" (either separator), a
// probability from 0 to 1; nothing otherwise.
std::optional<long double> PlanTargetOf(const std::string& text);
