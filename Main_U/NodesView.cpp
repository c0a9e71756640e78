// The view of the nodes: exact probabilities and the last run's precision in a table and a chart,
// and the network diagram.
#include <QBoxLayout>
#include <QChartView>
#include <QLabel>
#include <QTableWidget>

#include "Analysis/AnalysisTexts.h"
#include "Main_U/AnalysisViews.h"
#include "Widgets/ChartParts.h"
#include "Widgets/NetworkDiagram.h"
#include "Widgets/NodeChart.h"
#include "Widgets/TextTableView.h"
#include "Widgets/UiLocale.h"
#include "Widgets/UiText.h"
#include "common/Formats.h"

namespace {

const char* const RunExactHeader = "Точная при оценках опыта";
const char* const OtherRatingsNote = "Опыт проведён при других оценках факторов: его частоты здесь не показаны.";
// Where the node table's columns of the run begin.
constexpr int RunColumns = 3;

// A run made with other ratings than the current ones: the exact values it is judged against
// stand in their own column before its figures, beside the current ratings' exact values.
void AddRunExact(TextTable& table, const NodeProbabilities& runExact, const NumberLocale& locale)
{
    table.headers.insert(table.headers.begin() + RunColumns, RunExactHeader);
    for (int node = 0; node < NodeCount; ++node)
        table.rows[node].insert(table.rows[node].begin() + RunColumns, ProbabilityText(runExact.node[node], locale));
}

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
    const std::vector<RunBlock>& results = session_.state().results;
    Shown now{session_.RatingInputs(), results.empty() ? std::nullopt : std::optional(results.back())};
    if (shown_ == now) return;
    const NumberLocale locale = UiNumberLocale();
    const NodeProbabilities exact = ExactNodeProbabilities(now.ratings);
    std::optional<RunPrecision> run;
    if (now.lastRun) run = Session::PrecisionOf(*now.lastRun);
    const RunPrecision* last = run ? &*run : nullptr;
    // Every figure of the run is judged against, and shown beside, the exact values of its own ratings.
    const bool otherRatings = now.lastRun && now.lastRun->inputs != now.ratings;
    std::optional<NodeProbabilities> runExact;
    if (otherRatings) runExact = ExactNodeProbabilities(now.lastRun->inputs);
    TextTable nodes = NodeTable(exact, last, locale);
    if (runExact) AddRunExact(nodes, *runExact, locale);
    ShowTextTable(table_, nodes);
    precision_->setText(Q(PrecisionLine(last, now.lastRun ? now.lastRun->k : 0, otherRatings, locale)));
    ShowChart(chart_, NodeChart(exact, last, runExact ? &*runExact : nullptr));
    if (otherRatings)
        network_->setFigures(exact, std::nullopt, Q(OtherRatingsNote));
    else
        network_->setFigures(exact, run);
    shown_ = std::move(now);
}
