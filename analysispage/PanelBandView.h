// The band part of the tab "Эксперты": the optional target, the band of the node probabilities over
// the experts' ratings worked out on a worker thread, its table, its line and its charts.
#pragma once

#include <QWidget>

#include <optional>

#include "analysis/ExpertPanel.h"
#include "assessment/Session.h"
#include "widgets/WorkerThread.h"

class QChartView;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTableWidget;

namespace kestal {

class PanelBandView : public QWidget {
    Q_OBJECT
public:
    explicit PanelBandView(const Session& session);

    // What the band's work found, and what it was asked.
    struct Result {
        ExpertPanel panel;
        NetworkInputs ratings;
        std::optional<long double> target;
        long double current = 0.0L;  // the accident probability of the ratings
        PanelBand band;
    };
    const std::optional<Result>& Shown() const { return shown_; }
    bool Busy() const { return work_.Busy(); }
    // Brings the button and the note on the band in line with the session.
    void Show();
    // The button alone: enabled while a panel is there, the target reads and no work runs.
    void Judge();
    // Waits for the band's work, if any, to end and shows what it found.
    void WaitForEnd();

signals:
    // The work started or ended.
    void busyChanged();

private:
    void Start();
    void ShowResult(const Result& result);
    void MarkStale();
    // The typed target: nothing while empty; false when the text is no probability.
    bool ReadTarget(std::optional<long double>& target) const;

    const Session& session_;
    QLineEdit* target_;
    QPushButton* compute_;
    QPushButton* stop_;
    QProgressBar* progress_;
    QLabel* state_;
    QLabel* summary_;
    QTableWidget* nodes_;
    QChartView* distribution_;
    QChartView* shares_;
    std::optional<Result> shown_;
    // Last: it goes first, stopping the work before the widgets go.
    WorkerThread work_;
};

}  // namespace kestal
