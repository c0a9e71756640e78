// Table files read back: three separators in both encodings, and XLSX books made by libxlsxwriter.
#include <gtest/gtest.h>
#include <iconv.h>
#include <zip.h>

#include <cstdio>
#include <fstream>

#include "common/KestalError.h"
#include "sheets/TableFile.h"

using namespace kestal;

namespace {

const std::string Path = "table_file_test.tmp";

void WriteBytes(const std::string& bytes) { std::ofstream(Path, std::ios::binary) << bytes; }

std::string ToWindows1251(const std::string& utf8)
{
    iconv_t convert = iconv_open("WINDOWS-1251", "UTF-8");
    std::string in = utf8, out(utf8.size(), '\0');
    char *from = in.data(), *to = out.data();
    std::size_t left = in.size(), room = out.size();
    EXPECT_NE(iconv(convert, &from, &left, &to, &room), static_cast<std::size_t>(-1));
    iconv_close(convert);
    out.resize(out.size() - room);
    return out;
}

const TableCells Expected = {{"Рабочее место", "H01", "T06"}, {"Цех №1; «Литейный»", "3", ""}, {"Склад", "", "11"}};

TEST(TableFile, ThreeSeparatorsInBothEncodings)
{
    for (const char separator : {';', ',', '\t'}) {
        std::string text;
        for (const auto& row : Expected) {
            for (std::size_t c = 0; c < row.size(); ++c)
                text += (c ? std::string(1, separator) : "") +
                        (row[c].find_first_of(";,") != std::string::npos ? "\"" + row[c] + "\"" : row[c]);
            text += "\r\n";
        }
        for (const std::string& bytes : {text, "\xEF\xBB\xBF" + text, ToWindows1251(text)}) {
            SCOPED_TRACE(std::string(1, separator) + " " + std::to_string(bytes.size()));
            WriteBytes(bytes);
            EXPECT_EQ(ReadTableFile(Path), Expected);
        }
    }
    std::remove(Path.c_str());
}

TEST(TableFile, XlsxWrittenByTheLibraryReadsBack)
{
    const std::vector<std::vector<SheetCell>> rows = {
        {std::string("name"), std::string("H01"), std::string("M03")},
        {std::string("Цех 1"), 3.0, 0.25},
        {std::string(""), std::string("x"), 11.0},
        {},
        {std::string("Склад «Б»"), 123456789.5, -2.0},
    };
    const TableCells expected = {
        {"name", "H01", "M03"}, {"Цех 1", "3", "0.25"}, {"", "x", "11"}, {}, {"Склад «Б»", "123456789.5", "-2"}};
    for (const bool inlineStrings : {false, true}) {
        SCOPED_TRACE(inlineStrings ? "inline strings" : "shared strings");
        WriteXlsxFile(Path, "Лист1", rows, inlineStrings);
        EXPECT_EQ(ReadTableFile(Path), expected);
    }
    std::remove(Path.c_str());
}

TEST(TableFile, UnreadableFilesAreRefusedNamingTheFile)
{
    const struct {
        std::string bytes;  // empty: no file at all
        std::string problem;
    } cases[] = {
        {"", "файл не открывается"},
        {std::string("PK\x03\x04", 4) + "not a zip at all", "файл не является книгой XLSX (архив не открывается)"},
        {"a;\"b\n", "строка 1, столбец 2: "},
    };
    for (const auto& c : cases) {
        std::remove(Path.c_str());
        if (!c.bytes.empty()) WriteBytes(c.bytes);
        try {
            ReadTableFile(Path);
            ADD_FAILURE() << c.problem;
        } catch (const KestalError& error) {
            EXPECT_EQ(std::string(error.what()).rfind("Файл «" + Path + "» не прочитан: " + c.problem, 0), 0u)
                << error.what();
        }
    }
    std::remove(Path.c_str());
}

}  // namespace

namespace {

// The example book with one part replaced (or removed, for an empty replacement).
std::string BookWith(const char* part, const std::string& bytes)
{
    const std::string path = "table_file_broken.xlsx";
    std::ifstream in(KESTAL_SOURCE_DIR "/examples/enterprise.xlsx", std::ios::binary);
    std::ofstream(path, std::ios::binary) << in.rdbuf();
    zip_t* zip = zip_open(path.c_str(), 0, nullptr);
    EXPECT_NE(zip, nullptr);
    const zip_int64_t index = zip_name_locate(zip, part, 0);
    EXPECT_GE(index, 0) << part;
    if (bytes.empty()) {
        zip_delete(zip, static_cast<zip_uint64_t>(index));
    } else {
        zip_source_t* source = zip_source_buffer(zip, bytes.data(), bytes.size(), 0);
        zip_file_replace(zip, static_cast<zip_uint64_t>(index), source, 0);
    }
    EXPECT_EQ(zip_close(zip), 0);
    return path;
}

TEST(TableFile, BrokenBooksAreRefusedWithTheirProblem)
{
    const std::string sheet = "<worksheet><sheetData>";
    const struct {
        const char* part;
        std::string bytes;
        std::string problem;
    } cases[] = {
        {"xl/workbook.xml", "", "в архиве нет части xl/workbook.xml"},
        {"xl/workbook.xml", "<workbook><sheets/></workbook>", "в книге нет ни одного листа"},
        {"xl/worksheets/sheet1.xml", "", "в архиве нет части xl/worksheets/sheet1.xml"},
        {"xl/worksheets/sheet1.xml", sheet + "<row r=\"1\"><c r=\"A1\"><v>1</v></c>",
         "часть xl/worksheets/sheet1.xml, строка 1: Premature end of document."},
        {"xl/worksheets/sheet1.xml", sheet + "<row r=\"2\"><c r=\"A0\"/></row></sheetData></worksheet>",
         "лист, строка XML 1: неверная ссылка на ячейку «A0»"},
        {"xl/worksheets/sheet1.xml", sheet + "<row r=\"2\"><c r=\"XFE2\"/></row></sheetData></worksheet>",
         "лист, строка XML 1: неверная ссылка на ячейку «XFE2»"},
        {"xl/worksheets/sheet1.xml", sheet + "<row r=\"2\"/><row r=\"2\"/></sheetData></worksheet>",
         "лист, строка XML 1: неверный номер строки «2»"},
        {"xl/worksheets/sheet1.xml",
         sheet + "<row r=\"1\"><c r=\"B1\" t=\"s\"><v>999</v></c></row></sheetData></worksheet>",
         "лист: ячейка B1 ссылается на несуществующую общую строку «999»"},
    };
    for (const auto& c : cases) {
        const std::string path = BookWith(c.part, c.bytes);
        try {
            ReadTableFile(path);
            ADD_FAILURE() << c.problem;
        } catch (const KestalError& error) {
            EXPECT_EQ(error.what(), "Файл «" + path + "» не прочитан: " + c.problem);
        }
        std::remove(path.c_str());
    }
    // A cell far out is read into its place.
    const std::string path = BookWith("xl/worksheets/sheet1.xml",
                                      sheet +
                                          "<row r=\"3\"><c r=\"D3\" t=\"inlineStr\"><is><r><t>а</t></r><r><t>б</t></r>"
                                          "<rPh><t>x</t></rPh></is></c></row></sheetData></worksheet>");
    EXPECT_EQ(ReadTableFile(path), (TableCells{{}, {}, {"", "", "", "аб"}}));
    std::remove(path.c_str());
}

}  // namespace
