// Read-only tables of the analysis' texts: its headers and rows, one row standing out, copying
// and CSV offered.
#pragma once

#include "analysis/AnalysisTexts.h"

class QTableWidget;
class QWidget;

namespace kestal {

QTableWidget* MakeTextTable(QWidget* parent, const char* name);
// The table shows `texts`; its columns fit their cells (the widest giving way where together they
// would not fit the table), headers wrap rather than widen a column beyond its cells.
void ShowTextTable(QTableWidget* table, const TextTable& texts);
// From now on the table is as tall as its header and rows (and its horizontal scroll bar while that
// shows): every row in view, no room to spare.
void KeepAllRowsInView(QTableWidget* table);

}  // namespace kestal
