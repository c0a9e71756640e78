// A tab strip for a QTabWidget that wraps its tabs into as many rows as its width needs, with hot-tracking.
#pragma once

#include <QList>
#include <QRect>
#include <QWidget>

class QTabWidget;

namespace kestal {

class RowTabBar : public QWidget {
    Q_OBJECT
public:
    // Takes over the tab strip of `pages` (its own bar is hidden); place it directly above `pages`.
    explicit RowTabBar(QTabWidget* pages, QWidget* parent = nullptr);

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    QRect tabRect(int index) const { return tabRects(width()).value(index); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    QSize tabSize(int index) const;
    // One rectangle per tab: left to right, a new row where the next tab would not fit; with several rows every
    // row is stretched to the full width.
    QList<QRect> tabRects(int width) const;
    int tabAt(QPoint pos) const;
    void setHovered(int index);

    QTabWidget* pages;
    int hovered = -1;
};

}  // namespace kestal
