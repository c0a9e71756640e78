// What the analysis charts share: a plain chart in the window's font with the locale's numbers,
// axes over probabilities, segments and point sets, and putting a new chart into a view.
#pragma once

#include <QColor>
#include <QList>
#include <QPointF>
#include <QString>

class QAbstractAxis;
class QAbstractSeries;
class QChart;
class QChartView;
class QLineSeries;
class QLogValueAxis;
class QScatterSeries;
class QValueAxis;
class QWidget;

namespace kestal {

// A chart on a white ground with small margins, its legend below, its numbers in the default
// locale (exponents without leading zeros: "1e-5") and the application's font.
QChart* PlainChart();

// A base-10 logarithmic axis over whole decades covering lowest .. highest (both above 0).
QLogValueAxis* DecadeAxis(const QString& title, long double lowest, long double highest);
// A linear axis covering low .. high, widened to round values (1, 2 or 5 times a power of ten
// apart) with its ticks and labels on them.
QValueAxis* RoundAxis(const QString& title, double low, double high);

// A series put on the chart against both axes.
void Attach(QChart* chart, QAbstractSeries* series, QAbstractAxis* x, QAbstractAxis* y);
// The series keeps no entry in the legend.
void LeaveOutOfLegend(QChart* chart, QAbstractSeries* series);

// A polyline through `points` in a solid pen of `width` pixels, named for the legend.
QLineSeries* Polyline(const QList<QPointF>& points, const QColor& colour, double width, const QString& name = {});
// Points drawn as circles (or squares) of `size` pixels, named for the legend.
QScatterSeries* Points(const QList<QPointF>& points, const QColor& colour, double size, const QString& name,
                       bool square = false);

// The view shows `chart` and lets go of the chart it showed before.
void ShowChart(QChartView* view, QChart* chart);
// A view of charts, antialiased, that takes the room it is given.
QChartView* MakeChartView(QWidget* parent, const char* name);

}  // namespace kestal
