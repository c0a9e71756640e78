// Read-only tables of the analysis' texts.
#include "widgets/TextTableView.h"

#include <QEvent>
#include <QHeaderView>
#include <QScrollBar>
#include <QTableWidget>

#include <algorithm>
#include <numeric>
#include <vector>

#include "widgets/TableCopy.h"
#include "widgets/UiText.h"

namespace kestal {

namespace {

const QColor HighlightBackground(210, 240, 210);
const QColor SectionBackground(235, 235, 235);
// Cell texts narrower than this leave their header room for one line's worth of words.
constexpr int NarrowestColumn = 70;
// Where the columns together are wider than the table, the widest gives way down to this width,
// cutting its texts off with "…"; the cell's tooltip holds the whole text.
constexpr int NarrowestYielding = 200;

// Keeps a table as tall as its header, its rows and, while the columns are wider than the table,
// its horizontal scroll bar: it fits again when the table or its header is resized and when rows
// come or go.
class RowsInView : public QObject {
public:
    explicit RowsInView(QTableWidget* table) : QObject(table), table_(table)
    {
        table->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        table->installEventFilter(this);
        table->horizontalHeader()->installEventFilter(this);
        table->model()->connect(table->model(), &QAbstractItemModel::rowsInserted, this, [this] { Fit(); });
        table->model()->connect(table->model(), &QAbstractItemModel::rowsRemoved, this, [this] { Fit(); });
        Fit();
    }
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Resize) Fit();
        return false;
    }

private:
    void Fit()
    {
        const int frame = 2 * table_->frameWidth();
        int height = table_->horizontalHeader()->height() + frame;
        for (int row = 0; row < table_->rowCount(); ++row) height += table_->rowHeight(row);
        if (table_->horizontalHeader()->length() > table_->width() - frame)
            height += table_->horizontalScrollBar()->sizeHint().height();
        table_->setFixedHeight(height);
    }
    QTableWidget* table_;
};

}  // namespace

QTableWidget* MakeTextTable(QWidget* parent, const char* name)
{
    auto* table = new QTableWidget(parent);
    table->setObjectName(QString::fromLatin1(name));
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionMode(QAbstractItemView::ContiguousSelection);
    table->setWordWrap(false);
    table->verticalHeader()->hide();
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
    table->horizontalHeader()->setDefaultAlignment(
        Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter | int(Qt::TextWordWrap)));
    table->horizontalHeader()->setHighlightSections(false);
    table->horizontalHeader()->setStretchLastSection(true);
    OffersCopy(table);
    return table;
}

void ShowTextTable(QTableWidget* table, const TextTable& texts)
{
    const int columns = static_cast<int>(texts.headers.size());
    table->setColumnCount(columns);
    table->setRowCount(static_cast<int>(texts.rows.size()));
    for (int column = 0; column < columns; ++column)
        table->setHorizontalHeaderItem(column, new QTableWidgetItem(QText(texts.headers[column])));
    for (int row = 0; row < table->rowCount(); ++row) {
        const std::vector<std::string>& cells = texts.rows[row];
        for (int column = 0; column < columns; ++column) {
            auto* item =
                new QTableWidgetItem(column < static_cast<int>(cells.size()) ? QText(cells[column]) : QString());
            if (row == texts.highlightedRow || row == texts.sectionRow) {
                QFont bold = table->font();
                bold.setBold(true);
                item->setFont(bold);
                item->setBackground(row == texts.sectionRow ? SectionBackground : HighlightBackground);
            }
            table->setItem(row, column, item);
        }
    }
    table->clearSpans();
    // A section's title runs across the table; its width is no column's.
    if (texts.sectionRow >= 0 && columns > 1) table->setSpan(texts.sectionRow, 0, 1, columns);
    // Each column as wide as its widest cell, its header wrapping within that width.
    const int margin = 2 * table->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 8;
    const auto needed = [margin](const QTableWidgetItem* item) {
        return QFontMetrics(item->font()).horizontalAdvance(item->text()) + margin;
    };
    std::vector<int> widths(columns, NarrowestColumn);
    for (int column = 0; column < columns; ++column)
        for (int row = 0; row < table->rowCount(); ++row)
            if (row != texts.sectionRow) widths[column] = std::max(widths[column], needed(table->item(row, column)));
    if (columns > 0) {
        const auto widest = std::max_element(widths.begin(), widths.end());
        const int excess = std::accumulate(widths.begin(), widths.end(), 0) - table->viewport()->width();
        if (excess > 0) *widest = std::min(*widest, std::max(NarrowestYielding, *widest - excess));
    }
    for (int column = 0; column < columns; ++column) {
        table->setColumnWidth(column, widths[column]);
        for (int row = 0; row < table->rowCount(); ++row)
            if (QTableWidgetItem* item = table->item(row, column); needed(item) > widths[column])
                item->setToolTip(item->text());
    }
    // The header as tall as its most wrapped text.
    QHeaderView* header = table->horizontalHeader();
    const QFontMetrics metrics(header->font());
    int tallest = metrics.height();
    for (int column = 0; column < columns; ++column) {
        const QRect room(0, 0, header->sectionSize(column) - margin, 1000);
        tallest =
            std::max(tallest, metrics.boundingRect(room, Qt::TextWordWrap, QText(texts.headers[column])).height());
    }
    header->setFixedHeight(tallest + 8);
}

void KeepAllRowsInView(QTableWidget* table) { new RowsInView(table); }

}  // namespace kestal
