// kestal-sim compare: two assessments side by side and each differing factor's contribution.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace kestal {

// compare A.kestal B.kestal [--format table|json]. Returns the exit status: 0, or 2 for bad
// options or a project file that is refused (one line on `err`, nothing on `out`).
int CompareCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace kestal
