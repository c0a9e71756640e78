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
#include <QPushButton>
#include <QTableWidget>
#include <QValueAxis>
#include <QVBoxLayout>

#include <algorithm>
#include <fstream>
#include <numeric>

#include "widgets/ChartParts.h"
#include "widgets/Guard.h"
#include "widgets/UiLocale.h"
#include "widgets/UiText.h"
#include "common/Formats.h"
#include "common/KestalError.h"
#include "common/Text.h"
#include "sheets/SummaryFile.h"

namespace kestal {

namespace {

// An item that sorts by the number it stands for, not by its text.
class NumberItem : public QTableWidgetItem {
public:
    NumberItem(const QString& text, double value) : QTableWidgetItem(text)
    {
        setData(Qt::UserRole, value);
        setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    bool operator<(const QTableWidgetItem& other) const override
    {
        return data(Qt::UserRole).toDouble() < other.data(Qt::UserRole).toDouble();
    }
};

QString Number(long double value) { return QText(GeneralText(value, UiNumberLocale())); }

// At most 40 characters of a name, for the chart's axis.
QString Short(const std::string& name)
{
    const QString text = QText(name);
    return text.size() <= 40 ? text : text.left(39) + QStringLiteral("…");
}

}  // namespace

QChart* SummaryChart(const WorkplaceList& list, const std::vector<WorkplaceAssessment>& assessed)
{
    std::vector<std::size_t> order(assessed.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(),
              [&](std::size_t x, std::size_t y) { return assessed[x].rank < assessed[y].rank; });
    order.resize(std::min<std::size_t>(order.size(), SummaryChartBars));
    QChart* chart = PlainChart();
    chart->setTitle(QStringLiteral("Самые опасные рабочие места"));
    auto* set = new QBarSet(QStringLiteral("Вероятность происшествия"));
    set->setColor(QColor(210, 70, 60));
    QStringList categories;
    double highest = 0.0;
    // A horizontal bar chart draws its first category at the bottom.
    for (auto it = order.rbegin(); it != order.rend(); ++it) {
        const Workplace& w = list.workplaces[*it];
        const std::string name = w.name.empty() ? "строка " + std::to_string(w.row) : w.name;
        categories << QString::number(assessed[*it].rank) + QStringLiteral(". ") + Short(name);
        const double p = static_cast<double>(assessed[*it].nodes.node[NodeI]);
        *set << p;
        highest = std::max(highest, p);
    }
    auto* series = new QHorizontalBarSeries;
    series->append(set);
    series->setBarWidth(0.7);
    auto* y = new QBarCategoryAxis;
    y->append(categories);
    auto* x = new QValueAxis;
    x->setRange(0.0, highest > 0 ? highest * 1.1 : 1.0);
    x->setLabelFormat(QStringLiteral("%.2g"));
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    Attach(chart, series, x, y);
    chart->legend()->hide();
    return chart;
}

SummaryView::SummaryView(QWidget* parent, const QString& fileName, WorkplaceList list,
                         std::vector<WorkplaceAssessment> assessed, OpenWorkplace open)
    : QDialog(parent), list_(std::move(list)), assessed_(std::move(assessed))
{
    setObjectName(QStringLiteral("SummaryView"));
    setWindowTitle(QStringLiteral("Сводная оценка рабочих мест — ") + fileName);
    setAttribute(Qt::WA_DeleteOnClose);

    QStringList headers = {QStringLiteral("Ранг"), QStringLiteral("Строка"), QStringLiteral("Рабочее место"),
                           QStringLiteral("Происшествие"), QStringLiteral("Главные факторы")};
    for (int node = 0; node < NodeI; ++node) headers << QLatin1String(NodeLetters[node]);
    auto* table = new QTableWidget(static_cast<int>(assessed_.size()), static_cast<int>(headers.size()), this);
    table->setObjectName(QStringLiteral("sgSummary"));
    table->setHorizontalHeaderLabels(headers);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->verticalHeader()->hide();
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
    for (std::size_t i = 0; i < assessed_.size(); ++i) {
        const int row = static_cast<int>(i);
        const WorkplaceAssessment& w = assessed_[i];
        table->setItem(row, 0, new NumberItem(QString::number(w.rank), w.rank));
        auto* fileRow =
            new NumberItem(QString::number(list_.workplaces[i].row), static_cast<double>(list_.workplaces[i].row));
        fileRow->setData(Qt::UserRole + 1, static_cast<qulonglong>(i));
        table->setItem(row, 1, fileRow);
        table->setItem(row, 2, new QTableWidgetItem(QText(list_.workplaces[i].name)));
        table->setItem(row, 3, new NumberItem(Number(w.nodes.node[NodeI]), static_cast<double>(w.nodes.node[NodeI])));
        QStringList top;
        for (const FactorInfo* factor : w.top)
            if (factor) top << QLatin1String(factor->id);
        table->setItem(row, 4, new QTableWidgetItem(top.join(QStringLiteral(", "))));
        for (int node = 0; node < NodeI; ++node)
            table->setItem(row, 5 + node,
                           new NumberItem(Number(w.nodes.node[node]), static_cast<double>(w.nodes.node[node])));
    }
    table->setSortingEnabled(true);
    table->sortByColumn(0, Qt::AscendingOrder);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    table->resizeColumnsToContents();
    table->setColumnWidth(2, std::min(table->columnWidth(2), 320));
    connect(table, &QTableWidget::cellDoubleClicked, this, [this, table, open](int row, int) {
        const QTableWidgetItem* item = table->item(row, 1);
        if (!item || !open) return;
        const auto index = static_cast<std::size_t>(item->data(Qt::UserRole + 1).toULongLong());
        if (index < list_.workplaces.size()) open(list_.workplaces[index]);
    });

    auto* summary = new QLabel(this);
    summary->setObjectName(QStringLiteral("lbSummary"));
    summary->setText(QStringLiteral("Оценено рабочих мест: %1; отклонено строк: %2. Двойной щелчок по строке открывает "
                                    "рабочее место как новую оценку.")
                         .arg(assessed_.size())
                         .arg(list_.errors.size()));

    auto* errors = new QPlainTextEdit(this);
    errors->setObjectName(QStringLiteral("meSummaryErrors"));
    errors->setReadOnly(true);
    for (const WorkplaceRefusal& e : list_.errors)
        errors->appendPlainText(
            QStringLiteral("строка %1, столбец %2: %3").arg(e.row).arg(QText(e.column), QText(e.problem)));
    errors->setVisible(!list_.errors.empty());
    errors->setMaximumHeight(110);

    auto* chart = MakeChartView(this, "chSummary");
    ShowChart(chart, SummaryChart(list_, assessed_));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    QPushButton* csv = buttons->addButton(QStringLiteral("Экспорт в CSV…"), QDialogButtonBox::ActionRole);
    csv->setObjectName(QStringLiteral("butSummaryCsv"));
    QPushButton* xlsx = buttons->addButton(QStringLiteral("Экспорт в XLSX…"), QDialogButtonBox::ActionRole);
    xlsx->setObjectName(QStringLiteral("butSummaryXlsx"));
    connect(csv, &QPushButton::clicked, this, Guard(this, [this] { Export(false); }));
    connect(xlsx, &QPushButton::clicked, this, Guard(this, [this] { Export(true); }));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* columns = new QHBoxLayout;
    columns->addWidget(table, 3);
    columns->addWidget(chart, 2);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(summary);
    layout->addLayout(columns, 1);
    layout->addWidget(errors);
    layout->addWidget(buttons);
    resize(1280, 900);
}

void SummaryView::Export(bool xlsx)
{
    const QString filter = xlsx ? QStringLiteral("Книги Excel (*.xlsx)") : QStringLiteral("Таблицы CSV (*.csv)");
    QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Экспорт сводной оценки"), QString(), filter);
    if (path.isEmpty()) return;
    const QString extension = xlsx ? QStringLiteral(".xlsx") : QStringLiteral(".csv");
    if (!path.endsWith(extension, Qt::CaseInsensitive)) path += extension;
    if (xlsx) {
        WriteSummaryXlsx(Utf8(path), list_, assessed_);
        return;
    }
    std::ofstream file(Utf8(path), std::ios::binary);
    file << SummaryCsv(list_, assessed_);
    file.close();
    if (!file) throw KestalError("Файл «" + Utf8(path) + "» не сохранён: запись не удалась");
}

}  // namespace kestal
