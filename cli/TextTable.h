// Plain-text tables with columns aligned by characters, not bytes.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace kestal {

// Each row's cells padded to the widest cell of their column, separated by two blanks.
void WriteAlignedRows(std::ostream& out, const std::vector<std::vector<std::string>>& rows);

}  // namespace kestal
