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
#include <QTemporaryFile>
#include <QTest>

#include "analysis/PlanBand.h"
#include "analysis/PlanTexts.h"
#include "analysispage/ExpertPanelView.h"
#include "project/ProjectFile.h"
#include "WindowFixture.h"

using namespace kestal;

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
    } targets[] = {{"", false},    {"1e-3", true}, {"0,001", true}, {"0.001", true},  {"0,1 %", true},
                   {"0.1%", true}, {"abc", false}, {"2", false},    {"-1e-3", false}, {"150 %", false}};
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
    const LevelPlan levelPlan = PlanLevels(session.assessment().RatingInputs(), steps, 1e-3L);
    EXPECT_EQ(Find<QLabel>("lbPlanLevels")->text(), lines(LevelPlanLines(levelPlan, RussianNumberLocale())));
    // Probabilities as the other tabs show them; whole in the tooltip.
    EXPECT_TRUE(Find<QLabel>("lbPlanLevels")
                    ->text()
                    .contains(QString::fromStdString("происшествие: " +
                                                     ProbabilityText(levelPlan.accident, RussianNumberLocale()))));
    EXPECT_TRUE(Find<QLabel>("lbPlanLevels")
                    ->toolTip()
                    .contains(QString::fromStdString("происшествие: " +
                                                     GeneralText(levelPlan.accident, RussianNumberLocale()))));
    const auto measures = session.assessment().CapturedCandidates();
    const MeasurePlan measurePlan = PlanMeasures(session.assessment().RatingInputs(), measures, 1e-3L);
    EXPECT_EQ(Find<QLabel>("lbPlanMeasures")->text(),
              lines(MeasurePlanLines(measurePlan, measures, RussianNumberLocale())));
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
    const std::vector<CandidateMeasure> after = session.assessment().CapturedCandidates();
    ASSERT_EQ(after.size(), measures.size() + 1);
    EXPECT_EQ(after.back(), (CandidateMeasure{"План 0,001",
                                              460.0f,
                                              {{FindFactor("H03")->slot, LevelTable[8].value},
                                               {FindFactor("H14")->slot, LevelTable[10].value}}}));
    // The refused second press pushed nothing: the capture is the change to undo.
    EXPECT_EQ(Find<QAction>("acUndo")->text(), QString::fromUtf8("Отменить: запись мероприятия"));
    // With the example panel, each plan's lines end with the experts' band after it.
    Find<ExpertPanelView>("tsPanel")->ImportFrom(KESTAL_SOURCE_DIR "/examples/panel.csv");
    const ExpertPanel& panel = session.assessment().panel;
    ASSERT_EQ(panel.experts.size(), 5u);
    QTest::mouseClick(Find<QPushButton>("btPlan"), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([stop] { return !stop->isEnabled(); }, 60'000));
    const std::vector<CandidateMeasure> now = session.assessment().CapturedCandidates();
    const struct {
        const char* label;
        std::vector<std::string> lines;
        PlanSettings settings;
    } banded[] = {
        {"lbPlanLevels", LevelPlanLines(levelPlan, RussianNumberLocale()), SettingsOf(levelPlan)},
        {"lbPlanMeasures",
         MeasurePlanLines(PlanMeasures(session.assessment().RatingInputs(), now, 1e-3L), now, RussianNumberLocale()),
         SettingsOf(PlanMeasures(session.assessment().RatingInputs(), now, 1e-3L).chosen.members, now)}};
    for (auto b : banded) {
        b.lines.push_back(PlanBandLine(*BandAfterPlan(panel, session.assessment().RatingInputs(), b.settings),
                                       RussianNumberLocale()));
        EXPECT_EQ(Find<QLabel>(b.label)->text(), lines(b.lines)) << b.label;
    }
    if (qEnvironmentVariableIsSet("KESTAL_PLAN_PICTURE")) {
        ClickTab(Find<QTabWidget>("PageControl1"), 3);
        window->showNormal();
        window->resize(1280, 900);
        QTest::qWait(200);
        window->grab().save(qEnvironmentVariable("KESTAL_PLAN_PICTURE"));
    }
    // Undone, the panel goes, then the captured plan, whole.
    for (const char* change : {"панель экспертов", "запись мероприятия"}) {
        EXPECT_EQ(Find<QAction>("acUndo")->text(), QStringLiteral("Отменить: ") + QString::fromUtf8(change));
        Find<QAction>("acUndo")->trigger();
    }
    EXPECT_EQ(session.assessment().CapturedCandidates(), measures);
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
    // Pressed before the window has seen the work end: stopped however soon the search finishes.
    QTest::mouseClick(stop, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([stop] { return !stop->isEnabled(); }, 10'000));
    EXPECT_TRUE(compute->isEnabled());
    EXPECT_EQ(Find<QLabel>("lbPlanLevels")->text(), "");
    EXPECT_EQ(Find<QProgressBar>("pbPlan")->value(), 0);
}

// What is typed is the assessment's plan inputs; they leave and come back with the project file.
TEST_F(PlanTab, TheInputsAreTheAssessmentsAndComeBackWithItsFile)
{
    TypeTarget("0,1 %");
    QTest::keyClick(Find<QLineEdit>("edPlanTarget"), Qt::Key_Return);
    TypeCell("H03", 1, "100");
    TypeCell("H03", 3, "9");
    TypeCell("T02", 2, "3");
    TypeCell("M03", 1, "x");  // no number: the last inputs that read stay
    const PlanInputs typed{1e-3L, {{FactorIndex("H03"), 100.0L, 1, 9}, {FactorIndex("T02"), std::nullopt, 3, 11}}};
    EXPECT_EQ(window->session().assessment().plan, typed);
    QTemporaryFile file(QDir::tempPath() + QStringLiteral("/планXXXXXX.kestal"));
    ASSERT_TRUE(file.open());
    file.write(QByteArray::fromStdString(ProjectJson(window->session().state())));
    file.close();

    auto* steps = Find<QTableWidget>("sgPlanSteps");
    const auto shown = [&](const char* id) {
        const int row = FactorIndex(id);
        return Find<QLineEdit>("edPlanTarget")->text() + '|' + steps->item(row, 1)->text() + '|' +
               steps->item(row, 2)->text() + '|' + steps->item(row, 3)->text();
    };
    const struct {
        QString path;
        QString h03, t02, m03;
    } opened[] = {{KESTAL_SOURCE_DIR "/examples/workplace.kestal", "||1|11", "||1|11", "||1|11"},
                  {file.fileName(), "0,001|100|1|9", "0,001||3|11", "0,001||1|11"}};
    for (const auto& o : opened) {
        window->OpenProjectAt(o.path);
        EXPECT_EQ(shown("H03"), o.h03) << o.path.toStdString();
        EXPECT_EQ(shown("T02"), o.t02);
        EXPECT_EQ(shown("M03"), o.m03);
    }
    EXPECT_EQ(window->session().assessment().plan, typed);
}

// The window goes while the plan and the band are being worked out: each work is stopped and waited
// for, and its finish, queued already or not, never runs on the widgets that went.
TEST_F(PlanTab, ClosingDuringTheWorkEndsItSafely)
{
    TypeTarget("1e-5");
    for (const FactorInfo& factor : FactorCatalogue) TypeCell(factor.id, 1, "1");
    Find<ExpertPanelView>("tsPanel")->ImportFrom(KESTAL_SOURCE_DIR "/examples/panel.csv");
    QTest::mouseClick(Find<QPushButton>("btPlan"), Qt::LeftButton);
    Find<QPushButton>("btPanelBand")->click();
    ASSERT_TRUE(Find<QPushButton>("btPlanStop")->isEnabled());
    ASSERT_TRUE(Find<QPushButton>("btPanelStop")->isEnabled());
    QTest::qWait(50);
    window.reset();
    QTest::qWait(200);
}

}  // namespace
