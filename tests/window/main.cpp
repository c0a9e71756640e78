// The window tests' entry point: GoogleTest inside a widget application.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>

#include "widgets/UiLocale.h"

using namespace kestal;

int main(int argc, char* argv[])
{
    ::testing::InitGoogleTest(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // The window's settings (recent files, last folder, geometry) go to a folder of the run's own.
    const QTemporaryDir settings;
    qputenv("XDG_CONFIG_HOME", settings.path().toUtf8());
    QApplication application(argc, argv);
    QApplication::setFont(KestalFont());
    return RUN_ALL_TESTS();
}
