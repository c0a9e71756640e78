// The view of the best set of the captured measures: a line on the best set (or on why there is
// none), every set on a chart and the Pareto frontier in a table, judged on a worker thread.
#include <QBoxLayout>
#include <QChartView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>

#include "analysis/AnalysisTexts.h"
#include "analysispage/AnalysisViews.h"
#include "widgets/ChartParts.h"
#include "widgets/FrontierChart.h"
#include "widgets/Guard.h"
#include "widgets/TextTableView.h"
#include "widgets/UiLocale.h"
#include "widgets/UiText.h"

namespace kestal {

namespace {

const char* const JudgingText = "Подбирается лучший набор мер…";
const char* const StoppedText = "Подбор лучшего набора остановлен.";

}  // namespace

// What the worker leaves: the optimum, once it has completed.
struct BestSetView::Outcome {
    std::optional<MeasureOptimum> optimum;
};

BestSetView::BestSetView(const Session& session)
    : AnalysisView(session), worker_([this](int64_t done, int64_t total, double) {
          // The sets judged so far, ten times a second.
          progress_->setRange(0, total > 0 ? 1000 : 0);
          if (total > 0) progress_->setValue(static_cast<int>(1000 * done / total));
      })
{
    setObjectName(QStringLiteral("tsBestSet"));
    line_ = new QLabel(this);
    line_->setObjectName(QStringLiteral("lbBestSet"));
    line_->setWordWrap(true);
    line_->setTextFormat(Qt::PlainText);
    // Alone on the view (no set to judge), the line stands at its top.
    line_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    progress_ = new QProgressBar(this);
    progress_->setObjectName(QStringLiteral("pbBestSet"));
    progress_->setMaximumWidth(240);
    stopButton_ = new QPushButton(QStringLiteral("Стоп"), this);
    stopButton_->setObjectName(QStringLiteral("butBestSetStop"));
    stopButton_->setToolTip(QStringLiteral("Прекратить подбор лучшего набора"));
    connect(stopButton_, &QPushButton::clicked, this, [this] { worker_.RequestStop(); });
    chart_ = MakeChartView(this, "chFrontier");
    table_ = MakeTextTable(this, "sgFrontier");
    auto* working = new QHBoxLayout;
    working->addWidget(progress_);
    working->addWidget(stopButton_);
    working->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(line_);
    layout->addLayout(working);
    layout->addWidget(chart_, 3);
    layout->addWidget(table_, 2);
    ShowJudging(false);
}

void BestSetView::Refresh()
{
    // While the worker judges, what changes meanwhile waits for its end.
    if (Judging()) return;
    const Assessment& assessment = session_.assessment();
    Shown now{assessment.RatingInputs(), assessment.CapturedCandidates(), assessment.budgetText, assessment.damageText};
    if (shown_ == now) return;
    if (const std::string problem = assessment.BestMeasuresProblem(); !problem.empty()) {
        chart_->setVisible(false);
        table_->setVisible(false);
        line_->setText(QText(problem));
        shown_ = std::move(now);
        return;
    }
    Start(std::move(now));
}

void BestSetView::Start(Shown now)
{
    // Taken off the session: the session goes on changing on this thread.
    auto work = std::make_shared<const BestSetWork>(session_.assessment().PrepareBestMeasures());
    auto found = std::make_shared<Outcome>();
    judging_ = std::move(now);
    ShowJudging(true);
    worker_.Start([work, found](const WorkControl& control) { found->optimum = work->Execute(control); },
                  [this, found](WorkerThread::Outcome outcome, const QString& error) {
                      Guarded(this, [&] { Finish(outcome, *found, error); });
                  });
}

void BestSetView::Finish(WorkerThread::Outcome outcome, const Outcome& found, const QString& error)
{
    Shown judged = std::move(*judging_);
    judging_.reset();
    ShowJudging(false);
    if (outcome == WorkerThread::Outcome::Stopped) {
        line_->setText(QText(StoppedText));
    } else if (outcome == WorkerThread::Outcome::Completed && found.optimum) {
        const NumberLocale locale = UiNumberLocale();
        line_->setText(QText(BestSetLine(*found.optimum, judged.measures, locale)));
        ShowTextTable(table_, FrontierTable(*found.optimum, judged.measures, locale));
        ShowChart(chart_, FrontierChart(*found.optimum, judged.measures));
        chart_->setVisible(true);
        table_->setVisible(true);
    } else {
        line_->setText(error);
    }
    shown_ = std::move(judged);
    // What changed while the worker judged is judged now.
    Show();
}

void BestSetView::ShowJudging(bool judging)
{
    progress_->setVisible(judging);
    stopButton_->setVisible(judging);
    if (!judging) return;
    progress_->setRange(0, 0);  // until the first sets are judged
    line_->setText(QText(JudgingText));
    chart_->setVisible(false);
    table_->setVisible(false);
}

}  // namespace kestal
