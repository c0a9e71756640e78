// The report of an assessment: "Экспорт отчёта…" writes it as PDF, ODT or HTML by the chosen
// extension, "Печать…" sends it to a printer through the system's print dialog. Its texts and
// figures are composed on a worker thread, its charts drawn offscreen here, its pages laid out on a
// worker again.
#include "window/TFormKestal.h"

#include <QChart>
#include <QDateTime>
#include <QFileDialog>
#include <QFileInfo>
#include <QGraphicsScene>
#include <QImage>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QThread>

#include <exception>
#include <memory>

#include "window/ReportPages.h"
#include "report/Report.h"
#include "widgets/BackgroundWork.h"
#include "widgets/FrontierChart.h"
#include "widgets/Guard.h"
#include "widgets/TornadoChart.h"
#include "widgets/UiText.h"

namespace kestal {

namespace {

const QString ImportanceName = QStringLiteral("importance.png");
const QString BestSetName = QStringLiteral("bestset.png");
// The charts at the size they take on the page (the report shows pictures 640 pixels wide), drawn
// at twice as many pixels so that print stays sharp. The tornado has room for its thirty ids.
const QSize TornadoSize{640, 900};
const QSize FrontierSize{640, 440};
constexpr int PictureScale = 2;

// A chart laid out at `size` and drawn into a picture, without a window.
QImage ChartImage(QChart* chart, QSize size)
{
    QGraphicsScene scene;  // owns the chart
    scene.addItem(chart);
    chart->resize(size);
    QImage image(size * PictureScale, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    scene.render(&painter, QRectF(image.rect()), QRectF(QPointF(0, 0), size));
    return image;
}

// Where the report comes from: now, and the project file; its pictures by name.
ReportSource SourceNow(const QString& projectPath)
{
    return {Utf8(QDateTime::currentDateTime().toString(QStringLiteral("dd.MM.yyyy HH:mm"))), Utf8(projectPath),
            Utf8(ImportanceName), Utf8(BestSetName)};
}

// Everything the report needs from the session; touches nothing of the interface.
ReportParts ComposeParts(const Session& session, ReportSource source, const WorkControl& control)
{
    constexpr int Steps = 3;
    ReportParts parts;
    control.Report(0, Steps);
    parts.importance = session.assessment().Importance();
    control.Report(1, Steps);
    if (session.assessment().BestMeasuresProblem().empty()) {
        // "Стоп" ends the judging of the sets too; its progress is counted in the report's steps.
        parts.optimum = session.assessment().PrepareBestMeasures().Execute(WorkControl{nullptr, control.stopRequested});
        parts.measures = session.assessment().CapturedCandidates();
    } else {
        source.bestSetChart.clear();
    }
    control.Report(2, Steps);
    parts.html = ReportHtml(session, source, WorkControl{nullptr, control.stopRequested});
    control.Report(Steps, Steps);
    return parts;
}

std::vector<std::pair<QString, QImage>> Pictures(const ReportParts& parts)
{
    std::vector<std::pair<QString, QImage>> pictures{
        {ImportanceName, ChartImage(TornadoChart(parts.importance), TornadoSize)}};
    if (parts.optimum)
        pictures.emplace_back(BestSetName, ChartImage(FrontierChart(*parts.optimum, parts.measures), FrontierSize));
    return pictures;
}

// The toolkit's text layout starts timers, which only threads the toolkit started may do: the
// report's pages are laid out and written in one, from the worker.
void InToolkitThread(const std::function<void()>& work)
{
    std::exception_ptr failure;
    const std::unique_ptr<QThread> thread(QThread::create([&] {
        try {
            work();
        } catch (...) {
            failure = std::current_exception();
        }
    }));
    thread->start();
    thread->wait();
    if (failure) std::rethrow_exception(failure);
}

}  // namespace

void TFormKestal::ComposeReport(std::function<void(const ReportParts&)> use)
{
    if (Working()) return;  // one piece of work at a time
    // The worker composes from a copy: the session stays the window's.
    auto session = std::make_shared<const Session>(session_);
    auto parts = std::make_shared<ReportParts>();
    const ReportSource source = SourceNow(projectPath_);
    const auto ended = [this](BackgroundWork::Outcome outcome, const QString& error) {
        EndWork();
        if (outcome == BackgroundWork::Outcome::Failed) ShowError(this, error);
    };
    StartWork();
    work_->Start(
        [session, parts, source](const WorkControl& control) { *parts = ComposeParts(*session, source, control); },
        [this, parts, use = std::move(use), ended](BackgroundWork::Outcome outcome, const QString& error) {
            // The charts are drawn here, where the toolkit's graphics live; the pages are laid out
            // and written on a worker again.
            if (outcome != BackgroundWork::Outcome::Completed ||
                !Guarded(this, [&] { parts->pictures = Pictures(*parts); }))
                return ended(outcome, error);
            work_->Start([parts, use](const WorkControl&) { InToolkitThread([&] { use(*parts); }); }, ended);
        });
}

void TFormKestal::ExportReport()
{
    QString path =
        QFileDialog::getSaveFileName(this, QStringLiteral("Экспорт отчёта"), QString(),
                                     QStringLiteral("Отчёт PDF (*.pdf);;Отчёт ODT (*.odt);;Отчёт HTML (*.html *.htm)"));
    if (path.isEmpty()) return;
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix != QLatin1String("pdf") && suffix != QLatin1String("odt") && suffix != QLatin1String("html") &&
        suffix != QLatin1String("htm"))
        path += QStringLiteral(".pdf");
    ComposeReport([path](const ReportParts& parts) { WriteReportFile(parts, path); });
}

void TFormKestal::WriteReport(const QString& path)
{
    ReportParts parts = ComposeParts(session_, SourceNow(projectPath_), {});
    parts.pictures = Pictures(parts);
    WriteReportFile(parts, path);
}

void TFormKestal::PrintReport()
{
    auto printer = std::make_shared<QPrinter>(QPrinter::HighResolution);
    printer->setPageLayout(ReportPageLayout());
    QPrintDialog dialog(printer.get(), this);
    dialog.setWindowTitle(QStringLiteral("Печать отчёта"));
    if (dialog.exec() != QDialog::Accepted) return;
    // Whatever the dialog chose, the report keeps the page it is laid out for.
    printer->setPageLayout(ReportPageLayout());
    ComposeReport([printer](const ReportParts& parts) { PrintReportPages(parts, *printer); });
}

}  // namespace kestal
