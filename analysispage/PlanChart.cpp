// The cost–risk chart drawn with the toolkit's charts.
#include "analysispage/PlanChart.h"

#include <QApplication>
#include <QChart>
#include <QLineSeries>
#include <QLogValueAxis>
#include <QScatterSeries>
#include <QValueAxis>

#include <algorithm>

#include "widgets/ChartParts.h"

namespace kestal {

namespace {

const QColor LevelColour(30, 50, 120);
const QColor MeasureColour(40, 150, 70);
const QColor TargetColour(210, 60, 50);

}  // namespace

QChart* CurveChart(const PlanResult& result)
{
    QChart* chart = PlainChart();
    QList<QPointF> levels, measures, chosen;
    long double lowest = result.target > 0 ? result.target : 1.0L, highest = lowest;
    double mostCost = 0.0;
    const auto add = [&](QList<QPointF>& points, long double cost, long double accident) {
        points << QPointF(static_cast<double>(cost), static_cast<double>(accident));
        lowest = std::min(lowest, accident);
        highest = std::max(highest, accident);
        mostCost = std::max(mostCost, static_cast<double>(cost));
    };
    for (const LevelPlan& plan : result.curve) add(levels, plan.cost, plan.accident);
    std::sort(levels.begin(), levels.end(), [](QPointF a, QPointF b) { return a.x() < b.x(); });
    if (result.measurePlan)
        for (const MeasureSet& set : result.measurePlan->envelope) add(measures, set.cost, set.accident);
    if (result.measurePlan) add(chosen, result.measurePlan->chosen.cost, result.measurePlan->chosen.accident);
    if (result.levelPlan) add(chosen, result.levelPlan->cost, result.levelPlan->accident);
    if (mostCost <= 0.0) mostCost = 1.0;

    auto* x = new QValueAxis;
    x->setTitleText(QStringLiteral("Затраты, у.е."));
    x->setLabelFormat(QStringLiteral("%.6g"));
    x->setLabelsFont(QApplication::font());
    x->setTitleFont(QApplication::font());
    x->setRange(0.0, mostCost * 1.05);
    x->applyNiceNumbers();
    QLogValueAxis* y = DecadeAxis(QStringLiteral("Вероятность происшествия"), lowest, highest);
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    if (!levels.isEmpty()) {
        Attach(chart, Polyline(levels, LevelColour, 2.0, QStringLiteral("Шаги уровней")), x, y);
        QScatterSeries* points = Points(levels, LevelColour, 7.0, {});
        Attach(chart, points, x, y);
        LeaveOutOfLegend(chart, points);
    }
    if (!measures.isEmpty()) {
        Attach(chart, Polyline(measures, MeasureColour, 2.0, QStringLiteral("Мероприятия")), x, y);
        QScatterSeries* points = Points(measures, MeasureColour, 7.0, {});
        Attach(chart, points, x, y);
        LeaveOutOfLegend(chart, points);
    }
    if (result.target > 0) {
        const double target = static_cast<double>(result.target);
        Attach(chart, Polyline({{0.0, target}, {x->max(), target}}, TargetColour, 1.5, QStringLiteral("Цель")), x, y);
    }
    if (!chosen.isEmpty())
        Attach(chart, Points(chosen, TargetColour, 11.0, QStringLiteral("Выбранные планы"), true), x, y);
    return chart;
}

}  // namespace kestal
