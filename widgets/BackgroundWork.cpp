// Long work on a worker thread, with dropped input, a stop request and progress reports.
#include "widgets/BackgroundWork.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QWidget>
#include <QWindow>

#include <exception>

namespace {

constexpr int ReportMilliseconds = 100;

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

double MonotonicSeconds()
{
    static QElapsedTimer clock = [] {
        QElapsedTimer timer;
        timer.start();
        return timer;
    }();
    return clock.nsecsElapsed() / 1e9;
}

}  // namespace

BackgroundWork::BackgroundWork(QWidget* stopButton, Progress progress)
    : stopButton_(stopButton), progress_(std::move(progress))
{
    timer_.setInterval(ReportMilliseconds);
    connect(&timer_, &QTimer::timeout, this, [this] {
        const int64_t done = done_;
        const int64_t total = total_;
        const double elapsed = MonotonicSeconds() - started_;
        const double left = done > 0 ? elapsed * static_cast<double>(total - done) / static_cast<double>(done) : -1.0;
        progress_(done, total, left);
    });
}

BackgroundWork::~BackgroundWork()
{
    if (!Busy()) return;
    RequestStop();
    thread_.join();
    qApp->removeEventFilter(this);
}

void BackgroundWork::Start(std::function<void(const WorkControl&)> work, Finished finished)
{
    finished_ = std::move(finished);
    stop_ = false;
    done_ = 0;
    total_ = 0;
    started_ = MonotonicSeconds();
    qApp->installEventFilter(this);
    timer_.start();
    thread_ = std::thread([this, work = std::move(work)] {
        WorkControl control;
        control.progress = [this](int64_t done, int64_t total) {
            done_ = done;
            total_ = total;
        };
        control.stopRequested = [this] { return stop_.load(); };
        try {
            work(control);
            outcome_ = Outcome::Completed;
        } catch (const WorkStopped&) {
            outcome_ = Outcome::Stopped;
        } catch (const std::exception& error) {
            outcome_ = Outcome::Failed;
            error_ = QString::fromUtf8(error.what());
        }
        QMetaObject::invokeMethod(this, [this] { Finish(); }, Qt::QueuedConnection);
    });
}

void BackgroundWork::WaitForEnd()
{
    Finish();
}

void BackgroundWork::Finish()
{
    if (!Busy()) return;
    thread_.join();
    timer_.stop();
    qApp->removeEventFilter(this);
    if (outcome_ == Outcome::Completed) progress_(total_, total_, 0.0);
    const Finished finished = std::move(finished_);
    const QString error = std::exchange(error_, QString());
    finished(outcome_, error);
}

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
