// kestal-sim study: measures captured as ">>" captures them, judged and ranked by the measure study.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace kestal {

// Returns the exit status: 0, or 2 for bad options or a refused capture or study (one line on `err`,
// nothing on `out`).
int StudyCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace kestal
