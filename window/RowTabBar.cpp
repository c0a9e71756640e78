// Tabs of a page control laid out in rows and drawn with the style's own tab shapes.
#include "window/RowTabBar.h"

#include <QMouseEvent>
#include <QStyleOptionTab>
#include <QStylePainter>
#include <QTabBar>
#include <QTabWidget>

namespace kestal {

RowTabBar::RowTabBar(QTabWidget* pages, QWidget* parent) : QWidget(parent), pages(pages)
{
    pages->tabBar()->hide();
    setMouseTracking(true);
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
    connect(pages, &QTabWidget::currentChanged, this, qOverload<>(&QWidget::update));
}

QSize RowTabBar::tabSize(int index) const
{
    QStyleOptionTab option;
    option.initFrom(this);
    option.shape = QTabBar::RoundedNorth;
    option.text = pages->tabText(index);
    const QSize text = fontMetrics().size(Qt::TextShowMnemonic, option.text);
    const QSize contents(text.width() + style()->pixelMetric(QStyle::PM_TabBarTabHSpace, &option, this),
                         text.height() + style()->pixelMetric(QStyle::PM_TabBarTabVSpace, &option, this));
    return style()->sizeFromContents(QStyle::CT_TabBarTab, &option, contents, this);
}

QList<QRect> RowTabBar::tabRects(int width) const
{
    QList<QRect> rects;
    QList<int> rowStarts{0};
    int x = 0;
    for (int i = 0; i < pages->count(); ++i) {
        const QSize size = tabSize(i);
        if (x > 0 && x + size.width() > width) {
            x = 0;
            rowStarts.append(i);
        }
        rects.append(QRect(QPoint(x, 0), size));
        x += size.width();
    }
    const int rows = rowStarts.size();
    if (rows == 1) return rects;
    rowStarts.append(rects.size());
    // The rows turn round so that the current tab's row lies next to the page.
    const int current = pages->currentIndex();
    int currentRow = rows - 1;
    while (currentRow > 0 && current < rowStarts[currentRow]) --currentRow;
    for (int row = 0; row < rows; ++row) {
        const int first = rowStarts[row];
        const int count = rowStarts[row + 1] - first;
        const int y = (row - currentRow - 1 + rows) % rows * rects[first].height();
        const int spare = width - rects[first + count - 1].right() - 1;
        int shift = 0;
        for (int i = 0; i < count; ++i) {
            const int extra = spare * (i + 1) / count - spare * i / count;
            rects[first + i].translate(shift, y);
            rects[first + i].setWidth(rects[first + i].width() + extra);
            shift += extra;
        }
    }
    return rects;
}

int RowTabBar::heightForWidth(int width) const
{
    int height = 0;
    for (const QRect& rect : tabRects(width)) height = qMax(height, rect.bottom() + 1);
    return height;
}

QSize RowTabBar::sizeHint() const
{
    int width = 0;
    for (int i = 0; i < pages->count(); ++i) width += tabSize(i).width();
    return QSize(width, heightForWidth(width));
}

QSize RowTabBar::minimumSizeHint() const
{
    int width = 0;
    for (int i = 0; i < pages->count(); ++i) width = qMax(width, tabSize(i).width());
    return QSize(width, heightForWidth(width));
}

int RowTabBar::tabAt(QPoint pos) const
{
    const QList<QRect> rects = tabRects(width());
    for (int i = 0; i < rects.size(); ++i)
        if (rects[i].contains(pos)) return i;
    return -1;
}

void RowTabBar::setHovered(int index)
{
    if (index != hovered) {
        hovered = index;
        update();
    }
}

void RowTabBar::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    const QList<QRect> rects = tabRects(width());
    const int current = pages->currentIndex();
    for (int i = 0; i < rects.size(); ++i) {
        QStyleOptionTab option;
        option.initFrom(this);
        option.shape = QTabBar::RoundedNorth;
        option.rect = rects[i];
        option.text = pages->tabText(i);
        const bool first = i == 0 || rects[i - 1].top() != rects[i].top();
        const bool last = i + 1 == rects.size() || rects[i + 1].top() != rects[i].top();
        option.position = first && last ? QStyleOptionTab::OnlyOneTab
                          : first       ? QStyleOptionTab::Beginning
                          : last        ? QStyleOptionTab::End
                                        : QStyleOptionTab::Middle;
        option.state &= ~(QStyle::State_MouseOver | QStyle::State_HasFocus);
        if (i == current) option.state |= QStyle::State_Selected;
        if (i == hovered) option.state |= QStyle::State_MouseOver;
        painter.drawControl(QStyle::CE_TabBarTab, option);
    }
}

void RowTabBar::mousePressEvent(QMouseEvent* event)
{
    const int index = tabAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && index >= 0) pages->setCurrentIndex(index);
}

void RowTabBar::mouseMoveEvent(QMouseEvent* event) { setHovered(tabAt(event->position().toPoint())); }

void RowTabBar::leaveEvent(QEvent*) { setHovered(-1); }

}  // namespace kestal
