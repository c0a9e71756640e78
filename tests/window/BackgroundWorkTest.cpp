// Work in the background as a person meets it: input during the work is dropped, not replayed;
// "Стоп" and Esc end it with nothing changed; closing asks first; the wheel re-rates nothing.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QToolButton>
#include <QWheelEvent>

#include "window/TFormSimpleDo.h"
#include "MeasureFixture.h"
#include "widgets/Grid.h"
#include "widgets/Monitor.h"

using namespace kestal;

namespace {

class Work : public MeasureTest {
protected:
    // A run or study far too long to end by itself within the test.
    void MakeItLong()
    {
        TypeOver(Find<QComboBox>("cbInputKOpt"), QStringLiteral("2000"));
        TypeOver(Find<QComboBox>("cbInputNOpt"), QStringLiteral("10000000"));
    }
    // A click as the window system delivers it: posted, handled by the event loop later.
    static void PostClick(QWidget* widget)
    {
        const QPointF at = QRectF(widget->rect()).center();
        for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease})
            QCoreApplication::postEvent(
                widget, new QMouseEvent(type, at, widget->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, {}));
    }
};

TEST_F(Work, InputDuringARunIsDroppedAndStopChangesNothing)
{
    MakeItLong();
    ClickTab(Find<QTabWidget>("PageControl1"), 0);
    QTest::mouseClick(Find<QPushButton>("buttonRun"), Qt::LeftButton);
    ASSERT_TRUE(window->Working());
    // Clicks and keys while the run goes on: none of them is delivered now or afterwards.
    PostClick(Find<QPushButton>("buttonRun"));
    PostClick(Find<QToolButton>("SpeedButton1"));
    QCoreApplication::postEvent(Find<QComboBox>("cbInputK")->lineEdit(),
                                new QKeyEvent(QEvent::KeyPress, Qt::Key_5, Qt::NoModifier, QStringLiteral("5")));
    QCoreApplication::processEvents();
    EXPECT_EQ(Find<QComboBox>("cbInputK")->currentText(), QStringLiteral("2000"));
    QTest::mouseClick(Find<QPushButton>("butStop"), Qt::LeftButton);
    WaitForWork(*window);
    QCoreApplication::processEvents();
    QTest::qWait(50);

    EXPECT_FALSE(window->Working());
    EXPECT_EQ(window->session().assessment().RunCounter(), 0);
    EXPECT_EQ(Find<Grid>("sgResult")->rows(), 9);
    EXPECT_EQ(Find<Grid>("sgResult")->cell(2, 1), QString());
    EXPECT_TRUE(Lines(Find<QPlainTextEdit>("reHelp")).join('\n').contains(QString::fromUtf8("остановлено")));
    EXPECT_FALSE(Find<QPushButton>("butStop")->isVisible());
}

TEST_F(Work, EscEndsAStudyWithNothingChanged)
{
    Capture({{"H14", 10}}, QStringLiteral("300"));
    Capture({{"M08", 10}}, QStringLiteral("400"));
    MakeItLong();
    const QStringList listing = Lines(Find<QPlainTextEdit>("RichEdit3"));
    QTest::mouseClick(Button("buttonRunOpt"), Qt::LeftButton);
    ASSERT_TRUE(window->Working());
    PostClick(Button("butReset"));
    QTest::keyClick(Edit("edActName"), Qt::Key_Escape);
    WaitForWork(*window);
    QTest::qWait(50);

    EXPECT_EQ(Lines(Find<QPlainTextEdit>("RichEdit3")), listing);
    EXPECT_FALSE(Find<QTabWidget>("PageControl1")->isTabVisible(2));
    EXPECT_EQ(window->session().assessment().measures.MeasureCount, 2);
    EXPECT_EQ(window->session().assessment().measures.MeasureStore(1).Ratio, 0.0f);
    EXPECT_TRUE(Button("buttonRunOpt")->isEnabled());
    EXPECT_TRUE(Find<QTabWidget>("pcFactOpt")->isEnabled());
    // The status bar says so until the next work starts.
    auto* status = Find<QStatusBar>("StatusBar1");
    EXPECT_EQ(status->currentMessage(), QString::fromUtf8("Расчёт комплекса мер остановлен: результаты прежние."));
    TypeOver(Find<QComboBox>("cbInputKOpt"), QStringLiteral("2"));
    TypeOver(Find<QComboBox>("cbInputNOpt"), QStringLiteral("100"));
    QTest::mouseClick(Button("buttonRunOpt"), Qt::LeftButton);
    EXPECT_EQ(status->currentMessage(), QString());
    WaitForWork(*window);
    EXPECT_EQ(status->currentMessage(), QString());
    EXPECT_TRUE(Find<QTabWidget>("PageControl1")->isTabVisible(2));
}

