// Windows sized and placed on their screen's free area.
#include "widgets/WindowFit.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace kestal {

QRect FittedGeometry(QSize preferred, QSize minimum, const QRect& available)
{
    const QSize room = (available.size() - FrameRoom).expandedTo(QSize(1, 1));
    const QSize size = preferred.boundedTo(room).expandedTo(minimum);
    QRect geometry(QPoint(), size);
    geometry.moveCenter(available.center());
    return geometry;
}

void FitToScreen(QWidget* window, QSize preferred, const QWidget* over)
{
    if (!over) over = window->parentWidget();
    const QScreen* screen = over ? over->screen() : QGuiApplication::primaryScreen();
    if (!screen) {
        window->resize(preferred);
        return;
    }
    window->setGeometry(FittedGeometry(preferred, window->minimumSizeHint(), screen->availableGeometry()));
}

}  // namespace kestal
