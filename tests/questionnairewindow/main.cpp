// Test program of the questionnaire window: creates the application object with the program's font, then runs
// every test.
#include <QApplication>

#include <gtest/gtest.h>

#include "widgets/UiLocale.h"

using namespace kestal;

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setFont(KestalFont());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
