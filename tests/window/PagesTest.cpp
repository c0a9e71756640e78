// The pages on their own, without the main window: each user action on a page's control comes up as
// the one signal that names it, with the factor, item or text the user chose.
#include <QComboBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <QSlider>
#include <QTest>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "WindowFixture.h"
#include "window/MeasurePage.h"
#include "window/ModelingPage.h"
#include "window/TotalsPage.h"
#include "widgets/FactorPanel.h"
#include "widgets/UiLocale.h"

using namespace kestal;

namespace {

enum class Page { Modeling, Measures, Totals };

struct Case {
    Page page;
    const char* control;
    std::function<void(QWidget*)> act;
    const char* signal;  // as SIGNAL() writes it
    QVariantList last;   // the arguments of the last signal of that name
};

template <class Control>
std::function<void(QWidget*)> On(std::function<void(Control*)> act)
{
    return [act](QWidget* control) { act(qobject_cast<Control*>(control)); };
}

const auto Click = [](QWidget* control) { QTest::mouseClick(control, Qt::LeftButton); };
const auto TypeIn = [](const char* text) {
    return On<QComboBox>([text](QComboBox* list) { TypeOver(list, QString::fromUtf8(text)); });
};
const auto Append = [](const char* text) {
    return [text](QWidget* edit) {
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_End);
        TypeText(edit, QString::fromUtf8(text));
    };
};

// Arguments as texts, so that a failure reads plainly.
std::vector<std::string> Texts(const QVariantList& values)
{
    std::vector<std::string> texts;
    for (const QVariant& value : values) texts.push_back(value.toString().toStdString());
    return texts;
}

TEST(Pages, EachActionComesUpAsItsOwnSignal)
{
    const int t01 = FactorIndex("T01");
    const int m02 = FactorIndex("M02");
    const Case cases[] = {
        {Page::Modeling,
         "cbT01",
         On<QComboBox>([](QComboBox* list) { PickItem(list, 3); }),
         SIGNAL(levelChosen(int, int)),
         {t01, 3}},
        {Page::Modeling, "cbM02", TypeIn("нет такого"), SIGNAL(levelChosen(int, int)), {m02, -1}},
        {Page::Modeling, "cbInputK", TypeIn("300"), SIGNAL(kEdited(QString)), {"300"}},
        {Page::Modeling, "cbInputN", TypeIn("1000"), SIGNAL(nEdited(QString)), {"1000"}},
        {Page::Modeling, "buttonRun", Click, SIGNAL(runRequested()), {}},
        {Page::Modeling, "btT03Questionnaire", Click, SIGNAL(questionnaireRequested()), {}},
        {Page::Modeling,
         "pT03",
         [](QWidget* panel) { QTest::mouseDClick(panel, Qt::LeftButton); },
         SIGNAL(questionnaireRequested()),
         {}},
        {Page::Measures, "pM02Opt", Click, SIGNAL(factorChosen(int)), {m02}},
        {Page::Measures,
         "tbT01",
         [](QWidget* bar) { QTest::keyClick(bar, Qt::Key_Right); },
         SIGNAL(barMoved(int, int)),
         {t01, FactorCatalogue[t01].defaultItem + 1}},
        {Page::Measures,
         "tbT01",
         [](QWidget* bar) { bar->setFocus(Qt::TabFocusReason); },
         SIGNAL(barEntered(int)),
         {t01}},
        {Page::Measures, "edActName", Append("а"), SIGNAL(nameEdited(QString)), {"Мероприятие 1а"}},
        {Page::Measures, "edExpense", Append("5"), SIGNAL(costEdited(QString)), {"05"}},
        {Page::Measures, "cbInputKOpt", TypeIn("70"), SIGNAL(kEdited(QString)), {"70"}},
        {Page::Measures, "cbInputNOpt", TypeIn("9"), SIGNAL(nEdited(QString)), {"9"}},
        {Page::Measures, "edAllMoney", Append("0"), SIGNAL(budgetEdited(QString)), {"15000"}},
        {Page::Measures, "edDamage", Append("1"), SIGNAL(damageEdited(QString)), {"100000001"}},
        {Page::Measures, "butReset", Click, SIGNAL(resetRequested()), {}},
        {Page::Totals, "buttMore", Click, SIGNAL(detailRequested(bool)), {true}},
    };
    FixedClock clock{45'296'789};
    Session session(&clock, UiNumberLocale(), UiNumberLocale());
    // T01's bar in use on the measure page.
    session.SelectMeasureFactor(t01);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.control);
        std::unique_ptr<QWidget> page;
        if (c.page == Page::Modeling) page = std::make_unique<ModelingPage>(nullptr);
        if (c.page == Page::Measures) page = std::make_unique<MeasurePage>(nullptr);
        if (c.page == Page::Totals) page = std::make_unique<TotalsPage>(nullptr);
        if (auto* measures = qobject_cast<MeasurePage*>(page.get())) measures->Show(session);
        page->show();
        page->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(page.get()));
        auto* control = page->findChild<QWidget*>(QString::fromLatin1(c.control));
        ASSERT_NE(control, nullptr);
        QSignalSpy spy(page.get(), c.signal);
        c.act(control);
        ASSERT_FALSE(spy.empty());
        EXPECT_EQ(Texts(spy.last()), Texts(c.last));
    }
}

}  // namespace
