// kestal-sim panel: an expert panel's concordance, consensus and band on the node probabilities.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

// Returns the exit status: 0, 1 when the output cannot be written, 2 for bad options or a bad
// panel file (one line on `err` naming the row and column, nothing on `out`).
int PanelCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
