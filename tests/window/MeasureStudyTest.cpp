// The measure study in the window and the page "Итоги": the listing, the labels, the compact and the
// detailed view, the progress bar, refusals and errors, a second study and the reset afterwards.
#include <QComboBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QTest>

#include "measures/Totals.h"
#include "network/Series.h"
#include "widgets/Grid.h"
#include "widgets/Monitor.h"
#include "MeasureFixture.h"
#include "common/Formats.h"
#include "factors/Catalogue.h"

using namespace kestal;

namespace {

QString U(const char* text) { return QString::fromUtf8(text); }
QString U(const std::string& text) { return QString::fromStdString(text); }

// Counts the times a widget is shown.
class ShowCounter : public QObject {
public:
    explicit ShowCounter(QWidget* widget) { widget->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Show) ++shows;
        return false;
    }
    int shows = 0;
};

class MeasureStudy : public MeasureTest {
protected:
    void SetUp() override
    {
        MeasureTest::SetUp();
        TypeOver(Find<QComboBox>("cbInputKOpt"), QStringLiteral("5"));
        TypeOver(Find<QComboBox>("cbInputNOpt"), QStringLiteral("200000"));
    }
    // A cheap measure with a large effect, and a dear one with a smaller effect: ranked as the
    // first, the pair, the second.
    void TwoMeasures()
    {
        Capture({{"H08", 10}, {"H14", 10}}, QStringLiteral("1"));
        Capture({{"T06", 10}}, QStringLiteral("1000"));
    }
    void Run()
    {
        QTest::mouseClick(Button("buttonRunOpt"), Qt::LeftButton);
        WaitForWork(*window);
    }
    void ShowPage(int page) { ClickTab(Find<QTabWidget>("PageControl1"), page); }
    Grid* Totals() { return Find<Grid>("sgTotal"); }
    QStringList Row(int row)
    {
        QStringList cells;
        for (int column = 0; column < 8; ++column) cells << Totals()->cell(column, row);
        return cells;
    }
    QStringList Listing() { return Lines(Find<QPlainTextEdit>("RichEdit3")); }
    const operation& Record(int position) { return window->session().assessment().measures.MeasureStore(position); }
    QString Money(float value) { return U(MoneyText(value, RussianNumberLocale())); }
    QString Ratio(float value) { return U(RatioText(value, RussianNumberLocale())); }
    QString General(float value) { return U(GeneralText(value, RussianNumberLocale())); }
    QString RowText(const char* id)
    {
        return U(window->session().assessment().settings.row[FindFactor(id)->slot].RowText);
    }
    QStringList Names()
    {
        QStringList names;
        for (int position = 1; position <= StorePositions; ++position)
            if (!Record(position).Name.empty()) names << U(Record(position).Name);
        return names;
    }
    bool TotalsTabShown() { return Find<QTabWidget>("PageControl1")->isTabVisible(2); }
};

const QStringList Blank(8, QString());

QStringList Cells(QStringList first, std::initializer_list<QString> changes)
{
    while (first.size() < 5) first << QString();
    for (const QString& text : changes) first << text;
    while (first.size() < 8) first << QString();
    return first;
}

