// The summary's model: cell texts on demand and sorting by the cells' values.
#include "analysispage/SummaryModel.h"

#include <algorithm>
#include <numeric>

#include "widgets/TableCopy.h"
#include "widgets/UiText.h"
#include "common/Formats.h"

namespace kestal {

namespace {

long double Probability(const WorkplaceAssessment& w, int column)
{
    return w.nodes.node[column == AccidentColumn ? NodeI : column - FirstNodeColumn];
}

bool IsProbability(int column) { return column == AccidentColumn || column >= FirstNodeColumn; }

// Names compared as a person reads them: runs of digits by their number ("место 9" before "место 10").
bool NaturalLess(const std::string& a, const std::string& b)
{
    const auto digit = [](char c) { return c >= '0' && c <= '9'; };
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (digit(a[i]) && digit(b[j])) {
            const std::size_t i0 = a.find_first_not_of('0', i), j0 = b.find_first_not_of('0', j);
            std::size_t ie = i, je = j;
            while (ie < a.size() && digit(a[ie])) ++ie;
            while (je < b.size() && digit(b[je])) ++je;
            const std::size_t ia = std::min(i0, ie), jb = std::min(j0, je);
            if (ie - ia != je - jb) return ie - ia < je - jb;
            if (const int c = a.compare(ia, ie - ia, b, jb, je - jb); c != 0) return c < 0;
            i = ie;
            j = je;
        } else {
            if (a[i] != b[j]) return static_cast<unsigned char>(a[i]) < static_cast<unsigned char>(b[j]);
            ++i;
            ++j;
        }
    }
    return a.size() - i < b.size() - j;
}

// The top factors as catalogue indexes (-1 for none), compared in their order.
std::array<int, TopFactorCount> TopKey(const WorkplaceAssessment& w)
{
    std::array<int, TopFactorCount> key;
    for (int t = 0; t < TopFactorCount; ++t) key[t] = w.top[t] ? CatalogueIndex(*w.top[t]) : -1;
    return key;
}

}  // namespace

QString SummaryHeader(int column)
{
    switch (column) {
    case RankColumn:
        return QStringLiteral("Ранг");
    case RowColumn:
        return QStringLiteral("Строка");
    case NameColumn:
        return QStringLiteral("Рабочее место");
    case AccidentColumn:
        return QStringLiteral("Происшествие");
    case TopColumn:
        return QStringLiteral("Главные факторы");
    default:
        return QLatin1String(NodeLetters[column - FirstNodeColumn]);
    }
}

QString SummaryCellText(const SummaryData& data, std::size_t w, int column, bool full, const NumberLocale& locale)
{
    const WorkplaceAssessment& assessed = data.assessed[w];
    switch (column) {
    case RankColumn:
        return QString::number(assessed.rank);
    case RowColumn:
        return QString::number(data.list.workplaces[w].row);
    case NameColumn:
        return QText(data.list.workplaces[w].name);
    case TopColumn: {
        QStringList top;
        for (const FactorInfo* factor : assessed.top)
            if (factor) top << QLatin1String(factor->id);
        return top.join(QStringLiteral(", "));
    }
    default:
        return QText(full ? GeneralText(Probability(assessed, column), locale)
                          : ProbabilityText(Probability(assessed, column), locale));
    }
}

SheetCell SummarySheetCell(const SummaryData& data, std::size_t w, int column)
{
    if (IsProbability(column)) return static_cast<double>(Probability(data.assessed[w], column));
    if (column == RankColumn) return static_cast<double>(data.assessed[w].rank);
    if (column == RowColumn) return static_cast<double>(data.list.workplaces[w].row);
    return Utf8(SummaryCellText(data, w, column, true, NumberLocale{}));
}

SummaryModel::SummaryModel(std::shared_ptr<const SummaryData> data, const NumberLocale& locale, QObject* parent)
    : QAbstractTableModel(parent), data_(std::move(data)), locale_(locale), order_(data_->assessed.size())
{
    std::iota(order_.begin(), order_.end(), 0u);
}

int SummaryModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(order_.size());
}

int SummaryModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : SummaryColumns; }

QVariant SummaryModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= static_cast<int>(order_.size())) return {};
    const std::size_t w = order_[index.row()];
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole:
        return SummaryCellText(*data_, w, column, false, locale_);
    case Qt::ToolTipRole:
    case FullTextRole:
        if (IsProbability(column)) return SummaryCellText(*data_, w, column, true, locale_);
        return {};
    case Qt::TextAlignmentRole:
        if (column == NameColumn || column == TopColumn) return {};
        return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
    default:
        return {};
    }
}

QVariant SummaryModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= SummaryColumns)
        return QAbstractTableModel::headerData(section, orientation, role);
    return SummaryHeader(section);
}

void SummaryModel::sort(int column, Qt::SortOrder order)
{
    if (column < 0 || column >= SummaryColumns) return;
    const SummaryData& d = *data_;
    const bool ascending = order == Qt::AscendingOrder;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    std::vector<uint32_t> held;
    for (const QModelIndex& index : before) held.push_back(order_[index.row()]);
    // Equal values keep the file's order either way round.
    if (column == NameColumn || column == TopColumn) {
        const auto less = [&](uint32_t x, uint32_t y) {
            return column == NameColumn ? NaturalLess(d.list.workplaces[x].name, d.list.workplaces[y].name)
                                        : TopKey(d.assessed[x]) < TopKey(d.assessed[y]);
        };
        std::iota(order_.begin(), order_.end(), 0u);
        std::stable_sort(order_.begin(), order_.end(),
                         [&](uint32_t x, uint32_t y) { return ascending ? less(x, y) : less(y, x); });
    } else {
        // Numbers side by side with their workplaces: a sort over contiguous keys, quick for many rows.
        std::vector<std::pair<long double, uint32_t>> keys(order_.size());
        for (uint32_t w = 0; w < keys.size(); ++w)
            keys[w] = {column == RankColumn  ? d.assessed[w].rank
                       : column == RowColumn ? static_cast<long double>(d.list.workplaces[w].row)
                                             : Probability(d.assessed[w], column),
                       w};
        std::sort(keys.begin(), keys.end(), [ascending](const auto& a, const auto& b) {
            if (a.first != b.first) return ascending ? a.first < b.first : a.first > b.first;
            return a.second < b.second;
        });
        for (std::size_t row = 0; row < keys.size(); ++row) order_[row] = keys[row].second;
    }
    if (!before.isEmpty()) {
        std::vector<int> rowOf(order_.size());
        for (std::size_t row = 0; row < order_.size(); ++row) rowOf[order_[row]] = static_cast<int>(row);
        QModelIndexList after;
        for (int i = 0; i < before.size(); ++i) after << index(rowOf[held[i]], before[i].column());
        changePersistentIndexList(before, after);
    }
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

}  // namespace kestal
