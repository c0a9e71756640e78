// The chart of the best set of measures.
#include "widgets/FrontierChart.h"

#include <QApplication>
#include <QChart>
#include <QGraphicsEllipseItem>
#include <QGraphicsObject>
#include <QGraphicsScene>
#include <QGraphicsSceneHelpEvent>
#include <QImage>
#include <QLineSeries>
#include <QPainter>
#include <QScatterSeries>
#include <QToolTip>
#include <QValueAxis>

#include <algorithm>
#include <cmath>
#include <optional>
#include <unordered_set>

#include "analysis/AnalysisTexts.h"
#include "widgets/ChartParts.h"
#include "widgets/UiLocale.h"
#include "widgets/UiText.h"
#include "common/Formats.h"

namespace kestal {

namespace {

const QColor WithinColour(60, 110, 200);
const QColor BeyondColour(170, 170, 170);
const QColor FrontierColour(30, 50, 120);
const QColor BudgetColour(210, 60, 50);
const QColor BestColour(40, 170, 70);
const QColor HarmfulColour(230, 130, 30);
constexpr double SetSize = 6;
constexpr double FrontierSize = 8;
constexpr double BestSize = 15;
// Between the grid and the series: the sets lie over the grid, the frontier and the best set over them.
constexpr double LayerZ = 3.5;
// The marks that carry the tooltips lie over everything the chart draws.
constexpr double TipZ = 100;

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

// A round point with a darker rim, drawn once and stamped for every set.
QImage Dot(const QColor& colour, double size, qreal ratio)
{
    const int side = static_cast<int>(std::ceil((size + 2) * ratio));
    QImage dot(side, side, QImage::Format_ARGB32_Premultiplied);
    dot.setDevicePixelRatio(ratio);
    dot.fill(Qt::transparent);
    QPainter painter(&dot);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(colour.darker(140), 1));
    painter.setBrush(colour);
    const double logical = side / ratio;
    painter.drawEllipse(QPointF(logical / 2, logical / 2), size / 2, size / 2);
    return dot;
}

// Every set off the frontier as one picture over the plot area, drawn again only when the plot
// area or the axes change; points that fall on the same pixel are stamped once. A pointer resting
// on a point shows the tooltip of the sets there (the frontier's marks lie over them and answer
// first).
class SetsLayer : public QGraphicsObject {
public:
    SetsLayer(QChart* chart, QValueAxis* x, QValueAxis* y, std::vector<MeasureSubset> sets,
              std::vector<CandidateMeasure> measures)
        : QGraphicsObject(chart), chart_(chart), x_(x), y_(y), sets_(std::move(sets)), measures_(std::move(measures))
    {
        setZValue(LayerZ);
        const auto stale = [this] {
            prepareGeometryChange();
            picture_ = QImage();
        };
        QObject::connect(chart, &QChart::plotAreaChanged, this, stale);
        QObject::connect(x, &QValueAxis::rangeChanged, this, stale);
        QObject::connect(y, &QValueAxis::rangeChanged, this, stale);
        // Raising the probability matters most: those sets are drawn last, over the others.
        std::stable_sort(sets_.begin(), sets_.end(),
                         [](const MeasureSubset& a, const MeasureSubset& b) { return Layer(a) < Layer(b); });
    }

    QRectF boundingRect() const override { return chart_->plotArea(); }

    void paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) override
    {
        const QRectF plot = chart_->plotArea();
        if (plot.isEmpty()) return;
        const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
        if (picture_.isNull() || picture_.devicePixelRatio() != ratio) Draw(plot, ratio);
        painter->drawImage(plot.topLeft(), picture_);
    }