TEST_F(MeasureStudy, AStudyWritesTheListingTheLabelsAndTheCompactRows)
{
    TwoMeasures();
    Shot("measures");
    QProgressBar* bar = Find<QProgressBar>("ProgressBar1");
    QTest::mouseClick(Button("buttonRunOpt"), Qt::LeftButton);
    // While the study runs in the background its bar and the stop button show.
    EXPECT_TRUE(bar->isVisible());
    EXPECT_TRUE(Button("butStop")->isVisible());
    WaitForWork(*window);

    EXPECT_EQ(Names(), (QStringList{U("Мероприятие 1"), U("Мероприятие 1 + Мероприятие 2"), U("Мероприятие 2")}));
    QStringList listing{U("                      РЕЗУЛЬТАТЫ.")};
    const char* costs[] = {"1", "1001", "1000"};
    for (int position = 1; position <= 3; ++position) {
        const operation& record = Record(position);
        EXPECT_GT(record.Benefit, 0.0f) << position;
        listing << QStringLiteral("--------") << U(record.Name + " :") << U("   -> затраты = ") + U(costs[position - 1])
                << U("   -> выгода  = ") + General(record.Benefit) << U("   >> выг/зат = ") + General(record.Ratio);
    }
    EXPECT_EQ(Listing(), listing);
    EXPECT_EQ(Find<QLabel>("lbTotalMoney")->text(),
              U("Общая сумма, имеющихся в распоряжении финансовых средств : 1500 ( у.е.)"));
    EXPECT_EQ(Find<QLabel>("lbTotDamage")->text(),
              U("Величина среднего ущерба от возможного происшествия : 10000000 ( у.е.)"));

    EXPECT_EQ(Row(0),
              (QStringList{U("№"), U("   Название мероприятия"), U("Затраты (у.е)"), U("Выгода (у.е.)"),
                           U("Выгода/Затраты"), U("   Измененный фактор"), U("    Оченка ДО"), U(" Оценка ПОСЛЕ")}));
    EXPECT_EQ(Row(1),
              Cells({"1", U("Мероприятие 1"), U("1,00"), Money(Record(1).Benefit), Ratio(Record(1).Ratio)}, {}));
    EXPECT_EQ(Row(2), Cells({"2", U("Мероприятие 1 + Мероприятие 2"), U("1\u00A0001,00"), Money(Record(2).Benefit),
                             Ratio(Record(2).Ratio)},
                            {}));
    EXPECT_EQ(
        Row(3),
        Cells({"3", U("Мероприятие 2"), U("1\u00A0000,00"), Money(Record(3).Benefit), Ratio(Record(3).Ratio)}, {}));
    EXPECT_EQ(Row(4), Blank);
    EXPECT_EQ(Totals()->rows(), 50);

    // The page afterwards: the totals tab shown but not switched to, the editor and the run button off.
    EXPECT_TRUE(TotalsTabShown());
    EXPECT_EQ(Find<QTabWidget>("PageControl1")->currentIndex(), 1);
    EXPECT_FALSE(Find<QTabWidget>("pcFactOpt")->isEnabled());
    EXPECT_FALSE(Button("buttonRunOpt")->isEnabled());
    // The bar is hidden at 0 again.
    EXPECT_FALSE(bar->isVisible());
    EXPECT_EQ(bar->value(), 0);
    EXPECT_FALSE(Button("butStop")->isVisible());

    // Budget or damage edited: the button may be used again.
    TypeInto("edDamage", QStringLiteral("20000000"));
    EXPECT_TRUE(Button("buttonRunOpt")->isEnabled());
    ShowPage(2);
    Shot("totals-compact");
}

