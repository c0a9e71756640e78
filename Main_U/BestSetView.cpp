// The view of the best set of the captured measures: a line on the best set (or on why there is
// none), every set on a chart and the Pareto frontier in a table.
#include <QBoxLayout>
#include <QChartView>
#include <QLabel>
#include <QTableWidget>

#include "Analysis/AnalysisTexts.h"
#include "Main_U/AnalysisViews.h"
#include "Widgets/ChartParts.h"
#include "Widgets/FrontierChart.h"
#include "Widgets/TextTableView.h"
#include "Widgets/UiLocale.h"
#include "Widgets/UiText.h"

BestSetView::BestSetView(const Session& session) : AnalysisView(session)
{
    setObjectName(QStringLiteral("tsBestSet"));
    line_ = new QLabel(this);
    line_->setObjectName(QStringLiteral("lbBestSet"));
    line_->setWordWrap(true);
    line_->setTextFormat(Qt::PlainText);
    // Alone on the view (no set to judge), the line stands at its top.
    line_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    chart_ = MakeChartView(this, "chFrontier");
    table_ = MakeTextTable(this, "sgFrontier");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(line_);
    layout->addWidget(chart_, 3);
    layout->addWidget(table_, 2);
}

void BestSetView::Refresh()
{
    const SessionState& state = session_.state();
    Shown now{session_.RatingInputs(), session_.CapturedCandidates(), state.budgetText, state.damageText};
    if (shown_ == now) return;
    const std::string problem = session_.BestMeasuresProblem();
    chart_->setVisible(problem.empty());
    table_->setVisible(problem.empty());
    if (problem.empty()) {
        const MeasureOptimum optimum = session_.BestMeasures();
        const NumberLocale locale = UiNumberLocale();
        line_->setText(Q(BestSetLine(optimum, now.measures, locale)));
        ShowTextTable(table_, FrontierTable(optimum, now.measures, locale));
        ShowChart(chart_, FrontierChart(optimum));
    } else {
        line_->setText(Q(problem));
    }
    shown_ = std::move(now);
}
