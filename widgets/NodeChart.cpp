// The chart of the node probabilities, exact and from the last run.
#include "widgets/NodeChart.h"

#include <QApplication>
#include <QCategoryAxis>
#include <QChart>
#include <QLineSeries>
#include <QLogValueAxis>
#include <QScatterSeries>

#include <algorithm>

#include "widgets/ChartParts.h"
#include "widgets/UiText.h"

namespace kestal {

namespace {

const QColor ExactColour(40, 80, 170);
const QColor RunColour(220, 120, 30);
const QColor RunExactColour(120, 60, 150);
constexpr double CapHalfWidth = 0.1;
// Each node's exact value left of its letter, the run right of it: no marker hides an interval.
constexpr double ExactShift = -0.16;
constexpr double RunShift = 0.16;

// The smallest positive probability shown, so that the axis covers every marker and interval.
long double LowestShown(const NodeProbabilities& exact, const RunPrecision* run, const NodeProbabilities* runExact)
{
    long double lowest = 1.0L;
    const auto take = [&lowest](long double value) {
        if (value > 0) lowest = std::min(lowest, value);
    };
    for (int node = 0; node < NodeCount; ++node) {
        take(exact.node[node]);
        if (runExact) take(runExact->node[node]);
        if (run) {
            take(run->node[node].pooled);
            take(run->node[node].low);
            take(run->node[node].high);
        }
    }
    return lowest;
}

QCategoryAxis* NodeAxis()
{
    auto* axis = new QCategoryAxis;
    axis->setTitleText(QStringLiteral("Узел"));
    axis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    for (int node = 0; node < NodeCount; ++node) axis->append(QText(NodeLetters[node]), node);
    axis->setRange(-0.5, NodeCount - 0.5);
    axis->setGridLineVisible(false);
    axis->setLabelsFont(QApplication::font());
    axis->setTitleFont(QApplication::font());
    return axis;
}

QList<QPointF> Markers(const NodeProbabilities& values, double shift)
{
    QList<QPointF> points;
    for (int node = 0; node < NodeCount; ++node)
        if (values.node[node] > 0) points << QPointF(node + shift, static_cast<double>(values.node[node]));
    return points;
}

}  // namespace

QChart* NodeChart(const NodeProbabilities& exact, const RunPrecision* run, const NodeProbabilities* runExact)
{
    QChart* chart = PlainChart();
    QCategoryAxis* x = NodeAxis();
    QLogValueAxis* y = DecadeAxis(QStringLiteral("Вероятность"), LowestShown(exact, run, runExact), 1.0L);
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    const QString exactName =
        runExact ? QStringLiteral("Точная вероятность (текущие оценки)") : QStringLiteral("Точная вероятность");
    Attach(chart, Points(Markers(exact, run ? ExactShift : 0.0), ExactColour, 10, exactName), x, y);
    if (!run) return chart;
    // Zero (no count) lies below the axis: its interval starts at the axis' end.
    const double floor = y->min();
    QList<QPointF> pooled;
    for (int node = 0; node < NodeCount; ++node) {
        const NodePrecision& p = run->node[node];
        const double low = std::max(floor, static_cast<double>(p.low));
        const double high = std::max(floor, static_cast<double>(p.high));
        const double at = node + RunShift;
        // An I-beam: its caps show the interval even where it is narrower than a marker.
        QLineSeries* bar = Polyline({{at - CapHalfWidth, low},
                                     {at + CapHalfWidth, low},
                                     {at, low},
                                     {at, high},
                                     {at - CapHalfWidth, high},
                                     {at + CapHalfWidth, high}},
                                    RunColour, 2, QStringLiteral("95 % интервал опыта"));
        Attach(chart, bar, x, y);
        if (node > 0) LeaveOutOfLegend(chart, bar);
        if (p.pooled > 0) pooled << QPointF(at, static_cast<double>(p.pooled));
    }
    // Under the run's frequencies, which it hides no more than its own size.
    if (runExact) {
        // What the run's intervals are judged against: the exact values of the run's own ratings.
        QScatterSeries* judged =
            Points(Markers(*runExact, RunShift), RunExactColour, 11, QStringLiteral("Точная при оценках опыта"));
        judged->setMarkerShape(QScatterSeries::MarkerShapeTriangle);
        Attach(chart, judged, x, y);
    }
    Attach(chart, Points(pooled, RunColour, 7, QStringLiteral("Частота опыта"), true), x, y);
    return chart;
}

}  // namespace kestal
