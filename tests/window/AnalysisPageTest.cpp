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
#include <QValueAxis>

#include <QApplication>
#include <QGraphicsItem>

#include <algorithm>
#include <QHelpEvent>
#include <QToolTip>

#include "analysis/AnalysisTexts.h"
#include "MeasureFixture.h"
#include "widgets/FactorPanel.h"
#include "widgets/FrontierChart.h"
#include "widgets/NetworkDiagram.h"
#include "widgets/WindowFit.h"
#include "widgets/Monitor.h"
#include "common/Formats.h"

using namespace kestal;

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
        const auto nodes = window->session().assessment().ExactNodes().node;
        return {nodes.begin(), nodes.end()};
    }
    QString StatusText()
    {
        return QString::fromStdString(
            AccidentStatusText(window->session().assessment().ExactNodes(), RussianNumberLocale()));
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
    const RunPrecision run = PrecisionOf(window->session().assessment().results.back());
    std::vector<long double> low, high;
    for (const NodePrecision& node : run.node) {
        low.push_back(node.low);
        high.push_back(node.high);
    }
    EXPECT_EQ(Column("sgNodes", 4), Texts(low));
    EXPECT_EQ(Column("sgNodes", 5), Texts(high));
    EXPECT_TRUE(Find<QLabel>("lbPrecision")
                    ->text()
                    .startsWith(QString::fromUtf8("Относительная погрешность частоты происшествия ")));
    EXPECT_TRUE(Find<QLabel>("lbPrecision")->text().contains(QStringLiteral("K = 20 ")));
}

TEST_F(AnalysisPage, AClickOnAFactorsRowOrBarShowsItsPanel)
{
    ShowView(Importance);
    const ImportanceTable table = window->session().assessment().Importance();
    auto* rows = Find<QTableWidget>("sgImportance");
    ASSERT_EQ(rows->rowCount(), 30);
    QTest::mouseClick(rows->viewport(), Qt::LeftButton, {}, rows->visualItemRect(rows->item(2, 0)).center());
    ExpectPanelShown(CatalogueIndex(*table.factors[2].factor));

    // The top bar of the tornado: its row's middle, at the current probability.
    ShowView(Importance);
    auto* view = Find<QChartView>("chTornado");
    QChart* chart = view->chart();
    const QPointF onBar =
        chart->mapToPosition(QPointF(static_cast<double>(table.accident), 29), chart->series().front());
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->mapFromScene(chart->mapToScene(onBar)));
    ExpectPanelShown(CatalogueIndex(*table.factors[0].factor));
}

