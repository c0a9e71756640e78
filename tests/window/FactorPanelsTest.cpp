// Factor panels: highlight rules, help texts in the monitor, level picks mirrored onto the measure page.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSlider>
#include <QTabWidget>
#include <QTest>

#include "widgets/FactorPanel.h"
#include "widgets/Monitor.h"
#include "WindowFixture.h"
#include "factors/Catalogue.h"

using namespace kestal;

namespace {

class FactorPanels : public WindowTest {
protected:
    FactorPanel* Panel(const char* id) { return Find<FactorPanel>(QStringLiteral("p") + QLatin1String(id)); }
    QComboBox* List(const char* id) { return Find<QComboBox>(QStringLiteral("cb") + QLatin1String(id)); }
    QStringList Monitor() { return Lines(Find<QPlainTextEdit>("reHelp")); }
    const FactorSetting& Setting(const char* id)
    {
        return window->session().assessment().settings.row[FindFactor(id)->slot];
    }
    void ShowPage(int group) { ClickTab(Find<QTabWidget>("pcFactors"), group); }
    // The ids of the grey panels among the 30.
    QStringList GreyPanels()
    {
        QStringList grey;
        for (const FactorInfo& factor : FactorCatalogue)
            if (Panel(factor.id)->colour() == HighlightColour()) grey << QLatin1String(factor.id);
        return grey;
    }
};

QStringList Texts(std::initializer_list<const char*> lines)
{
    QStringList texts;
    for (const char* line : lines) texts << QString::fromUtf8(line);
    return texts;
}

TEST_F(FactorPanels, ClickHighlightsThePanelAmongItsPageOnly)
{
    // A panel of "Машина" highlighted by its click stays grey while "Человек" is clicked.
    emit Panel("M03")->clicked();
    ShowPage(0);
    EXPECT_TRUE(GreyPanels().isEmpty());
    emit Panel("M03")->clicked();
    QTest::mouseClick(Panel("H02"), Qt::LeftButton);
    QTest::mouseClick(Panel("H05"), Qt::LeftButton);
    EXPECT_EQ(GreyPanels(), (QStringList{"H05", "M03"}));
    EXPECT_EQ(Panel("H05")->colour(), QColor(128, 128, 128));
    EXPECT_EQ(Panel("H02")->colour(), LightColour());
}

TEST_F(FactorPanels, PageChangeClearsHighlightAndMonitor)
{
    ShowPage(0);
    QTest::mouseClick(Panel("H05"), Qt::LeftButton);
    ASSERT_EQ(GreyPanels(), QStringList{"H05"});
    ShowPage(1);
    EXPECT_TRUE(GreyPanels().isEmpty());
    EXPECT_EQ(Find<QPlainTextEdit>("reHelp")->toPlainText(), QString());
    QTest::mouseClick(Panel("M01"), Qt::LeftButton);
    ShowPage(0);
    EXPECT_TRUE(GreyPanels().isEmpty());
    EXPECT_EQ(Find<QPlainTextEdit>("reHelp")->toPlainText(), QString());
}

TEST_F(FactorPanels, HelpTextsOfPanelClicks)
{
    ShowPage(0);
    QTest::mouseClick(Panel("H01"), Qt::LeftButton);
    EXPECT_EQ(
        Monitor(),
        Texts({"                         H01", "   Пригодность по физиологическим показателям определяется следующим:",
               "     Антропометрические показатели персонала", "     Антропологические показатели персонала", ""}));
    ShowPage(1);
    QTest::mouseClick(Panel("M02"), Qt::LeftButton);
    EXPECT_EQ(Monitor(),
              Texts({"                         M02", "   Степень учета особенносте работоспособности человека:",
                     "    Подсвойство эргономичности", "", ""}));
    QTest::mouseClick(Panel("M06"), Qt::LeftButton);
    EXPECT_EQ(Monitor()[3],
              QString::fromUtf8("     \"Диаметр бреши\" через которую энергия неконтролируемо высвобождается"));
    ShowPage(2);
    QTest::mouseClick(Panel("C01"), Qt::LeftButton);
    const QStringList c01 = Monitor();
    EXPECT_EQ(c01, Texts({"                                      С01",
                          "   Комфортность по физико-химическим параметрам рабочей среды может определяться из "
                          "следующих соображений :",
                          "     Температура воздуха", "     Влажность воздуха", "     Подвижность воздуха",
                          "     Освещенность", "     Уровень шума и вибрвций", "     ЭМП",
                          "     Ионизирующие излучения", "      и т.д. ....", "",
                          "   Суммарная характеристика - тяжесть и напряженность трудового процесса."}));
    // The header line's letter is the Cyrillic С.
    EXPECT_EQ(c01[0].trimmed()[0].unicode(), 0x0421);
}

TEST_F(FactorPanels, T03HelpDiffersBetweenPanelAndList)
{
    const QStringList panelForm =
        Texts({"                         T03",
               "   Сложность алгоритмов оператора определяется следующим:", "     Интеллектуальная нагрузка",
               "     Эмоциональная нагрузка", "     Монотонность", "     Режим работы", "     ....."});
    const QStringList listForm =
        Texts({"                         T03", "   Сложность алгоритмов оператора определяется следующим:",
               "     Физическая нагрузка", "     Интеллектуальная нагрузка", "     ....."});
    QTest::mouseClick(Panel("T03"), Qt::LeftButton);
    EXPECT_EQ(Monitor(), panelForm);
    ShowPage(0);
    ShowPage(3);
    PickItem(List("T03"), 4);
    EXPECT_EQ(Monitor(), listForm);
    EXPECT_EQ(GreyPanels(), QStringList{"T03"});
}

TEST_F(FactorPanels, ListPickShowsTheSameHelpAsThePanel)
{
    QTest::mouseClick(Panel("T05"), Qt::LeftButton);
    const QStringList panelForm = Monitor();
    ShowPage(1);
    ShowPage(3);
    PickItem(List("T05"), 2);
    EXPECT_EQ(Monitor(), panelForm);
    EXPECT_EQ(GreyPanels(), QStringList{"T05"});
}

TEST_F(FactorPanels, PickAppliesTheLevelAndMirrorsOntoTheMeasurePage)
{
    ShowPage(1);
    PickItem(List("M07"), 2);
    EXPECT_EQ(Find<QLabel>("st1_M07")->text(), QString::fromUtf8("Низкий"));
    EXPECT_EQ(Find<QSlider>("tbM07")->value(), 2);
    EXPECT_EQ(Setting("M07").Value, 0.25f);

    PickItem(List("M07"), 7);
    EXPECT_EQ(List("M07")->currentText(), QString::fromUtf8("Очень большой"));
    EXPECT_EQ(Setting("M07").Value, 0.667f);
    EXPECT_EQ(Setting("M07").LevelName, "Очень хорошее");
    EXPECT_EQ(Find<QLabel>("st1_M07")->text(), QString::fromUtf8("Очень большой"));
    EXPECT_EQ(Find<QLabel>("st2_M07")->text(), QString::fromUtf8("Очень большой"));
    EXPECT_EQ(Find<QSlider>("tbM07")->value(), 7);
    // The monitor shows the factor's help, and the network inputs wait for the next run.
    EXPECT_EQ(Monitor()[0], QStringLiteral("                         M07"));
    EXPECT_EQ(window->session().assessment().net.inputs.slot[FindFactor("M07")->slot], 0.667f);
}

TEST_F(FactorPanels, PickingTheDefaultAgainStoresTheScaleName)
{
    ShowPage(2);
    EXPECT_EQ(Setting("C01").LevelName, "Среднее(удовл.)");
    PickItem(List("C01"), 0);
    EXPECT_EQ(Setting("C01").LevelName, "Очень очень низкое");
    EXPECT_EQ(Setting("C01").Value, 0.084f);
    PickItem(List("C01"), 4);
    EXPECT_EQ(List("C01")->currentText(), QString::fromUtf8("Средняя"));
    EXPECT_EQ(Setting("C01").LevelName, "Среднее");
}

TEST_F(FactorPanels, TypedTextSelectsOnlyAnExactItem)
{
    ShowPage(2);
    QTest::mouseClick(Panel("C03"), Qt::LeftButton);
    const QStringList help = Monitor();
    QComboBox* list = List("C01");
    TypeOver(list, QString::fromUtf8("Высокая"));
    EXPECT_EQ(list->currentIndex(), 8);
    EXPECT_EQ(list->currentText(), QString::fromUtf8("Высокая"));
    EXPECT_EQ(Setting("C01").Value, 0.75f);
    EXPECT_EQ(Setting("C01").LevelName, "Высокое");
    EXPECT_EQ(Find<QLabel>("st1_C01")->text(), QString::fromUtf8("Высокая"));
    EXPECT_EQ(Find<QSlider>("tbC01")->value(), 8);
    // An edit neither highlights nor writes help.
    EXPECT_EQ(Monitor(), help);
    EXPECT_EQ(GreyPanels(), QStringList{"C03"});

    // Text that is no item selects none, and a change without a selection changes nothing.
    TypeOver(list, QStringLiteral("xyz"));
    EXPECT_EQ(list->currentIndex(), -1);
    EXPECT_EQ(list->currentText(), QStringLiteral("xyz"));
    EXPECT_EQ(Setting("C01").Value, 0.75f);
    EXPECT_EQ(Setting("C01").LevelName, "Высокое");
    EXPECT_EQ(Find<QLabel>("st1_C01")->text(), QString::fromUtf8("Высокая"));
    EXPECT_EQ(Find<QLabel>("st2_C01")->text(), QString::fromUtf8("Высокая"));
    EXPECT_EQ(Find<QSlider>("tbC01")->value(), 8);
    // A case variant is no item either.
    TypeOver(list, QString::fromUtf8("низкая"));
    EXPECT_EQ(list->currentIndex(), -1);
    EXPECT_EQ(Setting("C01").Value, 0.75f);
}

TEST_F(FactorPanels, IntroductionButtonShowsTheIntroductionAgain)
{
    QTest::mouseClick(Panel("T01"), Qt::LeftButton);
    QTest::mouseClick(Find<QWidget>("SpeedButton1"), Qt::LeftButton);
    const QStringList lines = Monitor();
    ASSERT_EQ(lines.size(), 7);
    for (int line = 0; line < 7; ++line) EXPECT_EQ(lines[line], QString::fromUtf8(IntroductionLines[line]));
    // The highlight stays: only a page change clears it.
    EXPECT_EQ(GreyPanels(), QStringList{"T01"});
}

}  // namespace

