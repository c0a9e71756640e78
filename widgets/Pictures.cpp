// The small pictures of the window, drawn in code.
#include "widgets/Pictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace kestal {

namespace {

enum class Shape { Disc, Square, Diamond, Triangle, Page, Coin, Folder, Bars };

const QColor GroupColours[] = {QColor(200, 60, 50), QColor(50, 90, 190), QColor(40, 150, 70), QColor(200, 140, 20)};

QIcon Draw(Shape shape, const QColor& colour)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(colour.darker(160), 1));
    painter.setBrush(colour);
    switch (shape) {
    case Shape::Disc:
        painter.drawEllipse(QRectF(2.5, 2.5, 11, 11));
        break;
    case Shape::Square:
        painter.drawRect(QRectF(2.5, 2.5, 11, 11));
        break;
    case Shape::Diamond:
        painter.drawPolygon(QPolygonF({QPointF(8, 1.5), QPointF(14.5, 8), QPointF(8, 14.5), QPointF(1.5, 8)}));
        break;
    case Shape::Triangle:
        painter.drawPolygon(QPolygonF({QPointF(8, 2), QPointF(14.5, 14), QPointF(1.5, 14)}));
        break;
    case Shape::Page:
        painter.setBrush(Qt::white);
        painter.drawRect(QRectF(3.5, 1.5, 9, 13));
        painter.drawLine(QPointF(5.5, 5.5), QPointF(10.5, 5.5));
        painter.drawLine(QPointF(5.5, 8.5), QPointF(10.5, 8.5));
        painter.drawLine(QPointF(5.5, 11.5), QPointF(10.5, 11.5));
        break;
    case Shape::Coin:
        painter.drawEllipse(QRectF(2.5, 2.5, 11, 11));
        painter.setPen(QPen(colour.darker(200), 1.2));
        painter.drawLine(QPointF(8, 4.5), QPointF(8, 11.5));
        break;
    case Shape::Bars:
        painter.drawRect(QRectF(1.5, 8.5, 3.5, 6));
        painter.drawRect(QRectF(6.5, 4.5, 3.5, 10));
        painter.drawRect(QRectF(11.5, 1.5, 3.5, 13));
        break;
    case Shape::Folder: {
        QPainterPath path;
        path.moveTo(1.5, 4.5);
        path.lineTo(6, 4.5);
        path.lineTo(7.5, 6);
        path.lineTo(14.5, 6);
        path.lineTo(14.5, 13.5);
        path.lineTo(1.5, 13.5);
        path.closeSubpath();
        painter.drawPath(path);
        break;
    }
    }
    return QIcon(pixmap);
}

}  // namespace

QIcon GroupPicture(int group) { return Draw(Shape::Disc, GroupColours[group]); }

QIcon PagePicture(int page)
{
    static const Shape shapes[] = {Shape::Triangle, Shape::Folder, Shape::Page, Shape::Bars};
    static const QColor colours[] = {QColor(70, 130, 200), QColor(220, 180, 60), QColor(120, 120, 120),
                                     QColor(80, 160, 110)};
    return Draw(shapes[page], colours[page]);
}

QIcon IntroductionPicture() { return Draw(Shape::Page, QColor(60, 60, 140)); }

const std::array<QIcon, TreeImageCount>& TreeImages()
{
    static const std::array<QIcon, TreeImageCount> images = {
        Draw(Shape::Folder, QColor(220, 180, 60)),   Draw(Shape::Square, QColor(70, 130, 200)),
        Draw(Shape::Triangle, QColor(120, 160, 60)), Draw(Shape::Coin, QColor(230, 190, 40)),
        Draw(Shape::Diamond, GroupColours[0]),       Draw(Shape::Diamond, GroupColours[1]),
        Draw(Shape::Diamond, GroupColours[2]),       Draw(Shape::Diamond, GroupColours[3]),
    };
    return images;
}

}  // namespace kestal