TEST_F(AnalysisPage, CapturedMeasuresAreJudgedWhileTheWindowAnswersAndBecomeTheFrontier)
{
    TypeInto("edActName", QStringLiteral("Обучение"));
    Capture({{"H13", 10}}, QStringLiteral("300"));
    ShowView(BestSet);
    auto* line = Find<QLabel>("lbBestSet");
    EXPECT_EQ(line->text(), QString::fromUtf8(BestSetCountText));
    EXPECT_FALSE(Find<QChartView>("chFrontier")->isVisible());

    ClickTab(Find<QTabWidget>("PageControl1"), 1);
    TypeInto("edActName", QStringLiteral("Ремонт"));
    Capture({{"M08", 10}}, QStringLiteral("400"));
    TypeInto("edActName", QStringLiteral("Тренажёр"));
    Capture({{"H14", 10}}, QStringLiteral("900"));
    ShowView(BestSet);
    const MeasureOptimum optimum = window->session().assessment().PrepareBestMeasures().Execute();
    const std::vector<CandidateMeasure> measures = window->session().assessment().CapturedCandidates();
    const QString best = QString::fromStdString(BestSetLine(optimum, measures, RussianNumberLocale()));
    // The page says it is judging and the window takes clicks meanwhile; then the line comes.
    EXPECT_EQ(line->text(), QString::fromUtf8("Подбирается лучший набор мер…"));
    EXPECT_TRUE(Find<QWidget>("butBestSetStop")->isVisible());
    auto* views = Find<QTabWidget>("pcAnalysis");
    ClickTab(views, Nodes);
    EXPECT_EQ(views->currentIndex(), Nodes);
    ClickTab(views, BestSet);
    EXPECT_TRUE(QTest::qWaitFor([&] { return line->text() == best; }, 20000)) << line->text().toStdString();
    EXPECT_FALSE(Find<QWidget>("butBestSetStop")->isVisible());
    ASSERT_TRUE(optimum.best);
    EXPECT_EQ(Column("sgFrontier", 0).front(), QString::fromStdString(MembersText(*optimum.best, measures)));
    const auto frontier = std::count_if(optimum.subsets.begin(), optimum.subsets.end(),
                                        [](const MeasureSubset& subset) { return subset.pareto; });
    EXPECT_EQ(Find<QTableWidget>("sgFrontier")->rowCount(), frontier);

    // The frontier's sets carry their tooltips; the best set's is the one under the pointer there.
    auto* view = Find<QChartView>("chFrontier");
    QChart* chart = view->chart();
    int tips = 0;
    for (QGraphicsItem* item : chart->childItems()) tips += !item->toolTip().isEmpty();
    EXPECT_EQ(tips, frontier);
    const MeasureSubset& top =
        *std::find_if(optimum.subsets.begin(), optimum.subsets.end(),
                      [&](const MeasureSubset& subset) { return optimum.best == subset.members; });
    const QPointF at =
        chart->mapToPosition({static_cast<double>(top.cost), static_cast<double>(top.benefit)}, chart->series().back());
    const QPoint pointer = view->mapFromScene(chart->mapToScene(at));
    QHelpEvent hover(QEvent::ToolTip, pointer, view->viewport()->mapToGlobal(pointer));
    QApplication::sendEvent(view->viewport(), &hover);
    EXPECT_EQ(QToolTip::text(), QStringLiteral("Лучший набор: ") + SetTip(top, measures));
    QToolTip::hideText();

    // Another budget is judged anew; "Стоп" ends that and leaves a line without a chart.
    ClickTab(Find<QTabWidget>("PageControl1"), 1);
    TypeInto("edAllMoney", QStringLiteral("1200"));
    ShowView(BestSet);
    EXPECT_EQ(line->text(), QString::fromUtf8("Подбирается лучший набор мер…"));
    QTest::mouseClick(Find<QPushButton>("butBestSetStop"), Qt::LeftButton);
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return line->text() == QString::fromUtf8("Подбор лучшего набора остановлен."); }, 20000))
        << line->text().toStdString();
    EXPECT_FALSE(Find<QChartView>("chFrontier")->isVisible());
    // Beside the line, a way to judge the same sets again.
    auto* again = Find<QPushButton>("butBestSetAgain");
    ASSERT_TRUE(again->isVisible());
    QTest::mouseClick(again, Qt::LeftButton);
    EXPECT_FALSE(again->isVisible());
    const QString judged =
        QString::fromStdString(BestSetLine(window->session().assessment().PrepareBestMeasures().Execute(),
                                           window->session().assessment().CapturedCandidates(), RussianNumberLocale()));
    EXPECT_TRUE(QTest::qWaitFor([&] { return line->text() == judged; }, 20000)) << line->text().toStdString();

    // An unreadable budget: one line instead of the chart.
    ClickTab(Find<QTabWidget>("PageControl1"), 1);
    TypeInto("edAllMoney", QStringLiteral("много"));
    ShowView(BestSet);
    EXPECT_EQ(line->text(), QString::fromUtf8(BestSetBudgetText));
    EXPECT_FALSE(Find<QTableWidget>("sgFrontier")->isVisible());
}

// A measure that raises the accident probability is named in a line, its sets in a section of the
// table, and every set off the frontier has its tooltip where its point is drawn.
TEST_F(AnalysisPage, HarmfulMeasuresAreNamedInTheLineTheTableAndEveryPoint)
{
    TypeInto("edActName", QStringLiteral("Обучение"));
    Capture({{"H13", 10}}, QStringLiteral("300"));
    TypeInto("edActName", QStringLiteral("Ремонт"));
    Capture({{"M08", 10}}, QStringLiteral("400"));
    TypeInto("edActName", QStringLiteral("Спешка"));
    Capture({{"T04", 10}}, QStringLiteral("100"));
    ShowView(BestSet);
    const MeasureOptimum optimum = window->session().assessment().PrepareBestMeasures().Execute();
    const std::vector<CandidateMeasure> measures = window->session().assessment().CapturedCandidates();
    const QString best = QString::fromStdString(BestSetLine(optimum, measures, RussianNumberLocale()));
    auto* line = Find<QLabel>("lbBestSet");
    ASSERT_TRUE(QTest::qWaitFor([&] { return line->text() == best; }, 20000)) << line->text().toStdString();
    const std::string harmful = HarmfulLine(optimum, measures, RussianNumberLocale());
    ASSERT_NE(harmful.find("«Спешка»"), std::string::npos) << harmful;
    EXPECT_TRUE(Find<QLabel>("lbBestSetHarmful")->isVisible());
    EXPECT_EQ(Find<QLabel>("lbBestSetHarmful")->text(), QString::fromStdString(harmful));
    const QStringList first = Column("sgFrontier", 0);
    const auto section = first.indexOf(QString::fromUtf8("Наборы, повышающие вероятность происшествия:"));
    ASSERT_GE(section, 0);
    const auto worst =
        std::max_element(optimum.subsets.begin(), optimum.subsets.end(),
                         [](const MeasureSubset& a, const MeasureSubset& b) { return a.accident < b.accident; });
    EXPECT_EQ(first[section + 1], QString::fromStdString(SubsetText(*worst, measures)));

    auto* view = Find<QChartView>("chFrontier");
    QChart* chart = view->chart();
    const auto* y = static_cast<const QValueAxis*>(chart->axes(Qt::Vertical).front());
    int tipped = 0;
    for (const MeasureSubset& subset : optimum.subsets) {
        if (subset.pareto) continue;
        const QPointF value(static_cast<double>(subset.cost), std::max(static_cast<double>(subset.benefit), y->min()));
        const QPoint pointer =
            view->mapFromScene(chart->mapToScene(chart->mapToPosition(value, chart->series().back())));
        QHelpEvent hover(QEvent::ToolTip, pointer, view->viewport()->mapToGlobal(pointer));
        QApplication::sendEvent(view->viewport(), &hover);
        EXPECT_TRUE(QToolTip::text().contains(SetTip(subset, measures))) << SubsetText(subset, measures);
        tipped += subset.harmful;
        QToolTip::hideText();
    }
    EXPECT_GT(tipped, 0);
    if (qEnvironmentVariableIsSet("KESTAL_SHOTS")) {
        window->showNormal();
        window->resize(1024, 768 - 40 - FrameRoom.height());
        Shot("bestset-harmful");
    }
}

