// The report of an assessment: "Экспорт отчёта…" writes it as PDF or HTML by the chosen extension,
// "Печать…" sends it to a printer through the system's print dialog; its charts drawn offscreen.
#include "Main_U/TFormKestal.h"

#include <QBuffer>
#include <QChart>
#include <QGraphicsScene>
#include <QPainter>
#include <QDateTime>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QImage>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QTextDocument>

#include "Session/Report.h"
#include "Widgets/FrontierChart.h"
#include "Widgets/Guard.h"
#include "Widgets/TornadoChart.h"
#include "Widgets/UiText.h"
#include "common/KestalError.h"

namespace {

const QSize ChartSize{900, 560};
constexpr int ReportResolution = 96;
const QString ImportanceName = QStringLiteral("importance.png");
const QString BestSetName = QStringLiteral("bestset.png");

// A chart laid out at the report's size and drawn into a picture, without a window.
QImage ChartImage(QChart* chart)
{
    QGraphicsScene scene;  // owns the chart
    scene.addItem(chart);
    chart->resize(ChartSize);
    QImage image(ChartSize, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    scene.render(&painter, QRectF(QPointF(0, 0), ChartSize), QRectF(QPointF(0, 0), ChartSize));
    return image;
}

// Where the report comes from: now, and the project file; no pictures yet.
ReportSource SourceNow(const QString& projectPath)
{
    return {S(QDateTime::currentDateTime().toString(QStringLiteral("dd.MM.yyyy HH:mm"))), S(projectPath), "", ""};
}

QByteArray Png(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

}  // namespace

// The report's pictures by name: the importance chart, and the best set's where there is one.
std::vector<std::pair<QString, QImage>> TFormKestal::ReportPictures() const
{
    std::vector<std::pair<QString, QImage>> pictures{{ImportanceName, ChartImage(TornadoChart(session_.Importance()))}};
    if (session_.BestMeasuresProblem().empty())
        pictures.emplace_back(BestSetName, ChartImage(FrontierChart(session_.BestMeasures())));
    return pictures;
}

// The report as a document whose pictures are resources of their names.
std::unique_ptr<QTextDocument> TFormKestal::ReportDocument() const
{
    auto document = std::make_unique<QTextDocument>();
    ReportSource source = SourceNow(projectPath_);
    source.importanceChart = S(ImportanceName);
    for (const auto& [name, image] : ReportPictures()) {
        document->addResource(QTextDocument::ImageResource, QUrl(name), image);
        if (name == BestSetName) source.bestSetChart = S(name);
    }
    document->setHtml(Q(ReportHtml(session_, source)));
    return document;
}

void TFormKestal::ExportReport()
{
    QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Экспорт отчёта"), QString(),
                                                QStringLiteral("Отчёт PDF (*.pdf);;Отчёт HTML (*.html *.htm)"));
    if (path.isEmpty()) return;
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix != QLatin1String("pdf") && suffix != QLatin1String("html") && suffix != QLatin1String("htm"))
        path += QStringLiteral(".pdf");
    Guarded(this, [&] { WriteReport(path); });
}

void TFormKestal::WriteReport(const QString& path)
{
    const bool pdf = QFileInfo(path).suffix().compare(QLatin1String("pdf"), Qt::CaseInsensitive) == 0;
    if (pdf) {
        QPdfWriter writer(path);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
        writer.setTitle(QStringLiteral("Kestal 2.0 — отчёт"));
        // Laid out on the page's width at the screen's resolution, so that the text has its size.
        writer.setResolution(ReportResolution);
        const std::unique_ptr<QTextDocument> document = ReportDocument();
        document->setPageSize(writer.pageLayout().paintRectPixels(writer.resolution()).size());
        document->print(&writer);
    } else {
        // One file: the pictures go inside it.
        ReportSource source = SourceNow(projectPath_);
        for (const auto& [name, image] : ReportPictures()) {
            const std::string data = "data:image/png;base64," + Png(image).toBase64().toStdString();
            (name == ImportanceName ? source.importanceChart : source.bestSetChart) = data;
        }
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(QByteArray::fromStdString(ReportHtml(session_, source))) < 0 || !file.flush())
            throw KestalError(S(QStringLiteral("Отчёт не записан в файл %1: %2").arg(path, file.errorString())));
    }
    if (!QFileInfo(path).exists() || QFileInfo(path).size() == 0)
        throw KestalError(S(QStringLiteral("Отчёт не записан в файл %1").arg(path)));
}

void TFormKestal::PrintReport()
{
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(QStringLiteral("Печать отчёта"));
    if (dialog.exec() != QDialog::Accepted) return;
    Guarded(this, [&] { ReportDocument()->print(&printer); });
}
