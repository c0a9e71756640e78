// CSV for spreadsheets: the bytes for a "," and a "." locale, and copying and the save offered by
// every table of every window.
#include <QAction>
#include <QApplication>
#include <QSet>
#include <QTableView>

#include <vector>

#include "widgets/Grid.h"
#include "widgets/TableCopy.h"
#include "WindowFixture.h"

using namespace kestal;

namespace {

// Every table of every window is looked at: the main window's and those of the windows it opens.
using EveryWindow = WindowTest;

TEST(TableCsv, BytesForBothKindsOfLocale)
{
    // Per locale: the cells of a grid (header first) and the bytes a spreadsheet gets.
    const struct {
        NumberLocale locale;
        std::vector<const char*> cells;  // two a row
        QByteArray csv;
    } cases[] = {
        {RussianNumberLocale(),
         {"Узел", "Значение", "B", "0,01234567890123", "I", "1\u00A0001,00", "G", "1,5E-7", "H", "-12", "D", "—", "a;b",
          "x\"y", "1,001.00", "1.5", "12\u00A03456", "1\n2"},
         "Узел;Значение\r\nB;0,01234567890123\r\nI;1001,00\r\nG;1,5E-7\r\nH;-12\r\nD;—\r\n\"a;b\";\"x\"\"y\"\r\n"
         "1,001.00;1.5\r\n12\xC2\xA0"
         "3456;\"1\n2\"\r\n"},
        {EnglishNumberLocale(),
         {"Узел", "Значение", "B", "0.01234567890123", "I", "1,001.00", "G", "1.5E-7", "J", "1,5"},
         "Узел,Значение\r\nB,0.01234567890123\r\nI,1001.00\r\nG,1.5E-7\r\nJ,\"1,5\"\r\n"},
        {ConventionsOf("C", ".", ""),  // no grouping: "," is no group separator
         {"Узел", "Значение", "I", "1,001.00", "J", "1.5"},
         "Узел,Значение\r\nI,\"1,001.00\"\r\nJ,1.5\r\n"},
    };
    for (const auto& c : cases) {
        const int rows = static_cast<int>(c.cells.size() / 2);
        Grid grid(nullptr, "sgCsv", 2, rows, 16);
        for (int cell = 0; cell < 2 * rows; ++cell) grid.setCell(cell % 2, cell / 2, QString::fromUtf8(c.cells[cell]));
        EXPECT_EQ(TableCsv(&grid, c.locale), "\xEF\xBB\xBF" + c.csv) << c.locale.decimalSeparator;
    }
}

TEST_F(EveryWindow, EveryTableCopiesAndOffersTheSaveAsCsv)
{
    const QString examples = QStringLiteral(KESTAL_SOURCE_DIR "/examples/");
    window->CompareWithFile(examples + QStringLiteral("workplace-revised.kestal"));
    ASSERT_NE(AwaitWindow(*window, "CompareView"), nullptr);
    window->SummariseFile(examples + QStringLiteral("enterprise.csv"));
    ASSERT_NE(AwaitWindow(*window, "SummaryView"), nullptr);
    QSet<QString> windows;
    for (QWidget* widget : QApplication::allWidgets()) {
        auto* table = qobject_cast<QTableView*>(widget);
        if (!table) continue;
        const std::string name = table->window()->objectName().toStdString() + "/" + table->objectName().toStdString();
        // The plan's step costs and the experts' levels: forms to fill in (the panel has its own CSV export).
        if (table->objectName() == QLatin1String("sgPlanSteps") || table->objectName() == QLatin1String("sgPanel"))
            continue;
        windows << table->window()->objectName();
        QStringList texts;
        bool copies = false;
        for (const QAction* action : table->actions()) {
            texts << action->text();
            copies = copies || action->shortcut() == QKeySequence(QKeySequence::Copy);
        }
        EXPECT_TRUE(copies) << name;
        EXPECT_TRUE(texts.contains(QString::fromUtf8("Сохранить как CSV…"))) << name;
        EXPECT_EQ(table->contextMenuPolicy(), Qt::ActionsContextMenu) << name;
    }
    EXPECT_EQ(windows,
              (QSet<QString>{window->objectName(), QStringLiteral("CompareView"), QStringLiteral("SummaryView")}));
}

}  // namespace
