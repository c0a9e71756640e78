// Projects in the window: the example opens whole, a change marks the title, Ctrl+S saves what the
// session holds, a bad file changes nothing, and closing asks before anything unsaved is lost.
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include "GERTnet/ResultGrid.h"
#include "Session/ProjectFile.h"
#include "Widgets/Grid.h"
#include "Widgets/Monitor.h"
#include "WindowFixture.h"

namespace {

class Projects : public WindowTest {
protected:
    QTemporaryDir folder;
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
    EXPECT_EQ(window->windowTitle(), QString::fromUtf8("workplace.kestal — Kestal 2.0"));
    // Ratings, results, measure tree, listing and totals as the file holds them.
    EXPECT_EQ(Find<QComboBox>("cbH01")->currentIndex(), state.editor[FactorIndex("H01")].currentItem);
    EXPECT_EQ(Find<Grid>("sgResult")->rows(), 10 * static_cast<int>(state.results.size()) - 1);
    EXPECT_EQ(Find<Grid>("sgResult")->cell(0, 8), QStringLiteral("I"));
    EXPECT_EQ(Find<QTreeWidget>("tvAction")->topLevelItem(0)->childCount(),
              static_cast<int>(state.tree.children.size()));
    EXPECT_EQ(Lines(Find<QPlainTextEdit>("RichEdit3")).size(), static_cast<int>(state.study.listing.size()));
    EXPECT_EQ(Find<QTabWidget>("PageControl1")->isTabVisible(2), state.study.totalsShown);

    TypeOver(Find<QComboBox>("cbInputK"), QStringLiteral("300"));
    EXPECT_EQ(window->windowTitle(), QString::fromUtf8("workplace.kestal* — Kestal 2.0"));
    QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(window->windowTitle(), QString::fromUtf8("workplace.kestal — Kestal 2.0"));
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

TEST_F(Projects, TheReportIsWrittenAsPdfAndAsHtml)
{
    window->OpenProjectAt(ExampleCopy());
    const QString pdf = folder.filePath(QStringLiteral("отчёт.pdf"));
    const QString html = folder.filePath(QStringLiteral("отчёт.html"));
    window->WriteReport(pdf);
    window->WriteReport(html);
    QFile pdfFile(pdf);
    ASSERT_TRUE(pdfFile.open(QIODevice::ReadOnly));
    const QByteArray pdfBytes = pdfFile.readAll();
    EXPECT_TRUE(pdfBytes.startsWith("%PDF"));
    EXPECT_GT(pdfBytes.size(), 10000);
    QFile htmlFile(html);
    ASSERT_TRUE(htmlFile.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(htmlFile.readAll());
    // The ratings, the last run's cells and the pictures are all in the one file.
    const SessionState& state = window->session().state();
    const FactorInfo& h01 = *FindFactor("H01");
    EXPECT_TRUE(text.contains(QString::fromUtf8((*h01.wording)[state.editor[FactorIndex("H01")].currentItem])));
    EXPECT_TRUE(text.contains(QString::fromUtf8(NodeTexts(state.results.back(), NodeI, RussianNumberLocale()).mean)));
    EXPECT_TRUE(text.contains(QStringLiteral("data:image/png;base64,")));
    // A copy to look at where $KESTAL_SHOTS names a folder.
    if (const QString shots = qEnvironmentVariable("KESTAL_SHOTS"); !shots.isEmpty())
        window->WriteReport(QDir(shots).filePath(QStringLiteral("report.pdf")));
}

}  // namespace
