// A small delimited text table (CSV as spreadsheets write it) read from its bytes into UTF-8 cells.
#pragma once

#include <cstddef>
#include <string>
#include <variant>
#include <vector>

namespace kestal {

// How the bytes of a table were read.
enum class TableEncoding { Utf8, Utf8WithBom, Windows1251 };

// A table read whole. `rows[i]` is the row a spreadsheet numbers i + 1 (the header is row 1); an
// empty line is a row with no cells, so that numbering stays the spreadsheet's. A final line break
// does not start a row.
struct DelimitedTable {
    TableEncoding encoding = TableEncoding::Utf8;
    char separator = ';';
    std::vector<std::vector<std::string>> rows;
};

// Why a table was refused, and where: `row` as a spreadsheet numbers it (header = 1) and `column`
// 1-based, both 0 when the refusal names no place (an empty table).
struct TableRefusal {
    enum class Kind {
        Empty,           // no bytes, or only a byte-order mark
        UnclosedQuote,   // a quoted cell that runs to the end of the bytes
        TextAfterQuote,  // a quoted cell followed by something other than a separator or a line break
        NotWindows1251,  // a byte that is neither UTF-8 nor a Windows-1251 character
    };
    Kind kind = Kind::Empty;
    std::size_t row = 0;
    std::size_t column = 0;
    std::string message;  // one line, Russian: what is wrong, without the place
};

// Reads a table from its bytes.
//
// Encoding: a UTF-8 byte-order mark is dropped; bytes that are well-formed UTF-8 are read as UTF-8,
// any others as Windows-1251 (converted to UTF-8; its one unassigned byte, 0x98, is refused).
// Separator: the one of ";", tab and "," that occurs most often outside quotes in the first row;
// equal counts go to ";", then tab, then ","; a first row with none of them reads as ";".
// Cells: a cell that starts with a double quote runs to the next lone double quote, "" inside it
// standing for one quote; separators and line breaks inside it are its text. A quote inside an
// unquoted cell is kept as text. Lines end with LF, CR LF or a lone CR. Cells are kept as written,
// blanks included.
std::variant<DelimitedTable, TableRefusal> ReadDelimitedTable(const std::string& bytes);

// "строка R, столбец C: MESSAGE" (or the message alone when the refusal names no place).
std::string RefusalLine(const TableRefusal& refusal);

}  // namespace kestal
