// kestal-sim run: one modeling run with the result grid's numbers, as a table, CSV or JSON.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace kestal {

// Returns the exit status: 0, or 2 for bad options (one line on `err`, nothing on `out`).
int RunCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace kestal
