// The modeling run: result blocks, node balances, texts, progress and the refusals of bad K and N.
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTest>

#include "network/Series.h"
#include "widgets/Grid.h"
#include "widgets/Monitor.h"
#include "WindowFixture.h"
#include "common/Formats.h"

using namespace kestal;

namespace {

class ModelingRun : public WindowTest {
protected:
    Grid* Result() { return Find<Grid>("sgResult"); }
    void SetRunSize(const char* k, const char* n)
    {
        TypeOver(Find<QComboBox>("cbInputK"), QString::fromLatin1(k));
        TypeOver(Find<QComboBox>("cbInputN"), QString::fromLatin1(n));
    }
    void Run()
    {
        QTest::mouseClick(Find<QPushButton>("buttonRun"), Qt::LeftButton);
        WaitForWork(*window);
    }
    qlonglong Count(int row) { return Result()->cell(4, row).toLongLong(); }
    // The block of nodes B..I starting at `row` balances as the network does.
    void ExpectBalanced(int row, int n)
    {
        EXPECT_EQ(Count(row) + Count(row + 1), n);
        EXPECT_EQ(Count(row + 2) + Count(row + 3), Count(row + 1));
        EXPECT_EQ(Count(row + 4) + Count(row + 5), Count(row + 3));
        EXPECT_EQ(Count(row + 6) + Count(row + 7), Count(row + 5));
    }
};

const QStringList Letters = {"B", "C", "D", "E", "F", "G", "H", "I"};

TEST_F(ModelingRun, FirstRunFillsRowsOneToEight)
{
    Run();
    Grid* grid = Result();
    ASSERT_EQ(grid->rows(), 9);
    EXPECT_EQ(grid->cell(2, 0), QString::fromUtf8("      Мера возможности"));
    const QRegularExpression fixed(QStringLiteral("^\\d,\\d{14}$"));
    for (int node = 0; node < 8; ++node) {
        const int row = 1 + node;
        EXPECT_EQ(grid->cell(0, row), Letters[node]);
        EXPECT_EQ(grid->cell(1, row), QString::fromUtf8(NodeDisplayTexts[node]));
        EXPECT_TRUE(fixed.match(grid->cell(2, row)).hasMatch()) << grid->cell(2, row).toStdString();
        EXPECT_TRUE(fixed.match(grid->cell(3, row)).hasMatch()) << grid->cell(3, row).toStdString();
        // The cells are the series' statistics over N, and the last experiment's counters.
        EXPECT_EQ(grid->cell(2, row).toStdString(),
                  FixedText(static_cast<long double>(SeriesMean(window->session().assessment().series, node)) / 4000,
                            RussianNumberLocale()));
        EXPECT_EQ(
            grid->cell(3, row).toStdString(),
            FixedText(static_cast<long double>(*SeriesDeviation(window->session().assessment().series, node)) / 4000,
                      RussianNumberLocale()));
        EXPECT_EQ(grid->cell(4, row).toLongLong(), window->session().assessment().net.counters.node[node]);
        EXPECT_EQ(window->session().assessment().series.column[node][199],
                  window->session().assessment().net.counters.node[node]);
    }
    EXPECT_EQ(grid->cell(1, 1), QString::fromUtf8("Гомеостазис"));
    EXPECT_EQ(grid->cell(1, 8), QString::fromUtf8("Происшествие"));
    ExpectBalanced(1, 4000);
    EXPECT_NEAR(grid->cell(2, 1).replace(',', '.').toDouble() + grid->cell(2, 2).replace(',', '.').toDouble(), 1.0,
                1e-6);
    EXPECT_EQ(window->session().assessment().RunCounter(), 1);
    EXPECT_EQ(window->session().assessment().series.ExperimentCount, 200);
    EXPECT_EQ(window->session().assessment().series.InitiationCount, 4000);
}

TEST_F(ModelingRun, LaterRunsAppendBlocksWithGapAndLabels)
{
    Run();
    SetRunSize("20", "500");
    Run();
    Grid* grid = Result();
    ASSERT_EQ(grid->rows(), 19);
    for (int column = 0; column < 5; ++column) EXPECT_EQ(grid->cell(column, 9), QString()) << column;
    EXPECT_EQ(grid->cell(0, 10), QString());
    EXPECT_EQ(grid->cell(1, 10), QString());
    EXPECT_EQ(grid->cell(2, 10), QStringLiteral("{K=20}"));
    EXPECT_EQ(grid->cell(3, 10), QStringLiteral("{N=500}"));
    EXPECT_EQ(grid->cell(4, 10), QString());
    for (int node = 0; node < 8; ++node) EXPECT_EQ(grid->cell(0, 11 + node), Letters[node]);
    ExpectBalanced(11, 500);
    // The first block stays as it was written.
    ExpectBalanced(1, 4000);
    EXPECT_EQ(grid->cell(0, 0), QString::fromUtf8("Узел"));

    SetRunSize("3", "50");
    Run();
    ASSERT_EQ(grid->rows(), 29);
    EXPECT_EQ(grid->cell(2, 20), QStringLiteral("{K=3}"));
    EXPECT_EQ(grid->cell(3, 20), QStringLiteral("{N=50}"));
    ExpectBalanced(21, 50);
    EXPECT_EQ(window->session().assessment().RunCounter(), 3);
}

TEST_F(ModelingRun, MonitorAndProgressDuringAndAfterTheRun)
{
    SetRunSize("25", "100");
    auto* bar = Find<QProgressBar>("pbTime");
    QTest::mouseClick(Find<QPushButton>("buttonRun"), Qt::LeftButton);
    // The run goes on in the background: the bar shows, the monitor asks to wait.
    const bool visibleDuringRun = bar->isVisible();
    const QStringList monitorDuringRun = Lines(Find<QPlainTextEdit>("reHelp"));
    WaitForWork(*window);
    EXPECT_EQ(bar->maximum(), 25);
    EXPECT_EQ(bar->minimum(), 0);
    EXPECT_EQ(bar->value(), 25);
    EXPECT_TRUE(visibleDuringRun);
    EXPECT_FALSE(bar->isVisible());
    const QStringList waiting = {"",
                                 "",
                                 "",
                                 "",
                                 "",
                                 "",
                                 QStringLiteral("                ") + QString::fromUtf8("Идет процесс моделирования."),
                                 "",
                                 QString(28, QLatin1Char(' ')) + QStringLiteral("Ждите...")};
    EXPECT_EQ(monitorDuringRun, waiting);
    const QStringList finished = {"",
                                  "",
                                  "",
                                  "",
                                  "",
                                  QString(18, QLatin1Char(' ')) + QString::fromUtf8("Моделирование завершено."),
                                  "",
                                  QString::fromUtf8("  Смотри таблицу \"Результаты моделирования\""),
                                  "",
                                  "",
                                  "",
                                  "",
                                  "",
                                  QString::fromUtf8("  Последний результат"),
                                  QString::fromUtf8("  в конце таблицы")};
    EXPECT_EQ(Lines(Find<QPlainTextEdit>("reHelp")), finished);
}

TEST_F(ModelingRun, ASingleExperimentShowsNoDeviation)
{
    SetRunSize("1", "300");
    Run();
    Grid* grid = Result();
    ASSERT_EQ(grid->rows(), 9);
    for (int row = 1; row <= 8; ++row) {
        EXPECT_EQ(grid->cell(3, row), QStringLiteral("—")) << row;
        EXPECT_FALSE(grid->cell(2, row).isEmpty());
    }
    ExpectBalanced(1, 300);
    EXPECT_EQ(window->session().assessment().RunCounter(), 1);
}

TEST_F(ModelingRun, ConversionErrorsStopTheRunBeforeAnythingChanges)
{
    MessageBoxCloser boxes;
    TypeOver(Find<QComboBox>("cbInputK"), QStringLiteral("abc"));
    const QString monitor = Find<QPlainTextEdit>("reHelp")->toPlainText();
    const std::size_t before = boxes.shown().size();
    Run();
    ASSERT_EQ(boxes.shown().size(), before + 1);
    const MessageBoxCloser::Shown& shown = boxes.shown().back();
    EXPECT_EQ(shown.title, QStringLiteral("Kestal 2.0"));
    EXPECT_EQ(shown.text, QStringLiteral("'abc' is not a valid integer value"));
    EXPECT_EQ(shown.icon, QMessageBox::Critical);
    EXPECT_EQ(window->session().assessment().RunCounter(), 0);
    EXPECT_EQ(Result()->rows(), 9);
    EXPECT_EQ(Result()->cell(0, 1), QString());
    EXPECT_EQ(Find<QPlainTextEdit>("reHelp")->toPlainText(), monitor);

    TypeOver(Find<QComboBox>("cbInputK"), QStringLiteral("5"));
    TypeOver(Find<QComboBox>("cbInputN"), QStringLiteral("1x"));
    Run();
    EXPECT_EQ(boxes.texts().last(), QStringLiteral("'1x' is not a valid integer value"));
    EXPECT_EQ(window->session().assessment().RunCounter(), 0);

    // A K out of range is refused the same way, before the progress shows.
    SetRunSize("2001", "100");
    Run();
    EXPECT_EQ(boxes.shown().back().title, QStringLiteral("Kestal 2.0"));
    EXPECT_EQ(boxes.texts().last(), QString::fromUtf8("Число опытов K должно быть от 1 до 2000"));
    EXPECT_EQ(Result()->rows(), 9);
    EXPECT_FALSE(Find<QProgressBar>("pbTime")->isVisible());
    TypeOver(Find<QComboBox>("cbInputK"), QStringLiteral("5"));

    // The window goes on: a valid run after the errors.
    TypeOver(Find<QComboBox>("cbInputN"), QStringLiteral("100"));
    const std::size_t shownBefore = boxes.shown().size();
    Run();
    EXPECT_EQ(boxes.shown().size(), shownBefore);
    EXPECT_EQ(window->session().assessment().RunCounter(), 1);
    ExpectBalanced(1, 100);
}

TEST_F(ModelingRun, EnglishLocaleWritesAPoint)
{
    window.reset();
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    window = std::make_unique<TFormKestal>(&clock);
    window->show();
    SetRunSize("5", "200");
    Run();
    const QRegularExpression fixed(QStringLiteral("^\\d\\.\\d{14}$"));
    for (int row = 1; row <= 8; ++row) EXPECT_TRUE(fixed.match(Result()->cell(2, row)).hasMatch());
    EXPECT_EQ(Result()->cell(2, 1).toStdString(),
              FixedText(static_cast<long double>(SeriesMean(window->session().assessment().series, 0)) / 200,
                        EnglishNumberLocale()));
}

}  // namespace

namespace {

// The visible rectangle of a cell (row 0 is the header) in the grid's viewport.
QPoint CellCenter(Grid* grid, int column, int row)
{
    return grid->visualRect(grid->model()->index(row - 1, column)).center();
}

TEST_F(ModelingRun, CtrlCCopiesTheSelectedBlockAsTabSeparatedCells)
{
    SetRunSize("3", "500");
    Run();
    Grid* grid = Result();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, CellCenter(grid, 0, 1));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::ShiftModifier, CellCenter(grid, 4, 8));
    QApplication::clipboard()->clear();
    QTest::keyClick(grid, Qt::Key_C, Qt::ControlModifier);
    QString expected;
    for (int row = 1; row <= 8; ++row) {
        QStringList cells;
        for (int column = 0; column < 5; ++column) cells << grid->cell(column, row);
        expected += cells.join(QLatin1Char('\t')) + QLatin1Char('\n');
    }
    EXPECT_EQ(QApplication::clipboard()->text(), expected);
    EXPECT_TRUE(expected.startsWith(QStringLiteral("B\t") + QString::fromUtf8("Гомеостазис\t0,")));
}

}  // namespace
