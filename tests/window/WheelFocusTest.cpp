// The wheel and the focus: every control the wheel would change takes it only with focus, on every
// page and in the questionnaire; during work a click moves no focus and input-method text is dropped.
#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QInputMethodEvent>
#include <QScrollBar>
#include <QSpontaneKeyEvent>
#include <QTabBar>
#include <QTest>
#include <QWheelEvent>

#include <string>

#include "window/TFormSimpleDo.h"
#include "MeasureFixture.h"
#include "project/ProjectFile.h"

using namespace kestal;

namespace {

bool TakesTheWheel(const QWidget* widget)
{
    return !qobject_cast<const QScrollBar*>(widget) &&
           (qobject_cast<const QComboBox*>(widget) || qobject_cast<const QAbstractSlider*>(widget) ||
            qobject_cast<const QAbstractSpinBox*>(widget) || qobject_cast<const QTabBar*>(widget));
}

// What the wheel would change on a control.
QString Value(const QWidget* widget)
{
    if (const auto* list = qobject_cast<const QComboBox*>(widget))
        return QString::number(list->currentIndex()) + '|' + list->currentText();
    if (const auto* slider = qobject_cast<const QAbstractSlider*>(widget)) return QString::number(slider->value());
    if (const auto* spin = qobject_cast<const QAbstractSpinBox*>(widget)) return spin->text();
    return QString::number(static_cast<const QTabBar*>(widget)->currentIndex());
}

// One notch, as the window system delivers it (spontaneous: the toolkit may give focus by it).
void Notch(QWidget* widget, int delta)
{
    const QPointF at = QRectF(widget->rect()).center();
    QWheelEvent event(at, widget->mapToGlobal(at), {}, {0, delta}, Qt::NoButton, {}, Qt::NoScrollPhase, false);
    QSpontaneKeyEvent::setSpontaneous(&event);
    QApplication::sendEvent(widget, &event);
}

class WheelAndFocus : public MeasureTest {
protected:
    std::string Project() const { return ProjectJson(window->session().state()); }
};

TEST_F(WheelAndFocus, EveryControlTheWheelChangesTakesItOnlyWithFocus)
{
    // A factor chosen on "Комплекс мер" (its bar enabled) and the focus in the name field.
    Select("H02");
    QLineEdit* name = Edit("edActName");
    QTest::mouseClick(name, Qt::LeftButton);
    Find<QAction>("acQuestionnaire")->trigger();
    auto* questionnaire = window->findChild<TFormSimpleDo*>();
    ASSERT_NE(questionnaire, nullptr);
    QList<QWidget*> controls = window->findChildren<QWidget*>() + questionnaire->findChildren<QWidget*>();
    controls.removeIf([](const QWidget* widget) { return !TakesTheWheel(widget); });
    ASSERT_GE(controls.size(), 30 + 30 + 4);  // factor lists, track bars, K and N of both pages

    // Without the focus none moves, takes the focus or changes the assessment; with the focus each
    // takes it where it has anything to move to.
    const std::string project = Project();
    QWidget* const focus = QApplication::focusWidget();
    int moved = 0;
    for (const bool focused : {false, true}) {
        for (QWidget* control : controls) {
            if (focused) control->setFocus();
            if (focused && !control->hasFocus()) continue;  // disabled, or in the window not active
            const QString before = Value(control);
            for (const int delta : {120, -120, -120}) Notch(control, delta);
            moved += focused && Value(control) != before;
            if (focused) continue;
            EXPECT_EQ(Value(control), before) << control->objectName().toStdString();
            EXPECT_EQ(QApplication::focusWidget(), focus) << control->objectName().toStdString();
        }
        if (!focused) {
            EXPECT_EQ(Project(), project);
        }
    }
    EXPECT_GE(moved, 30 + 1 + 4) << "factor lists, the chosen factor's bar, K and N";
}

TEST_F(WheelAndFocus, DuringWorkAClickMovesNoFocusAndInputMethodTextIsDropped)
{
    Capture({{"H14", 10}}, QStringLiteral("300"));
    Capture({{"M08", 10}}, QStringLiteral("400"));
    TypeOver(Find<QComboBox>("cbInputKOpt"), QStringLiteral("2000"));
    TypeOver(Find<QComboBox>("cbInputNOpt"), QStringLiteral("10000000"));
    Select("H02");  // a pending measure: the bar's focus would enter it
    // The study started by its key, the focus in the K field.
    QComboBox* k = Find<QComboBox>("cbInputKOpt");
    QTest::mouseClick(k->lineEdit(), Qt::LeftButton);
    const std::string project = Project();
    QTest::keyClick(window.get(), Qt::Key_F9);
    ASSERT_TRUE(window->Working());
    ASSERT_EQ(QApplication::focusWidget(), k);

    const auto inWindow = [this](QWidget* widget) {
        return window->windowHandle()->mapFromGlobal(widget->mapToGlobal(widget->rect().center()));
    };
    for (QWidget* target : {static_cast<QWidget*>(Bar("H02")), static_cast<QWidget*>(Edit("edExpense")),
                            static_cast<QWidget*>(Edit("edActName"))}) {
        QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, inWindow(target));
        EXPECT_EQ(QApplication::focusWidget(), k) << target->objectName().toStdString();
    }
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("9"));
    QApplication::sendEvent(k, &commit);
    QTest::keyClick(window.get(), Qt::Key_Escape);
    WaitForWork(*window);
    EXPECT_EQ(QApplication::focusWidget(), k);
    EXPECT_EQ(k->currentText(), QStringLiteral("2000"));
    EXPECT_EQ(Project(), project);
}

}  // namespace
