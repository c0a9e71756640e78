// The view of the best set of the captured measures: a line on the best set (or on why there is
// none), one naming the measures that raise the accident probability, every set on a chart and the
// Pareto frontier in a table, judged on a worker thread.
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
    againButton_ = new QPushButton(QStringLiteral("Подобрать снова"), this);
    againButton_->setObjectName(QStringLiteral("butBestSetAgain"));
    againButton_->setToolTip(QStringLiteral("Подобрать лучший набор мер заново"));
    againButton_->setVisible(false);
    connect(againButton_, &QPushButton::clicked, this, Guard(this, [this] {
                againButton_->setVisible(false);
                shown_.reset();
                Show();
            }));
    harmful_ = new QLabel(this);
    harmful_->setObjectName(QStringLiteral("lbBestSetHarmful"));
    harmful_->setWordWrap(true);
    harmful_->setTextFormat(Qt::PlainText);
    harmful_->setStyleSheet(QStringLiteral("color: #a04000"));
    harmful_->setVisible(false);
    chart_ = MakeChartView(this, "chFrontier");
    table_ = MakeTextTable(this, "sgFrontier");
    // The work's progress and its buttons stand at the end of the line that says what goes on.
    auto* status = new QHBoxLayout;
    status->addWidget(line_, 1);
    status->addWidget(progress_);
    status->addWidget(stopButton_);
    status->addWidget(againButton_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(status);
    layout->addWidget(harmful_);
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
    againButton_->setVisible(false);
    if (const std::string problem = assessment.BestMeasuresProblem(); !problem.empty()) {
        chart_->setVisible(false);
        table_->setVisible(false);
        harmful_->setVisible(false);
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
    if (outcome == WorkerThread::Outcome::Completed && found.optimum) {
        const NumberLocale locale = UiNumberLocale();
        line_->setText(QText(BestSetLine(*found.optimum, judged.measures, locale)));
        const std::string harmful = HarmfulLine(*found.optimum, judged.measures, locale);
        harmful_->setText(QText(harmful));
        harmful_->setVisible(!harmful.empty());
        ShowTextTable(table_, FrontierTable(*found.optimum, judged.measures, locale));
        ShowChart(chart_, FrontierChart(*found.optimum, judged.measures));
        chart_->setVisible(true);
        table_->setVisible(true);
    } else {
        // Stopped or failed: the same sets may be judged again.
        line_->setText(outcome == WorkerThread::Outcome::Stopped ? QText(StoppedText) : error);
        againButton_->setVisible(true);
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
    harmful_->setVisible(false);
    againButton_->setVisible(false);
}

}  // namespace kestal
