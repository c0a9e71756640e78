// kestal-sim optimize: every subset of 2 to 15 captured measures judged exactly, the Pareto
// frontier and the best set within the budget.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace kestal {

// Returns the exit status: 0, or 2 for bad options or a refused capture (one line on `err`,
// nothing on `out`).
int OptimizeCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace kestal
