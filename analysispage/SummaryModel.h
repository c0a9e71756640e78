// The summary's table as a model: its texts made when a view asks for a cell, sorting by the values
// the cells stand for, so that its memory grows by a few bytes per workplace and none per cell.
#pragma once

#include <QAbstractTableModel>

#include <cstdint>
#include <memory>
#include <vector>

#include "analysis/WorkplaceSummary.h"
#include "common/NumberLocale.h"
#include "sheets/TableFile.h"

namespace kestal {

// The workplaces read and their assessments, parallel; they never change once assessed.
struct SummaryData {
    WorkplaceList list;
    std::vector<WorkplaceAssessment> assessed;
};

// The columns: rank, the file's row, the name, the accident probability, the top factors, then the
// nodes B to H.
enum SummaryColumn { RankColumn, RowColumn, NameColumn, AccidentColumn, TopColumn, FirstNodeColumn };
constexpr int SummaryColumns = static_cast<int>(FirstNodeColumn) + static_cast<int>(NodeI);

// The header of a column, in Russian.
QString SummaryHeader(int column);
// The text of workplace `w`'s cell: probabilities as shown (four digits) or, with `full`, at full
// precision (15 digits), in `locale`. Safe off the interface thread.
QString SummaryCellText(const SummaryData& data, std::size_t w, int column, bool full, const NumberLocale& locale);
// The cell as a spreadsheet takes it: numbers as numbers, the rest as text.
SheetCell SummarySheetCell(const SummaryData& data, std::size_t w, int column);

class SummaryModel : public QAbstractTableModel {
public:
    // Numbers in `locale`; rows in the file's order until sorted.
    SummaryModel(std::shared_ptr<const SummaryData> data, const NumberLocale& locale, QObject* parent);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    // Display: the text as shown; tooltip and FullTextRole: probabilities at full precision.
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    // Stable from the file's order: equal values keep the file's order either way round.
    void sort(int column, Qt::SortOrder order) override;

    // The workplaces (indexes into the list) in the order the table shows them.
    const std::vector<uint32_t>& Order() const { return order_; }

private:
    std::shared_ptr<const SummaryData> data_;
    NumberLocale locale_;
    std::vector<uint32_t> order_;
};

}  // namespace kestal