TEST_F(MeasureStudy, MorePlacesEachCandidateWithItsChangesAndLessGivesTheCompactRowsAgain)
{
    // Three measures of 3, 2 and 1 changes, ranked in that order; every combination is over the budget.
    TypeOver(Find<QComboBox>("cbInputKOpt"), QStringLiteral("10"));
    Capture({{"H08", 10}, {"H14", 10}, {"C03", 0}}, QStringLiteral("1000"));
    Capture({{"T04", 0}, {"T06", 10}}, QStringLiteral("1400"));
    Capture({{"M04", 8}}, QStringLiteral("1300"));
    Run();
    ASSERT_EQ(Names(),
              (QStringList{U("Мероприятие 1"), U("Мероприятие 2"), U("Мероприятие 3"),
                           U("Мероприятие 2 + Мероприятие 3"), U("Мероприятие 1 + Мероприятие 3"),
                           U("Мероприятие 1 + Мероприятие 2"), U("Мероприятие 1 + Мероприятие 2 + Мероприятие 3")}));
    std::vector<QStringList> compact;
    for (int row = 0; row < 50; ++row) compact.push_back(Row(row));
    EXPECT_EQ(compact[4],
              Cells({"4", U("Мероприятие 2 + Мероприятие 3"), U("2700>1500"), U("Большие"), U("затраты")}, {}));
    EXPECT_EQ(compact[7][2], U("3700>1500"));
    ShowPage(2);
    QTest::mouseClick(Button("buttMore"), Qt::LeftButton);

    const QString top = U("Очень, очень высокая"), bottom = U("Очень, очень низкая");
    EXPECT_EQ(Row(0)[7], U(" Оценка ПОСЛЕ"));
    EXPECT_EQ(Row(1), Cells(compact[1].mid(0, 5), {RowText("H08"), U("Очень хорошая"), top}));
    EXPECT_EQ(Row(2), Cells({}, {RowText("H14"), U("Очень хорошая"), top}));
    EXPECT_EQ(Row(3), Cells({}, {RowText("C03"), U("Очень низкая"), bottom}));
    EXPECT_EQ(Row(6), Cells(compact[2].mid(0, 5), {RowText("T04"), U("Ниже среднего"), bottom}));
    EXPECT_EQ(Row(7), Cells({}, {RowText("T06"), U("Высокая"), top}));
    EXPECT_EQ(Row(10), Cells(compact[3].mid(0, 5), {RowText("M04"), U("Очень хорошая"), U("Высокая")}));
    // Blank rows between the candidates; the combinations over the budget are left out.
    for (int row : {4, 5, 8, 9, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30})
        EXPECT_EQ(Row(row), Blank) << row;
    EXPECT_EQ(Totals()->rows(), 50);
    EXPECT_FALSE(Button("buttMore")->isVisible());
    EXPECT_FALSE(Button("buttMore")->isEnabled());
    EXPECT_TRUE(Button("buttLess")->isVisible());
    EXPECT_TRUE(Button("buttLess")->isEnabled());
    EXPECT_FALSE(Button("buttSave")->isEnabled());
    Shot("totals-detailed");

    QTest::mouseClick(Button("buttLess"), Qt::LeftButton);
    for (int row = 0; row < 50; ++row) EXPECT_EQ(Row(row), compact[row]) << row;
    EXPECT_TRUE(Button("buttMore")->isVisible());
    EXPECT_TRUE(Button("buttMore")->isEnabled());
    EXPECT_FALSE(Button("buttLess")->isVisible());
    EXPECT_FALSE(Button("buttLess")->isEnabled());

    // With position 2 over a lowered budget, position 3 stands on row 7.
    ShowPage(1);
    TypeInto("edAllMoney", QStringLiteral("1350"));
    ShowPage(2);
    QTest::mouseClick(Button("buttMore"), Qt::LeftButton);
    EXPECT_EQ(Row(3)[5], RowText("C03"));
    for (int row : {4, 5, 6, 8}) EXPECT_EQ(Row(row), Blank) << row;
    EXPECT_EQ(Row(7), Cells(compact[3].mid(0, 5), {RowText("M04"), U("Очень хорошая"), U("Высокая")}));
}

TEST_F(MeasureStudy, TheViewsReadTheBudgetAfreshAndLeaveOutCandidatesOverIt)
{
    TwoMeasures();
    Run();
    TypeInto("edAllMoney", QStringLiteral("1000"));
    ShowPage(2);
    QTest::mouseClick(Button("buttMore"), Qt::LeftButton);
    // The pair now costs more than the budget: position 3 follows position 1 with one blank row.
    EXPECT_EQ(Row(1)[1], U("Мероприятие 1"));
    EXPECT_EQ(Row(2)[5], RowText("H14"));
    EXPECT_EQ(Row(3), Blank);
    EXPECT_EQ(Row(4), Blank);
    EXPECT_EQ(Row(5), Blank);
    EXPECT_EQ(Row(6),
              Cells({"3", U("Мероприятие 2"), U("1\u00A0000,00"), Money(Record(3).Benefit), Ratio(Record(3).Ratio)},
                    {RowText("T06"), U("Высокая"), U("Очень, очень высокая")}));
    EXPECT_EQ(Row(7), Blank);
    QTest::mouseClick(Button("buttLess"), Qt::LeftButton);
    EXPECT_EQ(Row(2), Cells({"2", U("Мероприятие 1 + Мероприятие 2"), U("1001>1000"), U("Большие"), U("затраты")}, {}));

    // A budget that is no number leaves the table as it was.
    ShowPage(1);
    MessageBoxCloser boxes;
    TypeInto("edAllMoney", QStringLiteral("x"));
    ShowPage(2);
    QTest::mouseClick(Button("buttMore"), Qt::LeftButton);
    EXPECT_EQ(boxes.texts().last(), U("'x' is not a valid floating point value"));
    EXPECT_EQ(Row(2)[2], U("1001>1000"));
    EXPECT_TRUE(Button("buttMore")->isVisible());
}

