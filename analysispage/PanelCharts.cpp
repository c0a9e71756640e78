// The band's charts drawn with the toolkit's charts.
#include "analysispage/PanelCharts.h"

#include <QApplication>
#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QHorizontalBarSeries>
#include <QLineSeries>
#include <QLogValueAxis>
#include <QValueAxis>

#include <algorithm>

#include "widgets/ChartParts.h"
#include "widgets/UiText.h"

namespace kestal {

namespace {

// The cumulative curve keeps about this many steps however many values the band has.
constexpr int CurveSteps = 1000;

const QColor CurveColour(30, 50, 120);
const QColor QuantileColour(120, 120, 120);
const QColor CurrentColour(40, 150, 70);
const QColor TargetColour(210, 60, 50);
const QColor ShareColour(200, 120, 40);

}  // namespace

QChart* DistributionChart(const PanelBand& result, long double current, std::optional<long double> target)
{
    QChart* chart = PlainChart();
    const NodeBand& band = result.node[NodeI];
    long double lowest = std::min(band.min, current), highest = std::max(band.max, current);
    if (target && *target > 0) {
        lowest = std::min(lowest, *target);
        highest = std::max(highest, *target);
    }
    // Over more than a decade and a half the values are read on a logarithmic axis.
    const bool logarithmic = lowest > 0 && highest / lowest > 30;
    QAbstractAxis* x = nullptr;
    double left = 0, right = 1;
    if (logarithmic) {
        QLogValueAxis* axis = DecadeAxis(QStringLiteral("Вероятность происшествия"), lowest, highest);
        left = axis->min();
        right = axis->max();
        x = axis;
    } else {
        const double pad = std::max(static_cast<double>(highest - lowest) * 0.05, static_cast<double>(highest) * 1e-3);
        QValueAxis* axis =
            RoundAxis(QStringLiteral("Вероятность происшествия"), std::max(0.0, static_cast<double>(lowest) - pad),
                      static_cast<double>(highest) + pad);
        left = axis->min();
        right = axis->max();
        x = axis;
    }
    auto* y = new QValueAxis;
    y->setTitleText(QStringLiteral("Накопленная доля наборов"));
    y->setLabelFormat(QStringLiteral("%.1f"));
    y->setLabelsFont(QApplication::font());
    y->setTitleFont(QApplication::font());
    y->setRange(0.0, 1.0);
    y->setTickCount(6);
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);

    QList<QPointF> curve{{left, 0.0}};
    long double cumulative = 0;
    double drawn = 0;
    const auto& values = result.accident;
    for (std::size_t k = 0; k < values.size(); ++k) {
        cumulative += values[k].second;
        // Steps closer than a thousandth of the total are drawn as one.
        if (k + 1 < values.size() && cumulative - drawn < 1.0L / CurveSteps) continue;
        const double value = static_cast<double>(values[k].first);
        curve << QPointF(value, drawn) << QPointF(value, static_cast<double>(cumulative));
        drawn = static_cast<double>(cumulative);
    }
    curve << QPointF(right, drawn);
    Attach(chart, Polyline(curve, CurveColour, 2.0, QStringLiteral("Распределение")), x, y);
    const auto vertical = [&](long double at, const QColor& colour, const QString& name, bool inLegend) {
        const double v = static_cast<double>(at);
        QLineSeries* line = Polyline({{v, 0.0}, {v, 1.0}}, colour, 1.5, name);
        if (name.startsWith(QLatin1Char('P'))) line->setPen(QPen(colour, 1.2, Qt::DashLine));
        Attach(chart, line, x, y);
        if (!inLegend) LeaveOutOfLegend(chart, line);
    };
    vertical(band.p05, QuantileColour, QStringLiteral("P5, P50, P95"), true);
    vertical(band.p50, QuantileColour, QStringLiteral("P50"), false);
    vertical(band.p95, QuantileColour, QStringLiteral("P95"), false);
    vertical(current, CurrentColour, QStringLiteral("Текущие оценки"), true);
    if (target) vertical(*target, TargetColour, QStringLiteral("Цель"), true);
    return chart;
}

QChart* SharesChart(const std::vector<FactorShare>& shares)
{
    QChart* chart = PlainChart();
    chart->legend()->hide();
    auto* set = new QBarSet(QStringLiteral("Доля дисперсии"));
    set->setColor(ShareColour);
    set->setBorderColor(ShareColour.darker(130));
    QStringList ids;
    // The category axis counts from the bottom.
    for (auto share = shares.rbegin(); share != shares.rend(); ++share) {
        *set << static_cast<double>(share->share);
        ids << QText(share->factor->id);
    }
    auto* series = new QHorizontalBarSeries;
    series->append(set);
    series->setBarWidth(0.7);
    auto* y = new QBarCategoryAxis;
    y->append(ids);
    y->setGridLineVisible(false);
    // Ids are short: they never need cutting, whatever the axis thinks of its room.
    y->setTruncateLabels(false);
    y->setLabelsFont(QApplication::font());
    auto* x = new QValueAxis;
    x->setTitleText(QStringLiteral("Доля дисперсии вероятности происшествия"));
    x->setLabelFormat(QStringLiteral("%.1f"));
    x->setLabelsFont(QApplication::font());
    x->setTitleFont(QApplication::font());
    x->setRange(0.0, 1.0);
    x->setTickCount(6);
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    Attach(chart, series, x, y);
    return chart;
}

}  // namespace kestal
