// The analysis charts as a report draws them, off any window: what each shows and its legend, the
// tornado's rows under a position, a far budget at the frontier chart's edge, the network painted,
// probability axes ticked on round values.
#include <gtest/gtest.h>

#include <QChart>
#include <QGraphicsScene>
#include <QImage>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPainter>
#include <QValueAxis>

#include <cmath>
#include <memory>

#include "analysis/AssessmentComparison.h"
#include "analysispage/CompareView.h"
#include "analysispage/SummaryView.h"
#include "widgets/ChartParts.h"
#include "widgets/FrontierChart.h"
#include "widgets/NetworkDiagram.h"
#include "widgets/NodeChart.h"
#include "widgets/TornadoChart.h"
#include "factors/Settings.h"

using namespace kestal;

namespace {

QStringList LegendNames(QChart* chart)
{
    QStringList names;
    for (QLegendMarker* marker : chart->legend()->markers())
        if (marker->isVisible()) names << marker->label();
    return names;
}

// The chart laid out at a report's size, as a scene renders it.
void LayOut(QGraphicsScene& scene, QChart* chart)
{
    scene.addItem(chart);
    chart->resize(800, 600);
    QImage image(800, 600, QImage::Format_RGB32);
    QPainter painter(&image);
    scene.render(&painter);
}

TEST(AnalysisCharts, ShowWhatTheAnalysisHolds)
{
    QGraphicsScene scene;  // owns the charts laid out in it
    const NodeProbabilities exact = ExactNodeProbabilities(InitialInputs());
    QChart* before = NodeChart(exact, nullptr);
    LayOut(scene, before);
    EXPECT_EQ(LegendNames(before), QStringList{QString::fromUtf8("Точная вероятность")});
    RunPrecision run{};
    for (NodePrecision& node : run.node) node = {0.01L, 0.0L, 0.02L, true};  // a bound of 0 lies below the axis
    QChart* after = NodeChart(exact, &run);
    LayOut(scene, after);
    EXPECT_EQ(after->series().size(), 1 + NodeCount + 1);
    EXPECT_EQ(LegendNames(after).size(), 3);

    const ImportanceTable table = RankFactorImportance(InitialInputs());
    QChart* tornado = TornadoChart(table);
    LayOut(scene, tornado);
    EXPECT_EQ(LegendNames(tornado).size(), 4);
    const QRectF plot = tornado->plotArea();
    const double rowHeight = plot.height() / FactorCount;
    EXPECT_EQ(TornadoRowAt(tornado, {plot.center().x(), plot.top() + rowHeight / 2}), 0);
    EXPECT_EQ(TornadoRowAt(tornado, {plot.left() - 10, plot.bottom() - rowHeight / 2}), FactorCount - 1);
    EXPECT_EQ(TornadoRowAt(tornado, {plot.center().x(), plot.bottom() + rowHeight}), -1);
    EXPECT_EQ(TornadoRowAt(tornado, {plot.right() + 5, plot.center().y()}), -1);

    MeasureOptimum optimum{0.001L, 1e9L, {}, 0b1};
    optimum.subsets = {{0b1, 300, 0.0005L, 5000, 5000.0L / 300, true, true, false}};
    QChart* frontier = FrontierChart(optimum, {{"Обучение", 300, {}}});
    LayOut(scene, frontier);
    const auto* costs = static_cast<QValueAxis*>(frontier->axes(Qt::Horizontal).front());
    EXPECT_LT(costs->max(), 1000);  // the budget's line stands at the edge, not a billion away
    EXPECT_TRUE(LegendNames(frontier).contains(QString::fromUtf8("Лучший набор")));

    QImage network(400, 500, QImage::Format_RGB32);
    network.fill(Qt::white);
    QPainter painter(&network);
    PaintNetwork(painter, QRectF(network.rect()), exact, &run);
    painter.end();
    EXPECT_NE(network.pixel(200, 250), QColor(Qt::white).rgb());  // the arrow down the passing column
}

// Whether an axis runs from `low` to `high` or beyond, its ticks 1, 2 or 5 times a power of ten apart
// and on multiples of that step.
testing::AssertionResult TicksOnRoundValues(const QValueAxis* axis, double low, double high)
{
    const double step = (axis->max() - axis->min()) / (axis->tickCount() - 1);
    const double mantissa = step / std::pow(10.0, std::floor(std::log10(step)));
    const auto whole = [step](double value) { return std::abs(value / step - std::round(value / step)) < 1e-9; };
    const bool round = std::abs(mantissa - 1) < 1e-9 || std::abs(mantissa - 2) < 1e-9 || std::abs(mantissa - 5) < 1e-9;
    if (round && whole(axis->min()) && whole(axis->max()) && axis->min() <= low && axis->max() >= high)
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << axis->min() << " .. " << axis->max() << " in " << axis->tickCount()
                                       << " ticks for " << low << " .. " << high;
}

TEST(AnalysisCharts, ProbabilityAxesTickOnRoundValues)
{
    const struct {
        double low, high;
    } ranges[] = {{0, 0.0066158}, {0, 0.0027531}, {0.00017, 0.0054}, {0, 1}, {0.3, 0.3}, {0, 3.7e-7}};
    for (const auto& r : ranges) {
        const std::unique_ptr<QValueAxis> axis(RoundAxis(QString(), r.low, r.high));
        EXPECT_TRUE(TicksOnRoundValues(axis.get(), r.low, r.high));
    }
    // The comparison's waterfall and the summary's bars, as their windows draw them.
    NetworkInputs a = InitialInputs(), b = a;
    b.slot[FindFactor("H03")->slot] = LevelTable[0].value;
    const AssessmentComparison comparison = CompareAssessments(a, b);
    SummaryData summary;
    for (const long double p : {0.0066158L, 0.0012L, 0.0041L}) {
        summary.list.workplaces.push_back({summary.list.workplaces.size() + 2, "", a});
        WorkplaceAssessment& w = summary.assessed.emplace_back();
        w.nodes.node[NodeI] = p;
        w.rank = static_cast<int>(summary.assessed.size());
    }
    const struct {
        QChart* chart;
        double highest;  // the highest value it shows, at least
    } charts[] = {
        {WaterfallChart(comparison), static_cast<double>(std::max(comparison.a.node[NodeI], comparison.b.node[NodeI]))},
        {SummaryChart(summary), 0.0066158}};
    QGraphicsScene scene;  // owns the charts laid out in it
    for (const auto& c : charts) {
        LayOut(scene, c.chart);
        QValueAxis* axis = nullptr;
        for (QAbstractAxis* each : c.chart->axes()) axis = axis ? axis : qobject_cast<QValueAxis*>(each);
        ASSERT_NE(axis, nullptr) << c.chart->title().toStdString();
        EXPECT_TRUE(TicksOnRoundValues(axis, 0, c.highest)) << c.chart->title().toStdString();
    }
}

}  // namespace
