// What the window benchmarks share: the process's CPU clock and the application they run in.
#pragma once

#include <QApplication>
#include <QLocale>

#include <time.h>

#include <cstdio>
#include <memory>

#include "widgets/UiLocale.h"

// CPU seconds of the whole process: the window's thread and its workers together.
inline double ProcessCpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return now.tv_sec + now.tv_nsec / 1e9;
}

// The application: offscreen where there is no display, output written line by line, the window's
// font and the Russian locale, as a user of the program sees it.
inline std::unique_ptr<QApplication> StartWindowApplication(int& argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    auto application = std::make_unique<QApplication>(argc, argv);
    QApplication::setFont(kestal::KestalFont());
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    return application;
}
