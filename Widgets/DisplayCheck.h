// Whether the window system can be reached, asked before the toolkit starts (which aborts without one).
#pragma once

#include <string>

// Empty when a display can be opened; otherwise a one-line Russian reason.
std::string DisplayProblem();
