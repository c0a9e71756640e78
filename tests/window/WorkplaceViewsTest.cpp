// The comparison and the summary in the window: what they show, sorting, and a workplace opened.
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QTest>
#include <QWindow>

#include "window/TFormKestal.h"
#include "factors/Settings.h"
#include "WindowFixture.h"

using namespace kestal;

namespace {

const QString Examples = QStringLiteral(KESTAL_SOURCE_DIR "/examples/");

class WorkplaceViews : public WindowTest {
protected:
    QDialog* AwaitView(const char* name)
    {
        // The view opens when the work has ended.
        const QString object = QLatin1String(name);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !window->Working() && window->findChild<QDialog*>(object); }, 20'000));
        return window->findChild<QDialog*>(object);
    }
    static QStringList Column(QTableWidget* table, int column)
    {
        QStringList texts;
        for (int row = 0; row < table->rowCount(); ++row) texts << table->item(row, column)->text();
        return texts;
    }
    static void Shot(QWidget* view, const char* name)
    {
        const QString folder = qEnvironmentVariable("KESTAL_SHOTS");
        if (folder.isEmpty()) return;
        QTest::qWait(200);
        view->grab().save(QDir(folder).filePath(QLatin1String(name) + QStringLiteral(".png")));
    }
};

TEST_F(WorkplaceViews, TheComparisonShowsTheDifferingFactorsLargestFirst)
{
    window->OpenProjectAt(Examples + QStringLiteral("workplace-revised.kestal"));
    window->CompareWithFile(Examples + QStringLiteral("workplace.kestal"));
    QDialog* view = AwaitView("CompareView");
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->size(), QSize(1280, 900));
    auto* contributions = view->findChild<QTableWidget*>(QStringLiteral("sgCompareContributions"));
    ASSERT_NE(contributions, nullptr);
    EXPECT_EQ(Column(contributions, 0).join(u' '), QStringLiteral("M03 H12 H04 T04 C01 H01"));
    EXPECT_EQ(Column(contributions, 1).join(u' '), QStringLiteral("8 3 6 8 3 7"));
    auto* ratings = view->findChild<QTableWidget*>(QStringLiteral("sgCompareRatings"));
    int marked = 0;
    for (int row = 0; row < ratings->rowCount(); ++row) marked += ratings->item(row, 0)->font().bold();
    EXPECT_EQ(marked, 6);
    EXPECT_TRUE(view->findChild<QLabel*>(QStringLiteral("lbCompareDifference"))->text().contains(QStringLiteral("ΔP")));
    Shot(view, "compare");

    // Against the version last opened: the same file, so nothing differs.
    view->close();
    QTest::qWait(20);
    window->findChild<QAction*>(QStringLiteral("acCompareSaved"))->trigger();
    view = AwaitView("CompareView");
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->findChild<QTableWidget*>(QStringLiteral("sgCompareContributions"))->rowCount(), 0);
    EXPECT_TRUE(view->findChild<QLabel*>(QStringLiteral("lbCompareDifference"))
                    ->text()
                    .endsWith(QStringLiteral("Оценки факторов совпадают.")));
}

TEST_F(WorkplaceViews, TheSummarySortsAndOpensAWorkplace)
{
    window->SummariseFile(Examples + QStringLiteral("enterprise.xlsx"));
    QDialog* view = AwaitView("SummaryView");
    ASSERT_NE(view, nullptr);
    auto* table = view->findChild<QTableWidget*>(QStringLiteral("sgSummary"));
    ASSERT_NE(table, nullptr);
    ASSERT_EQ(table->rowCount(), 20);
    // Ranked first; a click on "Строка" sorts by the file's rows.
    QStringList ranks;
    for (int rank = 1; rank <= 20; ++rank) ranks << QString::number(rank);
    EXPECT_EQ(Column(table, 0), ranks);
    Shot(view, "summary");
    const QPoint header(table->horizontalHeader()->sectionViewportPosition(1) + 5, 5);
    QTest::mouseClick(table->horizontalHeader()->viewport(), Qt::LeftButton, {}, header);
    EXPECT_EQ(table->item(0, 1)->text(), QStringLiteral("2"));
    EXPECT_EQ(table->item(19, 1)->text(), QStringLiteral("21"));
    // A double click opens row 12 (rank 1) as a new, unsaved assessment with its levels.
    const QRect cell = table->visualItemRect(table->item(10, 2));
    ASSERT_EQ(table->item(10, 1)->text(), QStringLiteral("12"));
    // An item view takes a double click for the cell its press was on: the first click presses it.
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_EQ(window->session().assessment().RatingInputs().slot[FindFactor("T04")->slot], LevelTable[9].value);
    EXPECT_EQ(window->session().assessment().RatingInputs().slot[FindFactor("H02")->slot],
              InitialInputs().slot[FindFactor("H02")->slot]);
    EXPECT_TRUE(window->windowHandle()->title().startsWith(QStringLiteral("Новая оценка*")));
}

}  // namespace
