// Kestal 2.0: starts the application and opens the main window maximised.
#include <QApplication>
#include <QCursor>
#include <QScreen>
#include <QTimer>

#include "Main_U/TFormKestal.h"
#include "Main_U/UiLocale.h"
#include "Main_U/UiText.h"

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(Q(ApplicationTitle));
    QApplication::setFont(KestalFont());
    TFormKestal window;
    // KESTAL_SCREENSHOT=<file.png>: saves a picture of the screen once the window shows, then quits;
    // the pointer is kept off the window so that it shows no hint.
    const QString screenshot = qEnvironmentVariable("KESTAL_SCREENSHOT");
    if (!screenshot.isEmpty()) QCursor::setPos(window.screen()->geometry().bottomRight());
    window.showMaximized();
    if (!screenshot.isEmpty()) {
        QTimer::singleShot(1500, &window, [&window, screenshot] {
            window.screen()->grabWindow(0).save(screenshot);
            QApplication::quit();
        });
    }
    return application.exec();
}
