// Copying out of every grid and table: Ctrl+C puts the selected cells on the clipboard as
// tab-separated text, so that they paste into a spreadsheet as cells; a context menu offers
// "Копировать" and "Сохранить как CSV…".
#pragma once

#include <QByteArray>
#include <QString>

#include "common/NumberLocale.h"

class QTableView;

namespace kestal {

// Gives the table its copy key and context menu.
void OffersCopy(QTableView* table);

// The selected cells within their bounding rectangle, rows by line breaks, cells by tabs.
QString SelectedCellsText(const QTableView* table);
// The whole table, header row first, as a spreadsheet of the user's locale opens it by a double
// click: UTF-8 with a byte-order mark, lines ended by CR LF; cells separated by ";" where the
// locale's decimal separator is "," and by "," otherwise; a cell that is a number of the locale
// written as it shows, without its group separators and never quoted; other cells quoted where
// they hold the separator, a quote or a line break (RFC 4180).
QByteArray TableCsv(const QTableView* table, const NumberLocale& locale);

}  // namespace kestal
