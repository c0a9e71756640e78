// The report of an assessment: "Экспорт отчёта…" writes it as PDF, ODT or HTML by the chosen
// extension, "Печать…" sends it to a printer through the system's print dialog. Its texts and
// figures are composed on a worker thread; its charts are drawn offscreen and its pages laid out
// once, the same for the PDF and the printer.
#include "window/TFormKestal.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QChart>
#include <QDateTime>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGraphicsScene>
#include <QImage>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QTextDocument>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocumentWriter>
#include <QTextLayout>
#include <QTextFrame>
#include <QTextTable>
#include <QThread>

#include <exception>

#include <algorithm>
#include <limits>
#include <optional>

#include "report/Report.h"
#include "widgets/BackgroundWork.h"
#include "widgets/FrontierChart.h"
#include "widgets/Guard.h"
#include "widgets/TornadoChart.h"
#include "widgets/UiText.h"
#include "common/KestalError.h"

// What a report is made of: its HTML, whose pictures are named ImportanceName and BestSetName, and
// the figures those pictures show, composed off the interface thread; the pictures, drawn on it.
struct ReportParts {
    std::string html;
    ImportanceTable importance{};
    std::optional<MeasureOptimum> optimum;
    std::vector<CandidateMeasure> measures;
    std::vector<std::pair<QString, QImage>> pictures;
};

namespace {

const QString ImportanceName = QStringLiteral("importance.png");
const QString BestSetName = QStringLiteral("bestset.png");
// The charts at the size they take on the page (the report shows pictures 640 pixels wide), drawn
// at twice as many pixels so that print stays sharp. The tornado has room for its thirty ids.
const QSize TornadoSize{640, 900};
const QSize FrontierSize{640, 440};
constexpr int PictureScale = 2;
// The pages are laid out in pixels of 1/96 inch, whatever device prints them.
constexpr double LayoutDpi = 96;
constexpr double FooterHeight = 26;
constexpr double RuleWidth = 1;
constexpr double SideRoom = 24;

QPageLayout ReportPageLayout()
{
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(15, 15, 15, 15),
                       QPageLayout::Millimeter);
}

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

