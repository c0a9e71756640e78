// The report written from the window as PDF, HTML and ODT: every PDF page numbered "Страница i из N",
// every page that holds rows of a table also holds its header row, the HTML holds the figures and
// the pictures, and the ODT is an OpenDocument zip.
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QTabWidget>
#include <QTest>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "analysis/AnalysisTexts.h"
#include "questionnaire/Criteria.h"
#include "WindowFixture.h"
#include "common/NumberLocale.h"
#include "network/ResultGrid.h"
#include "factors/Catalogue.h"

using namespace kestal;

namespace {

class Report : public WindowTest {
protected:
    QTemporaryDir folder;
    QString ExampleCopy()
    {
        const QString copy = folder.filePath(QStringLiteral("workplace.kestal"));
        QFile::copy(QStringLiteral(KESTAL_SOURCE_DIR "/examples/workplace.kestal"), copy);
        return copy;
    }
};

QString Output(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(60000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The example written as PDF, HTML and ODT from the one opened window.
TEST_F(Report, TheExampleIsWrittenAsPdfHtmlAndOdt)
{
    window->OpenProjectAt(ExampleCopy());
    const QString pdf = folder.filePath(QStringLiteral("отчёт.pdf"));
    const QString html = folder.filePath(QStringLiteral("отчёт.html"));
    const QString odt = folder.filePath(QStringLiteral("отчёт.odt"));
    for (const QString& path : {pdf, html, odt}) window->WriteReport(path);

    QFile pdfFile(pdf);
    ASSERT_TRUE(pdfFile.open(QIODevice::ReadOnly));
    const QByteArray pdfBytes = pdfFile.readAll();
    EXPECT_TRUE(pdfBytes.startsWith("%PDF"));
    EXPECT_GT(pdfBytes.size(), 10000);

    QFile htmlFile(html);
    ASSERT_TRUE(htmlFile.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(htmlFile.readAll());
    // The ratings, the last run's cells and the pictures are all in the one file.
    const Assessment& state = window->session().assessment();
    const FactorInfo& h01 = *FindFactor("H01");
    EXPECT_TRUE(text.contains(QString::fromUtf8((*h01.wording)[RatedItem(state.settings, h01)])));
    EXPECT_TRUE(text.contains(QString::fromUtf8(NodeTexts(state.results.back(), NodeI, RussianNumberLocale()).mean)));
    EXPECT_TRUE(text.contains(QStringLiteral("data:image/png;base64,")));

    QFile odtFile(odt);
    ASSERT_TRUE(odtFile.open(QIODevice::ReadOnly));
    const QByteArray bytes = odtFile.readAll();
    EXPECT_TRUE(bytes.startsWith("PK\x03\x04"));
    EXPECT_TRUE(bytes.contains("mimetypeapplication/vnd.oasis.opendocument.text"));
    EXPECT_TRUE(bytes.contains("content.xml"));
    EXPECT_TRUE(bytes.contains("Pictures/"));  // the charts go with it

    // A copy to look at where $KESTAL_SHOTS names a folder.
    if (const QString shots = qEnvironmentVariable("KESTAL_SHOTS"); !shots.isEmpty())
        window->WriteReport(QDir(shots).filePath(QStringLiteral("report.pdf")));

    // Every page numbered, and every page that holds rows of a table holds its header row too.
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty()) GTEST_SKIP() << "pdftotext is missing";
    const QString info = Output(QStringLiteral("pdfinfo"), {pdf});
    const int pages = info.section(QStringLiteral("Pages:"), 1).trimmed().section(QLatin1Char('\n'), 0, 0).toInt();
    ASSERT_GT(pages, 1);

    // A table: its header cell and how its rows begin a line of the page.
    struct Table {
        QString header;
        QList<QRegularExpression> rows;
    };
    const auto lineStart = [](const QString& text, const char* after) {
        return QRegularExpression(QStringLiteral("^\\s*") + QRegularExpression::escape(text) + QLatin1String(after),
                                  QRegularExpression::MultilineOption);
    };
    // The ratings' ids stand alone in their column; elsewhere a factor's name follows its id.
    Table ratings{QString::fromUtf8("Оценка"), {}};
    for (const FactorInfo& factor : FactorCatalogue)
        ratings.rows << lineStart(QString::fromUtf8(factor.id), "\\s{2,}\\S");
    Table questionnaire{QString::fromUtf8("Критерий"), {}};
    for (const Criterion& criterion : Criteria)
        questionnaire.rows << lineStart(QString::fromUtf8(criterion.reportHeading).left(12), "");
    QStringList pageTexts;
    for (int page = 1; page <= pages; ++page)
        pageTexts << Output(QStringLiteral("pdftotext"),
                            {QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"), QString::number(page),
                             QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    for (int page = 1; page <= pages; ++page)
        EXPECT_TRUE(pageTexts[page - 1].contains(QStringLiteral("Страница %1 из %2").arg(page).arg(pages))) << page;
    int spanning = 0;
    for (const Table& table : {ratings, questionnaire}) {
        int pagesWithRows = 0;
        for (int page = 1; page <= pages; ++page) {
            const QString& text = pageTexts[page - 1];
            const bool rows = std::any_of(table.rows.begin(), table.rows.end(),
                                          [&](const QRegularExpression& row) { return text.contains(row); });
            pagesWithRows += rows;
            if (rows) {
                EXPECT_TRUE(text.contains(table.header)) << table.header.toStdString() << " page " << page;
            }
        }
        spanning += pagesWithRows > 1;
    }
    // At least one of them runs over a page break, so that its header had to be repeated.
    EXPECT_GT(spanning, 0);
}

}  // namespace

namespace {

// The example's "Ограждение опасной зоны" sets T04 to level 3; with T04 already there that change
// is no change: the best set is judged and the report written from what the measure still changes.
TEST_F(Report, AMeasureChangeToTheCurrentLevelIsNoChangeForTheBestSetAndTheReport)
{
    window->OpenProjectAt(ExampleCopy());
    ClickTab(Find<QTabWidget>("PageControl1"), 0);
    ClickTab(Find<QTabWidget>("pcFactors"), FactorCatalogue[FactorIndex("T04")].group);
    PickItem(Find<QComboBox>("cbT04"), 2);
    const std::vector<CandidateMeasure> measures = window->session().assessment().CapturedCandidates();
    const auto guard = std::find_if(measures.begin(), measures.end(), [](const CandidateMeasure& measure) {
        return measure.name == "Ограждение опасной зоны";
    });
    ASSERT_NE(guard, measures.end());
    ASSERT_EQ(guard->changes.size(), 1u);  // M07 alone: T04 already stands at the measure's level

    ClickTab(Find<QTabWidget>("PageControl1"), 3);
    ClickTab(Find<QTabWidget>("pcAnalysis"), 2);
    const QString best = QString::fromStdString(
        BestSetLine(window->session().assessment().PrepareBestMeasures().Execute(), measures, RussianNumberLocale()));
    EXPECT_TRUE(QTest::qWaitFor([&] { return Find<QLabel>("lbBestSet")->text() == best; }, 20000))
        << Find<QLabel>("lbBestSet")->text().toStdString();
    const QString pdf = folder.filePath(QStringLiteral("отчёт.pdf"));
    window->WriteReport(pdf);
    EXPECT_GT(QFileInfo(pdf).size(), 10000);
}

}  // namespace
