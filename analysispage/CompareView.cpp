// The comparison window: ratings, nodes, contributions and their waterfall.
#include "analysispage/CompareView.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLegendMarker>
#include <QScrollBar>
#include <QStackedBarSeries>
#include <QTableWidget>
#include <QValueAxis>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <vector>

#include "analysis/FactorImportance.h"
#include "widgets/ChartParts.h"
#include "widgets/TableCopy.h"
#include "widgets/UiLocale.h"
#include "widgets/UiText.h"
#include "widgets/WindowFit.h"
#include "common/Formats.h"

namespace kestal {

namespace {

const QColor HigherColour(210, 70, 60);
const QColor LowerColour(60, 160, 80);
const QColor TotalColour(70, 110, 180);

// A probability as the tabs show it, and at full precision for tooltips, copying and CSV.
struct Number {
    explicit Number(long double value)
        : shown(QText(ProbabilityText(value, UiNumberLocale()))), full(QText(GeneralText(value, UiNumberLocale())))
    {}
    QString shown;
    QString full;
};

QString Level(int number) { return number ? QString::number(number) : QStringLiteral("—"); }

QTableWidget* Table(QWidget* parent, const char* name, const QStringList& headers)
{
    auto* table = new QTableWidget(0, static_cast<int>(headers.size()), parent);
    table->setObjectName(QLatin1String(name));
    table->setHorizontalHeaderLabels(headers);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
    OffersCopy(table);
    return table;
}

// Cells from column `firstNumber` on are numbers, aligned right; `numbers` are the probabilities
// at the end of the row.
void AddRow(QTableWidget* table, int firstNumber, const QStringList& cells, const std::vector<Number>& numbers = {},
            bool marked = false)
{
    const int row = table->rowCount();
    table->insertRow(row);
    const int texts = static_cast<int>(cells.size());
    for (int c = 0; c < texts + static_cast<int>(numbers.size()); ++c) {
        auto* item = new QTableWidgetItem(c < texts ? cells[c] : numbers[c - texts].shown);
        if (c >= texts) {
            item->setData(FullTextRole, numbers[c - texts].full);
            item->setToolTip(numbers[c - texts].full);
        }
        if (c >= firstNumber) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        if (marked) {
            QFont font = item->font();
            font.setBold(true);
            item->setFont(font);
            item->setBackground(QColor(255, 240, 200));
        }
        table->setItem(row, c, item);
    }
}

}  // namespace

QChart* WaterfallChart(const AssessmentComparison& comparison)
{
    QChart* chart = PlainChart();
    chart->setTitle(QStringLiteral("От P_A(I) к P_B(I): вклады факторов"));
    auto* base = new QBarSet(QString());
    auto* higher = new QBarSet(QStringLiteral("повышает"));
    auto* lower = new QBarSet(QStringLiteral("снижает"));
    auto* total = new QBarSet(QStringLiteral("P(I)"));
    base->setColor(Qt::transparent);
    base->setBorderColor(Qt::transparent);
    higher->setColor(HigherColour);
    lower->setColor(LowerColour);
    total->setColor(TotalColour);
    QStringList categories;
    const auto add = [&](const QString& category, long double from, long double to, bool isTotal) {
        categories << category;
        const long double low = std::min(from, to);
        *base << static_cast<double>(isTotal ? 0.0L : low);
        *higher << static_cast<double>(!isTotal && to > from ? to - from : 0.0L);
        *lower << static_cast<double>(!isTotal && to < from ? from - to : 0.0L);
        *total << static_cast<double>(isTotal ? to : 0.0L);
    };
    long double running = comparison.a.node[NodeI];
    add(QStringLiteral("A"), 0.0L, running, true);
    long double highest = running;
    for (const FactorContribution& f : comparison.contributions) {
        add(QLatin1String(f.factor->id), running, running + f.contribution, false);
        running += f.contribution;
        highest = std::max(highest, running);
    }
    add(QStringLiteral("B"), 0.0L, comparison.b.node[NodeI], true);
    highest = std::max(highest, comparison.b.node[NodeI]);

    auto* series = new QStackedBarSeries;
    series->append({base, higher, lower, total});
    series->setBarWidth(0.7);
    auto* x = new QBarCategoryAxis;
    x->append(categories);
    QValueAxis* y = RoundAxis(QStringLiteral("Вероятность происшествия"), 0.0, static_cast<double>(highest) * 1.05);
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    Attach(chart, series, x, y);
    chart->legend()->markers(series).first()->setVisible(false);
    return chart;
}

CompareView::CompareView(QWidget* parent, const QString& nameA, const QString& nameB, const NetworkInputs& a,
                         const NetworkInputs& b, const AssessmentComparison& comparison)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("CompareView"));
    setWindowTitle(QStringLiteral("Сравнение оценок"));
    setAttribute(Qt::WA_DeleteOnClose);

    auto* ratings =
        Table(this, "sgCompareRatings", {QStringLiteral("Фактор"), QStringLiteral("A"), QStringLiteral("B")});
    for (const FactorInfo& f : FactorCatalogue)
        AddRow(ratings, 1,
               {QLatin1String(f.id), Level(LevelNumberOf(a.slot[f.slot])), Level(LevelNumberOf(b.slot[f.slot]))}, {},
               a.slot[f.slot] != b.slot[f.slot]);
    // As wide as its three columns: the room beside it goes to the nodes and the chart.
    ratings->resizeColumnsToContents();
    ratings->setFixedWidth(ratings->horizontalHeader()->length() + 2 * ratings->frameWidth() +
                           ratings->verticalScrollBar()->sizeHint().width());

    auto* nodes = Table(
        this, "sgCompareNodes",
        {QStringLiteral("Узел"), QStringLiteral("Возможные состояния"), QStringLiteral("A"), QStringLiteral("B")});
    for (int node = 0; node < NodeCount; ++node)
        AddRow(nodes, 2, {QLatin1String(NodeLetters[node]), QText(NodeDisplayTexts[node])},
               {Number(comparison.a.node[node]), Number(comparison.b.node[node])}, node == NodeI);

    auto* difference = new QLabel(this);
    difference->setObjectName(QStringLiteral("lbCompareDifference"));
    difference->setWordWrap(true);
    const Number delta(comparison.difference);
    difference->setToolTip(QStringLiteral("ΔP = ") + delta.full);
    QString text = QStringLiteral("A: %1\nB: %2\nΔP = P_B(I) − P_A(I) = %3").arg(nameA, nameB, delta.shown);
    if (comparison.contributions.empty())
        text += QStringLiteral("\nОценки факторов совпадают.");
    else if (comparison.method == ContributionMethod::Sampling)
        text += QStringLiteral("\nВклады оценены по 2000 случайным порядкам факторов (со стандартной ошибкой).");
    difference->setText(text);

    auto* contributions = Table(this, "sgCompareContributions",
                                {QStringLiteral("Фактор"), QStringLiteral("Было"), QStringLiteral("Стало"),
                                 QStringLiteral("Вклад в ΔP"), QStringLiteral("Ст. ошибка")});
    for (const FactorContribution& f : comparison.contributions)
        AddRow(contributions, 1, {QLatin1String(f.factor->id), Level(f.from), Level(f.to)},
               {Number(f.contribution), Number(f.error)});

    auto* chart = MakeChartView(this, "chCompareWaterfall");
    ShowChart(chart, WaterfallChart(comparison));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* right = new QVBoxLayout;
    right->addWidget(difference);
    auto* tables = new QHBoxLayout;
    tables->addWidget(nodes, 3);
    tables->addWidget(contributions, 2);
    right->addLayout(tables, 2);
    right->addWidget(chart, 3);
    auto* columns = new QHBoxLayout;
    columns->addWidget(ratings);
    columns->addLayout(right, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addWidget(buttons);
    FitToScreen(this, QSize(1280, 900));
}

}  // namespace kestal
