// Text grids addressed as the window's code does: the header is row 0, cells are (column, row).
#pragma once

#include <QTableWidget>

namespace kestal {

class Grid : public QTableWidget {
    Q_OBJECT
public:
    // `rows` counts the header row; `rowHeight` is the height of every row.
    Grid(QWidget* parent, const char* name, int columns, int rows, int rowHeight);

    // Row count including the header row.
    int rows() const;
    void setRows(int rows);

    // Row 0 is the header.
    QString cell(int column, int row) const;
    void setCell(int column, int row, const QString& text);

    // Every column at least its current width, and wide enough for its widest cell.
    void fitColumns();
};

}  // namespace kestal
