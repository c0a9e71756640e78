// What the window benchmarks share: the process's CPU clock, the application they run in, the
// longest pause of the interface thread and the quantiles of their figures.
#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QLocale>
#include <QTimer>

#include <time.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

#include "widgets/UiLocale.h"

// The element at q × count of `values` sorted (0 for none): Quantile(values, 0.5) is their median.
inline double Quantile(std::vector<double> values, double q)
{
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, static_cast<std::size_t>(q * values.size()))];
}
inline double Median(const std::vector<double>& values) { return Quantile(values, 0.5); }

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

// The longest pause of the interface thread between Start and Stop, in milliseconds: a timer due
// every 5 ms notes how long it waited since it last fired.
class Stall : public QObject {
public:
    Stall()
    {
        timer_.setInterval(5);
        connect(&timer_, &QTimer::timeout, this, [this] {
            const double now = clock_.nsecsElapsed() / 1e6;
            longest_ = std::max(longest_, now - last_);
            last_ = now;
        });
    }
    void Start()
    {
        clock_.start();
        last_ = 0;
        longest_ = 0;
        timer_.start();
    }
    double Stop()
    {
        timer_.stop();
        return longest_;
    }

private:
    QTimer timer_;
    QElapsedTimer clock_;
    double last_ = 0;
    double longest_ = 0;
};