TEST_F(AnalysisPage, ARunOfOtherRatingsIsJudgedAndShownAgainstItsOwnExactValues)
{
    TypeOver(Find<QComboBox>("cbInputK"), QStringLiteral("3"));
    TypeOver(Find<QComboBox>("cbInputN"), QStringLiteral("2000"));
    ClickTab(Find<QTabWidget>("PageControl1"), 0);
    QTest::keyClick(window.get(), Qt::Key_F9);
    WaitForWork(*window);
    const RunBlock block = window->session().assessment().results.back();
    const RunPrecision run = PrecisionOf(block);
    const std::vector<long double> runExact = [&] {
        const auto nodes = ExactNodeProbabilities(block.inputs).node;
        return std::vector<long double>(nodes.begin(), nodes.end());
    }();
    QStringList inside;
    for (const NodePrecision& node : run.node) inside << QString::fromUtf8(node.exactInside ? "да" : "нет");
    auto* chartView = Find<QChartView>("chNodes");
    const auto judgedMarks = [&]() -> QStringList {
        QStringList marks;
        for (QAbstractSeries* series : chartView->chart()->series())
            if (series->name() == QString::fromUtf8("Точная при оценках опыта"))
                for (QPointF point : static_cast<QXYSeries*>(series)->points())
                    marks << QString::number(point.y(), 'g', 6);
        return marks;
    };
    QStringList runMarks;
    for (long double value : runExact) runMarks << QString::number(static_cast<double>(value), 'g', 6);

    // One row per case: the ratings the run was made with, other ratings, and back again.
    struct Case {
        int level;  // T02's item, -1 for the run's own
        bool other;
    };
    const int own = window->session().state().Row(FactorIndex("T02")).currentItem;
    for (const Case& c : {Case{-1, false}, Case{own == 10 ? 0 : 10, true}, Case{own, false}}) {
        if (c.level >= 0) {
            ClickTab(Find<QTabWidget>("PageControl1"), 0);
            PickItem(Find<QComboBox>("cbT02"), c.level);
        }
        ShowView(Nodes);
        const int columns = Find<QTableWidget>("sgNodes")->columnCount();
        EXPECT_EQ(Column("sgNodes", 2), Texts(Exact())) << c.level;
        EXPECT_EQ(columns, c.other ? 8 : 7) << c.level;
        // The "inside" column is judged against the exact values shown in the same row.
        EXPECT_EQ(Column("sgNodes", columns - 1), inside) << c.level;
        if (c.other) {
            EXPECT_EQ(Find<QTableWidget>("sgNodes")->horizontalHeaderItem(3)->text(),
                      QString::fromUtf8("Точная при оценках опыта"));
            EXPECT_EQ(Column("sgNodes", 3), Texts(runExact));
            EXPECT_NE(Column("sgNodes", 2), Column("sgNodes", 3));
        } else {
            EXPECT_EQ(Texts(Exact()), Texts(runExact)) << c.level;
        }
        EXPECT_EQ(judgedMarks(), c.other ? runMarks : QStringList()) << c.level;
        EXPECT_EQ(Find<NetworkDiagram>("pbNetwork")->note().isEmpty(), !c.other) << c.level;
    }
}

}  // namespace
