// The measure editor and the capture: factor selection, change nodes, readiness of ">>", the
// captured measure in the store and the tree, the Enter key, refusals.
#include <QComboBox>
#include <QTest>

#include "measures/Capture.h"
#include "MeasureFixture.h"
#include "factors/Catalogue.h"

using namespace kestal;

namespace {

QString U(const char* text) { return QString::fromUtf8(text); }

QStringList Texts(std::initializer_list<const char*> lines)
{
    QStringList texts;
    for (const char* line : lines) texts << U(line);
    return texts;
}

const QStringList StartTree =
    Texts({"Комплекс мер|0", "  Мероприятие 1|1", "    Изменения факторов ЧМС|2", "    Затраты|3"});

class MeasureEditor : public MeasureTest {
protected:
    bool Ready() { return Button("butActIn")->isEnabled(); }
    int Slot(const char* id) { return FindFactor(id)->slot; }
};

TEST_F(MeasureEditor, WorkedExampleCapturesTwoChangesInCaptureOrder)
{
    Move("H01", 7);
    EXPECT_EQ(After("H01")->text(), U("Очень хорошая"));
    EXPECT_EQ(Before("H01")->text(), U("Выше среднего"));
    // A cost of 0 never makes ">>" ready.
    EXPECT_FALSE(Ready());
    Move("M02", 2);
    EXPECT_EQ(Tree(), Texts({"Комплекс мер|0", "  Мероприятие 1|1", "    Изменения факторов ЧМС|2",
                             "      M02  ( -1) --> Низкая|5", "      H01  (+2) --> Очень хорошая|4", "    Затраты|3"}));
    TypeInto("edExpense", QStringLiteral("300"));
    EXPECT_TRUE(Ready());
    QTest::mouseClick(Button("butActIn"), Qt::LeftButton);

    EXPECT_EQ(Tree(),
              Texts({"Комплекс мер|0", "  Мероприятие 1|1", "    Изменения факторов ЧМС|2",
                     "      M02  ( -1) --> Низкая|5", "      H01  (+2) --> Очень хорошая|4", "    Затраты = 300 у.е.|3",
                     "  Мероприятие 2|1", "    Изменения факторов ЧМС|2", "    Затраты|3"}));
    auto* tree = Find<QTreeWidget>("tvAction");
    EXPECT_TRUE(tree->topLevelItem(0)->child(0)->isExpanded());
    EXPECT_FALSE(tree->topLevelItem(0)->child(1)->isExpanded());

    const MeasureTables& tables = window->session().assessment().measures;
    EXPECT_EQ(tables.MeasureCount, 1);
    EXPECT_EQ(tables.ChangeTotal, 2);
    const operation& measure = tables.MeasureStore(1);
    EXPECT_EQ(measure.Name, "Мероприятие 1");
    EXPECT_EQ(measure.Cost, 300.0f);
    ASSERT_EQ(measure.Changes.Count(), 2);
    const ChangeFactor& h01 = measure.Changes[1];
    EXPECT_EQ(h01.Factor, window->session().assessment().settings.row[Slot("H01")].RowText);
    EXPECT_EQ(h01.LevelBefore, "Выше среднего");
    EXPECT_EQ(h01.LevelAfter, "Очень хорошая");
    EXPECT_EQ(h01.ValueBefore, window->session().assessment().settings.row[Slot("H01")].Value);
    EXPECT_EQ(h01.ValueAfter, LevelTable[7].value);
    const ChangeFactor& m02 = measure.Changes[2];
    EXPECT_EQ(m02.Factor, window->session().assessment().settings.row[Slot("M02")].RowText);
    EXPECT_EQ(m02.LevelBefore, "Ниже среднего");
    EXPECT_EQ(m02.LevelAfter, "Низкая");
    EXPECT_EQ(m02.ValueAfter, LevelTable[2].value);
    for (int slot = 0; slot < FactorCount; ++slot) {
        const FactorSetting& cell = tables.MeasurePlanTable[slot][1];
        if (slot == Slot("H01") || slot == Slot("M02")) continue;
        EXPECT_EQ(cell.Value, 0.0f) << slot;
    }
    EXPECT_EQ(tables.MeasurePlanTable[Slot("H01")][1].Value, LevelTable[7].value);
    EXPECT_EQ(tables.MeasurePlanTable[Slot("H01")][1].LevelName, "Очень хорошая");
    EXPECT_EQ(tables.MeasurePlanTable[Slot("M02")][1].LevelName, "Низкая");

    // The page afterwards: both factors locked and still showing their change, fields for measure 2.
    for (const char* id : {"H01", "M02"}) {
        EXPECT_FALSE(Panel(id)->isEnabled()) << id;
        EXPECT_FALSE(Find<QLabel>(QStringLiteral("lbOpt") + QLatin1String(id))->isEnabled()) << id;
        EXPECT_FALSE(Bar(id)->isEnabled()) << id;
        EXPECT_EQ(Bar(id)->tickPosition(), QSlider::NoTicks);
        EXPECT_EQ(Panel(id)->colour(), LightColour());
    }
    EXPECT_EQ(After("M02")->text(), U("Низкая"));
    EXPECT_EQ(Edit("edActName")->text(), U("Мероприятие 2"));
    EXPECT_EQ(Edit("edExpense")->text(), QStringLiteral("0"));
    EXPECT_FALSE(Ready());
    EXPECT_FALSE(Button("buttonRunOpt")->isEnabled());
    EXPECT_EQ(Edit("edOutTimeOpt")->text(), QStringLiteral("  0:00:00"));

    // A locked panel no longer reacts to clicks.
    Select("H01");
    EXPECT_TRUE(Selected().isEmpty());
    EXPECT_FALSE(Bar("H01")->isEnabled());
}

TEST_F(MeasureEditor, NameIdAndLevelBeforeClicksSelectLikeThePanel)
{
    ClickTab(Find<QTabWidget>("pcFactOpt"), 0);
    QTest::mouseClick(Find<QLabel>("lbOptH02"), Qt::LeftButton);
    EXPECT_EQ(Selected(), QStringList{"H02"});
    EXPECT_TRUE(Bar("H02")->isEnabled());
    EXPECT_EQ(Bar("H02")->tickPosition(), QSlider::TicksBelow);
    EXPECT_TRUE(After("H02")->isEnabled());
    QTest::mouseClick(Find<QLabel>("lbOptH03a"), Qt::LeftButton);
    EXPECT_EQ(Selected(), QStringList{"H03"});
    EXPECT_FALSE(Bar("H02")->isEnabled());
    EXPECT_FALSE(After("H02")->isEnabled());
    EXPECT_EQ(Bar("H02")->tickPosition(), QSlider::NoTicks);
    QTest::mouseClick(Before("H04"), Qt::LeftButton);
    EXPECT_EQ(Selected(), QStringList{"H04"});
    QTest::mouseClick(Find<QLabel>("lbOptH06"), Qt::LeftButton);
    EXPECT_EQ(Selected(), QStringList{"H06"});
    EXPECT_EQ(Tree(), StartTree);
}

TEST_F(MeasureEditor, ABarFocusedAndLeftUnmovedLeavesTheTreeAsItWas)
{
    Select("H05");
    Bar("H05")->setFocus();
    EXPECT_EQ(Tree(), Texts({"Комплекс мер|0", "  Мероприятие 1|1", "    Изменения факторов ЧМС|2",
                             "      нет изменений|0", "    Затраты|3"}));
    Edit("edExpense")->setFocus();
    EXPECT_EQ(Tree(), StartTree);
    // Selecting another factor also removes a node opened and left unused.
    Bar("H05")->setFocus();
    Select("H07");
    EXPECT_EQ(Tree(), StartTree);
    EXPECT_FALSE(Bar("H05")->hasFocus());
}

TEST_F(MeasureEditor, MovingBackToTheLevelShowsNoChangeAndDisablesCapture)
{
    TypeInto("edExpense", QStringLiteral("100"));
    Move("H02", 6);
    EXPECT_TRUE(Ready());
    Select("H03");
    Press("H03", Qt::Key_Right);
    EXPECT_EQ(Tree()[3], U("      H03  (+1) --> Высокое|4"));
    Press("H03", Qt::Key_Left);
    EXPECT_EQ(Tree()[3], U("      нет изменений|4"));
    EXPECT_EQ(After("H03")->text(), U("Очень хорошее"));
    // Disabled although H02 still holds a change.
    EXPECT_FALSE(Ready());
    Edit("edActName")->setFocus();
    EXPECT_EQ(Tree(), Texts({"Комплекс мер|0", "  Мероприятие 1|1", "    Изменения факторов ЧМС|2",
                             "      H02  (+1) --> Хорошая|4", "    Затраты|3"}));
    // The cost typed again finds the change of H02.
    TypeInto("edExpense", QStringLiteral("7"));
    EXPECT_TRUE(Ready());
    TypeInto("edExpense", QStringLiteral("0"));
    EXPECT_FALSE(Ready());
}

TEST_F(MeasureEditor, FocusingAChangedBarAgainReusesItsNode)
{
    Move("H01", 7);
    Move("H04", 9);
    Select("H01");
    Bar("H01")->setFocus();
    // The node of H01 moves to the front again, and stays the only one of H01.
    EXPECT_EQ(Tree(),
              Texts({"Комплекс мер|0", "  Мероприятие 1|1", "    Изменения факторов ЧМС|2",
                     "      H01  (+2) --> Очень хорошая|4", "      H04  (+1) --> Очень высокие|4", "    Затраты|3"}));
    Press("H01", Qt::Key_PageUp);
    EXPECT_EQ(Tree()[3], U("      H01  (+4) --> Очень высокая|4"));
    Edit("edActName")->setFocus();
    Select("H01");
    Bar("H01")->setFocus();
    EXPECT_EQ(Tree().size(), 6);
    Edit("edActName")->setFocus();
    Capture({}, QStringLiteral("20"));
    EXPECT_EQ(window->session().assessment().measures.ChangeTotal, 2);
    EXPECT_EQ(Tree(),
              Texts({"Комплекс мер|0", "  Мероприятие 1|1", "    Изменения факторов ЧМС|2",
                     "      H01  (+4) --> Очень высокая|4", "      H04  (+1) --> Очень высокие|4",
                     "    Затраты = 20 у.е.|3", "  Мероприятие 2|1", "    Изменения факторов ЧМС|2", "    Затраты|3"}));
    // The next measure's node is where the addressing expects it.
    Select("H09");
    Bar("H09")->setFocus();
    EXPECT_EQ(Tree()[8], U("      нет изменений|0"));
}

TEST_F(MeasureEditor, AnEmptiedCostOpensNoBoxAndKeepsCaptureDisabled)
{
    MessageBoxCloser boxes;
    TypeInto("edExpense", QString());
    Move("T02", 3);
    EXPECT_TRUE(boxes.texts().isEmpty());
    EXPECT_EQ(After("T02")->text(), U("Ниже среднего"));
    EXPECT_EQ(Tree()[3], U("      T02  (+1) --> Ниже среднего|7"));
    EXPECT_FALSE(Ready());
    EXPECT_EQ(Tree().size(), 5);
    // A cost of 1 or more makes the pending change ready.
    TypeInto("edExpense", QStringLiteral("5"));
    EXPECT_TRUE(Ready());
}

TEST_F(MeasureEditor, H05ShowsTheDesignTextOfItsLevelUntilALevelIsChosen)
{
    // The H05 list misprints its default item as "Высокоу"; the page reads "Высокое".
    EXPECT_EQ(Before("H05")->text(), U("Высокое"));
    EXPECT_EQ(After("H05")->text(), U("Высокое"));
    EXPECT_EQ(Bar("H05")->value(), 8);
    // A typed text that is no item leaves the level as it was: the bar's start position.
    ClickTab(Find<QTabWidget>("PageControl1"), 0);
    TypeOver(Find<QComboBox>("cbH05"), QStringLiteral("xyz"));
    ClickTab(Find<QTabWidget>("PageControl1"), 1);
    Capture({{"H05", 9}, {"H06", 8}}, QStringLiteral("10"));
    EXPECT_EQ(Tree()[3], U("      H06  (+1) --> Высокое|4"));
    EXPECT_EQ(Tree()[4], U("      H05  (+1) --> Очень высокое|4"));
    const operation& measure = window->session().assessment().measures.MeasureStore(1);
    ASSERT_EQ(measure.Changes.Count(), 2);
    EXPECT_EQ(measure.Changes[1].LevelBefore, "Высокое");
    EXPECT_EQ(measure.Changes[1].LevelAfter, "Очень высокое");
}

TEST_F(MeasureEditor, EnterPressesCaptureOnlyWhileItIsEnabled)
{
    TypeInto("edExpense", QStringLiteral("50"));
    QTest::keyClick(Edit("edExpense"), Qt::Key_Return);
    EXPECT_EQ(window->session().assessment().measures.MeasureCount, 0);
    Move("M05", 9);
    ASSERT_TRUE(Ready());
    // The bar still has the focus: its node is closed and kept, then the measure captured.
    Bar("M05")->setFocus();
    QTest::keyClick(Bar("M05"), Qt::Key_Enter);
    EXPECT_EQ(window->session().assessment().measures.MeasureCount, 1);
    EXPECT_EQ(Tree()[3], U("      M05  (+1) --> Очень высокая|5"));
    EXPECT_EQ(Tree()[4], U("    Затраты = 50 у.е.|3"));
    EXPECT_FALSE(Bar("M05")->isEnabled());

    // A focused bar without a change leaves no node in the captured measure.
    Move("M06", 5);
    TypeInto("edExpense", QStringLiteral("9"));
    Select("M07");
    Bar("M07")->setFocus();
    QTest::keyClick(Bar("M07"), Qt::Key_Return);
    EXPECT_EQ(window->session().assessment().measures.MeasureCount, 2);
    EXPECT_EQ(window->session().assessment().measures.ChangeTotal, 2);
    EXPECT_EQ(Tree().mid(5),
              Texts({"  Мероприятие 2|1", "    Изменения факторов ЧМС|2", "      M06  (+2) --> Выше среднего|5",
                     "    Затраты = 9 у.е.|3", "  Мероприятие 3|1", "    Изменения факторов ЧМС|2", "    Затраты|3"}));

    // Enter on a focused button presses that button, not ">>".
    Move("M07", 8);
    TypeInto("edExpense", QStringLiteral("9"));
    ASSERT_TRUE(Ready());
    Find<QPushButton>("butReset")->setFocus();
    QTest::keyClick(Find<QPushButton>("butReset"), Qt::Key_Return);
    EXPECT_EQ(window->session().assessment().measures.MeasureCount, 0);
    EXPECT_EQ(Edit("edActName")->text(), U("Мероприятие 1"));

    // On the other pages Enter does not capture.
    Move("M07", 8);
    TypeInto("edExpense", QStringLiteral("9"));
    ClickTab(Find<QTabWidget>("PageControl1"), 0);
    QTest::keyClick(Find<QComboBox>("cbInputK")->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(window->session().assessment().measures.MeasureCount, 0);
}

TEST_F(MeasureEditor, APressWithoutAChangeIsNoMeasure)
{
    Capture({{"T01", 6}}, QStringLiteral("10"));
    const QStringList tree = Tree();
    // T01 still shows a change, but nothing is left to capture: a cost does not make ">>" ready.
    TypeInto("edExpense", QStringLiteral("5"));
    EXPECT_FALSE(Ready());
    QTest::keyClick(Edit("edExpense"), Qt::Key_Return);
    EXPECT_EQ(window->session().assessment().measures.MeasureCount, 1);
    EXPECT_EQ(window->session().assessment().measures.ChangeTotal, 1);
    EXPECT_TRUE(window->session().assessment().measures.MeasureStore(2).Name.empty());
    EXPECT_EQ(Tree(), tree);
    EXPECT_EQ(Edit("edExpense")->text(), QStringLiteral("5"));
    EXPECT_EQ(Edit("edActName")->text(), U("Мероприятие 2"));
}

TEST_F(MeasureEditor, RefusedCapturesChangeNothing)
{
    MessageBoxCloser boxes;
    // Eleven changed factors are one too many.
    const char* ids[] = {"H01", "H02", "H03", "H04", "H05", "H06", "H07", "H08", "H09", "H12", "H13"};
    for (const char* id : ids) Move(id, QLatin1String(id) == QLatin1String("H01") ? 3 : 1);
    TypeInto("edExpense", QStringLiteral("100"));
    const QStringList tree = Tree();
    QTest::mouseClick(Button("butActIn"), Qt::LeftButton);
    EXPECT_EQ(boxes.texts(), QStringList{U(TooManyChangesText)});
    EXPECT_EQ(window->session().assessment().measures.MeasureCount, 0);
    EXPECT_EQ(window->session().assessment().measures.ChangeTotal, 0);
    EXPECT_EQ(Tree(), tree);
    EXPECT_TRUE(Panel("H01")->isEnabled());
    EXPECT_EQ(Edit("edExpense")->text(), QStringLiteral("100"));

    // Ten are taken; a budget that is no number refuses before anything is written.
    Move("H13", 6);
    TypeInto("edExpense", QStringLiteral("100"));
    TypeInto("edAllMoney", QStringLiteral("x"));
    TypeInto("edDamage", QStringLiteral("y"));
    TypeInto("edDamage", QStringLiteral("10000000"));
    // Typing them opened no box: the message comes with the press.
    EXPECT_EQ(boxes.texts().size(), 1);
    QTest::mouseClick(Button("butActIn"), Qt::LeftButton);
    EXPECT_EQ(boxes.texts().last(), U("'x' is not a valid floating point value"));
    EXPECT_EQ(window->session().assessment().measures.MeasureCount, 0);
    TypeInto("edAllMoney", QStringLiteral("1500"));
    QTest::mouseClick(Button("butActIn"), Qt::LeftButton);
    EXPECT_EQ(window->session().assessment().measures.MeasureCount, 1);
    EXPECT_EQ(window->session().assessment().measures.ChangeTotal, 10);
    EXPECT_EQ(Tree()[13], U("    Затраты = 100 у.е.|3"));
}

TEST_F(MeasureEditor, ALevelSetOnTheModelingPageCancelsAPendingChange)
{
    Move("C02", 7);
    Move("C04", 0);
    // Picking C02's level on the modeling page puts its bar there; its node stays until the capture.
    ClickTab(Find<QTabWidget>("PageControl1"), 0);
    ClickTab(Find<QTabWidget>("pcFactors"), 2);
    PickItem(Find<QComboBox>("cbC02"), 5);
    EXPECT_EQ(Bar("C02")->value(), 5);
    EXPECT_EQ(After("C02")->text(), Before("C02")->text());
    // A typed level that is no item leaves C04's level as it was applied.
    TypeOver(Find<QComboBox>("cbC04"), QStringLiteral("xyz"));
    ClickTab(Find<QTabWidget>("PageControl1"), 1);
    EXPECT_EQ(Tree().size(), 6);
    Capture({}, QStringLiteral("30"));
    EXPECT_EQ(window->session().assessment().measures.ChangeTotal, 1);
    EXPECT_EQ(window->session().assessment().measures.MeasureStore(1).Changes[1].LevelAfter, "Очень, очень низкая");
    EXPECT_EQ(Tree(), Texts({"Комплекс мер|0", "  Мероприятие 1|1", "    Изменения факторов ЧМС|2",
                             "      C04  ( -2) --> Очень, очень низкая|6", "    Затраты = 30 у.е.|3",
                             "  Мероприятие 2|1", "    Изменения факторов ЧМС|2", "    Затраты|3"}));
    EXPECT_TRUE(Panel("C02")->isEnabled());
}

}  // namespace
