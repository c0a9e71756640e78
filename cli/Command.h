// The frame every kestal-sim command runs in: its output written whole, or one line on why not.
#pragma once

#include <functional>
#include <iosfwd>

namespace kestal {

constexpr int WriteFailureExitCode = 1;

// Runs `body`, which writes the command's output into the stream it is given; that output goes to
// `out` only when the body finishes. Returns the exit status:
// - 0: the output was written whole and flushed;
// - 1 (WriteFailureExitCode): it could not be, "kestal-sim <name>: the output could not be written..." on `err`;
// - 2 (UsageExitCode): the body refused (any exception; its message is the user's),
//   "kestal-sim <name>: <message>" on `err`, as one line;
// - 128 + the signal when SIGINT or SIGTERM was caught: nothing written.
int RunCommandBody(const char* name, std::ostream& out, std::ostream& err,
                   const std::function<void(std::ostream& text)>& body);

}  // namespace kestal
