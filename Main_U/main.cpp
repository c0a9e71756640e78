// Kestal 2.0: starts the application and opens the main window maximised.
#include <QApplication>

#include "Main_U/TFormKestal.h"
#include "Widgets/UiLocale.h"
#include "Widgets/UiText.h"

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(Q(ApplicationTitle));
    QApplication::setFont(KestalFont());
    TFormKestal window;
    window.showMaximized();
    return application.exec();
}
