// A shown main window on a fixed clock, and the ways a person drives it.
#include "WindowFixture.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCursor>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include "factors/Catalogue.h"

using namespace kestal;

MessageBoxCloser::MessageBoxCloser(bool focus)
{
    timer_.setInterval(5);
    QObject::connect(&timer_, &QTimer::timeout, [this, focus] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible()) return;
        if (focus && QGuiApplication::focusWindow() != box->windowHandle()) {
            box->activateWindow();
            return;
        }
        shown_.push_back({box->windowTitle(), box->text(), box->icon()});
        QAbstractButton* ok = box->buttons().value(0);
        QTest::mouseClick(ok, Qt::LeftButton);
    });
    timer_.start();
}

QStringList MessageBoxCloser::texts() const
{
    QStringList texts;
    for (const Shown& shown : shown_) texts << shown.text;
    return texts;
}

void WindowTest::SetUp()
{
    QLocale::setDefault(RussianLocale());
    // The pointer starts off the window, over no control.
    QCursor::setPos(-1000, -1000);
    window = std::make_unique<TFormKestal>(&clock);
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
}

void WindowTest::TearDown()
{
    window.reset();
    QLocale::setDefault(QLocale::c());
}

void SharedWindowTest::SetUpTestSuite()
{
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    QCursor::setPos(-1000, -1000);
    clock = std::make_unique<FixedClock>(45'296'789);
    window = std::make_unique<TFormKestal>(clock.get());
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
}

void SharedWindowTest::TearDownTestSuite()
{
    window.reset();
    clock.reset();
    QLocale::setDefault(QLocale::c());
}

void TypeText(QWidget* widget, const QString& text)
{
    for (const QChar character : text) {
        if (character.unicode() < 0x80) {
            QTest::keyClick(widget, char(character.unicode()));
            continue;
        }
        // Letters beyond ASCII: the key event carries the character as its text.
        const auto key = Qt::Key(character.toUpper().unicode());
        QTest::sendKeyEvent(QTest::Press, widget, key, QString(character), Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Release, widget, key, QString(character), Qt::NoModifier);
    }
}

void TypeOver(QComboBox* list, const QString& text)
{
    QLineEdit* edit = list->lineEdit();
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    TypeText(edit, text);
}

void DeleteText(QComboBox* list)
{
    QLineEdit* edit = list->lineEdit();
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_Delete);
}

void PickItem(QComboBox* list, int item)
{
    // Alt+Down drops the list down; then the item is clicked.
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Down, Qt::AltModifier);
    QAbstractItemView* view = list->view();
    ASSERT_TRUE(QTest::qWaitFor([view] { return view->isVisible(); }));
    const QRect place = view->visualRect(view->model()->index(item, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, place.center());
    ASSERT_TRUE(QTest::qWaitFor([view] { return !view->isVisible(); }));
}

void AnswerNextQuestion(QMessageBox::StandardButton button)
{
    QTimer::singleShot(10, [button] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box && box->button(button))
            QTest::mouseClick(box->button(button), Qt::LeftButton);
        else
            AnswerNextQuestion(button);
    });
}

void WaitForWork(const TFormKestal& window)
{
    ASSERT_TRUE(QTest::qWaitFor([&window] { return !window.Working(); }, 120'000));
}

QWidget* AwaitWindow(const TFormKestal& window, const char* name)
{
    const auto shown = [name] {
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (widget->objectName() == QLatin1String(name) && widget->isVisible()) return widget;
        return static_cast<QWidget*>(nullptr);
    };
    EXPECT_TRUE(QTest::qWaitFor([&] { return !window.Working() && shown(); }, 20'000)) << name;
    return shown();
}

void ClickTab(QTabWidget* pages, int page)
{
    QTabBar* bar = pages->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(page).center());
}

void ChooseAbout(TFormKestal& window)
{
    QMenuBar* bar = window.menuBar();
    QMenu* help = window.findChild<QMenu*>(QStringLiteral("Help1"));
    ASSERT_NE(help, nullptr);
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(help->menuAction()).center());
    ASSERT_TRUE(QTest::qWaitFor([help] { return help->isVisible(); }));
    QTest::mouseClick(help, Qt::LeftButton, {}, help->actionGeometry(help->actions().front()).center());
    ASSERT_TRUE(QTest::qWaitFor([help] { return !help->isVisible(); }));
}
