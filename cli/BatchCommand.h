// kestal-sim batch: a summary of many workplaces read from a CSV or XLSX table.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace kestal {

// Some rows of the table were refused (each named on its own line on standard error); the others
// were assessed and written.
constexpr int PartlyRefusedExitCode = 3;

// batch FILE [--format table|csv|json] [--no-importance]. Returns the exit status: 0 every row
// assessed; 3 (PartlyRefusedExitCode) some refused; 2 bad options, or a file that cannot be read
// or whose header names no factor (one line on `err`, nothing on `out`); 1, 130, 143 as every command.
int BatchCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace kestal
