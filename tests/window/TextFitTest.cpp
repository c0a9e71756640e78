// No text is cut off: at the window's smallest size and at 1280 × 900, on every page, every label,
// static text and tab caption fits its place, measured with its own font.
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include "widgets/Grid.h"
#include "MeasureFixture.h"

using namespace kestal;

namespace {

// Labels whose text does not fit: "name: text".
QStringList CutLabels(QWidget* page)
{
    QStringList cut;
    for (QLabel* label : page->findChildren<QLabel*>()) {
        if (!label->isVisibleTo(page) || label->text().isEmpty()) continue;
        const QFontMetrics metrics(label->font());
        const QRect room = label->contentsRect();
        const int flags = int(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0);
        const QRect needed = metrics.boundingRect(room, flags, label->text());
        if (needed.width() > room.width() || needed.height() > room.height())
            cut << label->objectName() + QStringLiteral(": ") + label->text();
    }
    for (QTabBar* tabs : page->findChildren<QTabBar*>())
        for (int tab = 0; tab < tabs->count(); ++tab)
            if (QFontMetrics(tabs->font()).horizontalAdvance(tabs->tabText(tab)) > tabs->tabRect(tab).width())
                cut << QStringLiteral("tab: ") + tabs->tabText(tab);
    return cut;
}

// Cells whose text is wider than their column.
QStringList CutCells(Grid* grid)
{
    QStringList cut;
    for (int row = 0; row < grid->rows(); ++row)
        for (int column = 0; column < grid->columnCount(); ++column) {
            const QString text = grid->cell(column, row);
            if (QFontMetrics(grid->font()).horizontalAdvance(text) > grid->columnWidth(column)) cut << text;
        }
    return cut;
}

class TextFit : public MeasureTest {};

TEST_F(TextFit, EveryLabelFitsAtTheSmallestAndALargeSize)
{
    // A study with long names fills the totals; then every list at its longest level text.
    TypeOver(Find<QComboBox>("cbInputKOpt"), QStringLiteral("2"));
    TypeOver(Find<QComboBox>("cbInputNOpt"), QStringLiteral("100"));
    TypeInto("edActName", QStringLiteral("Обучение персонала действиям в аварийной обстановке"));
    Capture({{"H13", 9}}, QStringLiteral("300"));
    TypeInto("edActName", QStringLiteral("Замена приборов и устройств безопасности"));
    Capture({{"M08", 10}}, QStringLiteral("400"));
    QTest::mouseClick(Button("buttonRunOpt"), Qt::LeftButton);
    WaitForWork(*window);
    EXPECT_EQ(CutCells(Find<Grid>("sgTotal")).join(QLatin1Char('\n')).toStdString(), "");
    QTest::mouseClick(Button("buttMore"), Qt::LeftButton);
    EXPECT_EQ(CutCells(Find<Grid>("sgTotal")).join(QLatin1Char('\n')).toStdString(), "");
    QTest::mouseClick(Button("butReset"), Qt::LeftButton);
    ClickTab(Find<QTabWidget>("PageControl1"), 0);
    for (const FactorInfo& factor : FactorCatalogue) PickItem(Find<QComboBox>(QStringLiteral("cb") + factor.id), 10);
    auto* pages = Find<QTabWidget>("PageControl1");
    for (const QSize size : {window->minimumSize(), QSize(1280, 900)}) {
        window->showNormal();
        window->resize(size);
        for (int page = 0; page < pages->count(); ++page) {
            if (!pages->isTabVisible(page)) continue;
            ClickTab(pages, page);
            // Every group page of the factor panels too.
            const QList<QTabWidget*> groups = pages->widget(page)->findChildren<QTabWidget*>();
            const int groupCount = groups.isEmpty() ? 1 : groups.front()->count();
            for (int group = 0; group < groupCount; ++group) {
                if (!groups.isEmpty()) ClickTab(groups.front(), group);
                // The layouts the page change posted, laid out before the labels are measured.
                for (int pass = 0; pass < 2; ++pass) {
                    QCoreApplication::sendPostedEvents();
                    QCoreApplication::processEvents();
                }
                EXPECT_EQ(CutLabels(pages->widget(page)).join(QLatin1Char('\n')).toStdString(), "")
                    << size.width() << "x" << size.height() << " page " << page << " group " << group;
            }
        }
    }
}

}  // namespace
