// The application's hint display: the long part of the hint under the pointer goes to a display
// function whenever it changes.
#include "widgets/HintDisplay.h"

#include <QApplication>
#include <QEvent>
#include <QMenu>
#include <QVariant>
#include <QWidget>

namespace kestal {

namespace {

constexpr const char* HintProperty = "hint";

QString HintOf(const QWidget* widget) { return widget->property(HintProperty).toString(); }

// The long part of a hint: after the first "|", or the whole text without one.
QString LongHint(const QString& hint)
{
    const qsizetype bar = hint.indexOf(QLatin1Char('|'));
    return bar < 0 ? hint : hint.mid(bar + 1);
}

}  // namespace

void SetHint(QWidget* control, const QString& hint, bool tooltip)
{
    control->setProperty(HintProperty, hint);
    const QString shortPart = hint.section(QLatin1Char('|'), 0, 0);
    if (tooltip && !shortPart.isEmpty()) control->setToolTip(shortPart);
}

HintDisplay::HintDisplay(QObject* owner, std::function<void(const QString&)> display)
    : QObject(owner), display_(std::move(display))
{
    qApp->installEventFilter(this);
}

bool HintDisplay::eventFilter(QObject* watched, QEvent* event)
{
    if (!watched->isWidgetType()) return false;
    const auto* widget = static_cast<const QWidget*>(watched);
    if (widget->windowType() == Qt::ToolTip) return false;
    if (event->type() == QEvent::Show && qobject_cast<const QMenu*>(widget)) {
        // An open menu shows no hint, wherever the pointer rests.
        PointerOver(nullptr);
    } else if (event->type() == QEvent::Enter) {
        PointerOver(widget);
    } else if (event->type() == QEvent::Leave) {
        // Leaving a control for its enclosing control brings no enter event to the latter; leaving a
        // window leaves the pointer over nothing of this application.
        PointerOver(widget->isWindow() ? nullptr : widget->parentWidget());
    }
    return false;
}

void HintDisplay::PointerOver(const QWidget* widget)
{
    QString hint;
    // Menus are windows of their own without hints: the hint is empty over them.
    for (; widget; widget = widget->isWindow() ? nullptr : widget->parentWidget()) {
        const QString own = HintOf(widget);
        if (!own.isEmpty()) {
            hint = LongHint(own);
            break;
        }
    }
    if (hint == current_) return;
    current_ = hint;
    display_(hint);
}

}  // namespace kestal
