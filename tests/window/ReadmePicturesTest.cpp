// The README's two pictures: the window offscreen at 1024 × 768 with the example assessment
// opened, on "Моделирование" and on "Анализ". scripts/screenshots renews docs/ from them
// ($KESTAL_PICTURES names the folder they are written to).
#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QTabWidget>
#include <QTest>

#include "WindowFixture.h"

namespace {

using ReadmePictures = WindowTest;

TEST_F(ReadmePictures, TheExampleOnTheModelingAndTheAnalysisPage)
{
    window->setWindowState(Qt::WindowNoState);
    window->resize(1024, 768);
    window->OpenProjectAt(QStringLiteral(KESTAL_SOURCE_DIR "/examples/workplace.kestal"));
    ASSERT_FALSE(window->session().assessment().results.empty());
    auto* pages = Find<QTabWidget>("PageControl1");
    const QString folder = qEnvironmentVariable("KESTAL_PICTURES");
    const struct {
        int page;
        const char* file;
    } pictures[] = {{0, "window.png"}, {3, "analysis.png"}};
    for (const auto& picture : pictures) {
        ClickTab(pages, picture.page);
        // Charts and layouts settle: for the README's pictures as long as they take, for the check
        // itself once the posted layouts have run.
        if (!folder.isEmpty()) QTest::qWait(300);
        for (int pass = 0; pass < 2; ++pass) {
            QCoreApplication::sendPostedEvents();
            QCoreApplication::processEvents();
        }
        const QImage image = window->grab().toImage();
        EXPECT_EQ(image.size(), QSize(1024, 768)) << picture.file;
        // Not one colour: the page was drawn.
        EXPECT_NE(image.pixel(200, 200), image.pixel(600, 400)) << picture.file;
        if (!folder.isEmpty()) {
            EXPECT_TRUE(image.save(QDir(folder).filePath(QLatin1String(picture.file))));
        }
    }
}

}  // namespace
