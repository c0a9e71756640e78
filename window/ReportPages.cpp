// The report laid out on A4 pages, printed or written as a PDF, ODT or HTML file. Its pages are laid
// out once, the same for the PDF and the printer.
#include "window/ReportPages.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentWriter>
#include <QTextFrame>
#include <QTextLayout>
#include <QTextTable>

#include <algorithm>
#include <cmath>
#include <limits>

#include "widgets/UiText.h"
#include "common/KestalError.h"

namespace kestal {

QPageLayout ReportPageLayout()
{
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(15, 15, 15, 15),
                       QPageLayout::Millimeter);
}

namespace {

// The pages are laid out in pixels of 1/96 inch, whatever device prints them.
constexpr double LayoutDpi = 96;
constexpr double FooterHeight = 26;
constexpr double RuleWidth = 1;
constexpr double SideRoom = 24;

QByteArray Png(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
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
                cursor.setPosition(fragment.fragment().position() + fragment.fragment().length(),
                                   QTextCursor::KeepAnchor);
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
        throw KestalError(Utf8(QStringLiteral("Отчёт не записан в файл %1: %2")
                                   .arg(path, writer.device() ? writer.device()->errorString() : QString())));
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

}  // namespace

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

void PrintReportPages(const ReportParts& parts, QPagedPaintDevice& device) { ReportDocument(parts).Print(device); }

}  // namespace kestal
