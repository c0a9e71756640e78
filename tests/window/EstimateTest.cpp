// The run-time estimates and the K and N fields mirrored between the two pages.
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include "network/Calibration.h"
#include "WindowFixture.h"
#include "common/Formats.h"

namespace {

class Estimate : public WindowTest {
protected:
    QComboBox* Field(const char* name) { return Find<QComboBox>(QString::fromLatin1(name)); }
    QString Text(const char* name) { return Find<QLineEdit>(QString::fromLatin1(name))->text(); }
    QString Expected(int32_t k, int32_t n, int series = 1)
    {
        return QString::fromStdString(
            "  " + DurationText(EstimateDays(window->session().CalibrationTime(), k, n, series), RussianNumberLocale()));
    }
};

TEST_F(Estimate, TypingKMirrorsItAndRewritesBothEstimates)
{
    TypeOver(Field("cbInputK"), QStringLiteral("400"));
    EXPECT_EQ(Field("cbInputKOpt")->currentText(), QStringLiteral("400"));
    EXPECT_EQ(window->session().state().series.ExperimentCount, 400);
    EXPECT_EQ(window->session().state().series.InitiationCount, 4000);
    EXPECT_EQ(Text("edOutTime"), Expected(400, 4000));
    EXPECT_EQ(Text("edOutTimeOpt"), QStringLiteral("  0:00:00"));
    // N is left alone on the other page.
    EXPECT_EQ(Field("cbInputNOpt")->currentText(), QStringLiteral("4000"));
}

TEST_F(Estimate, PickingNFromItsListMirrorsIt)
{
    PickItem(Field("cbInputN"), 2);
    EXPECT_EQ(Field("cbInputN")->currentText(), QStringLiteral("10000"));
    EXPECT_EQ(Field("cbInputNOpt")->currentText(), QStringLiteral("10000"));
    EXPECT_EQ(window->session().state().series.InitiationCount, 10000);
    EXPECT_EQ(Text("edOutTime"), Expected(200, 10000));
    EXPECT_EQ(Text("edOutTimeOpt"), QStringLiteral("  0:00:00"));
}

TEST_F(Estimate, TheMeasurePageMirrorsBack)
{
    ClickTab(Find<QTabWidget>("PageControl1"), 1);
    TypeOver(Field("cbInputKOpt"), QStringLiteral("700"));
    EXPECT_EQ(Field("cbInputK")->currentText(), QStringLiteral("700"));
    EXPECT_EQ(window->session().state().series.ExperimentCount, 700);
    TypeOver(Field("cbInputNOpt"), QStringLiteral("50"));
    EXPECT_EQ(Field("cbInputN")->currentText(), QStringLiteral("50"));
    EXPECT_EQ(window->session().state().series.InitiationCount, 50);
    EXPECT_EQ(Text("edOutTime"), Expected(700, 50));
    EXPECT_EQ(Text("edOutTimeOpt"), QStringLiteral("  0:00:00"));
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
    EXPECT_EQ(window->session().state().series.ExperimentCount, 200);

    // The run says what is wrong when asked to start.
    QTest::mouseClick(Find<QPushButton>("buttonRun"), Qt::LeftButton);
    EXPECT_EQ(boxes.texts(), QStringList{"'x1' is not a valid integer value"});
    EXPECT_EQ(window->session().state().RunCounter(), 0);

    TypeOver(Field("cbInputK"), QStringLiteral("30"));
    EXPECT_EQ(Text("edOutTime"), Expected(30, 4000));
}

}  // namespace
