// The view of the best set of the captured measures: a line on the best set (or on why there is
// none), every set on a chart and the Pareto frontier in a table, judged on a worker thread.
#include <QBoxLayout>
#include <QChartView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>

#include <exception>

#include "Analysis/AnalysisTexts.h"
#include "Main_U/AnalysisViews.h"
#include "Widgets/ChartParts.h"
#include "Widgets/FrontierChart.h"
#include "Widgets/Guard.h"
#include "Widgets/TextTableView.h"
#include "Widgets/UiLocale.h"
#include "Widgets/UiText.h"

namespace {

const char* const JudgingText = "Подбирается лучший набор мер…";
const char* const StoppedText = "Подбор лучшего набора остановлен.";

}  // namespace

// What the worker leaves: the optimum, or the message of its failure.
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
    progress_->setRange(0, 0);  // how far the judging is is not known: the bar shows that it goes on
    progress_->setTextVisible(false);
    progress_->setMaximumWidth(240);
    stop_ = new QPushButton(QStringLiteral("Стоп"), this);
    stop_->setObjectName(QStringLiteral("butBestSetStop"));
    stop_->setToolTip(QStringLiteral("Прекратить подбор лучшего набора"));
    connect(stop_, &QPushButton::clicked, this, [this] { Stop(); });
    chart_ = MakeChartView(this, "chFrontier");
    table_ = MakeTextTable(this, "sgFrontier");
    auto* working = new QHBoxLayout;
    working->addWidget(progress_);
    working->addWidget(stop_);
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
    // The worker touches nothing of the view: waiting for it only keeps its thread from outliving us.
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
        line_->setText(Q(problem));
        shown_ = std::move(now);
        return;
    }
    Start(std::move(now));
}

void BestSetView::Start(Shown now)
{
    // The session goes on changing on this thread: the worker judges a copy.
    auto copy = std::make_shared<const Session>(session_);
    outcome_ = std::make_shared<Outcome>();
    judging_ = std::move(now);
    stopped_ = false;
    ShowJudging(true);
    worker_ = std::thread([this, copy, outcome = outcome_] {
        try {
            outcome->optimum = copy->BestMeasures();
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
    if (stopped_) {
        line_->setText(Q(StoppedText));
        shown_ = std::move(judged);
    } else if (outcome->optimum) {
        const NumberLocale locale = UiNumberLocale();
        line_->setText(Q(BestSetLine(*outcome->optimum, judged.measures, locale)));
        ShowTextTable(table_, FrontierTable(*outcome->optimum, judged.measures, locale));
        ShowChart(chart_, FrontierChart(*outcome->optimum, judged.measures));
        chart_->setVisible(true);
        table_->setVisible(true);
        shown_ = std::move(judged);
    } else {
        line_->setText(Q(outcome->error));
        shown_ = std::move(judged);
    }
    // What changed while the worker judged is judged now.
    Show();
}

void BestSetView::Stop()
{
    if (!Judging()) return;
    stopped_ = true;
    ShowJudging(false);
    line_->setText(Q(StoppedText));
}

void BestSetView::ShowJudging(bool judging)
{
    progress_->setVisible(judging);
    stop_->setVisible(judging);
    if (!judging) return;
    line_->setText(Q(JudgingText));
    chart_->setVisible(false);
    table_->setVisible(false);
}
