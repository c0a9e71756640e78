// Figures of the window with fifteen captured measures: how long the page "Лучший набор мер" takes
// until it is complete and painted, how long "Экспорт отчёта…" takes to write a PDF, and the longest
// time the interface thread did not answer meanwhile.
// kestal-window-bench [--shots FOLDER]: with a folder, also a picture of the screen with the page
// and the report as PDF there.
#include <QApplication>
#include <QChartView>
#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
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

constexpr int Measures = 15;
constexpr int Repetitions = 5;

// An assessment with fifteen measures, each moving one factor to the other end of its scale, and
// the budget given; written as a project file.
QString ProjectWithMeasures(const QDir& folder, const char* budget)
{
    const FixedClock clock(36'000'000);
    Session session(&clock, RussianNumberLocale(), RussianNumberLocale());
    session.SetBudgetText(budget);
    session.SetDamageText("250000");
    for (int m = 0; m < Measures; ++m) {
        const int factor = 2 * m;
        const int item = session.state().Row(factor).currentItem;
        session.SelectMeasureFactor(factor);
        session.EnterBar(factor);
        session.MoveBar(factor, item >= 5 ? 0 : 10);
        session.ExitBar(factor);
        session.SetMeasureName("Мера " + std::to_string(m + 1));
        session.SetCostText(std::to_string(100 + 37 * m));
        session.Capture();
    }
    const QString path = folder.filePath(QStringLiteral("fifteen-%1.kestal").arg(QLatin1String(budget)));
    SaveProjectFile(path.toStdString(), ProjectJson(session.state()));
    return path;
}

}  // namespace

int main(int argc, char* argv[])
{
    const auto application = StartWindowApplication(argc, argv);
    const QString shots =
        argc == 3 && QLatin1String(argv[1]) == QLatin1String("--shots") ? QString::fromLocal8Bit(argv[2]) : QString();
    QTemporaryDir folder;
    const QString projects[2] = {ProjectWithMeasures(QDir(folder.path()), "1500"),
                                 ProjectWithMeasures(QDir(folder.path()), "1800")};
    const FixedClock clock(36'000'000);
    TFormKestal window(&clock);
    window.resize(1280, 900);
    window.show();
    QApplication::processEvents();
    auto* pages = window.findChild<QTabWidget*>(QStringLiteral("PageControl1"));
    auto* views = window.findChild<QTabWidget*>(QStringLiteral("pcAnalysis"));
    auto* line = window.findChild<QLabel*>(QStringLiteral("lbBestSet"));
    auto* chart = window.findChild<QChartView*>(QStringLiteral("chFrontier"));
    const QString judging = QString::fromUtf8("Подбирается лучший набор мер…");

    Stall stall;
    std::vector<double> wall, cpu, stalls;
    for (int r = 0; r < Repetitions; ++r) {
        pages->setCurrentIndex(0);
        window.OpenProjectAt(projects[r % 2]);
        QApplication::processEvents();
        stall.Start();
        QElapsedTimer elapsed;
        elapsed.start();
        const double cpuStart = ProcessCpuSeconds();
        pages->setCurrentIndex(3);
        views->setCurrentIndex(2);
        while (line->text() == judging || !chart->isVisible())
            QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        chart->grab();  // the chart laid out and painted once
        QApplication::processEvents();
        wall.push_back(elapsed.nsecsElapsed() / 1e9);
        cpu.push_back(ProcessCpuSeconds() - cpuStart);
        stalls.push_back(stall.Stop());
    }
    std::vector<double> optimizer;
    for (int r = 0; r < Repetitions; ++r) {
        const double cpuStart = ProcessCpuSeconds();
        window.session().assessment().PrepareBestMeasures().Execute();
        optimizer.push_back(ProcessCpuSeconds() - cpuStart);
    }
    std::printf("Optimizer alone: median of %d: %.3f s process CPU\n", Repetitions, Median(optimizer));
    std::printf(
        "Best-set page, %d measures (%d sets), until complete and painted: median of %d: %.3f s wall, "
        "%.3f s process CPU; longest interface-thread pause %.0f ms\n",
        Measures, 1 << Measures, Repetitions, Median(wall), Median(cpu), Median(stalls));

    if (!shots.isEmpty()) {
        QDir().mkpath(shots);
        QApplication::processEvents();
        window.screen()->grabWindow(0).save(QDir(shots).filePath(QStringLiteral("bestset-15.png")));
    }

    // "Экспорт отчёта…" as a person chooses it: the file dialog answered with the PDF's name.
    std::vector<double> total, pauses;
    const QString pdf = QDir(shots.isEmpty() ? folder.path() : shots).filePath(QStringLiteral("report-15.pdf"));
    QAction* exportReport = window.findChild<QAction*>(QStringLiteral("acExportReport"));
    for (int r = 0; r < Repetitions; ++r) {
        QFile::remove(pdf);
        QTimer answer;
        answer.setInterval(20);
        QObject::connect(&answer, &QTimer::timeout, [pdf] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialog) return;
            // The name typed into its field and Enter pressed, as a person does.
            auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            if (!name) return;
            name->setText(pdf);
            QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
            QApplication::sendEvent(name, &enter);
        });
        answer.start();
        QElapsedTimer elapsed;
        exportReport->trigger();  // returns once the dialog is answered and the work has started
        elapsed.start();
        stall.Start();
        while (window.Working()) QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        total.push_back(elapsed.nsecsElapsed() / 1e9);
        pauses.push_back(stall.Stop());
        if (!QFile::exists(pdf)) std::fprintf(stderr, "kestal-window-bench: the report was not written\n");
    }
    std::printf(
        "PDF report through \"Экспорт отчёта…\", %d measures: median of %d: %.3f s wall until written; "
        "longest interface-thread pause %.0f ms\n",
        Measures, Repetitions, Median(total), Median(pauses));
    if (!shots.isEmpty()) {
        // The importance view in the smallest window it is made for.
        window.showNormal();
        window.resize(1024, 768);
        views->setCurrentIndex(1);
        QElapsedTimer settle;
        settle.start();
        while (settle.elapsed() < 500) QApplication::processEvents(QEventLoop::AllEvents, 50);
        window.grab().save(QDir(shots).filePath(QStringLiteral("importance-1024x768.png")));
    }
    return 0;
}
