// kestal-sim exact: the exact node probabilities of the ratings and the draws per initiation.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace kestal {

// Returns the exit status: 0, or 2 for bad options (one line on `err`, nothing on `out`).
int ExactCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace kestal
