// Plain-text tables with columns aligned by characters, not bytes.
#include "cli/TextTable.h"

#include <algorithm>
#include <ostream>

#include "common/Text.h"

namespace kestal {

void WriteAlignedRows(std::ostream& out, const std::vector<std::vector<std::string>>& rows)
{
    std::vector<std::size_t> widths;
    for (const auto& row : rows) {
        widths.resize(std::max(widths.size(), row.size()));
        for (std::size_t c = 0; c < row.size(); ++c) widths[c] = std::max(widths[c], CharacterCount(row[c]));
    }
    for (const auto& row : rows) {
        std::string line;
        for (std::size_t c = 0; c < row.size(); ++c) {
            if (c) line += "  ";
            line += row[c];
            if (c + 1 < row.size()) line.append(widths[c] - CharacterCount(row[c]), ' ');
        }
        out << line << '\n';
    }
}

}  // namespace kestal
