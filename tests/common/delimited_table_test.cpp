// Reading delimited text tables: encodings, separators, quoting, line breaks and the refusals' places.
#include <gtest/gtest.h>

#include <string>
#include <variant>
#include <vector>

#include "common/DelimitedTable.h"

using namespace kestal;

namespace {

using Rows = std::vector<std::vector<std::string>>;

// "Эксперт" and "Фактор" in Windows-1251.
const std::string Expert1251 = "\xDD\xEA\xF1\xEF\xE5\xF0\xF2";
const std::string Factor1251 = "\xD4\xE0\xEA\xF2\xEE\xF0";

TEST(DelimitedTable, ReadsEncodingsSeparatorsQuotesAndLineBreaks)
{
    const struct {
        std::string bytes;
        TableEncoding encoding;
        char separator;
        Rows rows;
    } cases[] = {
        {"factor;Иванов\r\nH01;5\r\n", TableEncoding::Utf8, ';', {{"factor", "Иванов"}, {"H01", "5"}}},
        {"\xEF\xBB\xBF"
         "factor,Иванов\nH01,5",
         TableEncoding::Utf8WithBom,
         ',',
         {{"factor", "Иванов"}, {"H01", "5"}}},
        {Factor1251 + "\t" + Expert1251 + "\nH01\t\n",
         TableEncoding::Windows1251,
         '\t',
         {{"Фактор", "Эксперт"}, {"H01", ""}}},
        // The most frequent separator of the header wins; ties go to ";", then tab, then ",".
        {"a,b;c,d\n1,2;3,4\n", TableEncoding::Utf8, ',', {{"a", "b;c", "d"}, {"1", "2;3", "4"}}},
        {"a,b;c\n", TableEncoding::Utf8, ';', {{"a,b", "c"}}},
        {"a\tb,c\n", TableEncoding::Utf8, '\t', {{"a", "b,c"}}},
        {"\"a;b\",c\n", TableEncoding::Utf8, ',', {{"a;b", "c"}}},  // separators in quotes do not count
        {"single\n", TableEncoding::Utf8, ';', {{"single"}}},
        // Quotes: "" inside a quoted cell, line breaks inside it, an empty quoted cell, quotes kept
        // inside an unquoted cell, blanks kept.
        {"\"say \"\"hi\"\"\";\"two\r\nlines\";\"\";a\"b; x \n",
         TableEncoding::Utf8,
         ';',
         {{"say \"hi\"", "two\r\nlines", "", "a\"b", " x "}}},
        // Empty lines are rows with no cells; a lone CR ends a line; empty trailing cells count.
        {"h;e\n\n1;\r2;;\r\n", TableEncoding::Utf8, ';', {{"h", "e"}, {}, {"1", ""}, {"2", "", ""}}},
        {"h;e", TableEncoding::Utf8, ';', {{"h", "e"}}},
    };
    for (const auto& c : cases) {
        const auto read = ReadDelimitedTable(c.bytes);
        ASSERT_TRUE(std::holds_alternative<DelimitedTable>(read)) << c.bytes;
        const auto& table = std::get<DelimitedTable>(read);
        EXPECT_EQ(table.encoding, c.encoding) << c.bytes;
        EXPECT_EQ(table.separator, c.separator) << c.bytes;
        EXPECT_EQ(table.rows, c.rows) << c.bytes;
    }
}

// Any table written with every cell quoted, in either encoding, with any separator and line break,
// reads back as written.
TEST(DelimitedTable, ReadsBackWhatASpreadsheetWrites)
{
    const Rows utf8 = {{"factor", "Петров П.", "Smith; \"J\""}, {"H01", "5", ""}, {"T06", "", "11"}};
    const Rows cp1251 = {{Factor1251, Expert1251 + ",1", "x\ty"}, {"H01", "", "3"}};
    const Rows cp1251AsUtf8 = {{"Фактор", "Эксперт,1", "x\ty"}, {"H01", "", "3"}};
    for (const char separator : {';', ',', '\t'})
        for (const std::string lineEnd : {"\n", "\r\n"})
            for (const bool windows : {false, true}) {
                const Rows& written = windows ? cp1251 : utf8;
                std::string bytes;
                for (const auto& row : written) {
                    for (std::size_t k = 0; k < row.size(); ++k) {
                        std::string quoted = "\"";
                        for (const char ch : row[k]) quoted += ch == '"' ? std::string("\"\"") : std::string(1, ch);
                        bytes += (k ? std::string(1, separator) : "") + quoted + "\"";
                    }
                    bytes += lineEnd;
                }
                const auto read = ReadDelimitedTable(bytes);
                ASSERT_TRUE(std::holds_alternative<DelimitedTable>(read));
                const auto& table = std::get<DelimitedTable>(read);
                EXPECT_EQ(table.separator, separator);
                EXPECT_EQ(table.encoding, windows ? TableEncoding::Windows1251 : TableEncoding::Utf8);
                EXPECT_EQ(table.rows, windows ? cp1251AsUtf8 : utf8);
            }
}

TEST(DelimitedTable, RefusesNamingRowAndColumn)
{
    const struct {
        std::string bytes;
        TableRefusal::Kind kind;
        std::string line;
    } cases[] = {
        {"", TableRefusal::Kind::Empty, "таблица пуста"},
        {"\xEF\xBB\xBF", TableRefusal::Kind::Empty, "таблица пуста"},
        {"a;b\n1;\"open\n2;3\n", TableRefusal::Kind::UnclosedQuote, "строка 2, столбец 2: кавычка ячейки не закрыта"},
        {"a;b\n\n\"x\"y;1\n", TableRefusal::Kind::TextAfterQuote,
         "строка 3, столбец 1: после закрывающей кавычки ячейки стоит текст"},
        // A quoted cell spanning lines is one row: the next row is numbered after it.
        {"a;b\n\"1\n2\";3\n4;\x98\n", TableRefusal::Kind::NotWindows1251,
         "строка 3, столбец 2: ячейка — не текст ни в UTF-8, ни в Windows-1251"},
    };
    for (const auto& c : cases) {
        const auto read = ReadDelimitedTable(c.bytes);
        ASSERT_TRUE(std::holds_alternative<TableRefusal>(read)) << c.bytes;
        EXPECT_EQ(std::get<TableRefusal>(read).kind, c.kind) << c.bytes;
        EXPECT_EQ(RefusalLine(std::get<TableRefusal>(read)), c.line) << c.bytes;
    }
}

}  // namespace
