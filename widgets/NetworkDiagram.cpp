// The diagram of the accident process, painted.
#include "widgets/NetworkDiagram.h"

#include <QPainter>

#include <algorithm>
#include <array>
#include <cmath>

#include "widgets/UiLocale.h"
#include "widgets/UiText.h"
#include "common/Formats.h"

namespace kestal {

namespace {

constexpr int Rows = 5;
constexpr int TextLines = 3;
constexpr double Padding = 6;
// Of a column's width, the part a box takes; the rest carries the arrow.
constexpr double BoxShare = 0.76;
constexpr double ArrowHead = 7;

const QColor StartColour(225, 225, 225);
const QColor EndColour(215, 240, 215);
const QColor PassColour(250, 236, 200);
const QColor AccidentColour(245, 200, 195);

// Column (0 the passing column, 1 the column of the nodes that end a stage) and row of each node,
// B to I; the initiation heads the passing column.
constexpr std::array<QPoint, NodeCount> Places = {{{1, 0}, {0, 1}, {1, 1}, {0, 2}, {1, 2}, {0, 3}, {1, 3}, {0, 4}}};
constexpr QPoint StartPlace{0, 0};
constexpr QPoint NotePlace{1, 4};

struct Layout {
    QRectF area;
    QSizeF cell;
    QSizeF box;
};

Layout LayoutOf(const QRectF& area, const QFontMetricsF& metrics)
{
    const QSizeF cell(area.width() / 2, area.height() / Rows);
    const double boxHeight = std::min(cell.height() * 0.8, TextLines * metrics.lineSpacing() + 2 * Padding);
    return {area, cell, QSizeF(cell.width() * BoxShare, boxHeight)};
}

QRectF BoxAt(const Layout& layout, QPoint place)
{
    const QPointF cellCentre(layout.area.left() + layout.cell.width() * (place.x() + 0.5),
                             layout.area.top() + layout.cell.height() * (place.y() + 0.5));
    return QRectF(cellCentre - QPointF(layout.box.width() / 2, layout.box.height() / 2), layout.box);
}

void Arrow(QPainter& painter, QPointF from, QPointF to)
{
    painter.drawLine(from, to);
    const QPointF along = (to - from) / std::max(1.0, std::hypot(to.x() - from.x(), to.y() - from.y()));
    const QPointF across(-along.y(), along.x());
    const QPointF base = to - along * ArrowHead;
    painter.save();
    painter.setBrush(painter.pen().color());
    painter.drawPolygon(QPolygonF({to, base + across * ArrowHead / 2, base - across * ArrowHead / 2}));
    painter.restore();
}

void Box(QPainter& painter, const QRectF& box, const QColor& colour, const QStringList& lines)
{
    painter.setBrush(colour);
    painter.drawRoundedRect(box, 5, 5);
    QFont bold = painter.font();
    bold.setBold(true);
    const double spacing = QFontMetricsF(painter.font()).lineSpacing();
    // The lines centred in the box, whatever their number.
    const QRectF text(box.left() + Padding, box.center().y() - lines.size() * spacing / 2, box.width() - 2 * Padding,
                      lines.size() * spacing);
    for (int line = 0; line < lines.size(); ++line) {
        painter.save();
        if (line == 0) painter.setFont(bold);
        painter.drawText(QRectF(text.left(), text.top() + line * spacing, text.width(), spacing),
                         Qt::AlignHCenter | Qt::AlignVCenter, lines[line]);
        painter.restore();
    }
}

QString NodeTitle(int node) { return QText(NodeLetters[node]) + QStringLiteral("  ") + QText(NodeDisplayTexts[node]); }

QString ExactLine(long double probability, const NumberLocale& locale)
{
    return QStringLiteral("точно: ") + QText(ProbabilityText(probability, locale));
}

QColor ColourOf(int node)
{
    if (node == NodeI) return AccidentColour;
    return Places[node].x() == 1 ? EndColour : PassColour;
}

}  // namespace

void PaintNetwork(QPainter& painter, const QRectF& area, const NodeProbabilities& exact, const RunPrecision* run,
                  const QString& note)
{
    const NumberLocale locale = UiNumberLocale();
    const Layout layout = LayoutOf(area, QFontMetricsF(painter.font()));
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(60, 60, 60), 1.2));
    // Arrows first: a passing node follows the box above it, an ending node stands right of the
    // box it branches from.
    for (int node = 0; node < NodeCount; ++node) {
        const QPoint place = Places[node];
        const QRectF from = BoxAt(layout, {0, place.x() == 0 ? place.y() - 1 : place.y()});
        const QRectF to = BoxAt(layout, place);
        if (place.x() == 0)
            Arrow(painter, {from.center().x(), from.bottom()}, {to.center().x(), to.top()});
        else
            Arrow(painter, {from.right(), from.center().y()}, {to.left(), to.center().y()});
    }
    Box(painter, BoxAt(layout, StartPlace), StartColour, {QStringLiteral("Инициация")});
    for (int node = 0; node < NodeCount; ++node) {
        QStringList lines{NodeTitle(node), ExactLine(exact.node[node], locale)};
        if (run) lines << QStringLiteral("опыт: ") + QText(ProbabilityText(run->node[node].pooled, locale));
        Box(painter, BoxAt(layout, Places[node]), ColourOf(node), lines);
    }
    if (!note.isEmpty()) {
        painter.save();
        painter.setPen(QColor(90, 90, 90));
        painter.drawText(BoxAt(layout, NotePlace), Qt::AlignCenter | Qt::TextWordWrap, note);
        painter.restore();
    }
}

NetworkDiagram::NetworkDiagram(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("pbNetwork"));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void NetworkDiagram::setFigures(const NodeProbabilities& exact, const std::optional<RunPrecision>& run,
                                const QString& note)
{
    exact_ = exact;
    run_ = run;
    note_ = note;
    update();
}

QSize NetworkDiagram::minimumSizeHint() const
{
    // Room for the widest line a box holds, and for the rows of boxes with the arrows between.
    QFont bold = font();
    bold.setBold(true);
    const QFontMetricsF metrics(bold);
    // The longest number line: four digits and a two-digit exponent.
    double widest = metrics.horizontalAdvance(ExactLine(1.111e-11L, UiNumberLocale()));
    for (int node = 0; node < NodeCount; ++node) widest = std::max(widest, metrics.horizontalAdvance(NodeTitle(node)));
    widest += 2 * Padding + metrics.averageCharWidth();
    const double height = TextLines * metrics.lineSpacing() + 2 * Padding;
    return QSize(static_cast<int>(2 * widest / BoxShare), static_cast<int>(Rows * height / 0.8));
}

QSize NetworkDiagram::sizeHint() const { return minimumSizeHint(); }

void NetworkDiagram::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    PaintNetwork(painter, QRectF(rect()).adjusted(4, 4, -4, -4), exact_, run_ ? &*run_ : nullptr, note_);
}

}  // namespace kestal
