// Copying cells out of grids and tables.
#include "Widgets/TableCopy.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QMenu>
#include <QTableView>

#include <algorithm>

#include "Widgets/Guard.h"

namespace {

QString CellText(const QAbstractItemModel* model, int row, int column)
{
    return model->data(model->index(row, column)).toString();
}

QString CsvField(QString text)
{
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) && !text.contains(QLatin1Char('\n')))
        return text;
    return QLatin1Char('"') + text.replace(QLatin1String("\""), QLatin1String("\"\"")) + QLatin1Char('"');
}

void SaveCsv(QTableView* table)
{
    const QString path = QFileDialog::getSaveFileName(table, QStringLiteral("Сохранить как CSV"), QString(),
                                                      QStringLiteral("Таблицы CSV (*.csv)"));
    if (path.isEmpty()) return;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(TableCsv(table).toUtf8()) < 0 ||
        !file.flush()) {
        ShowError(table, QStringLiteral("Не удалось сохранить таблицу в файл %1: %2").arg(path, file.errorString()));
    }
}

}  // namespace

QString SelectedCellsText(const QTableView* table)
{
    const QModelIndexList cells = table->selectionModel()->selectedIndexes();
    if (cells.isEmpty()) return QString();
    int top = cells.front().row(), bottom = top, left = cells.front().column(), right = left;
    for (const QModelIndex& cell : cells) {
        top = std::min(top, cell.row());
        bottom = std::max(bottom, cell.row());
        left = std::min(left, cell.column());
        right = std::max(right, cell.column());
    }
    QString text;
    for (int row = top; row <= bottom; ++row) {
        for (int column = left; column <= right; ++column) {
            if (column > left) text += QLatin1Char('\t');
            if (table->selectionModel()->isSelected(table->model()->index(row, column)))
                text += CellText(table->model(), row, column);
        }
        text += QLatin1Char('\n');
    }
    return text;
}

QString TableCsv(const QTableView* table)
{
    const QAbstractItemModel* model = table->model();
    QString csv;
    for (int column = 0; column < model->columnCount(); ++column)
        csv += (column ? QStringLiteral(",") : QString()) +
               CsvField(model->headerData(column, Qt::Horizontal).toString());
    csv += QStringLiteral("\r\n");
    for (int row = 0; row < model->rowCount(); ++row) {
        for (int column = 0; column < model->columnCount(); ++column)
            csv += (column ? QStringLiteral(",") : QString()) + CsvField(CellText(model, row, column));
        csv += QStringLiteral("\r\n");
    }
    return csv;
}

void OffersCopy(QTableView* table)
{
    auto* copy = new QAction(QStringLiteral("Копировать"), table);
    copy->setShortcut(QKeySequence::Copy);
    copy->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    QObject::connect(copy, &QAction::triggered, table,
                     [table] { QApplication::clipboard()->setText(SelectedCellsText(table)); });
    auto* save = new QAction(QStringLiteral("Сохранить как CSV…"), table);
    QObject::connect(save, &QAction::triggered, table, [table] { SaveCsv(table); });
    table->addAction(copy);
    table->addAction(save);
    table->setContextMenuPolicy(Qt::ActionsContextMenu);
}
