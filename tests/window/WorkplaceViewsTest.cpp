// The comparison and the summary in the window: what they show and at what precision, sorting,
// copying and export, fitting a 1024 × 768 screen, and a workplace opened from the summary.
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QChartView>
#include <QClipboard>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScreen>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>

#include "analysis/AssessmentComparison.h"
#include "analysis/FactorImportance.h"
#include "analysispage/SummaryView.h"
#include "window/TFormKestal.h"
#include "project/ProjectFile.h"
#include "widgets/TableCopy.h"
#include "widgets/UiText.h"
#include "widgets/WindowFit.h"
#include "common/Formats.h"
#include "factors/Settings.h"
#include "sheets/TableFile.h"
#include "WindowFixture.h"

using namespace kestal;

namespace {

const QString Examples = QStringLiteral(KESTAL_SOURCE_DIR "/examples/");
const NumberLocale ru = RussianNumberLocale();

QString Full(long double value) { return QString::fromStdString(GeneralText(value, ru)); }

class WorkplaceViews : public WindowTest {
protected:
    static QStringList Column(const QTableView* table, int column)
    {
        QStringList texts;
        for (int row = 0; row < table->model()->rowCount(); ++row)
            texts << table->model()->index(row, column).data().toString();
        return texts;
    }
    static void Shot(QWidget* view, const char* name)
    {
        const QString folder = qEnvironmentVariable("KESTAL_SHOTS");
        if (folder.isEmpty()) return;
        QTest::qWait(200);
        view->grab().save(QDir(folder).filePath(QLatin1String(name) + QStringLiteral(".png")));
    }
    // The view closed and gone, so that the next one of its name is a new one.
    static void Close(QWidget* view)
    {
        QPointer<QWidget> closing(view);
        view->close();
        ASSERT_TRUE(QTest::qWaitFor([&closing] { return closing.isNull(); }));
    }
    QDialog* Compare()
    {
        window->OpenProjectAt(Examples + QStringLiteral("workplace-revised.kestal"));
        window->CompareWithFile(Examples + QStringLiteral("workplace.kestal"));
        return qobject_cast<QDialog*>(AwaitWindow(*window, "CompareView"));
    }
    QDialog* Summary(const QString& path = Examples + QStringLiteral("enterprise.xlsx"))
    {
        window->SummariseFile(path);
        return qobject_cast<QDialog*>(AwaitWindow(*window, "SummaryView"));
    }
};

TEST_F(WorkplaceViews, TheComparisonShowsTheDifferingFactorsLargestFirst)
{
    QDialog* view = Compare();
    ASSERT_NE(view, nullptr);
    auto* contributions = view->findChild<QTableWidget*>(QStringLiteral("sgCompareContributions"));
    ASSERT_NE(contributions, nullptr);
    EXPECT_EQ(Column(contributions, 0).join(u' '), QStringLiteral("M03 H12 H04 T04 C01 H01"));
    EXPECT_EQ(Column(contributions, 1).join(u' '), QStringLiteral("8 3 6 8 3 7"));
    auto* ratings = view->findChild<QTableWidget*>(QStringLiteral("sgCompareRatings"));
    int marked = 0;
    for (int row = 0; row < ratings->rowCount(); ++row) marked += ratings->item(row, 0)->font().bold();
    EXPECT_EQ(marked, 6);
    // Probabilities as the tabs show them, at full precision in their tooltips and when copied.
    const NetworkInputs a =
        OpenProjectFile(Utf8(Examples + QStringLiteral("workplace.kestal"))).assessment.RatingInputs();
    const AssessmentComparison comparison = CompareAssessments(a, window->session().assessment().RatingInputs());
    const QTableWidgetItem* accident = view->findChild<QTableWidget*>(QStringLiteral("sgCompareNodes"))->item(NodeI, 2);
    EXPECT_EQ(accident->text(), QString::fromStdString(ProbabilityText(comparison.a.node[NodeI], ru)));
    EXPECT_EQ(accident->toolTip(), Full(comparison.a.node[NodeI]));
    const QString delta = QString::fromStdString(ProbabilityText(comparison.difference, ru));
    EXPECT_TRUE(
        view->findChild<QLabel*>(QStringLiteral("lbCompareDifference"))->text().endsWith(QStringLiteral("= ") + delta));
    contributions->setFocus();
    QTest::keyClick(contributions, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(contributions, Qt::Key_C, Qt::ControlModifier);
    const QStringList first = QApplication::clipboard()->text().split(u'\n').front().split(u'\t');
    ASSERT_EQ(first.size(), 5);
    EXPECT_EQ(first[3], Full(comparison.contributions.front().contribution));

    // Against the version last opened: the same file, so nothing differs.
    Close(view);
    window->findChild<QAction*>(QStringLiteral("acCompareSaved"))->trigger();
    view = qobject_cast<QDialog*>(AwaitWindow(*window, "CompareView"));
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->findChild<QTableWidget*>(QStringLiteral("sgCompareContributions"))->rowCount(), 0);
    EXPECT_TRUE(view->findChild<QLabel*>(QStringLiteral("lbCompareDifference"))
                    ->text()
                    .endsWith(QStringLiteral("Оценки факторов совпадают.")));
}

// Both windows open within the screen's free area, and on a 1024 × 768 screen (with a panel of 40
// pixels) every button, table, chart and text lies inside the window, each table with rows to see.
TEST_F(WorkplaceViews, BothWindowsFitTheScreenEverythingReachableAt1024By768)
{
    const QRect small(0, 0, 1024, 768 - 40);
    // The example enterprise with two rows refused, so that they are listed too.
    const QTemporaryDir folder;
    QFile table(folder.filePath(QStringLiteral("цех.csv")));
    ASSERT_TRUE(table.open(QIODevice::WriteOnly));
    QFile example(Examples + QStringLiteral("enterprise.csv"));
    ASSERT_TRUE(example.open(QIODevice::ReadOnly));
    table.write(example.readAll() + "Склад, кладовщик;12\nСклад, весовщик;много\n");
    table.close();
    for (const bool summary : {false, true}) {
        QDialog* view = summary ? Summary(table.fileName()) : Compare();
        ASSERT_NE(view, nullptr);
        SCOPED_TRACE(view->objectName().toStdString());
        EXPECT_TRUE(view->screen()->availableGeometry().contains(view->geometry()));
        const QRect fitted = FittedGeometry(QSize(1280, 900), view->minimumSizeHint(), small);
        EXPECT_LE(fitted.width(), small.width() - FrameRoom.width());
        EXPECT_LE(fitted.height(), small.height() - FrameRoom.height());
        view->setGeometry(fitted);
        view->layout()->activate();
        int checked = 0;
        for (QWidget* widget : view->findChildren<QWidget*>()) {
            const bool control = qobject_cast<QAbstractButton*>(widget) || qobject_cast<QAbstractItemView*>(widget) ||
                                 qobject_cast<QPlainTextEdit*>(widget) || qobject_cast<QChartView*>(widget) ||
                                 qobject_cast<QLabel*>(widget);
            bool inner = false;  // a part of a table, a chart or a text field: it scrolls with it
            for (QWidget* up = widget->parentWidget(); up != view; up = up->parentWidget())
                inner = inner || qobject_cast<QAbstractScrollArea*>(up);
            if (!control || inner || !widget->isVisibleTo(view)) continue;
            const QRect place(widget->mapTo(view, QPoint()), widget->size());
            EXPECT_TRUE(view->rect().contains(place)) << widget->objectName().toStdString();
            EXPECT_FALSE(place.isEmpty()) << widget->objectName().toStdString();
            if (auto* table = qobject_cast<QTableView*>(widget)) {
                EXPECT_GE(table->viewport()->height(), 3 * table->verticalHeader()->defaultSectionSize())
                    << widget->objectName().toStdString();
            }
            ++checked;
        }
        EXPECT_GE(checked, 6);
        if (summary) {
            EXPECT_TRUE(view->findChild<QWidget*>(QStringLiteral("meSummaryErrors"))->isVisibleTo(view));
        }
        // The README's pictures: both windows as a 1024 × 768 screen shows them.
        Shot(view, summary ? "summary" : "compare");
        Close(view);
    }
}

TEST_F(WorkplaceViews, TheSummarySortsCopiesExportsAndOpensAWorkplace)
{
    QDialog* view = Summary();
    ASSERT_NE(view, nullptr);
    auto* table = view->findChild<QTableView*>(QStringLiteral("sgSummary"));
    ASSERT_NE(table, nullptr);
    // A model's view: no item per cell.
    EXPECT_EQ(qobject_cast<QTableWidget*>(table), nullptr);
    ASSERT_EQ(table->model()->rowCount(), 20);
    // Ranked first; a click on "Строка" sorts by the file's rows.
    QStringList ranks;
    for (int rank = 1; rank <= 20; ++rank) ranks << QString::number(rank);
    EXPECT_EQ(Column(table, 0), ranks);
    const QPoint header(table->horizontalHeader()->sectionViewportPosition(1) + 5, 5);
    QTest::mouseClick(table->horizontalHeader()->viewport(), Qt::LeftButton, {}, header);
    EXPECT_EQ(Column(table, 1).front(), QStringLiteral("2"));
    EXPECT_EQ(Column(table, 1).back(), QStringLiteral("21"));

    // The first workplace of the file, as a spreadsheet gets it: Russian headers, ";", numbers at
    // full precision, from a copy (tabs) and from the export (CSV as every table saves it, XLSX).
    const WorkplaceList list = ReadWorkplaces(ReadTableFile(Utf8(Examples + QStringLiteral("enterprise.xlsx"))));
    const std::vector<WorkplaceAssessment> assessed = *AssessWorkplaces(list.workplaces, true);
    QStringList first = {QString::number(assessed[0].rank), QStringLiteral("2"), QText(list.workplaces[0].name),
                         Full(assessed[0].nodes.node[NodeI])};
    QStringList top;
    for (const FactorInfo* factor : assessed[0].top) top << QLatin1String(factor->id);
    first << top.join(QStringLiteral(", "));
    for (int node = 0; node < NodeI; ++node) first << Full(assessed[0].nodes.node[node]);
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, table->visualRect(table->model()->index(0, 2)).center());
    QTest::keyClick(table, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), first.join(u'\t') + u'\n');

    const QTemporaryDir folder;
    auto* summaryView = static_cast<SummaryView*>(view);
    summaryView->ExportTo(folder.filePath(QStringLiteral("сводка.csv")), false);
    EXPECT_TRUE(view->findChild<QWidget*>(QStringLiteral("butSummaryStop"))->isVisibleTo(view));
    summaryView->WaitForExport();
    EXPECT_FALSE(view->findChild<QWidget*>(QStringLiteral("butSummaryStop"))->isVisibleTo(view));
    QFile csv(folder.filePath(QStringLiteral("сводка.csv")));
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    const QByteArray bytes = csv.readAll();
    EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
    const QStringList lines = QString::fromUtf8(bytes.mid(3)).split(QStringLiteral("\r\n"));
    EXPECT_EQ(lines[0], QStringLiteral("Ранг;Строка;Рабочее место;Происшествие;Главные факторы;B;C;D;E;F;G;H"));
    EXPECT_EQ(lines[1], first.join(u';'));
    EXPECT_EQ(lines.size(), 1 + 20 + 1);
    summaryView->ExportTo(folder.filePath(QStringLiteral("сводка.xlsx")), true);
    summaryView->WaitForExport();
    const TableCells sheet = ReadXlsxCells(Utf8(folder.filePath(QStringLiteral("сводка.xlsx"))));
    ASSERT_EQ(sheet.size(), 21u);
    EXPECT_EQ(QText(sheet[0][3]), QStringLiteral("Происшествие"));
    EXPECT_EQ(sheet[1][1], "2");
    // A number cell, as the XLSX writer writes it (16 significant digits).
    const double accidentValue = static_cast<double>(assessed[0].nodes.node[NodeI]);
    EXPECT_NEAR(std::stod(sheet[1][3]), accidentValue, accidentValue * 1e-15);

    // A double click opens row 12 (rank 1) as a new, unsaved assessment with its levels, titled with
    // its name, at the front.
    const QModelIndex cell = table->model()->index(10, 2);
    ASSERT_EQ(Column(table, 1)[10], QStringLiteral("12"));
    const QString name = cell.data().toString();
    // An item view takes a double click for the cell its press was on: the first click presses it.
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, table->visualRect(cell).center());
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, table->visualRect(cell).center());
    EXPECT_EQ(window->session().assessment().RatingInputs().slot[FindFactor("T04")->slot], LevelTable[9].value);
    EXPECT_EQ(window->session().assessment().RatingInputs().slot[FindFactor("H02")->slot],
              InitialInputs().slot[FindFactor("H02")->slot]);
    EXPECT_EQ(window->windowHandle()->title(), name + QStringLiteral("* — Kestal 2.0"));
    EXPECT_TRUE(QTest::qWaitFor([this] { return QApplication::activeWindow() == window.get(); }));
    // The summary stays a window beside the main one, not over it, and closing the main window
    // still ends the program.
    EXPECT_EQ(view->windowHandle()->transientParent(), nullptr);
    EXPECT_FALSE(view->testAttribute(Qt::WA_QuitOnClose));
}

