// Undo and redo in the window: random edits of the example undone to the file byte for byte and
// redone to the end, the items' names for each kind of change, and refused or running work.
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <map>
#include <random>
#include <set>

#include "project/ProjectFile.h"
#include "MeasureFixture.h"
#include "factors/Catalogue.h"

namespace {

class UndoRedo : public MeasureTest {
protected:
    QAction* Undo() { return Find<QAction>("acUndo"); }
    QAction* Redo() { return Find<QAction>("acRedo"); }
    std::string Json() { return ProjectJson(window->session().state()); }
    // The keys pressed where the focus is, as a person presses them after typing.
    static void Keys(Qt::KeyboardModifiers modifiers, Qt::Key key)
    {
        QWidget* focus = QApplication::focusWidget();
        QTest::keyClick(focus ? focus : QApplication::activeWindow(), key, modifiers);
    }
    void Rate(int factor, int item)
    {
        ClickTab(Find<QTabWidget>("PageControl1"), 0);
        ClickTab(Find<QTabWidget>("pcFactors"), FactorCatalogue[factor].group);
        PickItem(Find<QComboBox>(QStringLiteral("cb") + QLatin1String(FactorCatalogue[factor].id)), item);
    }
    void OnMeasurePage() { ClickTab(Find<QTabWidget>("PageControl1"), 1); }
    int Measures() { return window->session().state().measures.MeasureCount; }
};

TEST_F(UndoRedo, RandomEditsOfTheExampleUndoToTheFileAndRedoToTheEnd)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("workplace.kestal"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(KESTAL_SOURCE_DIR "/examples/workplace.kestal"), path));
    window->OpenProjectAt(path);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const std::string saved = file.readAll().toStdString();
    ASSERT_EQ(Json(), saved);

    // The state after each change by its place on the stack: undo and redo must give each back.
    std::map<int, std::string> after{{0, saved}};
    int changes = 0;
    std::mt19937 random(20261207);
    const auto draw = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    std::set<int> typed;  // amounts never typed twice: no typing lands back where it started
    const auto fresh = [&](int low, int high) {
        int value = draw(low, high);
        while (!typed.insert(value).second) value = draw(low, high);
        return QString::number(value);
    };
    // The last step types: the undo keys are then pressed in a field with a text history of its own.
    for (int step = 0; step < 16; ++step) {
        const SessionState& state = window->session().state();
        switch (step == 15 ? 4 : draw(0, 6)) {
        case 0: {
            const int factor = draw(0, FactorCount - 1);
            Rate(factor, (state.editor[factor].currentItem + draw(1, LevelCount - 1)) % LevelCount);
            break;
        }
        case 1:
            ClickTab(Find<QTabWidget>("PageControl1"), 0);
            TypeOver(Find<QComboBox>("cbInputK"), fresh(1, 2000));
            break;
        case 2: OnMeasurePage(); TypeOver(Find<QComboBox>("cbInputNOpt"), fresh(1, 99999)); break;
        case 3: OnMeasurePage(); TypeInto("edAllMoney", fresh(1, 99999)); break;
        case 4: OnMeasurePage(); TypeInto("edDamage", fresh(1, 99999)); break;
        default: {
            // "Сброс" where a study locked the editor or measures are captured, then a capture.
            OnMeasurePage();
            if (!state.editorEnabled || Measures() > 0) {
                QTest::mouseClick(Button("butReset"), Qt::LeftButton);
                after[++changes] = Json();
            }
            const char* ids[] = {"H03", "M02", "C04", "T04"};
            const char* id = ids[draw(0, 3)];
            const int item = state.editor[FactorIndex(id)].currentItem;
            const int count = Measures();
            Capture({{id, (item + draw(1, LevelCount - 1)) % LevelCount}}, fresh(1, 99999));
            ASSERT_EQ(Measures(), count + 1);
        }
        }
        after[++changes] = Json();
    }
    ASSERT_TRUE(window->isWindowModified());

    for (int change = changes; change > 0; --change) {
        ASSERT_TRUE(Undo()->isEnabled());
        Keys(Qt::ControlModifier, Qt::Key_Z);
        ASSERT_EQ(Json(), after[change - 1]) << change;
    }
    EXPECT_FALSE(Undo()->isEnabled());
    Keys(Qt::ControlModifier, Qt::Key_Z);  // nothing left: nothing changes
    EXPECT_EQ(Json(), saved);
    EXPECT_FALSE(window->isWindowModified());

    for (int change = 1; change <= changes; ++change) {
        ASSERT_TRUE(Redo()->isEnabled());
        Keys(change % 2 ? Qt::ControlModifier | Qt::ShiftModifier : Qt::ControlModifier,
             change % 2 ? Qt::Key_Z : Qt::Key_Y);
        ASSERT_EQ(Json(), after[change]) << change;
    }
    EXPECT_FALSE(Redo()->isEnabled());
    EXPECT_TRUE(window->isWindowModified());
}

