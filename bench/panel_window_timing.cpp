// How the window answers input while the experts' band computes: a panel of 65 536 rating sets,
// "Рассчитать полосу" pressed, then a key posted to the target field every 20 ms until the band is
// shown; for each key the time from its posting to its arrival at the field, and the longest pause
// of the interface thread meanwhile.
// kestal-panel-window-bench [REPETITIONS]
#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

#include "WindowBench.h"
#include "window/TFormKestal.h"
#include "project/ProjectFile.h"
#include "widgets/UiLocale.h"
#include "factors/Catalogue.h"

using namespace kestal;

namespace {

constexpr int KeyMilliseconds = 20;

// Two experts who differ on sixteen factors (levels 3 and 8): 2^16 = 65 536 rating sets, the most
// that are enumerated.
QString ProjectWithPanel(const QDir& folder)
{
    const FixedClock clock(36'000'000);
    Session session(&clock, RussianNumberLocale(), RussianNumberLocale());
    ExpertPanel panel;
    panel.experts = {{"Эксперт 1", {}}, {"Эксперт 2", {}}};
    for (int f = 0; f < 16; ++f) {
        panel.experts[0].level[f] = 3;
        panel.experts[1].level[f] = 8;
    }
    session.assessment().SetPanel(panel);
    const QString path = folder.filePath(QStringLiteral("panel-65536.kestal"));
    SaveProjectFile(path.toStdString(), ProjectJson(session.state()));
    return path;
}

// The arrival of each posted key at the field, in milliseconds after its posting.
class Arrivals : public QObject {
public:
    explicit Arrivals(const QElapsedTimer& clock) : clock_(clock) {}
    std::vector<double> posted, latency;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress && latency.size() < posted.size())
            latency.push_back(clock_.nsecsElapsed() / 1e6 - posted[latency.size()]);
        return false;
    }

private:
    const QElapsedTimer& clock_;
};

}  // namespace

int main(int argc, char* argv[])
{
    const auto application = StartWindowApplication(argc, argv);
    const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    QTemporaryDir folder;
    const FixedClock clock(36'000'000);
    TFormKestal window(&clock);
    window.resize(1280, 900);
    window.show();
    window.OpenProjectAt(ProjectWithPanel(QDir(folder.path())));
    window.findChild<QTabWidget*>(QStringLiteral("PageControl1"))->setCurrentIndex(3);
    window.findChild<QTabWidget*>(QStringLiteral("pcAnalysis"))->setCurrentIndex(4);
    QApplication::processEvents();
    auto* compute = window.findChild<QPushButton*>(QStringLiteral("btPanelBand"));
    auto* stop = window.findChild<QPushButton*>(QStringLiteral("btPanelStop"));
    auto* target = window.findChild<QLineEdit*>(QStringLiteral("edPanelTarget"));

    for (int r = 0; r < repetitions; ++r) {
        target->clear();
        QApplication::processEvents();
        QElapsedTimer clock;
        clock.start();
        Arrivals arrivals(clock);
        target->installEventFilter(&arrivals);
        Stall stall;
        stall.Start();
        const double cpuStart = ProcessCpuSeconds();
        compute->click();
        QTimer keys;
        keys.setInterval(KeyMilliseconds);
        QObject::connect(&keys, &QTimer::timeout, [&] {
            arrivals.posted.push_back(clock.nsecsElapsed() / 1e6);
            QApplication::postEvent(target,
                                    new QKeyEvent(QEvent::KeyPress, Qt::Key_1, Qt::NoModifier, QStringLiteral("1")));
            QApplication::postEvent(target,
                                    new QKeyEvent(QEvent::KeyRelease, Qt::Key_1, Qt::NoModifier, QStringLiteral("1")));
        });
        keys.start();
        while (stop->isEnabled()) QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        keys.stop();
        const double pause = stall.Stop();
        const double wall = clock.nsecsElapsed() / 1e9;
        const double cpu = ProcessCpuSeconds() - cpuStart;
        QApplication::processEvents();
        target->removeEventFilter(&arrivals);
        // Every key the field took is in its text: input was answered, not dropped.
        std::printf(
            "Band of 65 536 sets in the window: %.2f s wall, %.2f s process CPU; %zu keys posted every %d ms, "
            "%zu arrived and %lld typed; key latency median %.1f ms, 99th percentile %.1f ms, most %.1f ms; "
            "longest interface-thread pause %.0f ms\n",
            wall, cpu, arrivals.posted.size(), KeyMilliseconds, arrivals.latency.size(),
            static_cast<long long>(target->text().size()), Quantile(arrivals.latency, 0.5),
            Quantile(arrivals.latency, 0.99), Quantile(arrivals.latency, 1.0), pause);
    }
    return 0;
}
