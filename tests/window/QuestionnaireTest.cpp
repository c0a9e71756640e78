// The questionnaire as the main window uses it: opened from T03, its rating applied on return.
#include <QComboBox>
#include <QGuiApplication>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "window/TFormSimpleDo.h"
#include "widgets/FactorPanel.h"
#include "WindowFixture.h"
#include "support/AnswerQuestion.h"
#include "factors/Catalogue.h"

using namespace kestal;

namespace {

class Questionnaire : public WindowTest {
protected:
    // Double-clicks the T03 panel and gives the new questionnaire the focus.
    TFormSimpleDo* Open()
    {
        const auto before = window->findChildren<TFormSimpleDo*>().size();
        QTest::mouseDClick(Find<FactorPanel>("pT03"), Qt::LeftButton);
        const auto forms = window->findChildren<TFormSimpleDo*>();
        EXPECT_EQ(forms.size(), before + 1);
        TFormSimpleDo* form = forms.back();
        Focus(form);
        return form;
    }
    static void Focus(QWidget* widget)
    {
        widget->activateWindow();
        ASSERT_TRUE(QTest::qWaitFor([widget] { return QGuiApplication::focusWindow() == widget->windowHandle(); }));
    }
    const FactorSetting& T03() { return window->session().assessment().settings.row[FindFactor("T03")->slot]; }
};

TEST_F(Questionnaire, ApplyAtOnceRatesT03AtTheLowestLevel)
{
    QPointer<TFormSimpleDo> form = Open();
    QTest::mouseClick(form->findChild<QPushButton*>("butAppSimDO"), Qt::LeftButton);
    EXPECT_EQ(window->session().assessment().QuestionnaireLevel, 0);
    ASSERT_TRUE(QTest::qWaitFor([&form] { return form.isNull() || !form->isVisible(); }));
    Focus(window.get());
    EXPECT_EQ(Find<QComboBox>("cbT03")->currentText(), QString::fromUtf8("Очень, очень низкая"));
    EXPECT_EQ(T03().Value, 0.084f);
    EXPECT_EQ(T03().LevelName, "Очень очень низкое");

    // A new questionnaire starts from the design answers; the applied level stays.
    TFormSimpleDo* again = Open();
    EXPECT_TRUE(again->findChild<QRadioButton*>("rbSelfRisk_1")->isChecked());
    EXPECT_FALSE(again->findChild<QRadioButton*>("rbSelfRisk_32")->isChecked());
    EXPECT_EQ(window->session().assessment().QuestionnaireLevel, 0);
}

TEST_F(Questionnaire, ClosingWithoutApplyingKeepsTheLevel)
{
    QPointer<TFormSimpleDo> form = Open();
    ASSERT_TRUE(AnswerQuestion(form->findChild<QRadioButton*>("rbSelfRisk_32")));
    form->close();
    ASSERT_TRUE(QTest::qWaitFor([&form] { return form.isNull() || !form->isVisible(); }));
    Focus(window.get());
    EXPECT_EQ(window->session().assessment().QuestionnaireLevel, 6);
    EXPECT_EQ(Find<QComboBox>("cbT03")->currentIndex(), 6);
    EXPECT_EQ(T03().Value, 0.584f);
}

TEST_F(Questionnaire, ARatingFromTheAnswersReachesT03)
{
    QPointer<TFormSimpleDo> form = Open();
    // One class 3.2 answer: "Средняя", item 4 of the T03 list.
    ASSERT_TRUE(AnswerQuestion(form->findChild<QRadioButton*>("rbSelfRisk_32")));
    QTest::mouseClick(form->findChild<QPushButton*>("butAppSimDO"), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&form] { return form.isNull() || !form->isVisible(); }));
    Focus(window.get());
    EXPECT_EQ(window->session().assessment().QuestionnaireLevel, 4);
    EXPECT_EQ(Find<QComboBox>("cbT03")->currentText(), QString::fromUtf8("Средняя"));
    EXPECT_EQ(T03().Value, 0.417f);
    EXPECT_EQ(T03().LevelName, "Среднее");
}

}  // namespace
