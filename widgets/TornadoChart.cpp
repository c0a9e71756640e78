// The tornado chart of factor importance.
#include "widgets/TornadoChart.h"

#include <QApplication>
#include <QCategoryAxis>
#include <QChart>
#include <QLineSeries>
#include <QLogValueAxis>
#include <QScatterSeries>

#include <algorithm>
#include <cmath>

#include "widgets/ChartParts.h"
#include "widgets/UiText.h"

namespace kestal {

namespace {

const QColor LowerColour(60, 160, 80);
const QColor HigherColour(210, 70, 60);
const QColor LevelColour(90, 90, 90);
const QColor CurrentColour(20, 20, 20);
constexpr double BarWidth = 9;

// Row i of the table, counted from the top, at height count - 1 - i.
double RowHeight(int row, int count) { return count - 1 - row; }

QCategoryAxis* FactorAxis(const ImportanceTable& table)
{
    auto* axis = new QCategoryAxis;
    axis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    const int count = static_cast<int>(table.factors.size());
    for (int row = count - 1; row >= 0; --row)
        axis->append(QText(table.factors[row].factor->id), RowHeight(row, count));
    axis->setRange(-0.5, count - 0.5);
    axis->setGridLineVisible(false);
    // Thirty rows keep their ids legible in a chart as low as a 1024 × 768 window leaves it.
    QFont labels = QApplication::font();
    labels.setPointSizeF(labels.pointSizeF() - 1);
    axis->setLabelsFont(labels);
    return axis;
}

// Named for the legend once, by the first row.
void AddBar(QChart* chart, const QList<QPointF>& points, const QColor& colour, const QString& name, bool first,
            QAbstractAxis* x, QAbstractAxis* y)
{
    QLineSeries* bar = Polyline(points, colour, BarWidth, name);
    Attach(chart, bar, x, y);
    if (!first) LeaveOutOfLegend(chart, bar);
}

}  // namespace

QChart* TornadoChart(const ImportanceTable& table)
{
    QChart* chart = PlainChart();
    long double lowest = table.accident;
    long double highest = table.accident;
    for (const FactorImportance& factor : table.factors)
        for (long double p : factor.accident)
            if (p > 0) {
                lowest = std::min(lowest, p);
                highest = std::max(highest, p);
            }
    QLogValueAxis* x = DecadeAxis(QStringLiteral("Вероятность происшествия"), lowest, highest);
    QCategoryAxis* y = FactorAxis(table);
    // The probability axis and the legend over the rows: where the chart is taller than its view,
    // both are in view with its top rows.
    chart->addAxis(x, Qt::AlignTop);
    chart->addAxis(y, Qt::AlignLeft);
    chart->legend()->setAlignment(Qt::AlignTop);

    const int count = static_cast<int>(table.factors.size());
    const double current = static_cast<double>(table.accident);
    QList<QPointF> levels;
    QList<QPointF> marks;
    for (int row = 0; row < count; ++row) {
        const FactorImportance& factor = table.factors[row];
        const double h = RowHeight(row, count);
        const double best = static_cast<double>(factor.accident[factor.bestLevel - 1]);
        const double worst = static_cast<double>(factor.accident[factor.worstLevel - 1]);
        AddBar(chart, {{best, h}, {current, h}}, LowerColour, QStringLiteral("К лучшему"), row == 0, x, y);
        AddBar(chart, {{current, h}, {worst, h}}, HigherColour, QStringLiteral("К худшему"), row == 0, x, y);
        for (long double p : factor.accident)
            if (p > 0) levels << QPointF(static_cast<double>(p), h);
        if (factor.level > 0) marks << QPointF(static_cast<double>(factor.accident[factor.level - 1]), h);
    }
    Attach(chart, Points(levels, LevelColour, 4, QStringLiteral("Уровни")), x, y);
    // The line of the current probability goes with the current levels' marks in the legend.
    QLineSeries* line = Polyline({{current, -0.5}, {current, count - 0.5}}, CurrentColour, 1);
    Attach(chart, line, x, y);
    LeaveOutOfLegend(chart, line);
    Attach(chart, Points(marks, CurrentColour, 8, QStringLiteral("Текущий"), true), x, y);
    return chart;
}

int TornadoRowAt(QChart* chart, QPointF position)
{
    const QList<QAbstractAxis*> axes = chart->axes(Qt::Vertical);
    const auto* rows = axes.isEmpty() ? nullptr : qobject_cast<const QCategoryAxis*>(axes.front());
    if (!rows || chart->series().isEmpty() || position.x() > chart->plotArea().right()) return -1;
    const QPointF value = chart->mapToValue(position, chart->series().front());
    const int count = rows->count();
    const int row = count - 1 - static_cast<int>(std::lround(value.y()));
    return row >= 0 && row < count ? row : -1;
}

}  // namespace kestal
