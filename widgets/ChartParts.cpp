// What the analysis charts share: plain charts, decade axes, segments, point sets and views.
#include "widgets/ChartParts.h"

#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QLogValueAxis>
#include <QScatterSeries>
#include <QValueAxis>

#include <cmath>

namespace kestal {

QChart* PlainChart()
{
    auto* chart = new QChart;
    chart->setFont(QApplication::font());
    chart->setMargins(QMargins(4, 4, 4, 4));
    chart->setBackgroundRoundness(0);
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->legend()->setFont(QApplication::font());
    QLocale locale;
    locale.setNumberOptions(locale.numberOptions() | QLocale::OmitLeadingZeroInExponent);
    chart->setLocale(locale);
    chart->setLocalizeNumbers(true);
    return chart;
}

QLogValueAxis* DecadeAxis(const QString& title, long double lowest, long double highest)
{
    auto* axis = new QLogValueAxis;
    axis->setBase(10);
    axis->setTitleText(title);
    // Localised labels need a precision in their format.
    axis->setLabelFormat(QStringLiteral("%.3g"));
    axis->setLabelsFont(QApplication::font());
    axis->setTitleFont(QApplication::font());
    const double low = std::pow(10.0, std::floor(std::log10(static_cast<double>(lowest))));
    double high = std::pow(10.0, std::ceil(std::log10(static_cast<double>(highest))));
    if (high <= low) high = low * 10;
    // A hair wider than the decades, so that the labels at both ends are drawn.
    axis->setRange(low * (1 - 1e-9), high * (1 + 1e-9));
    axis->setMinorTickCount(-1);
    return axis;
}

QValueAxis* RoundAxis(const QString& title, double low, double high)
{
    auto* axis = new QValueAxis;
    axis->setTitleText(title);
    // Round ticks need few digits; localised labels need a precision in their format.
    axis->setLabelFormat(QStringLiteral("%.4g"));
    axis->setLabelsFont(QApplication::font());
    axis->setTitleFont(QApplication::font());
    axis->setRange(low, high > low ? high : low + 1.0);
    axis->applyNiceNumbers();
    return axis;
}

void Attach(QChart* chart, QAbstractSeries* series, QAbstractAxis* x, QAbstractAxis* y)
{
    chart->addSeries(series);
    series->attachAxis(x);
    series->attachAxis(y);
}

void LeaveOutOfLegend(QChart* chart, QAbstractSeries* series)
{
    for (QLegendMarker* marker : chart->legend()->markers(series)) marker->setVisible(false);
}

QLineSeries* Polyline(const QList<QPointF>& points, const QColor& colour, double width, const QString& name)
{
    auto* series = new QLineSeries;
    series->append(points);
    QPen pen(colour, width);
    pen.setCapStyle(Qt::FlatCap);
    series->setPen(pen);
    series->setName(name);
    return series;
}

QScatterSeries* Points(const QList<QPointF>& points, const QColor& colour, double size, const QString& name,
                       bool square)
{
    auto* series = new QScatterSeries;
    series->append(points);
    series->setMarkerShape(square ? QScatterSeries::MarkerShapeRectangle : QScatterSeries::MarkerShapeCircle);
    series->setMarkerSize(size);
    series->setColor(colour);
    series->setBorderColor(colour.darker(140));
    series->setName(name);
    return series;
}

void ShowChart(QChartView* view, QChart* chart)
{
    QChart* before = view->chart();
    view->setChart(chart);
    delete before;
}

QChartView* MakeChartView(QWidget* parent, const char* name)
{
    auto* view = new QChartView(parent);
    view->setObjectName(QString::fromLatin1(name));
    view->setRenderHint(QPainter::Antialiasing);
    view->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    return view;
}

}  // namespace kestal
