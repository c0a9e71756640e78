// Projects in the window: the example opens whole, a change marks the title, Ctrl+S saves what the
// session holds, a bad file changes nothing, and closing asks before anything unsaved is lost; a file
// named on the command line opens before the first showing; "Сохранить как…" at the edges; T03 as saved.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QSettings>
#include <QWindow>

#include <functional>
#include <tuple>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include "network/ResultGrid.h"
#include "project/ProjectFile.h"
#include "widgets/Grid.h"
#include "widgets/Monitor.h"
#include "WindowFixture.h"

using namespace kestal;

namespace {

// Types `path` into the next file dialog, once it shows and has the focus, and presses Enter.
void AnswerNextFileDialog(const QString& path)
{
    QTimer::singleShot(10, [path] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog || QGuiApplication::focusWindow() != dialog->windowHandle()) {
            if (dialog) dialog->activateWindow();
            return AnswerNextFileDialog(path);
        }
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        QTest::keyClick(name, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(name, path);
        QTest::keyClick(name, Qt::Key_Return);
    });
}

std::string Utf8(const QString& text) { return text.toStdString(); }

class Projects : public WindowTest {
protected:
    QTemporaryDir folder;
    int T03() const { return window->session().state().Row(FactorIndex("T03")).currentItem; }
    // "Сохранить как…" with `path` typed into its dialog; then the focus comes back to the window.
    void SaveAs(const QString& path)
    {
        AnswerNextFileDialog(path);
        Find<QAction>("acSaveAs")->trigger();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitFor([this] { return QGuiApplication::focusWindow() == window->windowHandle(); }));
    }
    // The file `name` in the test's folder holding a session `make` built with `locale`'s numbers.
    QString Saved(const char* name, const NumberLocale& locale, const std::function<void(Session&)>& make)
    {
        Session session(&clock, locale, locale);
        make(session);
        const QString path = folder.filePath(QString::fromUtf8(name));
        SaveProjectFile(Utf8(path), ProjectJson(session.state()));
        return path;
    }
    // T03 on item 9 while the questionnaire rates item 6.
    QString OwnT03Project()
    {
        return Saved("t03.kestal", RussianNumberLocale(), [](Session& s) { s.SelectLevel(FactorIndex("T03"), 9); });
    }
    static QString Text(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }
    // A copy of the example assessment in the test's folder.
    QString ExampleCopy()
    {
        const QString copy = folder.filePath(QStringLiteral("workplace.kestal"));
        QFile::copy(QStringLiteral(KESTAL_SOURCE_DIR "/examples/workplace.kestal"), copy);
        return copy;
    }
};

TEST_F(Projects, TheExampleOpensWholeAndIsSavedAsTheSessionHoldsIt)
{
    const QString path = ExampleCopy();
    window->OpenProjectAt(path);
    const SessionState& state = window->session().state();
    EXPECT_EQ(window->windowHandle()->title(), QString::fromUtf8("workplace.kestal — Kestal 2.0"));
    // Ratings, results, measure tree, listing and totals as the file holds them.
    EXPECT_EQ(Find<QComboBox>("cbH01")->currentIndex(), state.Row(FactorIndex("H01")).currentItem);
    EXPECT_EQ(Find<Grid>("sgResult")->rows(), 10 * static_cast<int>(state.assessment.results.size()) - 1);
    EXPECT_EQ(Find<Grid>("sgResult")->cell(0, 8), QStringLiteral("I"));
    EXPECT_EQ(Find<QTreeWidget>("tvAction")->topLevelItem(0)->childCount(),
              static_cast<int>(state.shown.tree.children.size()));
    EXPECT_EQ(Lines(Find<QPlainTextEdit>("RichEdit3")).size(), static_cast<int>(state.shown.study.listing.size()));
    EXPECT_EQ(Find<QTabWidget>("PageControl1")->isTabVisible(2), state.shown.study.totalsShown);

    TypeOver(Find<QComboBox>("cbInputK"), QStringLiteral("300"));
    EXPECT_EQ(window->windowHandle()->title(), QString::fromUtf8("workplace.kestal* — Kestal 2.0"));
    QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(window->windowHandle()->title(), QString::fromUtf8("workplace.kestal — Kestal 2.0"));
    QFile saved(path);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll().toStdString(), ProjectJson(window->session().state()));
}

TEST_F(Projects, ABadFileChangesNothingAndClosingAsksFirst)
{
    TypeOver(Find<QComboBox>("cbInputN"), QStringLiteral("5000"));
    const std::string before = ProjectJson(window->session().state());
    const QString bad = folder.filePath(QStringLiteral("bad.kestal"));
    QFile file(bad);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("{\"format\": \"kestal-project\", \"version\": 1, \"levels\": {\"H01\": 12");
    file.close();
    {
        MessageBoxCloser boxes;
        window->OpenProjectAt(bad);
        ASSERT_EQ(boxes.texts().size(), 1);
        EXPECT_TRUE(
            boxes.texts().front().startsWith(QString::fromUtf8("Файл «") + bad + QString::fromUtf8("» не открыт: ")));
    }
    EXPECT_EQ(ProjectJson(window->session().state()), before);
    EXPECT_EQ(Find<QComboBox>("cbInputN")->currentText(), QStringLiteral("5000"));

    // Unsaved work: closing asks; "Отмена" keeps the window and everything in it.
    AnswerNextQuestion(QMessageBox::Cancel);
    EXPECT_FALSE(window->close());
    EXPECT_EQ(ProjectJson(window->session().state()), before);
}