TEST_F(MeasureStudy, ResetAfterAStudyReturnsThePageToItsStart)
{
    TwoMeasures();
    Run();
    const QString money = Find<QLabel>("lbTotalMoney")->text();
    QTest::mouseClick(Button("butReset"), Qt::LeftButton);

    EXPECT_FALSE(TotalsTabShown());
    EXPECT_EQ(Listing(), QStringList{U("                      РЕЗУЛЬТАТЫ.")});
    EXPECT_FALSE(Button("buttonRunOpt")->isEnabled());
    EXPECT_FALSE(Button("butActIn")->isEnabled());
    EXPECT_TRUE(Find<QTabWidget>("pcFactOpt")->isEnabled());
    EXPECT_EQ(Edit("edActName")->text(), U("Мероприятие 1"));
    EXPECT_EQ(Edit("edExpense")->text(), QStringLiteral("0"));
    EXPECT_EQ(Edit("edOutTimeOpt")->text(), QString());
    EXPECT_EQ(Tree(), (QStringList{U("Комплекс мер|0"), U("  Мероприятие 1|1"), U("    Изменения факторов ЧМС|2"),
                                   U("    Затраты|3")}));
    for (const FactorInfo& factor : FactorCatalogue) {
        const QString id = QLatin1String(factor.id);
        EXPECT_TRUE(Panel(factor.id)->isEnabled()) << factor.id;
        EXPECT_TRUE(Find<QLabel>(QStringLiteral("lbOpt") + id)->isEnabled()) << factor.id;
        EXPECT_TRUE(Before(factor.id)->isEnabled()) << factor.id;
        EXPECT_FALSE(After(factor.id)->isEnabled()) << factor.id;
        EXPECT_EQ(After(factor.id)->text(), Before(factor.id)->text()) << factor.id;
        EXPECT_EQ(Panel(factor.id)->colour(), LightColour()) << factor.id;
        EXPECT_FALSE(Bar(factor.id)->isEnabled()) << factor.id;
        EXPECT_EQ(Bar(factor.id)->tickPosition(), QSlider::NoTicks) << factor.id;
        EXPECT_EQ(Bar(factor.id)->value(), Find<QComboBox>(QStringLiteral("cb") + id)->currentIndex()) << factor.id;
    }
    EXPECT_EQ(window->session().assessment().measures.MeasureCount, 0);
    EXPECT_EQ(window->session().assessment().measures.ChangeTotal, 0);
    EXPECT_TRUE(Names().isEmpty());
    EXPECT_EQ(window->session().assessment().measures.MeasurePlanTable[FindFactor("T06")->slot][2].Value, 0.0f);
    // The totals page keeps its labels and rows; only its tab is hidden.
    EXPECT_EQ(Find<QLabel>("lbTotalMoney")->text(), money);
    EXPECT_EQ(Row(3)[1], U("Мероприятие 2"));

    // The factors are free again.
    Capture({{"T06", 9}}, QStringLiteral("5"));
    EXPECT_EQ(window->session().assessment().measures.MeasureCount, 1);
    EXPECT_EQ(Record(1).Changes[1].LevelAfter, "Очень высокая");
}

