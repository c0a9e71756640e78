// A summary of workplaces as the CSV text kestal-sim batch writes.
#pragma once

#include <string>
#include <vector>

#include "analysis/WorkplaceSummary.h"

namespace kestal {

// The header "row,name,B,C,D,E,F,G,H,I,rank,top1,top2,top3" and one line per assessed workplace in
// file order: probabilities with 17 significant digits and "."; a name holding a comma, a quote or
// a line break quoted. `assessed` runs parallel to `list.workplaces`.
std::string SummaryCsv(const WorkplaceList& list, const std::vector<WorkplaceAssessment>& assessed);

}  // namespace kestal