TEST_F(Projects, AFileOnTheCommandLineOpensBeforeTheFirstShowingWithItsT03)
{
    const QString missing = folder.filePath(QStringLiteral("нет.kestal"));
    const struct {
        QString file, title;
        int t03;
        QStringList boxes;
    } starts[] = {
        {OwnT03Project(), QString::fromUtf8("t03.kestal — Kestal 2.0"), 9, {}},
        {missing,
         QString::fromUtf8("Kestal 2.0"),
         6,
         {QString::fromUtf8("Файл «%1» не открыт: не удалось прочитать файл (нет такого файла или папки)")
              .arg(missing)}},
    };
    for (const auto& start : starts) {
        window = std::make_unique<TFormKestal>(&clock);
        MessageBoxCloser boxes;
        window->OpenFromCommandLine({QStringLiteral("kestal"), start.file});
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        EXPECT_EQ(boxes.texts(), start.boxes);
        EXPECT_EQ(window->windowHandle()->title(), start.title);
        EXPECT_EQ(Find<QComboBox>("cbT03")->currentIndex(), start.t03);
    }
}

TEST_F(Projects, AFileSavedUnderAnotherLocaleOpensAndSavesByteForByte)
{
    const QString path = Saved("english.kestal", EnglishNumberLocale(), [](Session& s) {
        s.SetBudgetText("1000.25");
        s.SetDamageText("2.5E5");
        s.SetCostText("0.1");
    });
    const QString json = Text(path);
    window->OpenProjectAt(path);
    EXPECT_EQ(Find<QLineEdit>("edAllMoney")->text() + " " + Find<QLineEdit>("edDamage")->text() + " " +
                  Find<QLineEdit>("edExpense")->text(),
              QStringLiteral("1000,25 250000 0,1"));
    Find<QAction>("acSave")->trigger();
    EXPECT_EQ(Text(path), json);
}

TEST_F(Projects, SaveAsTakesThePathOnlyWhenWrittenAndAsksBeforeReplacing)
{
    const QString example = ExampleCopy();
    window->OpenProjectAt(example);
    TypeOver(Find<QComboBox>("cbInputK"), QStringLiteral("300"));
    const QString unsaved = QString::fromUtf8("workplace.kestal* — Kestal 2.0");
    {
        MessageBoxCloser boxes;
        SaveAs(folder.filePath(QStringLiteral("none/shop")));  // a folder that is not there
        EXPECT_TRUE(boxes.texts().value(0).endsWith(QString::fromUtf8("(нет такого файла или папки)")));
    }
    EXPECT_EQ(window->windowHandle()->title(), unsaved);

    // A typed name gets ".kestal" first, then the question about the file it would replace.
    const QString shop = folder.filePath(QStringLiteral("shop.kestal"));
    SaveProjectFile(Utf8(shop), "old");
    const QString json = QString::fromStdString(ProjectJson(window->session().state()));
    for (const auto& [answer, contents, title] :
         {std::tuple{QMessageBox::No, QStringLiteral("old"), unsaved},
          std::tuple{QMessageBox::Yes, json, QString::fromUtf8("shop.kestal — Kestal 2.0")}}) {
        AnswerNextQuestion(answer);
        SaveAs(folder.filePath(QStringLiteral("shop")));
        EXPECT_EQ(Text(shop), contents);
        EXPECT_EQ(window->windowHandle()->title(), title);
    }
    // Ctrl+S now writes the new path; the example stays as it was.
    TypeOver(Find<QComboBox>("cbInputK"), QStringLiteral("400"));
    QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(OpenProjectFile(Utf8(shop)).assessment.kText + OpenProjectFile(Utf8(example)).assessment.kText, "400200");
}

TEST_F(Projects, T03StandsAcrossTheFileDialogAndReopening)
{
    PickItem(Find<QComboBox>("cbT03"), 9);
    const QString path = folder.filePath(QStringLiteral("t03.kestal"));
    SaveAs(path);  // the file dialog had the focus: coming back from it re-applies nothing
    EXPECT_EQ(T03(), 9);
    Find<QAction>("acNew")->trigger();
    EXPECT_EQ(T03(), 6);
    window->OpenProjectAt(path);
    EXPECT_EQ(Find<QComboBox>("cbT03")->currentIndex(), 9);
    EXPECT_EQ(window->windowHandle()->title(), QString::fromUtf8("t03.kestal — Kestal 2.0"));
}

TEST_F(Projects, TheRecentListHoldsEightAndForgetsAFileThatIsGone)
{
    QStringList many;
    for (int i = 0; i < 12; ++i) many << folder.filePath(QStringLiteral("%1.kestal").arg(i));
    QSettings(QStringLiteral("Kestal"), QStringLiteral("Kestal 2.0")).setValue(QStringLiteral("recentFiles"), many);
    window = std::make_unique<TFormKestal>(&clock);
    auto* recent = Find<QMenu>("mnRecent");
    ASSERT_EQ(recent->actions().size(), 8);
    MessageBoxCloser boxes;
    recent->actions().at(2)->trigger();
    EXPECT_EQ(recent->actions().size(), 7);
    EXPECT_EQ(recent->actions().at(2)->text(), QStringLiteral("&3 ") + many[3]);
}

}  // namespace