TEST_F(UndoRedo, EachKindOfChangeIsOneItemNamedForIt)
{
    const struct {
        const char* name;
        std::function<void()> act;
    } changes[] = {
        {"оценка H03", [&] { Rate(FactorIndex("H03"), 2); }},
        {"число опытов K", [&] { OnMeasurePage(); TypeOver(Find<QComboBox>("cbInputKOpt"), QStringLiteral("3")); }},
        {"число инициаций N", [&] { ClickTab(Find<QTabWidget>("PageControl1"), 0); TypeOver(Find<QComboBox>("cbInputN"), QStringLiteral("2500")); }},
        {"моделирование", [&] { QTest::mouseClick(Find<QPushButton>("buttonRun"), Qt::LeftButton); WaitForWork(*window); }},
        {"сумма средств", [&] { OnMeasurePage(); TypeInto("edAllMoney", QStringLiteral("2750")); }},
        {"величина ущерба", [&] { TypeInto("edDamage", QStringLiteral("123456")); }},
        {"запись мероприятия", [&] { Capture({{"H08", 10}}, QStringLiteral("12")); }},
        {"запись мероприятия", [&] { Capture({{"T06", 10}}, QStringLiteral("700")); }},
        {"расчёт мероприятий", [&] { QTest::mouseClick(Button("buttonRunOpt"), Qt::LeftButton); WaitForWork(*window); }},
        {"сброс мероприятий", [&] { QTest::mouseClick(Button("butReset"), Qt::LeftButton); }},
    };
    EXPECT_EQ(Undo()->text() + Redo()->text(), QStringLiteral("ОтменитьПовторить"));
    std::vector<std::string> states{Json()};  // typing "2750" key by key is one change
    for (const auto& change : changes) {
        change.act();
        states.push_back(Json());
        EXPECT_EQ(Undo()->text(), QStringLiteral("Отменить: ") + QString::fromUtf8(change.name));
    }
    for (auto change = std::rbegin(changes); change != std::rend(changes); ++change) {
        Undo()->trigger();
        states.pop_back();
        EXPECT_EQ(Redo()->text(), QStringLiteral("Повторить: ") + QString::fromUtf8(change->name));
        EXPECT_EQ(Json(), states.back()) << change->name;
    }
    EXPECT_FALSE(Undo()->isEnabled());
    EXPECT_FALSE(window->isWindowModified());
}

TEST_F(UndoRedo, ARefusedActionPushesNothingAndWorkDisablesBoth)
{
    Rate(FactorIndex("M02"), 9);
    OnMeasurePage();
    TypeInto("edActName", QString());
    {
        MessageBoxCloser boxes;
        Capture({{"H03", 9}}, QStringLiteral("10"));
        EXPECT_EQ(boxes.texts(), QStringList{QStringLiteral("Введите название мероприятия")});
    }
    EXPECT_EQ(Undo()->text(), QStringLiteral("Отменить: оценка M02"));
    Undo()->trigger();
    EXPECT_FALSE(window->isWindowModified());

    // While a run goes on neither item may be used; stopped, it changed nothing.
    Redo()->trigger();
    TypeOver(Find<QComboBox>("cbInputK"), QStringLiteral("2000"));
    TypeOver(Find<QComboBox>("cbInputN"), QStringLiteral("2000000000"));
    ClickTab(Find<QTabWidget>("PageControl1"), 0);
    QTest::mouseClick(Find<QPushButton>("buttonRun"), Qt::LeftButton);
    ASSERT_TRUE(window->Working());
    EXPECT_FALSE(Undo()->isEnabled() || Redo()->isEnabled());
    QTest::mouseClick(Find<QPushButton>("butStop"), Qt::LeftButton);
    WaitForWork(*window);
    EXPECT_EQ(Undo()->text(), QStringLiteral("Отменить: число инициаций N"));
    EXPECT_TRUE(Undo()->isEnabled());
}

}  // namespace
