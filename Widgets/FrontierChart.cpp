// The chart of the best set of measures.
#include "Widgets/FrontierChart.h"

#include <QApplication>
#include <QChart>
#include <QLineSeries>
#include <QScatterSeries>
#include <QValueAxis>

#include <algorithm>

#include "Widgets/ChartParts.h"
#include "Widgets/UiLocale.h"
#include "Widgets/UiText.h"
#include "common/Formats.h"

namespace {

const QColor WithinColour(60, 110, 200);
const QColor BeyondColour(170, 170, 170);
const QColor FrontierColour(30, 50, 120);
const QColor BudgetColour(210, 60, 50);
const QColor BestColour(40, 170, 70);

QValueAxis* MoneyAxis(const QString& title, double low, double high)
{
    auto* axis = new QValueAxis;
    axis->setTitleText(title);
    axis->setLabelFormat(QStringLiteral("%.6g"));
    axis->setLabelsFont(QApplication::font());
    axis->setTitleFont(QApplication::font());
    // Some room around the points, so that none sits on the frame; none below a range from zero.
    const double margin = (high > low ? high - low : std::max(1.0, std::abs(high))) * 0.05;
    axis->setRange(low < 0 ? low - margin : low, high + margin);
    axis->applyNiceNumbers();
    return axis;
}

QPointF PointOf(const MeasureSubset& subset)
{
    return {static_cast<double>(subset.cost), static_cast<double>(subset.benefit)};
}

}  // namespace

QChart* FrontierChart(const MeasureOptimum& optimum)
{
    QChart* chart = PlainChart();
    QList<QPointF> within;
    QList<QPointF> beyond;
    QList<QPointF> frontier;
    QList<QPointF> best;
    for (const MeasureSubset& subset : optimum.subsets) {
        (subset.withinBudget ? within : beyond) << PointOf(subset);
        if (subset.pareto) frontier << PointOf(subset);
        if (optimum.best == subset.members) best << PointOf(subset);
    }
    std::sort(frontier.begin(), frontier.end(), [](QPointF a, QPointF b) { return a.x() < b.x(); });

    const double budget = static_cast<double>(optimum.budget);
    double mostCost = 0.0;
    double lowBenefit = 0.0;
    double highBenefit = 0.0;
    for (const MeasureSubset& subset : optimum.subsets) {
        mostCost = std::max(mostCost, static_cast<double>(subset.cost));
        lowBenefit = std::min(lowBenefit, static_cast<double>(subset.benefit));
        highBenefit = std::max(highBenefit, static_cast<double>(subset.benefit));
    }
    // A budget far beyond every set's cost would press the points into a corner: its line then
    // stands at the right edge.
    const double lowCost = std::min(0.0, budget);
    const double highCost = budget > 2 * mostCost ? 1.1 * mostCost : std::max(mostCost, budget);
    QValueAxis* x = MoneyAxis(QStringLiteral("Затраты, у.е."), lowCost, highCost);
    QValueAxis* y = MoneyAxis(QStringLiteral("Выгода, у.е."), lowBenefit, highBenefit);
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);

    const NumberLocale locale = UiNumberLocale();
    if (!beyond.isEmpty()) Attach(chart, Points(beyond, BeyondColour, 6, QStringLiteral("Наборы сверх бюджета")), x, y);
    if (!within.isEmpty())
        Attach(chart, Points(within, WithinColour, 6, QStringLiteral("Наборы в пределах бюджета")), x, y);
    QLineSeries* line = Polyline(frontier, FrontierColour, 2, QStringLiteral("Граница Парето"));
    line->setPointsVisible(true);
    Attach(chart, line, x, y);
    const double budgetX = std::min(budget, x->max());
    QLineSeries* budgetLine = Polyline({{budgetX, y->min()}, {budgetX, y->max()}}, BudgetColour, 2,
                                       QStringLiteral("Бюджет ") + Q(MoneyText(optimum.budget, locale)) +
                                           QStringLiteral(" у.е."));
    QPen dashed = budgetLine->pen();
    dashed.setStyle(Qt::DashLine);
    budgetLine->setPen(dashed);
    Attach(chart, budgetLine, x, y);
    if (!best.isEmpty()) Attach(chart, Points(best, BestColour, 15, QStringLiteral("Лучший набор")), x, y);
    return chart;
}
