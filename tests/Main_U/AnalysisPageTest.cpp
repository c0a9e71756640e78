// The page "Анализ" driven as a person drives it: the exact values follow a rating, a run fills the
// intervals, a click on a factor's row or bar shows its panel, and the captured measures become the
// best set's points and frontier.
#include <QChart>
#include <QChartView>
#include <QLabel>
#include <QLineSeries>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScatterSeries>
#include <QTableWidget>
#include <QTest>

#include "Analysis/AnalysisTexts.h"
#include "MeasureFixture.h"
#include "Widgets/FactorPanel.h"
#include "Widgets/Monitor.h"
#include "common/Formats.h"

namespace {

constexpr int AnalysisTab = 3;
enum View { Nodes, Importance, BestSet };

class AnalysisPage : public MeasureTest {
protected:
    void ShowView(View view)
    {
        ClickTab(Find<QTabWidget>("PageControl1"), AnalysisTab);
        ClickTab(Find<QTabWidget>("pcAnalysis"), view);
    }
    QStringList Column(const char* table, int column)
    {
        QStringList cells;
        auto* grid = Find<QTableWidget>(QString::fromLatin1(table));
        for (int row = 0; row < grid->rowCount(); ++row) cells << grid->item(row, column)->text();
        return cells;
    }
    QStringList Texts(const std::vector<long double>& values)
    {
        QStringList texts;
        for (long double value : values) texts << QString::fromStdString(ProbabilityText(value, RussianNumberLocale()));
        return texts;
    }
    std::vector<long double> Exact()
    {
        const auto nodes = window->session().ExactNodes().node;
        return {nodes.begin(), nodes.end()};
    }
    QString StatusText()
    {
        return QString::fromStdString(AccidentStatusText(window->session().ExactNodes(), RussianNumberLocale()));
    }
    // The panel is on its page, grey, and its help in the monitor.
    void ExpectPanelShown(int factor)
    {
        const FactorInfo& info = FactorCatalogue[factor];
        EXPECT_EQ(Find<QTabWidget>("PageControl1")->currentWidget(), Find<QWidget>("tsModeling"));
        EXPECT_EQ(Find<QTabWidget>("pcFactors")->currentIndex(), info.group);
        auto* panel = Find<FactorPanel>(QStringLiteral("p") + QLatin1String(info.id));
        EXPECT_TRUE(panel->isVisible());
        EXPECT_EQ(panel->colour(), HighlightColour());
        QStringList help;
        for (const char* line : HelpLines(info, HelpForm::Panel)) help << QString::fromUtf8(line);
        EXPECT_EQ(Lines(Find<QPlainTextEdit>("reHelp")), help);
    }
};

TEST_F(AnalysisPage, ExactValuesFollowTheRatingsAndARunFillsTheIntervals)
{
    auto* status = Find<QLabel>("lbExactAccident");
    EXPECT_EQ(status->text(), StatusText());
    ShowView(Nodes);
    EXPECT_EQ(Column("sgNodes", 2), Texts(Exact()));
    EXPECT_EQ(Column("sgNodes", 4), QStringList(8, QString()));

    // A rating changes on "Моделирование": the status bar follows at once, the page when shown.
    const QString before = status->text();
    ClickTab(Find<QTabWidget>("PageControl1"), 0);
    PickItem(Find<QComboBox>("cbT02"), 10);
    EXPECT_EQ(status->text(), StatusText());
    EXPECT_NE(status->text(), before);
    ShowView(Nodes);
    EXPECT_EQ(Column("sgNodes", 2), Texts(Exact()));

    // F9 runs the modeling from this page too.
    TypeOver(Find<QComboBox>("cbInputK"), QStringLiteral("20"));
    ShowView(Nodes);
    QTest::keyClick(window.get(), Qt::Key_F9);
    WaitForWork(*window);
    const RunPrecision run = Session::PrecisionOf(window->session().state().results.back());
    std::vector<long double> low, high;
    for (const NodePrecision& node : run.node) {
        low.push_back(node.low);
        high.push_back(node.high);
    }
    EXPECT_EQ(Column("sgNodes", 4), Texts(low));
    EXPECT_EQ(Column("sgNodes", 5), Texts(high));
    EXPECT_TRUE(Find<QLabel>("lbPrecision")->text().startsWith(QString::fromUtf8("Относительная погрешность частоты происшествия ")));
    EXPECT_TRUE(Find<QLabel>("lbPrecision")->text().contains(QStringLiteral("K = 20 ")));
}

TEST_F(AnalysisPage, AClickOnAFactorsRowOrBarShowsItsPanel)
{
    ShowView(Importance);
    const ImportanceTable table = window->session().Importance();
    auto* rows = Find<QTableWidget>("sgImportance");
    ASSERT_EQ(rows->rowCount(), 30);
    QTest::mouseClick(rows->viewport(), Qt::LeftButton, {}, rows->visualItemRect(rows->item(2, 0)).center());
    ExpectPanelShown(CatalogueIndex(*table.factors[2].factor));

    // The top bar of the tornado: its row's middle, at the current probability.
    ShowView(Importance);
    auto* view = Find<QChartView>("chTornado");
    QChart* chart = view->chart();
    const QPointF onBar = chart->mapToPosition(QPointF(static_cast<double>(table.accident), 29), chart->series().front());
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->mapFromScene(chart->mapToScene(onBar)));
    ExpectPanelShown(CatalogueIndex(*table.factors[0].factor));
}

