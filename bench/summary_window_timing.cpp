// How the summary window takes 100 000 workplaces: the time the interface thread spends in each
// step (building the window, showing and painting it, sorting by the accident probability, going to
// the last row and painting it), each one pause of the interface thread, and the memory the window
// adds to the process (resident set after showing it less before building it; the assessed
// workplaces are in memory before and are moved into the window).
// kestal-summary-window-bench [WORKPLACES [REPETITIONS]]
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTableView>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include "WindowBench.h"
#include "analysispage/SummaryView.h"
#include "network/RandomSource.h"
#include "factors/Catalogue.h"

using namespace kestal;

namespace {

// The resident set of the process, in MB, as the kernel counts it.
double ResidentMegabytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').front().toDouble() / 1024;
    return 0;
}

// Milliseconds of wall time that `step` keeps the interface thread.
double Pause(const std::function<void()>& step)
{
    QElapsedTimer elapsed;
    elapsed.start();
    step();
    return elapsed.nsecsElapsed() / 1e6;
}

}  // namespace

int main(int argc, char* argv[])
{
    const auto application = StartWindowApplication(argc, argv);
    const int count = argc > 1 ? std::atoi(argv[1]) : 100'000;
    const int repetitions = argc > 2 ? std::atoi(argv[2]) : 3;
    if (count < 1 || repetitions < 1) {
        std::fprintf(stderr, "kestal-summary-window-bench [WORKPLACES [REPETITIONS]]\n");
        return 2;
    }

    WorkplaceList list;
    RandomSource random;
    random.RandomSeed = 100'000;
    for (int w = 0; w < count; ++w) {
        NetworkInputs inputs;
        for (float& value : inputs.slot) value = LevelTable[static_cast<int>(random.NextUniform() * LevelCount)].value;
        list.workplaces.push_back({static_cast<std::size_t>(w) + 2, "Рабочее место " + std::to_string(w + 1), inputs});
    }
    const double assessStart = ProcessCpuSeconds();
    const std::vector<WorkplaceAssessment> assessed = *AssessWorkplaces(list.workplaces, true);
    std::printf("%d workplaces assessed with their top factors: %.1f s of CPU time\n", count,
                ProcessCpuSeconds() - assessStart);

    std::vector<double> build, show, sort, end, memory;
    for (int r = 0; r < repetitions; ++r) {
        WorkplaceList rows = list;
        std::vector<WorkplaceAssessment> figures = assessed;
        QApplication::processEvents();
        const double before = ResidentMegabytes();
        SummaryView* view = nullptr;
        build.push_back(Pause([&] {
            view = new SummaryView(nullptr, QStringLiteral("bench.csv"), std::move(rows), std::move(figures), {});
        }));
        show.push_back(Pause([&] {
            view->show();
            QApplication::processEvents();
            view->repaint();
        }));
        memory.push_back(ResidentMegabytes() - before);
        auto* table = view->findChild<QTableView*>(QStringLiteral("sgSummary"));
        sort.push_back(Pause([&] {
            table->sortByColumn(AccidentColumn, Qt::DescendingOrder);
            table->viewport()->repaint();
        }));
        end.push_back(Pause([&] {
            table->scrollToBottom();
            table->viewport()->repaint();
        }));
        view->close();
        delete view;
        QApplication::processEvents();
    }
    std::printf(
        "medians of %d, ms of the interface thread: build %.1f, show and paint %.1f, sort by the accident "
        "probability %.1f, last row painted %.1f; the window adds %.1f MB\n",
        repetitions, Median(build), Median(show), Median(sort), Median(end), Median(memory));
    std::printf("longest of all: build %.1f, show %.1f, sort %.1f, end %.1f ms; most memory %.1f MB\n",
                *std::max_element(build.begin(), build.end()), *std::max_element(show.begin(), show.end()),
                *std::max_element(sort.begin(), sort.end()), *std::max_element(end.begin(), end.end()),
                *std::max_element(memory.begin(), memory.end()));
    return 0;
}
