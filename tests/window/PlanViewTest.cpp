// The tab "План" driven by keys and clicks: the target's spellings, the step table, both plans
// worked out off the interface thread and shown as the core's texts, and the curve.
#include <QAction>
#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include "analysis/PlanTexts.h"
#include "WindowFixture.h"

namespace {

class PlanTab : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        ClickTab(Find<QTabWidget>("PageControl1"), 3);
        ClickTab(Find<QTabWidget>("pcAnalysis"), 3);
    }
    void TypeTarget(const QString& text)
    {
        auto* target = Find<QLineEdit>("edPlanTarget");
        target->selectAll();
        QTest::keyClick(target, Qt::Key_Delete);
        TypeText(target, text);
    }
    // Clicks the cell of the factor's row, opens it with F2 and types `text` over it, then Enter.
    void TypeCell(const char* id, int column, const QString& text)
    {
        auto* steps = Find<QTableWidget>("sgPlanSteps");
        QTableWidgetItem* item = steps->item(FactorIndex(id), column);
        steps->scrollToItem(item);
        QTest::mouseClick(steps->viewport(), Qt::LeftButton, {}, steps->visualItemRect(item).center());
        QTest::keyClick(steps, Qt::Key_F2);
        QWidget* editor = QApplication::focusWidget();
        QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(editor, Qt::Key_Delete);
        TypeText(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
        // The view commits the editor's text on its next turn.
        QCoreApplication::processEvents();
    }
};

TEST_F(PlanTab, TheButtonWaitsForATargetAndStepsThatRead)
{
    auto* button = Find<QPushButton>("btPlan");
    const struct {
        QString target;
        bool reads;
    } targets[] = {{"", false},     {"1e-3", true},  {"0,001", true}, {"0.001", true}, {"0,1 %", true},
                   {"0.1%", true},  {"abc", false},  {"2", false},    {"-1e-3", false}, {"150 %", false}};
    for (const auto& t : targets) {
        TypeTarget(t.target);
        EXPECT_EQ(button->isEnabled(), t.reads) << t.target.toStdString();
    }
    TypeTarget("1e-3");
    const struct {
        int column;
        QString text;
        bool reads;
    } cells[] = {{1, "2,5", true}, {1, "x", false}, {1, "-1", false}, {1, "", true},
                 {2, "12", false}, {2, "3", true},  {3, "2", false},  {3, "11", true}};
    for (const auto& c : cells) {
        TypeCell("H03", c.column, c.text);
        EXPECT_EQ(button->isEnabled(), c.reads) << c.column << ' ' << c.text.toStdString();
    }
}

TEST_F(PlanTab, BothPlansAreTheCoresAndTheCurveIsDrawn)
{
    window->OpenProjectAt(KESTAL_SOURCE_DIR "/examples/workplace.kestal");
    TypeTarget("0,1 %");
    TypeCell("H03", 1, "100");
    TypeCell("H03", 3, "9");
    TypeCell("H14", 1, "120");
    TypeCell("M03", 1, "150");
    QTest::mouseClick(Find<QPushButton>("btPlan"), Qt::LeftButton);
    auto* stop = Find<QPushButton>("btPlanStop");
    ASSERT_TRUE(QTest::qWaitFor([stop] { return !stop->isEnabled(); }, 60'000));

    const Session& session = window->session();
    const std::vector<FactorSteps> steps = {
        {FindFactor("H03"), 100, 1, 9}, {FindFactor("H14"), 120, 1, 11}, {FindFactor("M03"), 150, 1, 11}};
    const auto lines = [](const std::vector<std::string>& texts) {
        QStringList lines;
        for (const std::string& text : texts) lines << QString::fromStdString(text).trimmed();
        return lines.join('\n');
    };
    EXPECT_EQ(Find<QLabel>("lbPlanLevels")->text(),
              lines(LevelPlanLines(PlanLevels(session.RatingInputs(), steps, 1e-3L), RussianNumberLocale())));
    const auto measures = session.CapturedCandidates();
    EXPECT_EQ(Find<QLabel>("lbPlanMeasures")->text(),
              lines(MeasurePlanLines(PlanMeasures(session.RatingInputs(), measures, 1e-3L), measures,
                                     RussianNumberLocale())));
    // Both curves with their points, the target and the chosen plans.
    EXPECT_EQ(Find<QChartView>("chPlanCurve")->chart()->series().size(), 6);

    // The level plan becomes the fourth measure, and the plans shown are then out of date; the same
    // plan again finds H03 taken.
    auto* stale = Find<QLabel>("lbPlanStale");
    EXPECT_FALSE(stale->isVisible());
    MessageBoxCloser closer;
    QTest::mouseClick(Find<QPushButton>("btPlanCapture"), Qt::LeftButton);
    QTest::mouseClick(Find<QPushButton>("btPlanCapture"), Qt::LeftButton);
    EXPECT_EQ(closer.texts(), QStringList{"Фактор H03 уже входит в записанное мероприятие"});
    EXPECT_TRUE(stale->isVisible());
    const std::vector<CandidateMeasure> after = session.CapturedCandidates();
    ASSERT_EQ(after.size(), measures.size() + 1);
    EXPECT_EQ(after.back(), (CandidateMeasure{"План 0,001", 460.0f, {{FindFactor("H03")->slot, LevelTable[8].value},
                                                                      {FindFactor("H14")->slot, LevelTable[10].value}}}));
    if (qEnvironmentVariableIsSet("KESTAL_PLAN_PICTURE")) {
        ClickTab(Find<QTabWidget>("PageControl1"), 3);
        window->showNormal();
        window->resize(1280, 900);
        QTest::qWait(200);
        window->grab().save(qEnvironmentVariable("KESTAL_PLAN_PICTURE"));
    }
    // The refused second press left nothing to undo; the capture is undone whole.
    EXPECT_EQ(Find<QAction>("acUndo")->text(), QString::fromUtf8("Отменить: запись мероприятия"));
    Find<QAction>("acUndo")->trigger();
    EXPECT_EQ(session.CapturedCandidates(), measures);
    EXPECT_FALSE(window->isWindowModified());
}

}  // namespace

namespace {

// A long search ends at "Стоп" with nothing shown, and the button takes clicks again.
TEST_F(PlanTab, StopEndsTheWorkWithNothingShown)
{
    TypeTarget("1e-5");
    for (const FactorInfo& factor : FactorCatalogue) TypeCell(factor.id, 1, "1");
    auto* compute = Find<QPushButton>("btPlan");
    auto* stop = Find<QPushButton>("btPlanStop");
    QTest::mouseClick(compute, Qt::LeftButton);
    ASSERT_TRUE(stop->isEnabled());
    QTest::qWait(300);
    QTest::mouseClick(stop, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([stop] { return !stop->isEnabled(); }, 10'000));
    EXPECT_TRUE(compute->isEnabled());
    EXPECT_EQ(Find<QLabel>("lbPlanLevels")->text(), "");
    EXPECT_EQ(Find<QProgressBar>("pbPlan")->value(), 0);
}

}  // namespace
