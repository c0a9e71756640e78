// The view of the nodes: exact probabilities and the last run's precision in a table and a chart,
// and the network diagram.
#include <QBoxLayout>
#include <QChartView>
#include <QLabel>
#include <QTableWidget>

#include "analysis/AnalysisTexts.h"
#include "analysispage/AnalysisViews.h"
#include "widgets/ChartParts.h"
#include "widgets/NetworkDiagram.h"
#include "widgets/NodeChart.h"
#include "widgets/TextTableView.h"
#include "widgets/UiLocale.h"
#include "widgets/UiText.h"

namespace kestal {

namespace {

const char* const OtherRatingsNote = "Опыт проведён при других оценках факторов: его частоты здесь не показаны.";

}  // namespace

NodesView::NodesView(const Session& session) : AnalysisView(session)
{
    setObjectName(QStringLiteral("tsNodes"));
    table_ = MakeTextTable(this, "sgNodes");
    KeepAllRowsInView(table_);
    precision_ = new QLabel(this);
    precision_->setObjectName(QStringLiteral("lbPrecision"));
    precision_->setWordWrap(true);
    precision_->setTextFormat(Qt::PlainText);
    chart_ = MakeChartView(this, "chNodes");
    network_ = new NetworkDiagram(this);

    // The table, its line and the chart on the left; the network, which runs downwards, on the right.
    auto* left = new QVBoxLayout;
    left->addWidget(table_);
    left->addWidget(precision_);
    left->addWidget(chart_, 1);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(left, 3);
    layout->addWidget(network_, 2);
}

void NodesView::Refresh()
{
    const std::vector<RunBlock>& results = session_.assessment().results;
    Shown now{session_.assessment().RatingInputs(), results.empty() ? std::nullopt : std::optional(results.back())};
    if (shown_ == now) return;
    const NumberLocale locale = UiNumberLocale();
    const NodeProbabilities exact = ExactNodeProbabilities(now.ratings);
    // Every figure of the run is judged against, and shown beside, the exact values of its own
    // ratings; the diagram, which has no room for both, leaves a run of other ratings out.
    const std::optional<JudgedRun> judged = session_.assessment().JudgedLastRun();
    const RunPrecision* last = judged ? &judged->precision : nullptr;
    ShowTextTable(table_, NodeTable(exact, judged ? &*judged : nullptr, locale));
    precision_->setText(QText(PrecisionLine(judged ? &*judged : nullptr, locale)));
    const bool otherRatings = judged && judged->ratingsChanged;
    ShowChart(chart_, NodeChart(exact, last, otherRatings ? &judged->exact : nullptr));
    if (otherRatings)
        network_->setFigures(exact, std::nullopt, QText(OtherRatingsNote));
    else
        network_->setFigures(exact, judged ? std::optional(judged->precision) : std::nullopt);
    shown_ = std::move(now);
}

}  // namespace kestal