TEST_F(MeasureStudy, RefusalsChangeNothingAndAnErrorInTheStudyHidesTheBar)
{
    QProgressBar* bar = Find<QProgressBar>("ProgressBar1");
    ShowCounter barShows(bar);
    MessageBoxCloser boxes;
    // Four measures may be captured, but a study takes two or three.
    for (const char* id : {"H02", "H03", "H04", "H05"}) Capture({{id, 4}}, QStringLiteral("1"));
    ASSERT_TRUE(Button("buttonRunOpt")->isEnabled());
    Run();
    EXPECT_EQ(Listing(), QStringList{U("                      РЕЗУЛЬТАТЫ.")});
    QTest::mouseClick(Button("butReset"), Qt::LeftButton);
    TwoMeasures();
    ASSERT_TRUE(Button("buttonRunOpt")->isEnabled());
    // A budget that is no number keeps the button disabled.
    TypeInto("edAllMoney", QStringLiteral("abc"));
    EXPECT_FALSE(Button("buttonRunOpt")->isEnabled());
    TypeInto("edAllMoney", QStringLiteral("1500"));
    TypeOver(Find<QComboBox>("cbInputKOpt"), QStringLiteral("0"));
    Run();
    ASSERT_EQ(boxes.texts().size(), 2);
    EXPECT_EQ(boxes.texts()[0], U("Для расчета нужно 2 или 3 мероприятия"));
    EXPECT_EQ(boxes.texts()[1], U(KOutOfRangeText));
    EXPECT_EQ(barShows.shows, 0);
    EXPECT_EQ(Listing(), QStringList{U("                      РЕЗУЛЬТАТЫ.")});
    EXPECT_FALSE(TotalsTabShown());
    EXPECT_EQ(Record(2).Benefit, 0.0f);

    // A damage too large for a single benefit stops the study after it started.
    TypeOver(Find<QComboBox>("cbInputKOpt"), QStringLiteral("5"));
    TypeInto("edDamage", QStringLiteral("1E300"));
    Run();
    EXPECT_EQ(boxes.texts().last(), U("Floating point overflow"));
    EXPECT_EQ(barShows.shows, 1);
    EXPECT_FALSE(bar->isVisible());
    EXPECT_EQ(bar->value(), 0);
    EXPECT_EQ(Listing(), QStringList{U("                      РЕЗУЛЬТАТЫ.")});
    EXPECT_FALSE(TotalsTabShown());
    EXPECT_TRUE(Find<QTabWidget>("pcFactOpt")->isEnabled());
}

TEST_F(MeasureStudy, ThreeMeasuresOfTenChangesGrowTheDetailedView)
{
    TypeOver(Find<QComboBox>("cbInputKOpt"), QStringLiteral("2"));
    TypeOver(Find<QComboBox>("cbInputNOpt"), QStringLiteral("500"));
    std::vector<Change> changes[3];
    for (int index = 0; index < FactorCount; ++index) {
        const FactorInfo& factor = FactorCatalogue[index];
        const int step = index == 0 ? 2 : 1;
        changes[index / 10].push_back({factor.id, factor.defaultItem < 10 ? factor.defaultItem + step : 9});
    }
    for (const auto& measure : changes) Capture(measure, QStringLiteral("1"));
    EXPECT_EQ(window->session().assessment().measures.MeasureCount, 3);
    EXPECT_EQ(window->session().assessment().measures.ChangeTotal, 30);
    EXPECT_EQ(Tree()[3 * 3 + 30], U("    Затраты = 1 у.е.|3"));
    Run();
    EXPECT_EQ(Names().size(), 7);
    ShowPage(2);
    QTest::mouseClick(Button("buttMore"), Qt::LeftButton);
    // 3 × 10 + 3 × 20 + 30 changes, each candidate followed by a blank row: the last change on row 132.
    EXPECT_EQ(Totals()->rows(), 133);
    EXPECT_EQ(Row(132)[5], U(Record(7).Changes[Record(7).Changes.Count()].Factor));
    EXPECT_EQ(Row(132 - Record(7).Changes.Count() + 1)[0], QStringLiteral("7"));
    QTest::mouseClick(Button("buttLess"), Qt::LeftButton);
    EXPECT_EQ(Totals()->rows(), 50);
    EXPECT_EQ(Row(7)[0], QStringLiteral("7"));
}

}  // namespace
