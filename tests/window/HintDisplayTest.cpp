// The hint display: the monitor follows the long hint of the control under the pointer.
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTest>

#include "widgets/Monitor.h"
#include "WindowFixture.h"

using namespace kestal;

namespace {

class HintDisplayTest : public WindowTest {
protected:
    QString Monitor() { return Find<QPlainTextEdit>("reHelp")->toPlainText(); }
    void PointAt(const char* name) { QTest::mouseMove(Find<QWidget>(QString::fromLatin1(name))); }
};

const char* const LongK =
    " Число опытов указывает сколько раз производить моделирование. Вообще, достаточно провести моделирование один "
    "раз (K=1), но полученный результат  окажется невоспроизводимым в аналогичном опыте. Увеличение K повышает "
    "воспроизводимость и точность.";
const char* const LongKList =
    " Увеличение K повышает воспроизводимость и точность полученных резултатов, но, одновременно увеличивает время "
    "работы программы. Обычно  K более 200 ";
const char* const LongN1 =
    " Увеличение числа инициаций модели в одном опыте N увеличивает точность получаемых результатов и, одновременно, "
    "время моделирования. Обычно N > 1000.";
const char* const LongOutTime =
    " Время работы программы зависит от величины заданных K и N и показывает продолжительность (часы : мин : сек) "
    "моделирования процесса возникновения происшествия в системе Человек-Машина-Среда.";

TEST_F(HintDisplayTest, HintReplacesTheMonitorAndEmptiesOverControlsWithoutHints)
{
    PointAt("lbInPutK");
    EXPECT_EQ(Monitor(), QString::fromUtf8(LongK));
    PointAt("buttonRun");
    EXPECT_EQ(Monitor(), QString());
}

TEST_F(HintDisplayTest, EachControlShowsItsOwnLongPart)
{
    PointAt("lbInPutN1");
    EXPECT_EQ(Monitor(), QString::fromUtf8(LongN1));
    PointAt("cbInputN");
    EXPECT_EQ(Monitor(), QString::fromUtf8(LongN1));
    PointAt("lbOutTime");
    EXPECT_EQ(Monitor(), QString::fromUtf8(LongOutTime));
    PointAt("edOutTime");
    EXPECT_EQ(Monitor(), QString::fromUtf8(LongOutTime));
    PointAt("lbInPutK1");
    EXPECT_TRUE(Monitor().endsWith(QString::fromUtf8("Обычно  K более 200. ")));
}

TEST_F(HintDisplayTest, TheListsTextFieldShowsTheListsHint)
{
    // The text field inside the list has no hint of its own: the list's hint holds.
    auto* list = Find<QComboBox>("cbInputK");
    QTest::mouseMove(list, QPoint(8, list->height() / 2));
    EXPECT_EQ(Monitor(), QString::fromUtf8(LongKList));
    // From the list onto the monitor, which has no hint.
    PointAt("reHelp");
    EXPECT_EQ(Monitor(), QString());
}

TEST_F(HintDisplayTest, MovingBetweenControlsWithoutHintsLeavesTheMonitor)
{
    PointAt("sgResult");
    QTest::mouseClick(Find<QWidget>("SpeedButton1"), Qt::LeftButton);
    const QString introduction = Monitor();
    ASSERT_EQ(Lines(Find<QPlainTextEdit>("reHelp")).size(), 7);
    PointAt("buttonRun");
    PointAt("pT02");
    QTest::mouseMove(Find<QWidget>("gbRun"), QPoint(250, 165));
    EXPECT_EQ(Monitor(), introduction);
}

TEST_F(HintDisplayTest, BackFromAControlToItsGroupEmptiesTheMonitor)
{
    PointAt("edOutTime");
    ASSERT_EQ(Monitor(), QString::fromUtf8(LongOutTime));
    // A place of the group box itself, away from its controls.
    QTest::mouseMove(Find<QWidget>("gbRun"), QPoint(250, 165));
    EXPECT_EQ(Monitor(), QString());
}

TEST_F(HintDisplayTest, AnOpenMenuEmptiesTheMonitor)
{
    PointAt("lbInPutK");
    ASSERT_EQ(Monitor(), QString::fromUtf8(LongK));
    QMenuBar* bar = window->menuBar();
    QMenu* help = Find<QMenu>("Help1");
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(help->menuAction()).center());
    ASSERT_TRUE(QTest::qWaitFor([help] { return help->isVisible(); }));
    EXPECT_EQ(Monitor(), QString());
    help->close();
    // Over the menu bar, which has no hint, the monitor stays empty; back over a hint it shows again.
    QTest::mouseMove(bar, bar->actionGeometry(help->menuAction()).center());
    EXPECT_EQ(Monitor(), QString());
    PointAt("lbInPutK");
    EXPECT_EQ(Monitor(), QString::fromUtf8(LongK));
}

}  // namespace
