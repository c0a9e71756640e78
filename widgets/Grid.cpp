// Text grids addressed as the window's code does: the header is row 0, cells are (column, row).
#include "widgets/Grid.h"

#include <QHeaderView>

#include <algorithm>

#include "widgets/TableCopy.h"

namespace kestal {

Grid::Grid(QWidget* parent, const char* name, int columns, int rows, int rowHeight) : QTableWidget(parent)
{
    setObjectName(QString::fromLatin1(name));
    setColumnCount(columns);
    for (int column = 0; column < columns; ++column) setHorizontalHeaderItem(column, new QTableWidgetItem);
    setRows(rows);
    verticalHeader()->hide();
    verticalHeader()->setMinimumSectionSize(rowHeight);
    verticalHeader()->setDefaultSectionSize(rowHeight);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->setFixedHeight(rowHeight + 2);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setMinimumSectionSize(8);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setWordWrap(false);
    OffersCopy(this);
}

int Grid::rows() const { return rowCount() + 1; }

void Grid::setRows(int rows) { setRowCount(rows - 1); }

QString Grid::cell(int column, int row) const
{
    const QTableWidgetItem* item = row == 0 ? horizontalHeaderItem(column) : this->item(row - 1, column);
    return item ? item->text() : QString();
}

void Grid::setCell(int column, int row, const QString& text)
{
    if (row == 0) {
        horizontalHeaderItem(column)->setText(text);
        return;
    }
    if (QTableWidgetItem* existing = item(row - 1, column)) {
        existing->setText(text);
        return;
    }
    setItem(row - 1, column, new QTableWidgetItem(text));
}

void Grid::fitColumns()
{
    // The style's margin on either side of a cell's text.
    constexpr int Margin = 6;
    const QFontMetrics metrics(font());
    for (int column = 0; column < columnCount(); ++column) {
        int widest = columnWidth(column);
        for (int row = 0; row < rows(); ++row)
            widest = std::max(widest, metrics.horizontalAdvance(cell(column, row)) + 2 * Margin);
        setColumnWidth(column, widest);
    }
}

}  // namespace kestal
