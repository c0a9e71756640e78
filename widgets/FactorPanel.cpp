// A panel with a caption and a colour that reports clicks and double clicks.
#include "widgets/FactorPanel.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>

namespace kestal {

QColor LightColour() { return QApplication::palette().color(QPalette::Midlight); }

QColor HighlightColour() { return QColor(128, 128, 128); }

FactorPanel::FactorPanel(QWidget* parent, const QString& name, const QString& caption)
    : QFrame(parent), caption_(caption)
{
    setObjectName(name);
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(1);
    setAutoFillBackground(true);
    setColour(LightColour());
}

QColor FactorPanel::colour() const { return palette().color(QPalette::Window); }

void FactorPanel::setColour(const QColor& colour)
{
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, colour);
    setPalette(palette);
}

void FactorPanel::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    if (caption_.isEmpty()) return;
    QPainter painter(this);
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    const int margin = frameWidth() + 1;
    painter.drawText(rect().adjusted(margin, 0, -margin, 0), int(Qt::AlignLeft | Qt::AlignVCenter) | Qt::TextSingleLine,
                     caption_);
}

void FactorPanel::mousePressEvent(QMouseEvent* event)
{
    pressed_ = event->button() == Qt::LeftButton;
    QFrame::mousePressEvent(event);
}

void FactorPanel::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click = pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    pressed_ = false;
    if (click) emit clicked();
    QFrame::mouseReleaseEvent(event);
}

void FactorPanel::mouseDoubleClickEvent(QMouseEvent* event)
{
    // The second press of a double click is no click of its own.
    pressed_ = false;
    if (event->button() == Qt::LeftButton) emit doubleClicked();
    QFrame::mouseDoubleClickEvent(event);
}

}  // namespace kestal
