// A small delimited text table (CSV as spreadsheets write it) read from its bytes into UTF-8 cells.
#include "common/DelimitedTable.h"

#include <iconv.h>

#include <array>
#include <cerrno>
#include <cstdio>

#include "common/Text.h"

namespace kestal {

namespace {

constexpr const char* Bom = "\xEF\xBB\xBF";

// The separator the first row uses (see ReadDelimitedTable).
char DetectSeparator(const std::string& text)
{
    constexpr std::array<char, 3> candidates = {';', '\t', ','};
    std::array<std::size_t, 3> counts{};
    bool quoted = false;
    for (std::size_t at = 0; at < text.size(); ++at) {
        const char c = text[at];
        if (c == '"') {
            quoted = !quoted;  // "" inside a quoted cell toggles twice: no effect
        } else if (!quoted && (c == '\n' || c == '\r')) {
            break;
        } else if (!quoted) {
            for (std::size_t k = 0; k < candidates.size(); ++k) counts[k] += c == candidates[k] ? 1 : 0;
        }
    }
    std::size_t best = 0;
    for (std::size_t k = 1; k < candidates.size(); ++k)
        if (counts[k] > counts[best]) best = k;
    return candidates[best];
}

// Windows-1251 bytes as UTF-8; false when a byte has no character there.
bool FromWindows1251(iconv_t converter, const std::string& cell, std::string& out)
{
    out.clear();
    if (cell.empty()) return true;
    std::string input = cell;
    std::string buffer(cell.size() * 3 + 4, '\0');  // no Windows-1251 character takes more than 3 bytes
    char* in = input.data();
    std::size_t inLeft = input.size();
    char* outAt = buffer.data();
    std::size_t outLeft = buffer.size();
    const std::size_t done = iconv(converter, &in, &inLeft, &outAt, &outLeft);
    if (done == static_cast<std::size_t>(-1) || inLeft != 0) return false;
    out.assign(buffer.data(), buffer.size() - outLeft);
    return true;
}

TableRefusal Refused(TableRefusal::Kind kind, std::size_t row, std::size_t column, std::string message)
{
    return TableRefusal{kind, row, column, std::move(message)};
}

}  // namespace

std::variant<DelimitedTable, TableRefusal> ReadDelimitedTable(const std::string& bytes)
{
    DelimitedTable table;
    std::string text = bytes;
    if (text.compare(0, 3, Bom) == 0) {
        text.erase(0, 3);
        table.encoding = TableEncoding::Utf8WithBom;
    } else {
        table.encoding =
            InvalidUtf8Offset(text) == std::string::npos ? TableEncoding::Utf8 : TableEncoding::Windows1251;
    }
    if (text.empty()) return Refused(TableRefusal::Kind::Empty, 0, 0, "таблица пуста");
    // A text after a byte-order mark must be UTF-8 throughout.
    if (table.encoding == TableEncoding::Utf8WithBom && InvalidUtf8Offset(text) != std::string::npos)
        table.encoding = TableEncoding::Windows1251;
    const char separator = table.separator = DetectSeparator(text);

    // The structure (quotes, separators, line breaks) is ASCII in both encodings: cut first, convert
    // each cell after, so that a refusal names the cell.
    std::vector<std::string> row;
    std::string cell;
    bool rowStarted = false;
    std::size_t at = 0;
    const std::size_t size = text.size();
    auto endCell = [&] {
        row.push_back(std::move(cell));
        cell.clear();
    };
    auto endRow = [&] {
        if (rowStarted) endCell();
        table.rows.push_back(std::move(row));
        row.clear();
        rowStarted = false;
    };
    while (at < size) {
        const char c = text[at];
        if (c == '\n' || c == '\r') {
            at += (c == '\r' && at + 1 < size && text[at + 1] == '\n') ? 2 : 1;
            endRow();
            continue;
        }
        rowStarted = true;
        if (c == separator) {
            endCell();
            ++at;
            continue;
        }
        if (c == '"' && cell.empty()) {
            // A quoted cell (a quote opening a cell; a cell's text so far is empty here only at its start).
            const std::size_t rowNumber = table.rows.size() + 1;
            const std::size_t columnNumber = row.size() + 1;
            ++at;
            bool closed = false;
            while (at < size) {
                if (text[at] == '"') {
                    if (at + 1 < size && text[at + 1] == '"') {
                        cell += '"';
                        at += 2;
                    } else {
                        ++at;
                        closed = true;
                        break;
                    }
                } else {
                    cell += text[at++];
                }
            }
            if (!closed)
                return Refused(TableRefusal::Kind::UnclosedQuote, rowNumber, columnNumber, "кавычка ячейки не закрыта");
            if (at < size && text[at] != separator && text[at] != '\n' && text[at] != '\r')
                return Refused(TableRefusal::Kind::TextAfterQuote, rowNumber, columnNumber,
                               "после закрывающей кавычки ячейки стоит текст");
            // A quoted empty cell ("") stays empty; mark that the cell began.
            continue;
        }
        cell += c;
        ++at;
    }
    if (rowStarted) endRow();

    if (table.encoding == TableEncoding::Windows1251) {
        const iconv_t converter = iconv_open("UTF-8", "WINDOWS-1251");
        if (converter == reinterpret_cast<iconv_t>(-1))
            return Refused(TableRefusal::Kind::NotWindows1251, 1, 1,
                           "текст не в UTF-8, а Windows-1251 в этой системе не читается");
        std::string converted;
        for (std::size_t r = 0; r < table.rows.size(); ++r)
            for (std::size_t k = 0; k < table.rows[r].size(); ++k) {
                if (!FromWindows1251(converter, table.rows[r][k], converted)) {
                    iconv_close(converter);
                    return Refused(TableRefusal::Kind::NotWindows1251, r + 1, k + 1,
                                   "ячейка — не текст ни в UTF-8, ни в Windows-1251");
                }
                table.rows[r][k] = converted;
            }
        iconv_close(converter);
    }
    return table;
}

std::string RefusalLine(const TableRefusal& refusal)
{
    if (refusal.row == 0) return refusal.message;
    return "строка " + std::to_string(refusal.row) + ", столбец " + std::to_string(refusal.column) + ": " +
           refusal.message;
}

}  // namespace kestal
