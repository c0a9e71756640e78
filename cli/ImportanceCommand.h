// kestal-sim importance: every factor's exact accident probability at each of its levels, ranked.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace kestal {

// Returns the exit status: 0, or 2 for bad options (one line on `err`, nothing on `out`).
int ImportanceCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace kestal
