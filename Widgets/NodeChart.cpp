// The chart of the node probabilities, exact and from the last run.
#include "Widgets/NodeChart.h"

#include <QApplication>
#include <QCategoryAxis>
#include <QChart>
#include <QLineSeries>
#include <QLogValueAxis>
#include <QScatterSeries>

#include <algorithm>

#include "Widgets/ChartParts.h"
#include "Widgets/UiText.h"

namespace {

const QColor ExactColour(40, 80, 170);
const QColor RunColour(220, 120, 30);
constexpr double CapHalfWidth = 0.12;

// The smallest positive probability shown, so that the axis covers every marker and interval.
long double LowestShown(const NodeProbabilities& exact, const RunPrecision* run)
{
    long double lowest = 1.0L;
    for (int node = 0; node < NodeCount; ++node) {
        for (long double value : {exact.node[node], run ? run->node[node].pooled : 1.0L, run ? run->node[node].low : 1.0L})
            if (value > 0) lowest = std::min(lowest, value);
    }
    return lowest;
}

QCategoryAxis* NodeAxis()
{
    auto* axis = new QCategoryAxis;
    axis->setTitleText(QStringLiteral("Узел"));
    axis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    for (int node = 0; node < NodeCount; ++node) axis->append(Q(NodeLetters[node]), node);
    axis->setRange(-0.5, NodeCount - 0.5);
    axis->setGridLineVisible(false);
    axis->setLabelsFont(QApplication::font());
    axis->setTitleFont(QApplication::font());
    return axis;
}

}  // namespace

QChart* NodeChart(const NodeProbabilities& exact, const RunPrecision* run)
{
    QChart* chart = PlainChart();
    QCategoryAxis* x = NodeAxis();
    QLogValueAxis* y = DecadeAxis(QStringLiteral("Вероятность"), LowestShown(exact, run), 1.0L);
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    // Zero (no count) lies below the axis: its interval starts at the axis' end.
    const double floor = y->min();
    QList<QPointF> exactPoints;
    for (int node = 0; node < NodeCount; ++node)
        if (exact.node[node] > 0) exactPoints << QPointF(node, static_cast<double>(exact.node[node]));
    // The run's marks over the exact ones, which they hide no more than their own size.
    QScatterSeries* exactMarks = Points(exactPoints, ExactColour, 13, QStringLiteral("Точная вероятность"));
    // Pale rings, so that the run's mark shows inside.
    QColor pale = ExactColour;
    pale.setAlpha(60);
    exactMarks->setBrush(pale);
    exactMarks->setPen(QPen(ExactColour, 2));
    Attach(chart, exactMarks, x, y);
    if (run) {
        QList<QPointF> pooled;
        for (int node = 0; node < NodeCount; ++node) {
            const NodePrecision& p = run->node[node];
            const double low = std::max(floor, static_cast<double>(p.low));
            const double high = std::max(floor, static_cast<double>(p.high));
            QLineSeries* bar = Polyline({{node - CapHalfWidth, low}, {node + CapHalfWidth, low}, {node * 1.0, low},
                                         {node * 1.0, high}, {node - CapHalfWidth, high}, {node + CapHalfWidth, high}},
                                        RunColour, 2, QStringLiteral("95 % интервал опыта"));
            Attach(chart, bar, x, y);
            if (node > 0) LeaveOutOfLegend(chart, bar);
            if (p.pooled > 0) pooled << QPointF(node, static_cast<double>(p.pooled));
        }
        Attach(chart, Points(pooled, RunColour, 8, QStringLiteral("Частота опыта"), true), x, y);
    }
    return chart;
}