    // The tooltip of the sets under `scenePoint`, nearest first; empty where there is none.
    QString TipAt(QPointF scenePoint) const
    {
        const QRectF plot = chart_->plotArea();
        const QPointF at = scenePoint - plot.topLeft();
        std::vector<std::pair<double, const MeasureSubset*>> near;
        for (const MeasureSubset& set : sets_) {
            const std::optional<QPointF> pixel = PixelOf(set, plot);
            if (!pixel) continue;
            const double distance = std::hypot(pixel->x() - at.x(), pixel->y() - at.y());
            if (distance <= SetSize / 2 + 1) near.emplace_back(distance, &set);
        }
        std::stable_sort(near.begin(), near.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
        QStringList tips;
        for (std::size_t i = 0; i < near.size() && i < TipsShown; ++i) tips << SetTip(*near[i].second, measures_);
        if (near.size() > TipsShown) tips << QStringLiteral("… и ещё %1 в этой точке").arg(near.size() - TipsShown);
        return tips.join(QStringLiteral("\n\n"));
    }

protected:
    QVariant itemChange(GraphicsItemChange change, const QVariant& value) override
    {
        // The scene's help events come here first, once the chart is in a scene.
        if (change == ItemSceneHasChanged && scene()) scene()->installEventFilter(this);
        return QGraphicsObject::itemChange(change, value);
    }

    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() != QEvent::GraphicsSceneHelp) return false;
        auto* help = static_cast<QGraphicsSceneHelpEvent*>(event);
        for (const QGraphicsItem* item : scene()->items(help->scenePos()))
            if (item != this && !item->toolTip().isEmpty()) return false;
        const QString tip = TipAt(help->scenePos());
        if (tip.isEmpty()) return false;
        QToolTip::showText(help->screenPos(), tip, help->widget());
        help->accept();
        return true;
    }

private:
    static constexpr std::size_t TipsShown = 5;

    // Beyond the budget below, within it over them, raising the probability on top.
    static int Layer(const MeasureSubset& set) { return set.harmful ? 2 : set.withinBudget ? 1 : 0; }
    static QColor ColourOf(const MeasureSubset& set)
    {
        return set.harmful ? HarmfulColour : set.withinBudget ? WithinColour : BeyondColour;
    }

    // Where the set's point is drawn within the plot area; sets below the axis stand at its edge.
    std::optional<QPointF> PixelOf(const MeasureSubset& set, const QRectF& plot) const
    {
        const double width = x_->max() - x_->min();
        const double height = y_->max() - y_->min();
        if (!(width > 0) || !(height > 0)) return std::nullopt;
        const double px = (static_cast<double>(set.cost) - x_->min()) / width * plot.width();
        const double py =
            std::min(plot.height(), (y_->max() - static_cast<double>(set.benefit)) / height * plot.height());
        return QPointF(std::round(px), std::round(py));
    }

    void Draw(const QRectF& plot, qreal ratio)
    {
        picture_ = QImage((plot.size() * ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
        picture_.setDevicePixelRatio(ratio);
        picture_.fill(Qt::transparent);
        QPainter painter(&picture_);
        std::unordered_set<int64_t> stamped;
        QImage dot;
        int layer = -1;
        for (const MeasureSubset& set : sets_) {
            if (Layer(set) != layer) {
                layer = Layer(set);
                dot = Dot(ColourOf(set), SetSize, ratio);
                stamped.clear();
            }
            const std::optional<QPointF> pixel = PixelOf(set, plot);
            if (!pixel) return;
            const int64_t key = (static_cast<int64_t>(pixel->x()) << 32) ^ static_cast<int64_t>(pixel->y());
            if (!stamped.insert(key).second) continue;
            const double half = dot.width() / dot.devicePixelRatio() / 2;
            painter.drawImage(*pixel - QPointF(half, half), dot);
        }
    }

    QChart* chart_;
    QValueAxis* x_;
    QValueAxis* y_;
    std::vector<MeasureSubset> sets_;
    std::vector<CandidateMeasure> measures_;
    QImage picture_;
};

// An invisible mark over a set of the frontier or the best set: it carries the set's tooltip and
// follows the plot area.
void AddTip(QChart* chart, QAbstractSeries* reference, QPointF value, double size, const QString& tip)
{
    auto* mark = new QGraphicsEllipseItem(-size / 2, -size / 2, size, size, chart);
    mark->setPen(Qt::NoPen);
    mark->setBrush(QColor(0, 0, 0, 1));
    mark->setToolTip(tip);
    mark->setZValue(TipZ);
    const auto place = [chart, reference, value, mark] { mark->setPos(chart->mapToPosition(value, reference)); };
    QObject::connect(chart, &QChart::plotAreaChanged, chart, place);
    place();
}

}  // namespace