QByteArray Png(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
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
    parts.importance = session.Importance();
    control.Report(1, Steps);
    if (session.BestMeasuresProblem().empty()) {
        // "Стоп" ends the judging of the sets too; its progress is counted in the report's steps.
        parts.optimum = session.BestMeasures(WorkControl{nullptr, control.stopRequested});
        parts.measures = session.CapturedCandidates();
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
    std::vector<std::pair<QString, QImage>> pictures{{ImportanceName, ChartImage(TornadoChart(parts.importance), TornadoSize)}};
    if (parts.optimum)
        pictures.emplace_back(BestSetName, ChartImage(FrontierChart(*parts.optimum, parts.measures), FrontierSize));
    return pictures;
}

// Where a page may end, in document coordinates: between lines and between table rows, never
// inside a row nor right after a heading. A page that starts inside a table below its first rows
// repeats the table's header row; `header` is that row's band, empty elsewhere.
struct PageCut {
    double y;
    double headerTop = 0;
    double headerBottom = 0;
};

// The report as a document laid out at 96 pixels per inch, whatever the screen, on one long page
// that Print cuts into A4 pages itself: its pictures are resources of their names, and words
// (numbers among them) break only where they may.
class ReportDocument : public QTextDocument {
public:
    explicit ReportDocument(const ReportParts& parts) : metrics_(1, 1, QImage::Format_RGB32)
    {
        constexpr double DotsPerMetre = LayoutDpi / 0.0254;
        metrics_.setDotsPerMeterX(static_cast<int>(std::lround(DotsPerMetre)));
        metrics_.setDotsPerMeterY(static_cast<int>(std::lround(DotsPerMetre)));
        documentLayout()->setPaintDevice(&metrics_);
        QTextOption option = defaultTextOption();
        option.setWrapMode(QTextOption::WordWrap);
        setDefaultTextOption(option);
        for (const auto& [name, image] : parts.pictures) addResource(QTextDocument::ImageResource, QUrl(name), image);
        setHtml(QText(parts.html));
        SizePictures(parts.pictures);
        const QRectF page = ReportPageLayout().paintRect(QPageLayout::Inch);
        body_ = QSizeF(page.width() * LayoutDpi, page.height() * LayoutDpi - FooterHeight);
        setTextWidth(body_.width());
        Paginate(Cuts());
        std::sort(rules_.begin(), rules_.end());
    }

    int Pages() const { return static_cast<int>(pages_.size()); }

    // Every page onto `device`, which has the report's page layout, each with its number below.
    void Print(QPagedPaintDevice& device)
    {
        QPainter painter;
        if (!painter.begin(&device)) throw KestalError("Не удалось начать печать отчёта");
        painter.scale(device.logicalDpiX() / LayoutDpi, device.logicalDpiY() / LayoutDpi);
        QFont small = defaultFont();
        small.setPixelSize(11);
        for (int page = 0; page < Pages(); ++page) {
            if (page > 0 && !device.newPage()) throw KestalError("Не удалось начать новую страницу отчёта");
            const Page& slice = pages_[page];
            double top = 0;
            if (slice.headerBottom > slice.headerTop) {
                Draw(painter, slice.headerTop, slice.headerBottom, 0);
                top = slice.headerBottom - slice.headerTop;
            }
            Draw(painter, slice.top, slice.bottom, top);
            painter.save();
            painter.setFont(small);
            painter.setPen(QColor(90, 90, 90));
            painter.drawText(QRectF(0, body_.height(), body_.width(), FooterHeight), Qt::AlignHCenter | Qt::AlignBottom,
                             QStringLiteral("Страница %1 из %2").arg(page + 1).arg(Pages()));
            painter.restore();
        }
        painter.end();
    }

private:
    struct Page {
        double top;
        double bottom;
        double headerTop;
        double headerBottom;
    };

    // The band from `from` to `to` of the long page drawn at height `at` of the page. A cut on a
    // table's rule shows the rule on both pages; a table's edge may reach into the side margins.
    void Draw(QPainter& painter, double from, double to, double at)
    {
        painter.save();
        painter.translate(0, at - from);
        const double top = IsRule(from) ? from - RuleWidth : from;
        const double bottom = IsRule(to) ? to + RuleWidth : to;
        drawContents(&painter, QRectF(-SideRoom, top, body_.width() + 2 * SideRoom, bottom - top));
        painter.restore();
    }

    bool IsRule(double y) const { return std::binary_search(rules_.begin(), rules_.end(), y); }

    // A picture given only its width takes the height that keeps its proportions, wherever the
    // document is laid out (off the interface thread the toolkit would keep the picture's own height).
    void SizePictures(const std::vector<std::pair<QString, QImage>>& pictures)
    {
        for (QTextBlock block = begin(); block.isValid(); block = block.next())
            for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
                const QTextCharFormat format = fragment.fragment().charFormat();
                if (!format.isImageFormat()) continue;
                QTextImageFormat image = format.toImageFormat();
                const auto picture = std::find_if(pictures.begin(), pictures.end(),
                                                  [&](const auto& named) { return named.first == image.name(); });
                if (picture == pictures.end() || !image.hasProperty(QTextFormat::ImageWidth) ||
                    image.hasProperty(QTextFormat::ImageHeight) || picture->second.width() == 0)
                    continue;
                image.setHeight(image.width() * picture->second.height() / picture->second.width());
                QTextCursor cursor(this);
                cursor.setPosition(fragment.fragment().position());
                cursor.setPosition(fragment.fragment().position() + fragment.fragment().length(), QTextCursor::KeepAnchor);
                cursor.setCharFormat(image);
            }
    }

    QRectF BlockRect(const QTextBlock& block) { return documentLayout()->blockBoundingRect(block); }

    std::vector<PageCut> Cuts()
    {
        std::vector<PageCut> cuts;
        bool afterHeading = false;
        double above = 0;  // the bottom of what came last: a table's frame starts below its rule
        for (auto it = rootFrame()->begin(); !it.atEnd(); ++it) {
            if (auto* table = qobject_cast<QTextTable*>(it.currentFrame())) {
                const QRectF frame = documentLayout()->frameBoundingRect(table);
                if (!afterHeading) cuts.push_back({std::min(frame.top(), above)});
                above = frame.bottom();
                TableCuts(*table, cuts);
                afterHeading = false;
                continue;
            }
            const QTextBlock block = it.currentBlock();
            if (!block.isValid()) continue;
            const QRectF rect = BlockRect(block);
            if (!afterHeading) cuts.push_back({rect.top()});
            above = rect.bottom();
            // A heading's lines stay with what follows it.
            const bool heading = block.blockFormat().headingLevel() > 0;
            if (!heading && block.layout())
                for (int line = 1; line < block.layout()->lineCount(); ++line)
                    cuts.push_back({rect.top() + block.layout()->lineAt(line).y()});
            afterHeading = heading;
        }
        cuts.push_back({documentLayout()->documentSize().height()});
        return cuts;
    }

    // Cuts between the rows of a table, on the rule between them; none between its header row and
    // its first row. Pages that begin at one of them repeat the header row.
    void TableCuts(QTextTable& table, std::vector<PageCut>& cuts)
    {
        std::vector<double> tops(table.rows(), std::numeric_limits<double>::max());
        std::vector<double> bottoms(table.rows(), std::numeric_limits<double>::lowest());
        for (int row = 0; row < table.rows(); ++row)
            for (int column = 0; column < table.columns(); ++column) {
                const QTextTableCell cell = table.cellAt(row, column);
                tops[row] = std::min(tops[row], BlockRect(cell.firstCursorPosition().block()).top());
                bottoms[row] = std::max(bottoms[row], BlockRect(cell.lastCursorPosition().block()).bottom());
            }
        const QRectF frame = documentLayout()->frameBoundingRect(&table);
        const auto rule = [&](int row) { return (bottoms[row - 1] + tops[row]) / 2; };
        if (table.rows() < 2) return;
        const double headerTop = frame.top() + table.format().topMargin();
        const double headerBottom = rule(1);
        for (int row = 2; row < table.rows(); ++row) cuts.push_back({rule(row), headerTop, headerBottom});
        for (int row = 1; row < table.rows(); ++row) rules_.push_back(rule(row));
    }

    // Pages as full as they can be: each ends at the last cut that leaves it no taller than the
    // body (less the header row it repeats); content taller than a page is cut where it must.
    void Paginate(const std::vector<PageCut>& cuts)
    {
        const double end = cuts.back().y;
        PageCut start{0};
        while (start.y < end - 0.5) {
            const double header = start.headerBottom - start.headerTop;
            const double room = body_.height() - header;
            const PageCut* last = nullptr;
            for (const PageCut& cut : cuts)
                if (cut.y > start.y + 0.5 && cut.y <= start.y + room) last = &cut;
            const PageCut next = last ? *last : PageCut{start.y + room};
            pages_.push_back({start.y, next.y, start.headerTop, start.headerBottom});
            start = next;
        }
        if (pages_.empty()) pages_.push_back({0, 0, 0, 0});
    }

    QImage metrics_;
    QSizeF body_;
    std::vector<Page> pages_;
    std::vector<double> rules_;  // where tables' rules between rows lie
};

