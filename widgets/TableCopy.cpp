// Copying cells out of grids and tables.
#include "widgets/TableCopy.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QMenu>
#include <QRegularExpression>
#include <QTableView>

#include <algorithm>

#include "widgets/Guard.h"
#include "widgets/UiLocale.h"

namespace kestal {

namespace {

// How a locale's numbers are told from other cells and written for a spreadsheet.
class CsvCells {
public:
    explicit CsvCells(const NumberLocale& locale)
        : decimal_(QString::fromStdString(locale.decimalSeparator)),
          group_(QString::fromStdString(locale.groupSeparator)),
          separator_(decimal_ == QLatin1String(",") ? QLatin1Char(';') : QLatin1Char(','))
    {
        const QString d = QRegularExpression::escape(decimal_);
        const QString digits =
            group_.isEmpty() ? QStringLiteral("\\d+")
                             : QStringLiteral("(\\d+|\\d{1,3}(%1\\d{3})+)").arg(QRegularExpression::escape(group_));
        number_.setPattern(QStringLiteral("^-?%1(%2\\d+)?(E[-+]?\\d+)?$").arg(digits, d));
    }
    QChar separator() const { return separator_; }

    QString Field(QString text) const
    {
        if (number_.match(text).hasMatch()) return group_.isEmpty() ? text : text.remove(group_);
        if (!text.contains(separator_) && !text.contains(QLatin1Char('"')) && !text.contains(QLatin1Char('\n')) &&
            !text.contains(QLatin1Char('\r')))
            return text;
        return QLatin1Char('"') + text.replace(QLatin1String("\""), QLatin1String("\"\"")) + QLatin1Char('"');
    }

private:
    QString decimal_;
    QString group_;
    QChar separator_;
    QRegularExpression number_;
};

void SaveCsv(QTableView* table)
{
    const QString path = QFileDialog::getSaveFileName(table, QStringLiteral("Сохранить как CSV"), QString(),
                                                      QStringLiteral("Таблицы CSV (*.csv)"));
    if (path.isEmpty()) return;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(TableCsv(table, UiNumberLocale())) < 0 ||
        !file.flush()) {
        ShowError(table, QStringLiteral("Не удалось сохранить таблицу в файл %1: %2").arg(path, file.errorString()));
    }
}

}  // namespace

QString CellText(const QTableView* table, int row, int column)
{
    const QModelIndex index = table->model()->index(row, column);
    const QVariant full = index.data(FullTextRole);
    return full.isValid() ? full.toString() : index.data().toString();
}

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
                text += CellText(table, row, column);
        }
        text += QLatin1Char('\n');
    }
    return text;
}

QByteArray CsvBytes(int rows, int columns, const std::function<QString(int row, int column)>& cell,
                    const NumberLocale& locale)
{
    const CsvCells cells(locale);
    QString csv;
    for (int row = -1; row < rows; ++row) {
        for (int column = 0; column < columns; ++column)
            csv += (column ? QString(cells.separator()) : QString()) + cells.Field(cell(row, column));
        csv += QStringLiteral("\r\n");
    }
    return QByteArray("\xEF\xBB\xBF") + csv.toUtf8();
}

QByteArray TableCsv(const QTableView* table, const NumberLocale& locale)
{
    const QAbstractItemModel* model = table->model();
    return CsvBytes(
        model->rowCount(), model->columnCount(),
        [&](int row, int column) {
            return row < 0 ? model->headerData(column, Qt::Horizontal).toString() : CellText(table, row, column);
        },
        locale);
}

void OffersCopy(QTableView* table, std::function<void()> save)
{
    auto* copy = new QAction(QStringLiteral("Копировать"), table);
    copy->setShortcut(QKeySequence::Copy);
    copy->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    QObject::connect(copy, &QAction::triggered, table,
                     [table] { QApplication::clipboard()->setText(SelectedCellsText(table)); });
    auto* saveAs = new QAction(QStringLiteral("Сохранить как CSV…"), table);
    if (save)
        QObject::connect(saveAs, &QAction::triggered, table, Guard(table, std::move(save)));
    else
        QObject::connect(saveAs, &QAction::triggered, table, [table] { SaveCsv(table); });
    table->addAction(copy);
    table->addAction(saveAs);
    table->setContextMenuPolicy(Qt::ActionsContextMenu);
}

}  // namespace kestal
