// Long work on the worker thread, with the application's input dropped while it runs.
#include "widgets/BackgroundWork.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>
#include <QWindow>

namespace kestal {

namespace {

bool IsUserInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::ContextMenu:
    case QEvent::Enter:
    case QEvent::Leave:
    case QEvent::HoverEnter:
    case QEvent::HoverLeave:
    case QEvent::HoverMove:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
    case QEvent::TabletMove:
    case QEvent::TouchCancel:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::DragLeave:
    case QEvent::Drop:
    case QEvent::InputMethod:  // text an input method or compose commits, like a key
    case QEvent::Gesture:
    case QEvent::NativeGesture:
        return true;
    default:
        return false;
    }
}

// A dialog opened while the work runs (the question on closing) takes its input as usual.
bool InActiveModal(const QWidget* widget)
{
    const QWidget* modal = QApplication::activeModalWidget();
    return modal && (widget == modal || modal->isAncestorOf(widget));
}

// The widget of `window` under a pointer event that the window system delivers to the window;
// null when it is no widget's window.
QWidget* WidgetUnder(const QWindow* window, const QEvent* event)
{
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (top->windowHandle() != window) continue;
        const auto* pointer = static_cast<const QPointerEvent*>(event);
        if (pointer->pointCount() == 0) return top;
        QWidget* child = top->childAt(pointer->points().front().position().toPoint());
        return child ? child : top;
    }
    return nullptr;
}

}  // namespace

BackgroundWork::BackgroundWork(QWidget* stopButton, Progress progress)
    : stopButton_(stopButton), worker_(std::move(progress))
{}

BackgroundWork::~BackgroundWork()
{
    // The worker's own end stops the work and waits for it; the input filter goes with it.
    if (Busy()) qApp->removeEventFilter(this);
}

void BackgroundWork::Start(std::function<void(const WorkControl&)> work, Finished finished)
{
    if (Busy()) return;
    qApp->installEventFilter(this);
    worker_.Start(std::move(work), [this, finished = std::move(finished)](Outcome outcome, const QString& error) {
        qApp->removeEventFilter(this);
        finished(outcome, error);
    });
}

void BackgroundWork::WaitForEnd() { worker_.WaitForEnd(); }

bool BackgroundWork::eventFilter(QObject* watched, QEvent* event)
{
    if (!IsUserInput(event->type())) return false;
    if (!watched->isWidgetType()) {
        // Shortcuts go to actions.
        if (event->type() == QEvent::Shortcut) return !QApplication::activeModalWidget();
        // A press or the wheel on a window would give a widget the focus before the widget's own
        // events are judged: such events are judged here, by the widget under the pointer. Keys,
        // moves and releases (which go to the widget that took the press) are judged at the widgets.
        const auto* window = qobject_cast<QWindow*>(watched);
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::TouchBegin:
        case QEvent::TabletPress:
            break;
        default:
            return false;
        }
        if (!window) return false;
        const QWidget* target = WidgetUnder(window, event);
        return !target || !(target == stopButton_ || InActiveModal(target));
    }
    if (InActiveModal(static_cast<QWidget*>(watched))) return false;
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        RequestStop();
        return true;
    }
    return watched != stopButton_;
}

}  // namespace kestal
