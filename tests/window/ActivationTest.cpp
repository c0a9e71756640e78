// Activation of the main window, the about boxes and the questionnaire.
#include <QAction>
#include <QComboBox>
#include <QGuiApplication>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>

#include "window/TAboutBox.h"
#include "window/TFormSimpleDo.h"
#include "project/ProjectFile.h"
#include "widgets/FactorPanel.h"
#include "WindowFixture.h"
#include "support/AnswerQuestion.h"
#include "factors/Catalogue.h"

using namespace kestal;

namespace {

class Activation : public WindowTest {
protected:
    // The window system gives the focus to `widget`'s window, as a click into it does.
    static void Focus(QWidget* widget)
    {
        widget->activateWindow();
        ASSERT_TRUE(QTest::qWaitFor([widget] { return QGuiApplication::focusWindow() == widget->windowHandle(); }));
    }
    const FactorSetting& T03() { return window->session().assessment().settings.row[FindFactor("T03")->slot]; }
    QList<TAboutBox*> AboutBoxes() { return window->findChildren<TAboutBox*>(); }
};

TEST_F(Activation, BackFromTheAboutBoxRestoresT03)
{
    PickItem(Find<QComboBox>("cbT03"), 1);
    ASSERT_EQ(T03().LevelName, "Очень низкое");
    ASSERT_EQ(Find<QComboBox>("cbT03")->currentIndex(), 1);

    ChooseAbout(*window);
    ASSERT_EQ(AboutBoxes().size(), 1);
    Focus(AboutBoxes().front());
    // Still the user's choice while the about box has the focus.
    EXPECT_EQ(Find<QComboBox>("cbT03")->currentIndex(), 1);

    Focus(window.get());
    EXPECT_EQ(Find<QComboBox>("cbT03")->currentIndex(), 6);
    EXPECT_EQ(Find<QComboBox>("cbT03")->currentText(), QString::fromUtf8("Большая"));
    EXPECT_EQ(T03().LevelName, "Хорошее");
    EXPECT_EQ(T03().Value, 0.584f);
    EXPECT_EQ(window->findChild<QWidget*>("st1_T03")->property("text").toString(), QString::fromUtf8("Большая"));
}

TEST_F(Activation, TheQuestionnaireLevelIsWhatIsApplied)
{
    // Six class 3.2 answers rate "Очень высокая", item 9.
    QTest::mouseDClick(Find<FactorPanel>("pT03"), Qt::LeftButton);
    TFormSimpleDo* form = window->findChildren<TFormSimpleDo*>().back();
    for (const char* answer : {"rbContentWork_32", "rbPerseption_32", "rbComplexity_32", "rbCharacterWork_32",
                               "rbSelfRisk_32", "rbAtherRisk_32"})
        ASSERT_TRUE(AnswerQuestion(form->findChild<QRadioButton*>(answer))) << answer;
    QTest::mouseClick(form->findChild<QPushButton*>("butAppSimDO"), Qt::LeftButton);
    PickItem(Find<QComboBox>("cbT03"), 1);

    ChooseAbout(*window);
    Focus(AboutBoxes().front());
    EXPECT_EQ(Find<QComboBox>("cbT03")->currentIndex(), 1);
    // Closing the about box with OK gives the focus back.
    QTest::mouseClick(AboutBoxes().front()->findChild<QPushButton*>("OKButton"), Qt::LeftButton);
    Focus(window.get());
    EXPECT_EQ(Find<QComboBox>("cbT03")->currentIndex(), 9);
    EXPECT_EQ(T03().LevelName, "Очень высокое");
    EXPECT_EQ(T03().Value, 0.834f);
}

TEST_F(Activation, AnotherApplicationInBetweenLeavesTheLastWindowOfThisOneDeciding)
{
    // The window system reports another application's focus as no window of this application.
    const auto otherApplication = [] { emit qApp->focusWindowChanged(nullptr); };
    auto* list = Find<QComboBox>("cbT03");
    PickItem(list, 1);
    otherApplication();
    emit qApp->focusWindowChanged(window->windowHandle());
    EXPECT_EQ(list->currentIndex(), 1);

    // From the about box, by way of another application, into the main window.
    ChooseAbout(*window);
    Focus(AboutBoxes().front());
    otherApplication();
    Focus(window.get());
    EXPECT_EQ(list->currentIndex(), 6);
    EXPECT_EQ(T03().LevelName, "Хорошее");
}

TEST_F(Activation, MessageBoxesDoNotReapplyTheLevel)
{
    PickItem(Find<QComboBox>("cbT03"), 3);
    TypeOver(Find<QComboBox>("cbInputK"), QStringLiteral("k"));
    MessageBoxCloser boxes(true);
    QTest::mouseClick(Find<QPushButton>("buttonRun"), Qt::LeftButton);
    ASSERT_EQ(boxes.texts(), QStringList{"'k' is not a valid integer value"});
    Focus(window.get());
    EXPECT_EQ(Find<QComboBox>("cbT03")->currentIndex(), 3);
}

TEST_F(Activation, AnOpenedT03StandsUntilTheUserComesBackFromTheAboutBoxAndThenItIsAChange)
{
    // A project whose T03 stands on item 9, its questionnaire rating item 6.
    Session session(&clock, RussianNumberLocale(), RussianNumberLocale());
    session.SelectLevel(FactorIndex("T03"), 9);
    const QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("t03.kestal"));
    SaveProjectFile(path.toStdString(), ProjectJson(session.state()));

