// The first worksheet of an XLSX file, read through libzip and QXmlStreamReader.
#include <QByteArray>
#include <QString>
#include <QXmlStreamReader>
#include <zip.h>

#include <charconv>
#include <cmath>
#include <memory>
#include <optional>

#include "common/KestalError.h"
#include "sheets/TableFile.h"

namespace kestal {

namespace {

// Excel's own bounds of a worksheet, and what a summary is read into memory for.
constexpr qint64 MaxRows = 1'048'576;
constexpr qint64 MaxColumns = 16'384;
constexpr qint64 MaxCells = 20'000'000;                      // the cells of all rows, up to each row's last
constexpr zip_uint64_t MaxPartBytes = 256ULL * 1024 * 1024;  // a part's size unpacked

[[noreturn]] void Refuse(const std::string& problem) { throw KestalError(problem); }

std::string Utf8(QStringView text) { return text.toString().toStdString(); }

using Archive = std::unique_ptr<zip_t, decltype(&zip_discard)>;

// One part of the archive, unpacked whole (a worksheet of ten thousand rows is a few megabytes).
QByteArray ReadPart(zip_t* zip, const QString& name)
{
    const std::string path = name.toStdString();
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat(zip, path.c_str(), 0, &stat) != 0) Refuse("в архиве нет части " + path);
    if (!(stat.valid & ZIP_STAT_SIZE) || stat.size > MaxPartBytes) Refuse("часть " + path + " больше 256 МБ");
    std::unique_ptr<zip_file_t, decltype(&zip_fclose)> file(zip_fopen(zip, path.c_str(), 0), &zip_fclose);
    if (!file) Refuse("часть " + path + " не распаковывается: " + zip_strerror(zip));
    QByteArray bytes(static_cast<qsizetype>(stat.size), Qt::Uninitialized);
    zip_int64_t done = 0;
    while (done < bytes.size()) {
        const zip_int64_t read =
            zip_fread(file.get(), bytes.data() + done, static_cast<zip_uint64_t>(bytes.size() - done));
        if (read < 0) Refuse("часть " + path + " не распаковывается: " + zip_file_strerror(file.get()));
        if (read == 0) break;
        done += read;
    }
    if (done != bytes.size()) Refuse("часть " + path + " короче, чем указано в архиве");
    return bytes;
}

void CheckXml(const QXmlStreamReader& xml, const QString& part)
{
    if (xml.hasError())
        Refuse("часть " + part.toStdString() + ", строка " + std::to_string(xml.lineNumber()) + ": " +
               xml.errorString().toStdString());
}

// The text of the element the reader stands at the start of: its <t> elements' texts joined, those
// of phonetic runs (<rPh>) left out; the reader ends at the element's end.
std::string TextOf(QXmlStreamReader& xml)
{
    std::string text;
    int phonetic = 0;
    for (int depth = 1; depth > 0 && !xml.atEnd();) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::StartElement) {
            ++depth;
            if (xml.name() == u"rPh")
                ++phonetic;
            else if (xml.name() == u"t" && phonetic == 0) {
                text += Utf8(xml.readElementText(QXmlStreamReader::IncludeChildElements));
                --depth;
            }
        } else if (token == QXmlStreamReader::EndElement) {
            --depth;
            if (xml.name() == u"rPh") --phonetic;
        }
    }
    return text;
}

QString AttributeByLocalName(const QXmlStreamReader& xml, QStringView local)
{
    for (const QXmlStreamAttribute& attribute : xml.attributes())
        if (attribute.name() == local) return attribute.value().toString();
    return {};
}

// The part a relationship's target names, relative to the folder "xl/" or from the archive's root.
QString PartName(const QString& target)
{
    if (target.startsWith(u'/')) return target.mid(1);
    QString name = "xl/" + target;
    while (name.contains("/../")) {
        const qsizetype up = name.indexOf("/../");
        const qsizetype parent = name.lastIndexOf(u'/', up - 1);
        name.remove(parent + 1, up + 4 - (parent + 1));
    }
    return name;
}

struct WorkbookParts {
    QString firstSheet;
    QString sharedStrings;
};

WorkbookParts FindParts(zip_t* zip)
{
    QString firstId;
    {
        QXmlStreamReader xml(ReadPart(zip, "xl/workbook.xml"));
        while (!xml.atEnd() && firstId.isEmpty())
            if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"sheet")
                firstId = AttributeByLocalName(xml, u"id");
        CheckXml(xml, "xl/workbook.xml");
    }
    if (firstId.isEmpty()) Refuse("в книге нет ни одного листа");
    WorkbookParts parts;
    QXmlStreamReader xml(ReadPart(zip, "xl/_rels/workbook.xml.rels"));
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() != u"Relationship") continue;
        const QString target = xml.attributes().value("Target").toString();
        if (xml.attributes().value("Id") == firstId) parts.firstSheet = PartName(target);
        if (xml.attributes().value("Type").endsWith(u"/sharedStrings")) parts.sharedStrings = PartName(target);
    }
    CheckXml(xml, "xl/_rels/workbook.xml.rels");
    if (parts.firstSheet.isEmpty()) Refuse("первый лист книги не найден");
    return parts;
}

std::vector<std::string> ReadSharedStrings(zip_t* zip, const QString& name)
{
    std::vector<std::string> strings;
    if (name.isEmpty()) return strings;
    QXmlStreamReader xml(ReadPart(zip, name));
    while (!xml.atEnd())
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"si") strings.push_back(TextOf(xml));
    CheckXml(xml, name);
    return strings;
}

