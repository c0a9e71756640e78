// The views of the page "Анализ": the nodes with the network, factor importance, the best set of
// measures. Each catches up with the session only while it is shown, and only when what it shows
// has changed.
#pragma once

#include <QWidget>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "analysispage/AnalysisView.h"
#include "assessment/Session.h"
#include "widgets/WorkerThread.h"

class QChartView;
class QLabel;
class QProgressBar;
class QPushButton;
class QTableWidget;

namespace kestal {

class NetworkDiagram;

// The node table with the run's precision, the chart of the node probabilities and the network.
class NodesView : public AnalysisView {
public:
    explicit NodesView(const Session& session);

protected:
    void Refresh() override;

private:
    struct Shown {
        NetworkInputs ratings;
        std::optional<RunBlock> lastRun;
        bool operator==(const Shown&) const = default;
    };
    std::optional<Shown> shown_;
    QTableWidget* table_;
    QLabel* precision_;
    QChartView* chart_;
    NetworkDiagram* network_;
};

// The tornado chart and the table of factor importance; a click on a factor's bar or row chooses it.
class ImportanceView : public AnalysisView {
    Q_OBJECT
public:
    explicit ImportanceView(const Session& session);

signals:
    // Catalogue index of the factor clicked.
    void factorChosen(int factor);

protected:
    void Refresh() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Choose(int row);

    std::optional<NetworkInputs> shown_;
    ImportanceTable importance_{};
    QChartView* chart_;
    QTableWidget* table_;
};

// The best set of the captured measures: its line, the line on harmful measures, the chart of every
// set and the frontier table. The sets are judged on a worker thread while the line says so, with
// the progress and "Стоп" beside it, and the window answers; "Стоп" ends the judging and leaves the
// page without a result until what it depends on changes or "Подобрать снова" is pressed.
class BestSetView : public AnalysisView {
public:
    explicit BestSetView(const Session& session);
    // Whether sets are being judged now.
    bool Judging() const { return worker_.Busy(); }

protected:
    void Refresh() override;

private:
    struct Shown {
        NetworkInputs ratings;
        std::vector<CandidateMeasure> measures;
        std::string budget;
        std::string damage;
        bool operator==(const Shown&) const = default;
    };
    struct Outcome;
    void Start(Shown now);
    void Finish(WorkerThread::Outcome outcome, const Outcome& found, const QString& error);
    void ShowJudging(bool judging);

    std::optional<Shown> shown_;
    std::optional<Shown> judging_;  // what the worker judges
    QLabel* line_;
    QProgressBar* progress_;
    QPushButton* stopButton_;
    QPushButton* againButton_;
    QLabel* harmful_;
    QChartView* chart_;
    QTableWidget* table_;
    // Last: it goes first, stopping the work before the widgets go.
    WorkerThread worker_;
};

}  // namespace kestal
