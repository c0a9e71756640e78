// A summary of workplaces as a file: CSV text (as kestal-sim batch writes it) or an XLSX book.
#pragma once

#include <string>
#include <vector>

#include "analysis/WorkplaceSummary.h"

namespace kestal {

// The header "row,name,B,C,D,E,F,G,H,I,rank,top1,top2,top3" and one line per assessed workplace in
// file order: probabilities with 17 significant digits and "."; a name holding a comma, a quote or
// a line break quoted. `assessed` runs parallel to `list.workplaces`.
std::string SummaryCsv(const WorkplaceList& list, const std::vector<WorkplaceAssessment>& assessed);

// The same columns as an XLSX book (probabilities and numbers as numbers); KestalError when it
// cannot be written.
void WriteSummaryXlsx(const std::string& path, const WorkplaceList& list,
                      const std::vector<WorkplaceAssessment>& assessed);

}  // namespace kestal
