// Long work on a worker thread while the windows stay painted: user input to the application's
// windows is dropped (never queued), Esc and the stop button ask the work to stop, and the share
// done and the time left are reported.
#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

#include <atomic>
#include <cstdint>
#include <functional>
#include <thread>

#include "assessment/Work.h"

class QWidget;

class BackgroundWork : public QObject {
public:
    enum class Outcome { Completed, Stopped, Failed };
    // On the interface thread, about ten times a second: initiations done, their total, and the
    // seconds left (negative while unknown).
    using Progress = std::function<void(int64_t done, int64_t total, double secondsLeft)>;
    // On the interface thread once the work has ended; `error` is the message of a failure.
    using Finished = std::function<void(Outcome outcome, const QString& error)>;

    // `stopButton` takes clicks while work runs and asks it to stop.
    BackgroundWork(QWidget* stopButton, Progress progress);
    ~BackgroundWork() override;

    // Starts `work` on a worker thread; it must touch nothing the interface thread uses.
    void Start(std::function<void(const WorkControl&)> work, Finished finished);
    bool Busy() const { return thread_.joinable(); }
    void RequestStop() { stop_ = true; }
    // Waits for the work to end and runs its finish at once.
    void WaitForEnd();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Finish();

    QWidget* stopButton_;
    Progress progress_;
    Finished finished_;
    QTimer timer_;
    std::thread thread_;
    std::atomic<bool> stop_{false};
    std::atomic<int64_t> done_{0};
    std::atomic<int64_t> total_{0};
    double started_ = 0.0;
    Outcome outcome_ = Outcome::Completed;
    QString error_;
};
