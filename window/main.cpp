// Kestal 2.0: starts the application, in Russian throughout, and opens the main window maximised.
#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <cstdio>
#include <optional>

#include "window/TFormKestal.h"
#include "widgets/DisplayCheck.h"
#include "widgets/UiLocale.h"
#include "widgets/UiText.h"

using namespace kestal;

int main(int argc, char* argv[])
{
    // Without a display the toolkit would abort; say why in one line instead.
    if (const std::string problem = DisplayProblem(); !problem.empty()) {
        std::fprintf(stderr, "kestal: %s\n", problem.c_str());
        return 1;
    }
    // A failure the check cannot foresee (a platform's library missing) is one line too.
    std::optional<DisplayStartGuard> starting(std::in_place);
    QApplication application(argc, argv);
    starting.reset();
    QApplication::setApplicationName(QText(ApplicationTitle));
    QApplication::setFont(KestalFont());
    // The toolkit's own texts (buttons of message boxes, file and print dialogs, context menus).
    QTranslator toolkitTexts;
    if (toolkitTexts.load(QStringLiteral("qtbase_ru"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&toolkitTexts);
    TFormKestal window;
    window.RestoreGeometry();
    // `kestal FILE`, as a desktop starts it for a file: opened before the first showing.
    window.OpenFromCommandLine(QApplication::arguments());
    window.show();
    return application.exec();
}
