// The window tests' entry point: GoogleTest inside a widget application.
#include <gtest/gtest.h>

#include <QApplication>

#include "Widgets/UiLocale.h"

int main(int argc, char* argv[])
{
    ::testing::InitGoogleTest(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QApplication::setFont(KestalFont());
    return RUN_ALL_TESTS();
}