void WritePdf(const ReportParts& parts, const QString& path)
{
    QPdfWriter writer(path);
    writer.setPageLayout(ReportPageLayout());
    writer.setResolution(1200);
    writer.setTitle(QStringLiteral("Kestal 2.0 — отчёт"));
    ReportDocument(parts).Print(writer);
}

void WriteOdt(const ReportParts& parts, const QString& path)
{
    QTextDocumentWriter writer(path, "odf");
    ReportDocument document(parts);
    if (!writer.write(&document))
        throw KestalError(Utf8(QStringLiteral("Отчёт не записан в файл %1: %2").arg(path, writer.device() ? writer.device()->errorString() : QString())));
}

void WriteHtml(const ReportParts& parts, const QString& path)
{
    // One file: the pictures go inside it.
    QByteArray html = QByteArray::fromStdString(parts.html);
    for (const auto& [name, image] : parts.pictures)
        html.replace("src=\"" + name.toUtf8() + "\"", "src=\"data:image/png;base64," + Png(image).toBase64() + "\"");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(html) < 0 || !file.flush())
        throw KestalError(Utf8(QStringLiteral("Отчёт не записан в файл %1: %2").arg(path, file.errorString())));
}

void WriteReportFile(const ReportParts& parts, const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("pdf"))
        WritePdf(parts, path);
    else if (suffix == QLatin1String("odt"))
        WriteOdt(parts, path);
    else
        WriteHtml(parts, path);
    if (!QFileInfo(path).exists() || QFileInfo(path).size() == 0)
        throw KestalError(Utf8(QStringLiteral("Отчёт не записан в файл %1").arg(path)));
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
    QString path = QFileDialog::getSaveFileName(
        this, QStringLiteral("Экспорт отчёта"), QString(),
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
    ComposeReport([printer](const ReportParts& parts) { ReportDocument(parts).Print(*printer); });
}
