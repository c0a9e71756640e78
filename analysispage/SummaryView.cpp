// The summary window: the workplaces' table and chart, refused rows and export.
#include "analysispage/SummaryView.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QHorizontalBarSeries>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSaveFile>
#include <QTableView>
#include <QValueAxis>
#include <QVBoxLayout>

#include <algorithm>
#include <numeric>

#include "widgets/ChartParts.h"
#include "widgets/Guard.h"
#include "widgets/TableCopy.h"
#include "widgets/UiLocale.h"
#include "widgets/UiText.h"
#include "widgets/WindowFit.h"
#include "common/KestalError.h"

namespace kestal {

namespace {

// Rows whose texts set the columns' widths: enough to see what a column holds, few enough to be quick.
constexpr int MeasuredRows = 200;
constexpr int NameWidthLimit = 320;
// The export reports and looks for a stop every so many rows.
constexpr int ExportReportRows = 512;

// At most 40 characters of a name, for the chart's axis.
QString Short(const std::string& name)
{
    const QString text = QText(name);
    return text.size() <= 40 ? text : text.left(39) + QStringLiteral("…");
}

// Each column as wide as its header and the texts of the first rows shown.
void FitColumns(QTableView* table)
{
    const QAbstractItemModel* model = table->model();
    const QFontMetrics cells(table->font());
    const QFontMetrics headers(table->horizontalHeader()->font());
    const int rows = std::min(model->rowCount(), MeasuredRows);
    for (int column = 0; column < model->columnCount(); ++column) {
        int width = headers.horizontalAdvance(model->headerData(column, Qt::Horizontal).toString()) + 24;
        for (int row = 0; row < rows; ++row)
            width = std::max(width, cells.horizontalAdvance(model->index(row, column).data().toString()) + 12);
        table->setColumnWidth(column, column == NameColumn ? std::min(width, NameWidthLimit) : width);
    }
}

}  // namespace

QChart* SummaryChart(const SummaryData& data)
{
    std::vector<std::size_t> order(data.assessed.size());
    std::iota(order.begin(), order.end(), 0);
    const std::size_t bars = std::min<std::size_t>(order.size(), SummaryChartBars);
    std::partial_sort(order.begin(), order.begin() + bars, order.end(),
                      [&](std::size_t x, std::size_t y) { return data.assessed[x].rank < data.assessed[y].rank; });
    order.resize(bars);
    QChart* chart = PlainChart();
    chart->setTitle(QStringLiteral("Самые опасные рабочие места"));
    auto* set = new QBarSet(QStringLiteral("Вероятность происшествия"));
    set->setColor(QColor(210, 70, 60));
    QStringList categories;
    double highest = 0.0;
    // A horizontal bar chart draws its first category at the bottom.
    for (auto it = order.rbegin(); it != order.rend(); ++it) {
        const Workplace& w = data.list.workplaces[*it];
        const std::string name = w.name.empty() ? "строка " + std::to_string(w.row) : w.name;
        categories << QString::number(data.assessed[*it].rank) + QStringLiteral(". ") + Short(name);
        const double p = static_cast<double>(data.assessed[*it].nodes.node[NodeI]);
        *set << p;
        highest = std::max(highest, p);
    }
    auto* series = new QHorizontalBarSeries;
    series->append(set);
    series->setBarWidth(0.7);
    auto* y = new QBarCategoryAxis;
    y->append(categories);
    QValueAxis* x = RoundAxis(QStringLiteral("Вероятность происшествия"), 0.0, highest > 0 ? highest * 1.05 : 1.0);
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    Attach(chart, series, x, y);
    chart->legend()->hide();
    return chart;
}

SummaryView::SummaryView(QWidget* parent, const QString& fileName, WorkplaceList list,
                         std::vector<WorkplaceAssessment> assessed, OpenWorkplace open)
    // A window of its own, not one that stays over the main window: a workplace opened from it
    // comes to the front. It goes with the window it was opened over.
    : QDialog(nullptr, Qt::Window),
      data_(std::make_shared<const SummaryData>(SummaryData{std::move(list), std::move(assessed)})),
      worker_([this](int64_t done, int64_t total, double) {
          progress_->setRange(0, 1000);
          progress_->setValue(total > 0 ? static_cast<int>(1000 * done / total) : 0);
      })
{
    setObjectName(QStringLiteral("SummaryView"));
    // Closing the main window still ends the program; this window goes with it.
    setAttribute(Qt::WA_QuitOnClose, false);
    if (parent) connect(parent, &QObject::destroyed, this, [this] { delete this; });
    setWindowTitle(QStringLiteral("Сводная оценка рабочих мест — ") + fileName);
    setAttribute(Qt::WA_DeleteOnClose);

    model_ = new SummaryModel(data_, UiNumberLocale(), this);
    table_ = new QTableView(this);
    table_->setObjectName(QStringLiteral("sgSummary"));
    table_->setModel(model_);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setWordWrap(false);
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    // Ranked first: the indicator set before sorting is enabled sorts once.
    table_->horizontalHeader()->setSortIndicator(RankColumn, Qt::AscendingOrder);
    table_->setSortingEnabled(true);
    FitColumns(table_);
    OffersCopy(table_, [this] { Export(false); });
    connect(table_, &QTableView::doubleClicked, this, [this, open](const QModelIndex& index) {
        if (!index.isValid() || !open) return;
        open(data_->list.workplaces[model_->Order()[index.row()]]);
    });

    auto* summary = new QLabel(this);
    summary->setObjectName(QStringLiteral("lbSummary"));
    summary->setWordWrap(true);
    summary->setText(QStringLiteral("Оценено рабочих мест: %1; отклонено строк: %2. Двойной щелчок по строке открывает "
                                    "рабочее место как новую оценку.")
                         .arg(data_->assessed.size())
                         .arg(data_->list.errors.size()));

    auto* errors = new QPlainTextEdit(this);
    errors->setObjectName(QStringLiteral("meSummaryErrors"));
    errors->setReadOnly(true);
    QStringList lines;
    for (const WorkplaceRefusal& e : data_->list.errors)
        lines << QStringLiteral("строка %1, столбец %2: %3").arg(e.row).arg(QText(e.column), QText(e.problem));
    errors->setPlainText(lines.join(QLatin1Char('\n')));
    errors->setVisible(!data_->list.errors.empty());
    errors->setMaximumHeight(110);

    auto* chart = MakeChartView(this, "chSummary");
    ShowChart(chart, SummaryChart(*data_));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    csv_ = buttons->addButton(QStringLiteral("Экспорт в CSV…"), QDialogButtonBox::ActionRole);
    csv_->setObjectName(QStringLiteral("butSummaryCsv"));
    xlsx_ = buttons->addButton(QStringLiteral("Экспорт в XLSX…"), QDialogButtonBox::ActionRole);
    xlsx_->setObjectName(QStringLiteral("butSummaryXlsx"));
    connect(csv_, &QPushButton::clicked, this, Guard(this, [this] { Export(false); }));
    connect(xlsx_, &QPushButton::clicked, this, Guard(this, [this] { Export(true); }));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    progress_ = new QProgressBar(this);
    progress_->setObjectName(QStringLiteral("pbSummaryExport"));
    progress_->setMaximumWidth(240);
    stop_ = new QPushButton(QStringLiteral("Стоп"), this);
    stop_->setObjectName(QStringLiteral("butSummaryStop"));
    stop_->setToolTip(QStringLiteral("Прекратить экспорт: файл не будет записан"));
    connect(stop_, &QPushButton::clicked, this, [this] { worker_.RequestStop(); });
    ShowExporting(false);

    // The refused rows under the table, so that the chart keeps the height its twenty names need.
    auto* left = new QVBoxLayout;
    left->addWidget(table_, 1);
    left->addWidget(errors);
    auto* columns = new QHBoxLayout;
    columns->addLayout(left, 3);
    columns->addWidget(chart, 2);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(progress_);
    bottom->addWidget(stop_);
    bottom->addWidget(buttons, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(summary);
    layout->addLayout(columns, 1);
    layout->addLayout(bottom);
    FitToScreen(this, QSize(1280, 900), parent);
}

void SummaryView::Export(bool xlsx)
{
    if (worker_.Busy()) return;
    const QString filter = xlsx ? QStringLiteral("Книги Excel (*.xlsx)") : QStringLiteral("Таблицы CSV (*.csv)");
    QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Экспорт сводной оценки"), QString(), filter);
    if (path.isEmpty()) return;
    const QString extension = xlsx ? QStringLiteral(".xlsx") : QStringLiteral(".csv");
    if (!path.endsWith(extension, Qt::CaseInsensitive)) path += extension;
    ExportTo(path, xlsx);
}

void SummaryView::ExportTo(const QString& path, bool xlsx)
{
    if (worker_.Busy()) return;
    // The rows in the order shown now; the data never change.
    auto order = std::make_shared<const std::vector<uint32_t>>(model_->Order());
    const std::shared_ptr<const SummaryData> data = data_;
    const NumberLocale locale = UiNumberLocale();
    ShowExporting(true);
    worker_.Start(
        [data, order, locale, path, xlsx](const WorkControl& control) {
            const int rows = static_cast<int>(order->size());
            const auto report = [&](int row) {
                if (row % ExportReportRows == 0) control.Report(row, rows);
            };
            if (xlsx) {
                std::vector<std::vector<SheetCell>> sheet(1);
                for (int column = 0; column < SummaryColumns; ++column)
                    sheet[0].emplace_back(Utf8(SummaryHeader(column)));
                for (int row = 0; row < rows; ++row) {
                    report(row);
                    std::vector<SheetCell>& cells = sheet.emplace_back();
                    for (int column = 0; column < SummaryColumns; ++column)
                        cells.push_back(SummarySheetCell(*data, (*order)[row], column));
                }
                WriteXlsxFile(Utf8(path), "Сводная оценка", sheet);
                return;
            }
            const QByteArray csv = CsvBytes(
                rows, SummaryColumns,
                [&](int row, int column) {
                    if (row < 0) return SummaryHeader(column);
                    if (column == 0) report(row);
                    return SummaryCellText(*data, (*order)[row], column, true, locale);
                },
                locale);
            QSaveFile file(path);
            if (!file.open(QIODevice::WriteOnly) || file.write(csv) != csv.size() || !file.commit())
                throw KestalError("Файл «" + Utf8(path) + "» не сохранён: " + Utf8(file.errorString()));
        },
        [this](WorkerThread::Outcome outcome, const QString& error) {
            ShowExporting(false);
            if (outcome == WorkerThread::Outcome::Failed) ShowError(this, error);
        });
}

void SummaryView::ShowExporting(bool exporting)
{
    progress_->setRange(0, 0);
    progress_->setVisible(exporting);
    stop_->setVisible(exporting);
    csv_->setEnabled(!exporting);
    xlsx_->setEnabled(!exporting);
}

}  // namespace kestal
