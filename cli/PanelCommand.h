// kestal-sim panel: an expert panel's concordance, consensus and band on the node probabilities.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "analysis/ExpertPanel.h"

namespace kestal {

// Returns the exit status: 0, 1 when the output cannot be written, 2 for bad options or a bad
// panel file (one line on `err` naming the row and column, nothing on `out`).
int PanelCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The panel table named by --panel, read whole (at most 1 MiB) and checked; a refusal names the
// option, the file and the row and column at fault.
ExpertPanel ReadPanelFile(const std::string& path);

}  // namespace kestal
