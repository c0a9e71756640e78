// CSV for spreadsheets: the bytes for a "," and a "." locale, and the save offered by every table.
#include <QAction>
#include <QTableView>

#include "Widgets/Grid.h"
#include "Widgets/TableCopy.h"
#include "WindowFixture.h"

namespace {

using TableCsvTest = WindowTest;

TEST(TableCsv, BytesForBothKindsOfLocale)
{
    // One row per kind of cell; the header is row 0.
    const char* const cells[][2] = {
        {"Узел", "Значение"},
        {"B", "0,01234567890123"},      // a grid text in full: no digit lost
        {"I", "1\u00A0001,00"},         // money: the group separator goes
        {"G", "1,5E-7"},                // general text in scientific form
        {"H", "-12"},                   //
        {"D", "—"},                     // no number: as it stands
        {"a;b", "x\"y"},                // the separator and a quote: quoted
        {"1,001.00", "1.5"},            // numbers of the other locale: text
        {"12\u00A03456", "1\n2"},       // a group of four is no number; a line break quotes
    };
    Grid grid(nullptr, "sgCsv", 2, std::size(cells), 16);
    for (int row = 0; row < static_cast<int>(std::size(cells)); ++row)
        for (int column = 0; column < 2; ++column) grid.setCell(column, row, QString::fromUtf8(cells[row][column]));

    const QByteArray bom("\xEF\xBB\xBF");
    const QByteArray ru = bom +
                          "Узел;Значение\r\n"
                          "B;0,01234567890123\r\n"
                          "I;1001,00\r\n"
                          "G;1,5E-7\r\n"
                          "H;-12\r\n"
                          "D;—\r\n"
                          "\"a;b\";\"x\"\"y\"\r\n"
                          "1,001.00;1.5\r\n"
                          "12\xC2\xA0" "3456;\"1\n2\"\r\n";
    EXPECT_EQ(TableCsv(&grid, RussianNumberLocale()), ru);

    // The same cells as an English locale writes them.
    const char* const english[][2] = {{"B", "0.01234567890123"}, {"I", "1,001.00"}, {"G", "1.5E-7"}, {"J", "1,5"}};
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 2; ++column) grid.setCell(column, row + 1, QString::fromUtf8(english[row][column]));
    grid.setRows(5);
    const QByteArray en = bom +
                          "Узел,Значение\r\n"
                          "B,0.01234567890123\r\n"
                          "I,1001.00\r\n"
                          "G,1.5E-7\r\n"
                          "J,\"1,5\"\r\n";
    EXPECT_EQ(TableCsv(&grid, EnglishNumberLocale()), en);
    // Without grouping (the C locale) a "," is no group separator.
    EXPECT_EQ(TableCsv(&grid, ConventionsOf("C", ".", "")), QByteArray(en).replace("I,1001.00", "I,\"1,001.00\""));
}

TEST_F(TableCsvTest, EveryTableOffersTheSave)
{
    const QList<QTableView*> tables = window->findChildren<QTableView*>();
    ASSERT_GE(tables.size(), 2);
    for (QTableView* table : tables) {
        QStringList texts;
        for (const QAction* action : table->actions()) texts << action->text();
        EXPECT_TRUE(texts.contains(QString::fromUtf8("Сохранить как CSV…"))) << table->objectName().toStdString();
        EXPECT_EQ(table->contextMenuPolicy(), Qt::ActionsContextMenu) << table->objectName().toStdString();
    }
}

}  // namespace
