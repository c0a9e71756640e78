// The frame every kestal-sim command runs in: its output written whole, or one error line.
#pragma once

#include <functional>
#include <iosfwd>

// Runs `body`, which writes the command's output into the stream it is given; that output goes to
// `out` only when the body finishes. A UsageError or KestalError (any exception: its message is
// the user's) writes "kestal-sim <name>: <message>" on `err` instead. Returns the exit status,
// 0 or UsageExitCode.
int RunCommandBody(const char* name, std::ostream& out, std::ostream& err,
                   const std::function<void(std::ostream& text)>& body);
