// Long work that changes what the windows show, on a worker thread while the windows stay painted:
// user input to the application's windows is dropped (never queued), Esc and the stop button ask
// the work to stop, and the share done and the time left are reported.
#pragma once

#include <QObject>
#include <QString>

#include <cstdint>
#include <functional>

#include "assessment/Work.h"
#include "widgets/WorkerThread.h"

class QWidget;

namespace kestal {

class BackgroundWork : public QObject {
public:
    using Outcome = WorkerThread::Outcome;
    // On the interface thread, about ten times a second: initiations done, their total, and the
    // seconds left (negative while unknown).
    using Progress = WorkerThread::Progress;
    // On the interface thread once the work has ended; `error` is the message of a failure.
    using Finished = WorkerThread::Finished;

    // `stopButton` takes clicks while work runs and asks it to stop.
    BackgroundWork(QWidget* stopButton, Progress progress);
    ~BackgroundWork() override;

    // Starts `work` on a worker thread; it must touch nothing the interface thread uses.
    void Start(std::function<void(const WorkControl&)> work, Finished finished);
    bool Busy() const { return worker_.Busy(); }
    void RequestStop() { worker_.RequestStop(); }
    // Waits for the work to end and runs its finish at once.
    void WaitForEnd();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* stopButton_;
    WorkerThread worker_;
};

}  // namespace kestal
