// The window as it opens: monitor, estimate, grids, default items, the questionnaire's level on T03,
// pages, measure page design state.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QSlider>
#include <QTabWidget>
#include <QTreeWidget>
#include <QWindow>

#include "measures/MeasureStore.h"
#include "network/Calibration.h"
#include "window/ActionTree.h"
#include "widgets/Grid.h"
#include "widgets/Monitor.h"
#include "WindowFixture.h"
#include "common/Formats.h"
#include "factors/Catalogue.h"

using namespace kestal;

namespace {

using StartState = SharedWindowTest;

TEST_F(StartState, MonitorShowsTheIntroduction)
{
    const QStringList lines = Lines(Find<QPlainTextEdit>("reHelp"));
    ASSERT_EQ(lines.size(), 7);
    EXPECT_EQ(lines[0], QString::fromUtf8("   Программа Kestal 2.0 моделирует процесс возникновения происшествия в "
                                          "системе Человек-Машина-Среда (ЧМС)."));
    EXPECT_EQ(lines[6], QString::fromUtf8("   Результаты моделирования выводятся в таблице \"Результаты ...\"."));
    for (int line = 0; line < 7; ++line) EXPECT_EQ(lines[line], QString::fromUtf8(IntroductionLines[line]));
}

TEST_F(StartState, EstimateIsTwoBlanksAndADuration)
{
    const QString text = Find<QLineEdit>("edOutTime")->text();
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^  \\d+:\\d\\d:\\d\\d$")).match(text).hasMatch())
        << text.toStdString();
    EXPECT_EQ(text.toStdString(),
              "  " + DurationText(EstimateDays(window->session().CalibrationTime(), 200, 4000), RussianNumberLocale()));
    EXPECT_GE(window->session().CalibrationTime(), 0.0);
    EXPECT_EQ(window->session().assessment().series.ExperimentCount, 200);
    EXPECT_EQ(window->session().assessment().series.InitiationCount, 4000);
    EXPECT_EQ(Find<QLineEdit>("edOutTimeOpt")->text(), QString());
    EXPECT_EQ(Find<QComboBox>("cbInputK")->currentText(), QStringLiteral("200"));
    EXPECT_EQ(Find<QComboBox>("cbInputN")->currentText(), QStringLiteral("4000"));
    EXPECT_EQ(Find<QComboBox>("cbInputKOpt")->currentText(), QStringLiteral("200"));
    EXPECT_EQ(Find<QComboBox>("cbInputNOpt")->currentText(), QStringLiteral("4000"));
    EXPECT_EQ(Find<QComboBox>("cbInputN")->count(), 9);
}

TEST_F(StartState, ResultGridHasItsHeaderAndEightEmptyRows)
{
    auto* grid = Find<Grid>("sgResult");
    ASSERT_EQ(grid->rows(), 9);
    const char* header[] = {"Узел", "Возможные состояния", "      Мера возможности", " Среднее Кв.Отклонение",
                            "Индекс опасности"};
    ASSERT_EQ(grid->columnCount(), 5);
    for (int column = 0; column < 5; ++column) {
        EXPECT_EQ(grid->cell(column, 0), QString::fromUtf8(header[column]));
        for (int row = 1; row < 9; ++row) EXPECT_EQ(grid->cell(column, row), QString());
    }
}

TEST_F(StartState, TotalsGridHasItsHeaderAndFiftyRows)
{
    auto* grid = Find<Grid>("sgTotal");
    EXPECT_EQ(grid->rows(), 50);
    const char* header[] = {"№",
                            "   Название мероприятия",
                            "Затраты (у.е)",
                            "Выгода (у.е.)",
                            "Выгода/Затраты",
                            "   Измененный фактор",
                            "    Оченка ДО",
                            " Оценка ПОСЛЕ"};
    ASSERT_EQ(grid->columnCount(), 8);
    for (int column = 0; column < 8; ++column) EXPECT_EQ(grid->cell(column, 0), QString::fromUtf8(header[column]));
}

TEST_F(StartState, ListsShowTheirDefaultItems)
{
    for (const FactorInfo& factor : FactorCatalogue) {
        auto* list = Find<QComboBox>(QStringLiteral("cb") + QLatin1String(factor.id));
        ASSERT_EQ(list->count(), 11) << factor.id;
        EXPECT_EQ(list->currentIndex(), factor.defaultItem) << factor.id;
        EXPECT_EQ(list->currentText(), QString::fromUtf8((*factor.wording)[factor.defaultItem])) << factor.id;
    }
    EXPECT_EQ(Find<QComboBox>("cbT03")->currentText(), QString::fromUtf8("Большая"));
    EXPECT_EQ(window->session().assessment().QuestionnaireLevel, 6);
}

// Building the window selects the default items without applying them: the initial ratings stay,
// but for T03, which the first showing sets to the questionnaire's level.
TEST_F(StartState, DefaultItemsKeepTheInitialRatingsAndTheFirstShowingAppliesTheQuestionnaire)
{
    const SettingsTable& settings = window->session().assessment().settings;
    const int t03 = FindFactor("T03")->slot;
    for (int slot = 0; slot < FactorCount; ++slot) {
        if (slot != t03) {
            EXPECT_EQ(settings.row[slot], InitialSettings().row[slot]) << slot;
        }
    }
    EXPECT_EQ(settings.row[0].LevelName, "Среднее(удовл.)");
    // The initial T03 rating carries the padded name; the activation applied the scale's name.
    EXPECT_NE(InitialSettings().row[t03].LevelName, "Хорошее");
    EXPECT_EQ(settings.row[t03].LevelName, "Хорошее");
    EXPECT_EQ(settings.row[t03].Value, 0.584f);
    EXPECT_EQ(Find<QComboBox>("cbT03")->currentIndex(), 6);
}

TEST_F(StartState, PagesAndBars)
{
    auto* pages = Find<QTabWidget>("PageControl1");
    EXPECT_EQ(pages->currentWidget(), Find<QWidget>("tsModeling"));
    EXPECT_EQ(pages->tabText(0), QString::fromUtf8("Моделирование"));
    EXPECT_EQ(pages->tabText(1), QString::fromUtf8("Комплекс мер"));
    EXPECT_EQ(pages->tabText(2), QString::fromUtf8("Итоги"));
    EXPECT_TRUE(pages->isTabVisible(1));
    EXPECT_FALSE(pages->isTabVisible(2));
    auto* factors = Find<QTabWidget>("pcFactors");
    EXPECT_EQ(factors->currentWidget(), Find<QWidget>("tsTechnology"));
    EXPECT_EQ(factors->tabText(3), QString::fromUtf8("Технология"));
    EXPECT_FALSE(Find<QProgressBar>("pbTime")->isVisible());
    EXPECT_FALSE(Find<QProgressBar>("ProgressBar1")->isVisible());
    EXPECT_EQ(window->windowHandle()->title(), QStringLiteral("Kestal 2.0"));
    EXPECT_TRUE(window->windowState() & Qt::WindowMaximized);
}

TEST_F(StartState, HintsAndTooltipsOfTheRunParameters)
{
    EXPECT_EQ(Find<QLabel>("lbInPutK")->toolTip(), QString::fromUtf8("Сколько?"));
    EXPECT_EQ(Find<QComboBox>("cbInputK")->toolTip(), QString::fromUtf8("K = сколько?"));
    EXPECT_EQ(Find<QComboBox>("cbInputN")->toolTip(), QString::fromUtf8("N = сколько?"));
    EXPECT_EQ(Find<QLabel>("lbInPutN1")->toolTip(), QString::fromUtf8("N = ?"));
    EXPECT_EQ(Find<QLineEdit>("edOutTime")->toolTip(), QString());
    EXPECT_EQ(Find<QPushButton>("buttonRun")->toolTip(), QString());
    EXPECT_EQ(Find<QPushButton>("buttonRun")->text(), QString::fromUtf8("Запуск моделирования"));
}

TEST_F(StartState, MeasurePageDesign)
{
    for (const FactorInfo& factor : FactorCatalogue) {
        const QString id = QLatin1String(factor.id);
        const QString level = QString::fromStdString(StartLevelText(factor));
        auto* before = Find<QLabel>(QStringLiteral("st1_") + id);
        auto* after = Find<QLabel>(QStringLiteral("st2_") + id);
        auto* bar = Find<QSlider>(QStringLiteral("tb") + id);
        EXPECT_EQ(before->text(), level) << factor.id;
        EXPECT_EQ(after->text(), level) << factor.id;
        EXPECT_TRUE(before->isEnabled());
        EXPECT_FALSE(after->isEnabled());
        EXPECT_EQ(bar->value(), factor.defaultItem) << factor.id;
        EXPECT_EQ(bar->minimum(), 0);
        EXPECT_EQ(bar->maximum(), 10);
        EXPECT_FALSE(bar->isEnabled());
        EXPECT_EQ(bar->tickPosition(), QSlider::NoTicks);
        EXPECT_EQ(bar->singleStep(), id == QLatin1String("H01") ? 0 : 1);
        EXPECT_NE(window->findChild<QWidget*>(QStringLiteral("p") + id + QStringLiteral("Opt")), nullptr);
    }
    EXPECT_EQ(Find<QLabel>("lbOptH06")->text(), QString::fromUtf8("  H06    Знание технологии работ"));
    EXPECT_EQ(window->findChild<QLabel*>(QStringLiteral("lbOptH06a")), nullptr);
    EXPECT_EQ(Find<QLabel>("lbOptH07a")->text(), QStringLiteral("  H07 "));
    EXPECT_EQ(Find<QLabel>("lbOptC01")->text(),
              QString::fromUtf8("Комфортность по физико- химическим  параметрам воздушной среды"));
    EXPECT_EQ(Find<QLabel>("st1_M07")->text(), QString::fromUtf8("Очень большой"));

    EXPECT_EQ(Find<QLineEdit>("edActName")->text(), QString::fromUtf8("Мероприятие 1"));
    EXPECT_EQ(Find<QLineEdit>("edExpense")->text(), QStringLiteral("0"));
    EXPECT_EQ(Find<QLineEdit>("edAllMoney")->text(), QStringLiteral("1500"));
    EXPECT_EQ(Find<QLineEdit>("edDamage")->text(), QStringLiteral("10000000"));
    auto* capture = Find<QPushButton>("butActIn");
    EXPECT_EQ(capture->text(), QStringLiteral(">>"));
    EXPECT_FALSE(capture->isEnabled());
    EXPECT_TRUE(capture->isDefault());
    EXPECT_TRUE(Find<QPushButton>("butReset")->isEnabled());
    EXPECT_FALSE(Find<QPushButton>("buttonRunOpt")->isEnabled());
    EXPECT_EQ(Lines(Find<QPlainTextEdit>("RichEdit3")),
              QStringList{QString::fromUtf8("                      РЕЗУЛЬТАТЫ.")});
    auto* opt = Find<QTabWidget>("pcFactOpt");
    EXPECT_EQ(opt->tabPosition(), QTabWidget::South);
    EXPECT_EQ(opt->currentIndex(), 0);

    auto* tree = Find<QTreeWidget>("tvAction");
    ASSERT_EQ(tree->topLevelItemCount(), 1);
    const QTreeWidgetItem* root = tree->topLevelItem(0);
    ASSERT_EQ(root->childCount(), 1);
    ASSERT_EQ(root->child(0)->childCount(), 2);
    const QTreeWidgetItem* nodes[] = {root, root->child(0), root->child(0)->child(0), root->child(0)->child(1)};
    const char* texts[] = {"Комплекс мер", "Мероприятие 1", "Изменения факторов ЧМС", "Затраты"};
    for (int index = 0; index < 4; ++index) {
        EXPECT_EQ(nodes[index]->text(0), QString::fromUtf8(texts[index]));
        EXPECT_EQ(NodeImage(nodes[index]), index);
        if (index >= 2) {
            EXPECT_EQ(nodes[index]->childCount(), 0);
        }
    }

    EXPECT_FALSE(Find<QPushButton>("buttLess")->isEnabled());
    EXPECT_TRUE(Find<QPushButton>("buttMore")->isEnabled());
    EXPECT_FALSE(Find<QPushButton>("buttSave")->isEnabled());
}

}  // namespace