// "B12" → column 1, row 12 (both from the reference); nothing when it is no cell reference.
std::optional<std::pair<qint64, qint64>> CellReference(const QString& reference)
{
    qint64 column = 0, row = 0;
    qsizetype at = 0;
    for (; at < reference.size() && reference[at].isUpper() && reference[at].unicode() < 128; ++at) {
        column = column * 26 + (reference[at].unicode() - 'A' + 1);
        if (column > MaxColumns) return std::nullopt;
    }
    if (at == 0 || at == reference.size()) return std::nullopt;
    for (; at < reference.size(); ++at) {
        if (!reference[at].isDigit() || reference[at].unicode() >= 128) return std::nullopt;
        row = row * 10 + (reference[at].unicode() - '0');
        if (row > MaxRows) return std::nullopt;
    }
    if (row == 0) return std::nullopt;
    return std::pair{column - 1, row};
}

// A number as written in the sheet: a whole number below 10^15 without fraction or exponent.
std::string NumberText(const std::string& written)
{
    double value = 0;
    const auto [end, error] = std::from_chars(written.data(), written.data() + written.size(), value);
    if (error != std::errc() || end != written.data() + written.size()) return written;
    if (std::isfinite(value) && std::fabs(value) < 1e15 && value == std::trunc(value))
        return std::to_string(static_cast<long long>(value));
    return written;
}

TableCells ReadSheet(zip_t* zip, const QString& name, const std::vector<std::string>& shared)
{
    TableCells rows;
    qint64 cells = 0;
    QXmlStreamReader xml(ReadPart(zip, name));
    qint64 row = 0, column = -1;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) continue;
        if (xml.name() == u"row") {
            const QString r = xml.attributes().value("r").toString();
            bool ok = true;
            const qint64 number = r.isEmpty() ? row + 1 : r.toLongLong(&ok);
            if (!ok || number <= row || number > MaxRows)
                Refuse("лист, строка XML " + std::to_string(xml.lineNumber()) + ": неверный номер строки «" +
                       r.toStdString() + "»");
            row = number;
            column = -1;
            continue;
        }
        if (xml.name() != u"c") continue;
        if (row == 0) Refuse("лист: ячейка вне строки");
        const QString reference = xml.attributes().value("r").toString();
        if (reference.isEmpty()) {
            ++column;
        } else {
            const auto place = CellReference(reference);
            if (!place || place->second != row || place->first <= column)
                Refuse("лист, строка XML " + std::to_string(xml.lineNumber()) + ": неверная ссылка на ячейку «" +
                       reference.toStdString() + "»");
            column = place->first;
        }
        if (column >= MaxColumns) Refuse("лист: больше 16 384 столбцов");
        const QString type = xml.attributes().value("t").toString();
        std::string value, inlineText;
        bool hasValue = false;
        for (int depth = 1; depth > 0 && !xml.atEnd();) {
            const QXmlStreamReader::TokenType token = xml.readNext();
            if (token == QXmlStreamReader::EndElement) {
                --depth;
            } else if (token == QXmlStreamReader::StartElement) {
                if (xml.name() == u"v") {
                    value = Utf8(xml.readElementText(QXmlStreamReader::IncludeChildElements));
                    hasValue = true;
                } else if (xml.name() == u"is") {
                    inlineText = TextOf(xml);
                } else {
                    xml.skipCurrentElement();
                }
            }
        }
        CheckXml(xml, name);
        std::string text;
        if (type == u"inlineStr") {
            text = inlineText;
        } else if (!hasValue) {
            continue;
        } else if (type == u"s") {
            std::size_t index = 0;
            const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), index);
            if (error != std::errc() || end != value.data() + value.size() || index >= shared.size())
                Refuse("лист: ячейка " + reference.toStdString() + " ссылается на несуществующую общую строку «" +
                       value + "»");
            text = shared[index];
        } else if (type == u"b") {
            text = value == "1" ? "TRUE" : "FALSE";
        } else if (type.isEmpty() || type == u"n") {
            text = NumberText(value);
        } else {
            text = value;  // "str", "e", "d": as written
        }
        if (text.empty()) continue;
        if (static_cast<qint64>(rows.size()) < row) rows.resize(static_cast<std::size_t>(row));
        std::vector<std::string>& cellsOfRow = rows[static_cast<std::size_t>(row - 1)];
        cells += column + 1 - static_cast<qint64>(cellsOfRow.size());
        if (cells > MaxCells) Refuse("лист больше 20 000 000 ячеек");
        cellsOfRow.resize(static_cast<std::size_t>(column + 1));
        cellsOfRow.back() = std::move(text);
    }
    CheckXml(xml, name);
    return rows;
}

}  // namespace

TableCells ReadXlsxCells(const std::string& path)
{
    int error = 0;
    const Archive zip(zip_open(path.c_str(), ZIP_RDONLY, &error), &zip_discard);
    if (!zip) Refuse("файл не является книгой XLSX (архив не открывается)");
    const WorkbookParts parts = FindParts(zip.get());
    const std::vector<std::string> shared = ReadSharedStrings(zip.get(), parts.sharedStrings);
    return ReadSheet(zip.get(), parts.firstSheet, shared);
}

}  // namespace kestal
