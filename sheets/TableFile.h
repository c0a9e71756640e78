// Table files a summary is read from: CSV and TSV through the delimited-table reader, XLSX (its
// first worksheet) through libzip and the toolkit's XML reader; and XLSX written.
#pragma once

#include <string>
#include <variant>
#include <vector>

namespace kestal {

// Rows of UTF-8 cells: rows[i] is the row a spreadsheet numbers i + 1, cells[j] its column j + 1.
using TableCells = std::vector<std::vector<std::string>>;

// The cells of the file at `path`: XLSX when its bytes begin as a zip archive does, otherwise a
// delimited text table. Raises KestalError "Файл «<path>» не прочитан: <problem>" when the file
// cannot be read, is not such a table or is over the size limit.
TableCells ReadTableFile(const std::string& path);

// The first worksheet of an XLSX file: shared strings, inline strings and formula strings as text,
// numbers as written ("7", "0.25"; a whole number below 10^15 without a fraction), booleans as
// "TRUE"/"FALSE", errors as written ("#N/A"). Raises KestalError with the problem (Russian, without
// the file's name); where the program was built without the toolkit, every XLSX file is refused so.
TableCells ReadXlsxCells(const std::string& path);

// A cell to write: a text or a number.
using SheetCell = std::variant<std::string, double>;

// Writes `rows` as the one worksheet `sheetName` of a new XLSX file at `path`. With `inlineStrings`
// the rows are streamed to the file as they come and texts are stored in their cells rather than
// in the shared-strings part. Raises KestalError "Файл «<path>» не сохранён: <reason>".
void WriteXlsxFile(const std::string& path, const std::string& sheetName,
                   const std::vector<std::vector<SheetCell>>& rows, bool inlineStrings = false);

}  // namespace kestal
