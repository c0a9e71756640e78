// The analysis charts as a report draws them, off any window: what each shows and its legend, the
// tornado's rows under a position, a far budget at the frontier chart's edge, the network painted.
#include <gtest/gtest.h>

#include <QChart>
#include <QGraphicsScene>
#include <QImage>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPainter>
#include <QValueAxis>

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

}  // namespace
