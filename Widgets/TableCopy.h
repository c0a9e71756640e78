// Copying out of every grid and table: Ctrl+C puts the selected cells on the clipboard as
// tab-separated text, so that they paste into a spreadsheet as cells; a context menu offers
// "Копировать" and "Сохранить как CSV…".
#pragma once

#include <QString>

class QTableView;

// Gives the table its copy key and context menu.
void OffersCopy(QTableView* table);

// The selected cells within their bounding rectangle, rows by line breaks, cells by tabs.
QString SelectedCellsText(const QTableView* table);
// The whole table, header row first, as CSV (RFC 4180: commas, quotes where needed).
QString TableCsv(const QTableView* table);
