// The view of the best set of the captured measures: a line on the best set (or on why there is
// none), every set on a chart and the Pareto frontier in a table, judged on a worker thread.
#include <QBoxLayout>
#include <QChartView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>

#include <exception>

#include "analysis/AnalysisTexts.h"
#include "analysispage/AnalysisViews.h"
#include "widgets/ChartParts.h"
#include "widgets/FrontierChart.h"
#include "widgets/Guard.h"
#include "widgets/TextTableView.h"
#include "widgets/UiLocale.h"
#include "widgets/UiText.h"

namespace {

const char* const JudgingText = "Подбирается лучший набор мер…";
const char* const StoppedText = "Подбор лучшего набора остановлен.";

}  // namespace

// What the worker leaves: the optimum, or the message of its failure; neither when it was stopped.
struct BestSetView::Outcome {
    std::optional<MeasureOptimum> optimum;
    std::string error;
};

BestSetView::BestSetView(const Session& session) : AnalysisView(session)
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
    connect(stopButton_, &QPushButton::clicked, this, [this] { Stop(); });
    // The sets judged so far, ten times a second.
    progressTimer_.setInterval(100);
    connect(&progressTimer_, &QTimer::timeout, this, [this] {
        const int64_t total = total_;
        progress_->setRange(0, total > 0 ? 1000 : 0);
        if (total > 0) progress_->setValue(static_cast<int>(1000 * done_ / total));
    });
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

BestSetView::~BestSetView()
{
    // The worker touches nothing of the view but its counters: it is stopped and waited for.
    stop_ = true;
    if (worker_.joinable()) worker_.join();
}

void BestSetView::Refresh()
{
    // While the worker judges, what changes meanwhile waits for its end.
    if (Judging()) return;
    const SessionState& state = session_.state();
    Shown now{session_.RatingInputs(), session_.CapturedCandidates(), state.budgetText, state.damageText};
    if (shown_ == now) return;
    if (const std::string problem = session_.BestMeasuresProblem(); !problem.empty()) {
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
    auto work = std::make_shared<const BestSetWork>(session_.PrepareBestMeasures());
    outcome_ = std::make_shared<Outcome>();
    judging_ = std::move(now);
    stop_ = false;
    done_ = 0;
    total_ = 0;
    ShowJudging(true);
    worker_ = std::thread([this, work, outcome = outcome_] {
        WorkControl control;
        control.progress = [this](int64_t done, int64_t total) {
            done_ = done;
            total_ = total;
        };
        control.stopRequested = [this] { return stop_.load(); };
        try {
            outcome->optimum = work->Execute(control);
        } catch (const WorkStopped&) {
        } catch (const std::exception& error) {
            outcome->error = error.what();
        }
        QMetaObject::invokeMethod(this, [this] { Guarded(this, [this] { Finish(); }); }, Qt::QueuedConnection);
    });
}

void BestSetView::Finish()
{
    if (!worker_.joinable()) return;
    worker_.join();
    const std::shared_ptr<Outcome> outcome = std::exchange(outcome_, nullptr);
    Shown judged = std::move(*judging_);
    judging_.reset();
    ShowJudging(false);
    if (stop_) {
        line_->setText(QText(StoppedText));
    } else if (outcome->optimum) {
        const NumberLocale locale = UiNumberLocale();
        line_->setText(QText(BestSetLine(*outcome->optimum, judged.measures, locale)));
        ShowTextTable(table_, FrontierTable(*outcome->optimum, judged.measures, locale));
        ShowChart(chart_, FrontierChart(*outcome->optimum, judged.measures));
        chart_->setVisible(true);
        table_->setVisible(true);
    } else {
        line_->setText(QText(outcome->error));
    }
    shown_ = std::move(judged);
    // What changed while the worker judged is judged now.
    Show();
}

void BestSetView::Stop()
{
    if (Judging()) stop_ = true;
}

void BestSetView::ShowJudging(bool judging)
{
    progress_->setVisible(judging);
    stopButton_->setVisible(judging);
    if (!judging) {
        progressTimer_.stop();
        return;
    }
    progress_->setRange(0, 0);  // until the first sets are judged
    progressTimer_.start();
    line_->setText(QText(JudgingText));
    chart_->setVisible(false);
    table_->setVisible(false);
}
