// One piece of work at a time on a worker thread: progress reported to the interface thread, a stop
// request, the finish run on the interface thread, and a safe end when its owner goes first.
#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

#include <atomic>
#include <cstdint>
#include <functional>
#include <thread>

#include "assessment/Work.h"

namespace kestal {

class WorkerThread : public QObject {
public:
    enum class Outcome { Completed, Stopped, Failed };
    // On the interface thread, about ten times a second: the work's units done, their total, and the
    // seconds left (negative while unknown).
    using Progress = std::function<void(int64_t done, int64_t total, double secondsLeft)>;
    // On the interface thread once the work has ended; `error` is the message of a failure. A work
    // stopped by WorkStopped, or asked to stop before its finish runs, ends as Stopped; what it found
    // is then the caller's to drop.
    using Finished = std::function<void(Outcome outcome, const QString& error)>;

    explicit WorkerThread(Progress progress);
    // Asks running work to stop and waits for it; its finish is not run.
    ~WorkerThread() override;

    // Starts `work` on a worker thread (none may be running); it must touch nothing the interface
    // thread uses, but may report through its control and is stopped by WorkStopped.
    void Start(std::function<void(const WorkControl&)> work, Finished finished);
    bool Busy() const { return thread_.joinable(); }
    void RequestStop() { stop_ = true; }
    bool StopRequested() const { return stop_; }
    // Waits for the work to end and runs its finish at once.
    void WaitForEnd();

private:
    void Finish();

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

}  // namespace kestal
