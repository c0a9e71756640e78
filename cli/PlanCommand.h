// kestal-sim plan: the cheapest set of the captured measures and the cheapest level steps that
// bring the exact accident probability to a target.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace kestal {

// Returns the exit status: 0, or 2 for bad options or a refused capture (one line on `err`,
// nothing on `out`).
int PlanCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace kestal