QString SetTip(const MeasureSubset& subset, const std::vector<CandidateMeasure>& measures)
{
    const NumberLocale locale = UiNumberLocale();
    return QText(SubsetText(subset, measures)) + QStringLiteral("\nзатраты ") + QText(MoneyText(subset.cost, locale)) +
           QStringLiteral(" у.е., выгода ") + QText(SignificantText(subset.benefit, locale)) +
           QStringLiteral(" у.е.\nвероятность происшествия ") + QText(ProbabilityText(subset.accident, locale));
}

QChart* FrontierChart(const MeasureOptimum& optimum, const std::vector<CandidateMeasure>& measures)
{
    QChart* chart = PlainChart();
    std::vector<MeasureSubset> off;
    std::vector<const MeasureSubset*> frontier;
    const MeasureSubset* best = nullptr;
    bool within = false, beyond = false, harmful = false;
    for (const MeasureSubset& subset : optimum.subsets) {
        if (subset.pareto) {
            frontier.push_back(&subset);
        } else {
            off.push_back(subset);
            (subset.harmful ? harmful : subset.withinBudget ? within : beyond) = true;
        }
        if (optimum.best == subset.members) best = &subset;
    }
    std::sort(frontier.begin(), frontier.end(),
              [](const MeasureSubset* a, const MeasureSubset* b) { return a->cost < b->cost; });

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
    // Sets that raise the probability far more than the best lowers it would press the frontier
    // to a line: the axis goes no further below zero than above, the sets beyond stand at its edge.
    const bool clamped = highBenefit > 0 && lowBenefit < -highBenefit;
    QValueAxis* y =
        MoneyAxis(clamped ? QStringLiteral("Выгода, у.е. (что ниже — у края оси)") : QStringLiteral("Выгода, у.е."),
                  clamped ? -highBenefit : lowBenefit, highBenefit);
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);

    // The sets off the frontier: empty series name them in the legend, the layer draws them.
    if (beyond) Attach(chart, Points({}, BeyondColour, SetSize, QStringLiteral("Наборы сверх бюджета")), x, y);
    if (within) Attach(chart, Points({}, WithinColour, SetSize, QStringLiteral("Наборы в пределах бюджета")), x, y);
    if (harmful)
        Attach(chart, Points({}, HarmfulColour, SetSize, QStringLiteral("Наборы, повышающие вероятность происшествия")),
               x, y);
    new SetsLayer(chart, x, y, std::move(off), measures);

    QList<QPointF> line;
    for (const MeasureSubset* subset : frontier) line << PointOf(*subset);
    QLineSeries* frontierLine = Polyline(line, FrontierColour, 2, QStringLiteral("Граница Парето"));
    frontierLine->setPointsVisible(true);
    Attach(chart, frontierLine, x, y);
    const NumberLocale locale = UiNumberLocale();
    const double budgetX = std::min(budget, x->max());
    QLineSeries* budgetLine =
        Polyline({{budgetX, y->min()}, {budgetX, y->max()}}, BudgetColour, 2,
                 QStringLiteral("Бюджет ") + QText(MoneyText(optimum.budget, locale)) + QStringLiteral(" у.е."));
    QPen dashed = budgetLine->pen();
    dashed.setStyle(Qt::DashLine);
    budgetLine->setPen(dashed);
    Attach(chart, budgetLine, x, y);
    if (best) Attach(chart, Points({PointOf(*best)}, BestColour, BestSize, QStringLiteral("Лучший набор")), x, y);

    for (const MeasureSubset* subset : frontier)
        if (subset != best) AddTip(chart, frontierLine, PointOf(*subset), FrontierSize + 4, SetTip(*subset, measures));
    if (best)
        AddTip(chart, frontierLine, PointOf(*best), BestSize,
               QStringLiteral("Лучший набор: ") + SetTip(*best, measures));
    return chart;
}

}  // namespace kestal
