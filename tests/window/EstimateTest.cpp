// The run-time estimates and the K and N fields mirrored between the two pages.
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include "network/Calibration.h"
#include "WindowFixture.h"
#include "common/Formats.h"

using namespace kestal;

namespace {

class Estimate : public WindowTest {
protected:
    QComboBox* Field(const char* name) { return Find<QComboBox>(QString::fromLatin1(name)); }
    QString Text(const char* name) { return Find<QLineEdit>(QString::fromLatin1(name))->text(); }
    QString Expected(int32_t k, int32_t n, int series = 1)
    {
        return QString::fromStdString(
            "  " +
            DurationText(EstimateDays(window->session().CalibrationTime(), k, n, series), RussianNumberLocale()));
    }
};

// K and N typed or picked on either page: the twin on the other page shows the same text, the run
// takes the number, the run's estimate follows both and the study's shows zero time.
TEST_F(Estimate, EitherPagesFieldMirrorsItsTwinAndRewritesBothEstimates)
{
    const struct {
        int page;           // 0 "Моделирование", 1 "Комплекс мер"
        const char* field;  // typed into or picked from
        const char* twin;   // the other page's field
        const char* typed;  // nullptr: item `item` picked from the list
        int item;
        const char* shown;  // both fields' text afterwards
        int32_t k, n;       // the run size afterwards
    } steps[] = {
        {0, "cbInputK", "cbInputKOpt", "400", 0, "400", 400, 4000},
        {0, "cbInputN", "cbInputNOpt", nullptr, 2, "10000", 400, 10000},
        {1, "cbInputKOpt", "cbInputK", "700", 0, "700", 700, 10000},
        {1, "cbInputNOpt", "cbInputN", "50", 0, "50", 700, 50},
    };
    for (const auto& step : steps) {
        ClickTab(Find<QTabWidget>("PageControl1"), step.page);
        if (step.typed)
            TypeOver(Field(step.field), QString::fromLatin1(step.typed));
        else
            PickItem(Field(step.field), step.item);
        EXPECT_EQ(Field(step.field)->currentText(), QString::fromLatin1(step.shown)) << step.field;
        EXPECT_EQ(Field(step.twin)->currentText(), QString::fromLatin1(step.shown)) << step.twin;
        EXPECT_EQ(window->session().assessment().series.ExperimentCount, step.k) << step.field;
        EXPECT_EQ(window->session().assessment().series.InitiationCount, step.n) << step.field;
        EXPECT_EQ(Text("edOutTime"), Expected(step.k, step.n)) << step.field;
        EXPECT_EQ(Text("edOutTimeOpt"), QStringLiteral("  0:00:00")) << step.field;
        // The other count's fields are left alone on both pages.
        for (const char* name : {"cbInputK", "cbInputKOpt"})
            EXPECT_EQ(Field(name)->currentText(), QString::number(step.k)) << step.field << " " << name;
        for (const char* name : {"cbInputN", "cbInputNOpt"})
            EXPECT_EQ(Field(name)->currentText(), QString::number(step.n)) << step.field << " " << name;
    }
}

TEST_F(Estimate, ANumberBeingTypedOpensNoBoxAndTheEstimateWaitsForIt)
{
    MessageBoxCloser boxes;
    DeleteText(Field("cbInputK"));
    TypeText(Field("cbInputK")->lineEdit(), QStringLiteral("x1"));
    EXPECT_TRUE(boxes.texts().isEmpty());
    // The twin shows what is typed; the estimates wait for a number; K keeps the last one.
    EXPECT_EQ(Field("cbInputKOpt")->currentText(), QStringLiteral("x1"));
    EXPECT_EQ(Text("edOutTime"), QString::fromUtf8("—"));
    EXPECT_EQ(window->session().assessment().series.ExperimentCount, 200);

    // The run says what is wrong when asked to start.
    QTest::mouseClick(Find<QPushButton>("buttonRun"), Qt::LeftButton);
    EXPECT_EQ(boxes.texts(), QStringList{"'x1' is not a valid integer value"});
    EXPECT_EQ(window->session().assessment().RunCounter(), 0);

    TypeOver(Field("cbInputK"), QStringLiteral("30"));
    EXPECT_EQ(Text("edOutTime"), Expected(30, 4000));
}

}  // namespace
