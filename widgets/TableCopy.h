// Copying out of every grid and table: Ctrl+C puts the selected cells on the clipboard as
// tab-separated text, so that they paste into a spreadsheet as cells; a context menu offers
// "Копировать" and "Сохранить как CSV…". Numbers leave at full precision.
#pragma once

#include <QByteArray>
#include <QString>
#include <Qt>

#include <functional>

#include "common/NumberLocale.h"

class QTableView;

namespace kestal {

// A cell that shows a number with fewer digits than it has holds its full text in this role:
// copying and CSV take it, the display keeps the shorter one.
constexpr int FullTextRole = Qt::UserRole + 0x4B;

// Gives the table its copy key and context menu. `save` takes the place of the menu's own CSV
// save where the table's owner saves it another way (a large table, off the interface thread).
void OffersCopy(QTableView* table, std::function<void()> save = {});

// The selected cells within their bounding rectangle, rows by line breaks, cells by tabs.
QString SelectedCellsText(const QTableView* table);

// The cell's text as copying and CSV take it: its full text where it has one.
QString CellText(const QTableView* table, int row, int column);

// A table as a spreadsheet of the user's locale opens it by a double click: UTF-8 with a
// byte-order mark, lines ended by CR LF; cells separated by ";" where the locale's decimal
// separator is "," and by "," otherwise; a cell that is a number of the locale written as it
// stands, without its group separators and never quoted; other cells quoted where they hold the
// separator, a quote or a line break (RFC 4180). `cell` gives the texts, row -1 the header row;
// it is called on the calling thread only, so that the CSV may be written off the interface thread.
QByteArray CsvBytes(int rows, int columns, const std::function<QString(int row, int column)>& cell,
                    const NumberLocale& locale);
// The whole table as CsvBytes writes it, header row first, each cell as CellText gives it.
QByteArray TableCsv(const QTableView* table, const NumberLocale& locale);

}  // namespace kestal