TEST_F(Work, ClosingDuringWorkAsksFirst)
{
    MakeItLong();
    ClickTab(Find<QTabWidget>("PageControl1"), 0);
    QTest::mouseClick(Find<QPushButton>("buttonRun"), Qt::LeftButton);
    AnswerNextQuestion(QMessageBox::No);
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->Working());
    // Stopped, the window asks about the unsaved assessment as it always does.
    AnswerNextQuestion(QMessageBox::Yes);
    AnswerNextQuestion(QMessageBox::Discard);
    EXPECT_TRUE(window->close());
    EXPECT_FALSE(window->Working());
    EXPECT_EQ(window->session().assessment().RunCounter(), 0);
}

TEST_F(Work, StopEndsTheLargestExperimentAtOnceAndItsProgressMoves)
{
    // One experiment of the largest N: its progress shows within it, and "Стоп" and closing with
    // "Да" end it with nothing kept (the stop between slices is checked in the series' tests, how
    // soon it comes in the benchmarks).
    TypeOver(Find<QComboBox>("cbInputKOpt"), QStringLiteral("1"));
    TypeOver(Find<QComboBox>("cbInputNOpt"), QStringLiteral("2147483647"));
    ClickTab(Find<QTabWidget>("PageControl1"), 0);
    auto* progress = Find<QLabel>("lbWorkProgress");
    for (const bool closing : {false, true}) {
        QTest::mouseClick(Find<QPushButton>("buttonRun"), Qt::LeftButton);
        ASSERT_TRUE(window->Working());
        QElapsedTimer waited;
        waited.start();
        while (!progress->text().contains(QString::fromUtf8("осталось")) && waited.elapsed() < 20'000) QTest::qWait(10);
        EXPECT_TRUE(progress->text().contains(QString::fromUtf8("осталось"))) << progress->text().toStdString();
        if (closing) {
            AnswerNextQuestion(QMessageBox::Yes);
            AnswerNextQuestion(QMessageBox::Discard);
            EXPECT_TRUE(window->close());
        } else {
            QTest::mouseClick(Find<QPushButton>("butStop"), Qt::LeftButton);
            WaitForWork(*window);
        }
        EXPECT_FALSE(window->Working());
        EXPECT_EQ(window->session().assessment().RunCounter(), 0);
    }
}

TEST_F(Work, TheWheelChangesOnlyAFocusedList)
{
    ClickTab(Find<QTabWidget>("PageControl1"), 0);
    auto* list = Find<QComboBox>("cbT01");
    const auto wheel = [list] {
        const QPointF at = QRectF(list->rect()).center();
        QWheelEvent event(at, list->mapToGlobal(at), {}, {0, -120}, Qt::NoButton, {}, Qt::NoScrollPhase, false);
        QApplication::sendEvent(list, &event);
    };
    const int before = list->currentIndex();
    wheel();
    EXPECT_EQ(list->currentIndex(), before);
    EXPECT_EQ(window->session().state().Row(FactorIndex("T01")).currentItem, before);
    list->setFocus();
    wheel();
    EXPECT_EQ(list->currentIndex(), before + 1);
}

TEST_F(Work, F9RunsThePageShownAndTheMenuOpensTheQuestionnaire)
{
    ClickTab(Find<QTabWidget>("PageControl1"), 0);
    QTest::keyClick(window.get(), Qt::Key_F9);
    WaitForWork(*window);
    EXPECT_EQ(window->session().assessment().RunCounter(), 1);
    // On "Комплекс мер" F9 is the study, and only when it may start.
    ClickTab(Find<QTabWidget>("PageControl1"), 1);
    QTest::keyClick(window.get(), Qt::Key_F9);
    EXPECT_FALSE(window->Working());
    Capture({{"H14", 10}}, QStringLiteral("300"));
    Capture({{"M08", 10}}, QStringLiteral("400"));
    QTest::keyClick(window.get(), Qt::Key_F9);
    WaitForWork(*window);
    EXPECT_TRUE(Find<QTabWidget>("PageControl1")->isTabVisible(2));
    EXPECT_EQ(window->session().assessment().RunCounter(), 1);

    Find<QAction>("acQuestionnaire")->trigger();
    EXPECT_EQ(window->findChildren<TFormSimpleDo*>().size(), 1);
}

}  // namespace
