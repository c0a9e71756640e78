// A shown main window on a fixed clock, and the ways a person drives it: typing, picking list items,
// clicking tabs and menus, and closing the message boxes it shows.
#pragma once

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLocale>
#include <QMessageBox>
#include <QTimer>

#include <memory>
#include <vector>

#include "window/TFormKestal.h"
#include "common/Clock.h"
#include "support/FactorIndex.h"

using namespace kestal;

class QTabWidget;

// Closes every modal message box as soon as it shows, remembering what it said.
class MessageBoxCloser {
public:
    // With `focus`, each box takes the focus before it is closed, as on a desktop.
    explicit MessageBoxCloser(bool focus = false);
    struct Shown {
        QString title;
        QString text;
        QMessageBox::Icon icon;
    };
    const std::vector<Shown>& shown() const { return shown_; }
    QStringList texts() const;

private:
    QTimer timer_;
    std::vector<Shown> shown_;
};

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A control of the window by its name; fails the test when there is none.
    template <class Control>
    Control* Find(const QString& name)
    {
        auto* control = window->findChild<Control*>(name);
        EXPECT_NE(control, nullptr) << name.toStdString();
        return control;
    }

    static QLocale RussianLocale() { return QLocale(QLocale::Russian, QLocale::Russia); }

    FixedClock clock{45'296'789};
    std::unique_ptr<TFormKestal> window;
};

// One shown window for a whole suite whose tests only look at it as it opens, so that it is built
// and calibrated once.
class SharedWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();

    template <class Control>
    Control* Find(const QString& name)
    {
        auto* control = window->findChild<Control*>(name);
        EXPECT_NE(control, nullptr) << name.toStdString();
        return control;
    }

    static inline std::unique_ptr<FixedClock> clock;
    static inline std::unique_ptr<TFormKestal> window;
};

// Answers the next question box that offers `button` with it, once it shows.
void AnswerNextQuestion(QMessageBox::StandardButton button);
// Waits until the window's background work (a run, a study) has ended.
void WaitForWork(const TFormKestal& window);
// The shown window named `name` (the comparison's, the summary's: over the main window or beside
// it) once the work that opens it has ended; null when none came.
QWidget* AwaitWindow(const TFormKestal& window, const char* name);
// Types `text` key by key into a widget.
void TypeText(QWidget* widget, const QString& text);
// Selects the whole text of an editable list and types `text` over it, key by key.
void TypeOver(QComboBox* list, const QString& text);
// Selects the whole text of an editable list and deletes it.
void DeleteText(QComboBox* list);
// Opens the list's drop-down and clicks item `item`.
void PickItem(QComboBox* list, int item);
// Clicks the tab of page `page`.
void ClickTab(QTabWidget* pages, int page);
// Clicks "Help" in the menu bar, then "About ...".
void ChooseAbout(TFormKestal& window);
