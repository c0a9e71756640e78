// The worker thread: the work run and its outcome kept, progress read ten times a second, the finish
// handed back to the interface thread.
#include "widgets/WorkerThread.h"

#include <QElapsedTimer>

#include <exception>
#include <utility>

namespace kestal {

namespace {

constexpr int ReportMilliseconds = 100;

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

WorkerThread::WorkerThread(Progress progress) : progress_(std::move(progress))
{
    timer_.setInterval(ReportMilliseconds);
    connect(&timer_, &QTimer::timeout, this, [this] {
        const int64_t done = done_;
        const int64_t total = total_;
        const double elapsed = MonotonicSeconds() - started_;
        const double left = done > 0 ? elapsed * static_cast<double>(total - done) / static_cast<double>(done) : -1.0;
        if (progress_) progress_(done, total, left);
    });
}

WorkerThread::~WorkerThread()
{
    if (!Busy()) return;
    RequestStop();
    thread_.join();
    // The finish queued by the work goes with this object, unrun.
}

void WorkerThread::Start(std::function<void(const WorkControl&)> work, Finished finished)
{
    if (Busy()) return;
    finished_ = std::move(finished);
    stop_ = false;
    done_ = 0;
    total_ = 0;
    started_ = MonotonicSeconds();
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
        } catch (...) {
            outcome_ = Outcome::Failed;
            error_ = QStringLiteral("Внутренняя ошибка");
        }
        QMetaObject::invokeMethod(
            this, [this] { Finish(); }, Qt::QueuedConnection);
    });
}

void WorkerThread::WaitForEnd() { Finish(); }

void WorkerThread::Finish()
{
    if (!Busy()) return;
    thread_.join();
    timer_.stop();
    // "Стоп" pressed while the window still showed the work running: what it found is dropped, even
    // where the work had ended before the press reached it.
    if (stop_ && outcome_ == Outcome::Completed) outcome_ = Outcome::Stopped;
    if (outcome_ == Outcome::Completed && progress_) progress_(total_, total_, 0.0);
    const Finished finished = std::move(finished_);
    finished_ = nullptr;
    const QString error = std::exchange(error_, QString());
    if (finished) finished(outcome_, error);
}

}  // namespace kestal