// Sorting by any column keeps equal values in the file's order both ways round; names sort as a
// person reads their numbers.
TEST_F(WorkplaceViews, TheSummarySortsByTheValuesEqualOnesInFileOrder)
{
    WorkplaceList list;
    std::vector<WorkplaceAssessment> assessed;
    const struct {
        const char* name;
        long double accident;
        int rank;
    } rows[] = {{"Место 10", 0.001L, 3},
                {"Место 9", 0.001L, 4},
                {"место 9", 0.003L, 1},
                {"Место 09", 0.0005L, 5},
                {"", 0.002L, 2}};
    for (const auto& r : rows) {
        list.workplaces.push_back({list.workplaces.size() + 2, r.name, {}});
        WorkplaceAssessment& w = assessed.emplace_back();
        w.nodes.node[NodeI] = r.accident;
        w.rank = r.rank;
    }
    auto* view = new SummaryView(window.get(), QStringLiteral("проба"), list, assessed, {});
    view->show();
    auto* table = view->findChild<QTableView*>(QStringLiteral("sgSummary"));
    const auto click = [table](int column) {
        QHeaderView* header = table->horizontalHeader();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(column) + 5, 5));
    };
    const struct {
        int column;  // the header clicked
        const char* rows;
    } clicks[] = {
        // Ranked at the start; a click on another column sorts it ascending, one more turns it round.
        {RankColumn, "5 3 2 6 4"},     {NameColumn, "6 3 5 2 4"},  // the blank, 9 and 09 in file order, 10, м
        {NameColumn, "4 2 3 5 6"},                                 // descending: 9 and 09 still in file order
        {AccidentColumn, "5 2 3 6 4"},                             // ascending: 0,001 twice in file order
        {AccidentColumn, "4 6 2 3 5"},                             // descending: still in file order
        {RowColumn, "2 3 4 5 6"},
    };
    for (const auto& c : clicks) {
        click(c.column);
        EXPECT_EQ(Column(table, RowColumn).join(u' '), QLatin1String(c.rows)) << c.column;
    }
    view->close();
}

}  // namespace
