// An expert panel as a delimited table: a header row "factor" and the experts' names, then one row
// per factor id with the experts' level numbers (an empty cell: no opinion).
#pragma once

#include <string>

#include "analysis/ExpertPanel.h"

namespace kestal {

// Reads a panel from the bytes of its table (encodings and separators as ReadDelimitedTable reads
// them). Cells are taken without their surrounding blanks; an empty row is skipped; a factor
// without a row is rated by no one; a cell "—" is no opinion as an empty one is. Refused with a
// KestalError "строка R, столбец C: …" (a spreadsheet's row and column numbers): a first header
// cell other than "factor", fewer than 2 or more than 12 experts, an empty or repeated name, an
// unknown or repeated factor id, a cell that is no level number 1 to 11, a filled cell right of the
// last expert.
ExpertPanel ReadExpertPanelCsv(const std::string& bytes);

// The panel as UTF-8 text with ";" separators and CR LF line breaks: the header, then a row for
// each factor some expert rated, in catalogue order. ReadExpertPanelCsv reads it back as it was.
std::string ExpertPanelCsv(const ExpertPanel& panel);

}  // namespace kestal