    window->OpenProjectAt(path);
    Focus(window.get());
    EXPECT_EQ(Find<QComboBox>("cbT03")->currentIndex(), 9);
    EXPECT_EQ(window->windowHandle()->title(), QString::fromUtf8("t03.kestal — Kestal 2.0"));
    ChooseAbout(*window);
    Focus(AboutBoxes().front());
    Focus(window.get());
    EXPECT_EQ(Find<QComboBox>("cbT03")->currentIndex(), 6);
    EXPECT_EQ(window->windowHandle()->title(), QString::fromUtf8("t03.kestal* — Kestal 2.0"));
    EXPECT_EQ(Find<QAction>("acUndo")->text(), QString::fromUtf8("Отменить: оценка T03 по опроснику"));
}

TEST_F(Activation, EachAboutChoiceOpensAnotherBox)
{
    ChooseAbout(*window);
    Focus(AboutBoxes().front());
    Focus(window.get());
    ChooseAbout(*window);
    const QList<TAboutBox*> boxes = AboutBoxes();
    ASSERT_EQ(boxes.size(), 2);
    EXPECT_TRUE(boxes[0]->isVisible());
    EXPECT_TRUE(boxes[1]->isVisible());
    EXPECT_FALSE(boxes[0]->isModal());
    EXPECT_TRUE(boxes[0]->findChild<QWidget*>("ProductName")->property("text").toString().contains("Kestal 2.0"));
    // OK closes the box.
    QPointer<TAboutBox> first = boxes[0];
    QTest::mouseClick(first->findChild<QPushButton*>("OKButton"), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&first] { return first.isNull(); }));
    EXPECT_EQ(AboutBoxes().size(), 1);
}

TEST_F(Activation, DoubleClickOnT03OpensTheQuestionnaire)
{
    QTest::mouseDClick(Find<FactorPanel>("pT03"), Qt::LeftButton);
    QTest::mouseDClick(Find<FactorPanel>("pT03"), Qt::LeftButton);
    const QList<TFormSimpleDo*> forms = window->findChildren<TFormSimpleDo*>();
    ASSERT_EQ(forms.size(), 2);
    EXPECT_TRUE(forms[0]->isVisible());
    EXPECT_FALSE(forms[0]->isModal());
    // A double click on another panel opens nothing.
    QTest::mouseDClick(Find<FactorPanel>("pT02"), Qt::LeftButton);
    EXPECT_EQ(window->findChildren<TFormSimpleDo*>().size(), 2);
}

}  // namespace
