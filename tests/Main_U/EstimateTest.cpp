// The run-time estimates and the K and N fields mirrored between the two pages.
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include "GERTnet/Calibration.h"
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
            "  " + DurationText(EstimateDays(window->CalibrationTime, k, n, series), RussianNumberLocale()));
    }
};

TEST_F(Estimate, TypingKMirrorsItAndRewritesBothEstimates)
{
    TypeOver(Field("cbInputK"), QStringLiteral("400"));
    EXPECT_EQ(Field("cbInputKOpt")->currentText(), QStringLiteral("400"));
    EXPECT_EQ(window->series.ExperimentCount, 400);
    EXPECT_EQ(window->series.InitiationCount, 4000);
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
    EXPECT_EQ(window->series.InitiationCount, 10000);
    EXPECT_EQ(Text("edOutTime"), Expected(200, 10000));
    EXPECT_EQ(Text("edOutTimeOpt"), QStringLiteral("  0:00:00"));
}

TEST_F(Estimate, TheMeasurePageMirrorsBack)
{
    window->PageControl1->setCurrentWidget(window->tsAction);
    TypeOver(Field("cbInputKOpt"), QStringLiteral("700"));
    EXPECT_EQ(Field("cbInputK")->currentText(), QStringLiteral("700"));
    EXPECT_EQ(window->series.ExperimentCount, 700);
    TypeOver(Field("cbInputNOpt"), QStringLiteral("50"));
    EXPECT_EQ(Field("cbInputN")->currentText(), QStringLiteral("50"));
    EXPECT_EQ(window->series.InitiationCount, 50);
    EXPECT_EQ(Text("edOutTime"), Expected(700, 50));
    EXPECT_EQ(Text("edOutTimeOpt"), QStringLiteral("  0:00:00"));
}

TEST_F(Estimate, StudyEstimateFollowsTheMeasureCount)
{
    window->measures.MeasureCount = 1;
    TypeOver(Field("cbInputK"), QStringLiteral("300"));
    EXPECT_EQ(Text("edOutTimeOpt"), QStringLiteral("  0:00:00"));
    window->measures.MeasureCount = 2;
    TypeOver(Field("cbInputK"), QStringLiteral("500"));
    EXPECT_EQ(Text("edOutTimeOpt"), Expected(500, 4000, 4));
    window->measures.MeasureCount = 3;
    TypeOver(Field("cbInputNOpt"), QStringLiteral("9000"));
    EXPECT_EQ(Text("edOutTimeOpt"), Expected(500, 9000, 8));
    EXPECT_EQ(Text("edOutTime"), Expected(500, 9000));
    window->measures.MeasureCount = 4;
    TypeOver(Field("cbInputN"), QStringLiteral("8000"));
    EXPECT_EQ(Text("edOutTimeOpt"), QString::fromUtf8(" Нызнаю"));
}

TEST_F(Estimate, ABadNumberStopsTheHandlerOnEveryKeystroke)
{
    const QString before = Text("edOutTime");
    MessageBoxCloser boxes;
    DeleteText(Field("cbInputK"));
    TypeText(Field("cbInputK")->lineEdit(), QStringLiteral("x1"));
    EXPECT_EQ(boxes.texts(), (QStringList{"'' is not a valid integer value", "'x' is not a valid integer value",
                                          "'x1' is not a valid integer value"}));
    for (const MessageBoxCloser::Shown& shown : boxes.shown()) EXPECT_EQ(shown.title, QStringLiteral("Kestal 2.0"));
    // Neither the twin nor the estimates moved.
    EXPECT_EQ(Field("cbInputKOpt")->currentText(), QStringLiteral("200"));
    EXPECT_EQ(Text("edOutTime"), before);
    EXPECT_EQ(window->series.ExperimentCount, 200);

    // A bad N with a good K: K is stored, the rest stays.
    TypeOver(Field("cbInputK"), QStringLiteral("30"));
    TypeOver(Field("cbInputN"), QStringLiteral("n"));
    EXPECT_EQ(boxes.texts().last(), QStringLiteral("'n' is not a valid integer value"));
    EXPECT_EQ(window->series.ExperimentCount, 30);
    EXPECT_EQ(Field("cbInputNOpt")->currentText(), QStringLiteral("4000"));
    EXPECT_EQ(Text("edOutTime"), Expected(30, 4000));
}

}  // namespace