namespace {

using StartState = SharedWindowTest;

// The panels as the window opens, looked at in the window the opening state's tests share.
TEST_F(StartState, FactorPanelsShowTheirCaptionsAndNameLabels)
{
    EXPECT_EQ(Find<FactorPanel>("pH01")->caption(),
              QString::fromUtf8("  H01          Пригодность по физиологическим показателям"));
    EXPECT_EQ(Find<FactorPanel>("pH09")->caption(), QStringLiteral("  H09"));
    QStringList names;
    QList<QPoint> places;
    for (const QLabel* label :
         Find<FactorPanel>("pH09")->findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly)) {
        names << label->text();
        places << label->pos();
    }
    EXPECT_EQ(names, Texts({"Качество принятия решения ", "(оперативность мышления)"}));
    EXPECT_EQ(places, (QList<QPoint>{{56, 8}, {160, 24}}));
    EXPECT_EQ(Find<FactorPanel>("pM02")->geometry(), QRect(0, 41, 480, 41));
    EXPECT_EQ(Find<QWidget>("pC04")->geometry().top(), 123);
    EXPECT_EQ(Find<QLabel>("pHuman")->text(), QStringLiteral("                                          фактор") +
                                                  QString(69, QLatin1Char(' ')) + QString::fromUtf8("оценка"));
}

}  // namespace
