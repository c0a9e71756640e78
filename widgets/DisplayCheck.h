// Whether the window system can be reached, asked before the toolkit starts (which aborts without
// one), and a guard that turns any failure of the toolkit's start into one line and status 1.
#pragma once

#include <QtGlobal>

#include <string>

namespace kestal {

// Empty when a display can be opened; otherwise a one-line Russian reason. Asks the X display
// (DISPLAY) and the Wayland display (WAYLAND_DISPLAY) the toolkit would use; another platform
// chosen with QT_QPA_PLATFORM (offscreen, vnc …) is taken as given.
std::string DisplayProblem();

// While it lives (around the toolkit's start): the toolkit's messages are held back, and a fatal
// one (no platform could start) ends the program with "kestal: дисплей недоступен: …" on one line
// and status 1 instead of an abort with the toolkit's lines. Afterwards the messages go where they
// went before; those held back were about platforms tried before one started, and are dropped.
class DisplayStartGuard {
public:
    DisplayStartGuard();
    ~DisplayStartGuard();
    DisplayStartGuard(const DisplayStartGuard&) = delete;
    DisplayStartGuard& operator=(const DisplayStartGuard&) = delete;

private:
    QtMessageHandler previous_;
};

}  // namespace kestal