TEST_F(AnalysisPage, CapturedMeasuresBecomeTheBestSetsPointsAndFrontier)
{
    TypeInto("edActName", QStringLiteral("Обучение"));
    Capture({{"H13", 10}}, QStringLiteral("300"));
    ShowView(BestSet);
    EXPECT_EQ(Find<QLabel>("lbBestSet")->text(), QString::fromUtf8(BestSetCountText));
    EXPECT_FALSE(Find<QChartView>("chFrontier")->isVisible());

    ClickTab(Find<QTabWidget>("PageControl1"), 1);
    TypeInto("edActName", QStringLiteral("Ремонт"));
    Capture({{"M08", 10}}, QStringLiteral("400"));
    TypeInto("edActName", QStringLiteral("Тренажёр"));
    Capture({{"H14", 10}}, QStringLiteral("900"));
    ShowView(BestSet);
    const MeasureOptimum optimum = window->session().BestMeasures();
    const std::vector<CandidateMeasure> measures = window->session().CapturedCandidates();
    ASSERT_TRUE(optimum.best);
    EXPECT_EQ(Column("sgFrontier", 0).front(), QString::fromStdString(MembersText(*optimum.best, measures)));
    EXPECT_EQ(Find<QLabel>("lbBestSet")->text(), QString::fromStdString(BestSetLine(optimum, measures, RussianNumberLocale())));
    // Every set a point, doing nothing included; the frontier's sets on the line.
    int points = 0;
    int frontier = 0;
    for (QAbstractSeries* series : Find<QChartView>("chFrontier")->chart()->series()) {
        const auto* xy = static_cast<QXYSeries*>(series);
        if (series->name().startsWith(QString::fromUtf8("Наборы"))) points += xy->count();
        if (series->name() == QString::fromUtf8("Граница Парето")) frontier = xy->count();
    }
    EXPECT_EQ(points, 8);
    EXPECT_EQ(frontier, std::count_if(optimum.subsets.begin(), optimum.subsets.end(),
                                      [](const MeasureSubset& subset) { return subset.pareto; }));
    EXPECT_EQ(Find<QTableWidget>("sgFrontier")->rowCount(), frontier);

    // An unreadable budget: one line instead of the chart.
    ClickTab(Find<QTabWidget>("PageControl1"), 1);
    TypeInto("edAllMoney", QStringLiteral("много"));
    ShowView(BestSet);
    EXPECT_EQ(Find<QLabel>("lbBestSet")->text(), QString::fromUtf8(BestSetBudgetText));
    EXPECT_FALSE(Find<QTableWidget>("sgFrontier")->isVisible());
}

}  // namespace
