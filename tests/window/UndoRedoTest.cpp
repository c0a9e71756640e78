// Undo and redo in the window: random edits of the example, each named in the menu, undone to the
// file byte for byte and redone to the end; a refusal pushes nothing; work in the background.
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QTest>

#include <random>
#include <set>

#include "project/ProjectFile.h"
#include "MeasureFixture.h"
#include "factors/Catalogue.h"

using namespace kestal;

namespace {

class UndoRedo : public MeasureTest {
protected:
    QAction* Undo() { return Find<QAction>("acUndo"); }
    QAction* Redo() { return Find<QAction>("acRedo"); }
    std::string Json() { return ProjectJson(window->session().state()); }
    const SessionState& State() { return window->session().state(); }
    // The keys pressed where the focus is, as a person presses them after typing.
    static void Keys(Qt::KeyboardModifiers modifiers, Qt::Key key)
    {
        QWidget* focus = QApplication::focusWidget();
        QTest::keyClick(focus ? focus : QApplication::activeWindow(), key, modifiers);
    }
    void Page(int page) { ClickTab(Find<QTabWidget>("PageControl1"), page); }
    void Click(const char* button) { QTest::mouseClick(Button(button), Qt::LeftButton); }
};

TEST_F(UndoRedo, RandomEditsOfTheExampleUndoToTheFileAndRedoToTheEnd)
{
    QFile file(QStringLiteral(KESTAL_SOURCE_DIR "/examples/workplace.kestal"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    window->OpenProjectAt(file.fileName());
    // The state after each change and its name: undo and redo must give back each in turn.
    std::vector<std::string> after{file.readAll().toStdString()};
    std::vector<QString> names{QString()};
    ASSERT_EQ(Json(), after[0]);
    std::mt19937 random(20261207);
    const auto draw = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    std::set<int> typed{1000};  // no amount typed twice, nor the budget's: no typing lands where it started
    const auto fresh = [&](int high) {
        int value = draw(1, high);
        while (!typed.insert(value).second) value = draw(1, high);
        return QString::number(value);
    };
    const auto done = [&](const QString& name) { after.push_back(Json()), names.push_back(name); };
    const auto type = [&](QWidget* field, const QString& name, int high) {
        auto* list = qobject_cast<QComboBox*>(field);
        list ? TypeOver(list, fresh(high)) : TypeInto(field->objectName().toLatin1().constData(), fresh(high));
        // Typing on into the field typed into last goes on with the same change.
        if (names.back() == name) after.pop_back(), names.pop_back();
        done(name);
    };
    // Small runs first; the last step types, so that the keys reach a field with a text history.
    for (int step = 0; step < 24; ++step) {
        const int factor = draw(0, FactorCount - 1), item = draw(1, LevelCount - 1);
        const char* id = FactorCatalogue[factor].id;
        switch (step < 2 ? step : step == 23 ? 3 : draw(0, 7)) {
        case 0:
            Page(0), type(Find<QComboBox>("cbInputK"), "число опытов K", 9);
            break;
        case 1:
            Page(1), type(Find<QComboBox>("cbInputNOpt"), "число инициаций N", 999);
            break;
        case 2:
            Page(1), type(Find<QLineEdit>("edAllMoney"), "сумма средств", 99999);
            break;
        case 3:
            Page(1), type(Find<QLineEdit>("edDamage"), "величина ущерба", 99999);
            break;
        case 4:
            Page(0), ClickTab(Find<QTabWidget>("pcFactors"), FactorCatalogue[factor].group);
            PickItem(Find<QComboBox>(QStringLiteral("cb") + QLatin1String(id)),
                     (State().Row(factor).currentItem + item) % LevelCount);
            done(QStringLiteral("оценка ") + QLatin1String(id));
            window->activateWindow();  // the closed drop-down, not the window, holds the activation offscreen
            ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
            break;
        case 5:
            Page(0), Click("buttonRun"), WaitForWork(*window), done(QStringLiteral("моделирование"));
            break;
        case 6:
            if (State().shown.studyReady) {
                Page(1), Click("buttonRunOpt"), WaitForWork(*window), done(QStringLiteral("расчёт мероприятий"));
                break;
            }
            [[fallthrough]];
        default:
            // "Сброс" where a study locked the editor or three measures are captured, then a capture.
            Page(1);
            if (!State().shown.editorEnabled || State().assessment.measures.MeasureCount == 3)
                Click("butReset"), done(QStringLiteral("сброс мероприятий"));
            if (State().Row(factor).locked || QLatin1String(id) == QLatin1String("H01")) break;
            const int count = State().assessment.measures.MeasureCount;
            Capture({{id, (State().Row(factor).currentItem + item) % LevelCount}}, fresh(99999));
            ASSERT_EQ(State().assessment.measures.MeasureCount, count + 1);
            done(QStringLiteral("запись мероприятия"));
        }
    }
    ASSERT_TRUE(window->isWindowModified());
    for (std::size_t change = after.size() - 1; change > 0; --change) {
        EXPECT_EQ(Undo()->text(), QStringLiteral("Отменить: ") + names[change]);
        Keys(Qt::ControlModifier, Qt::Key_Z);
        EXPECT_EQ(Redo()->text(), QStringLiteral("Повторить: ") + names[change]);
        ASSERT_EQ(Json(), after[change - 1]) << change;
    }
    Keys(Qt::ControlModifier, Qt::Key_Z);  // nothing left: nothing changes
    EXPECT_EQ(Json(), after[0]);
    EXPECT_FALSE(window->isWindowModified() || Undo()->isEnabled());
    EXPECT_EQ(Undo()->text(), QStringLiteral("Отменить"));
    for (std::size_t change = 1; change < after.size(); ++change) {
        Keys(change % 2 ? Qt::ControlModifier | Qt::ShiftModifier : Qt::ControlModifier,
             change % 2 ? Qt::Key_Z : Qt::Key_Y);
        ASSERT_EQ(Json(), after[change]) << change;
    }
    EXPECT_TRUE(window->isWindowModified() && !Redo()->isEnabled());
}

TEST_F(UndoRedo, ARefusalPushesNothingAndWorkDisablesBoth)
{
    Page(0), TypeOver(Find<QComboBox>("cbInputN"), QStringLiteral("2000000000"));
    Undo()->trigger();
    {
        MessageBoxCloser boxes;  // a blank name
        Page(1), TypeInto("edActName", QString());
        Capture({{"H03", 9}}, QStringLiteral("10"));
        EXPECT_EQ(boxes.texts(), QStringList{QStringLiteral("Введите название мероприятия")});
    }
    EXPECT_FALSE(window->isWindowModified() || Undo()->isEnabled());
    EXPECT_EQ(Redo()->text(), QStringLiteral("Повторить: число инициаций N"));
    Redo()->trigger();
    Page(0), Click("buttonRun");
    ASSERT_TRUE(window->Working());
    EXPECT_FALSE(Undo()->isEnabled() || Redo()->isEnabled());
    Click("butStop");
    WaitForWork(*window);
    EXPECT_EQ(Undo()->text(), QStringLiteral("Отменить: число инициаций N"));
    EXPECT_TRUE(Undo()->isEnabled());
    // A new assessment has nothing to undo.
    AnswerNextQuestion(QMessageBox::Discard);
    Find<QAction>("acNew")->trigger();
    EXPECT_FALSE(Undo()->isEnabled() || Redo()->isEnabled() || window->isWindowModified());
}

}  // namespace
