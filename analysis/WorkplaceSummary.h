// A summary of many workplaces: their ratings read from a table's cells, each assessed exactly,
// ranked by its accident probability, with its most important factors.
#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "analysis/ExactNodes.h"
#include "network/Network.h"
#include "factors/Catalogue.h"

namespace kestal {

// One workplace as a row of the table gives it.
struct Workplace {
    std::size_t row;       // as a spreadsheet numbers it: the header is row 1
    std::string name;      // the name column's cell, blanks around it dropped; empty without one
    NetworkInputs inputs;  // the row's levels; missing columns and empty cells at the initial level
};

// A row refused: the first bad cell from the left, named by row and by its column's factor id.
struct WorkplaceRefusal {
    std::size_t row;
    std::string column;
    std::string problem;  // one line, Russian
    bool operator==(const WorkplaceRefusal&) const = default;
};

struct WorkplaceList {
    std::vector<Workplace> workplaces;     // in file order
    std::vector<WorkplaceRefusal> errors;  // in file order
};

// The header (the first row) names the name column as "name" (any case) or "Рабочее место", and
// the factor columns by their ids (any case); blanks around a header are dropped and other columns
// are ignored. Each later row is a workplace, levels as whole numbers 1 .. 11 ("7", "7.0" and
// "7,0" alike); a row whose cells are all blank is skipped. Raises KestalError (Russian) when the
// table has no header, its header names no factor, or names a factor or the name column twice.
WorkplaceList ReadWorkplaces(const std::vector<std::vector<std::string>>& cells);

constexpr int TopFactorCount = 3;

struct WorkplaceAssessment {
    NodeProbabilities nodes;
    int rank = 0;  // 1: the highest accident probability; ties keep file order
    // The first three of the workplace's importance ranking (RankFactorImportance, found as
    // RankFactorReductions finds it); all null when importance was not asked for.
    std::array<const FactorInfo*, TopFactorCount> top{};
};

// Called from the calling thread with the number of workplaces assessed so far, once for every count
// from 1 to the total whichever thread assessed them; false stops the work on every thread.
using WorkplaceProgress = std::function<bool(std::size_t done, std::size_t total)>;

// Each workplace's exact nodes (and with `importance` its top factors), on `threads` threads (0: one
// per core), then the ranks. Nothing when `progress` asked to stop. An exception thrown by
// `progress` ends the work too and is passed on once every thread has ended.
std::optional<std::vector<WorkplaceAssessment>> AssessWorkplaces(const std::vector<Workplace>& workplaces,
                                                                 bool importance,
                                                                 const WorkplaceProgress& progress = {},
                                                                 unsigned threads = 0);

// A workplace assessed alone: what AssessWorkplaces gives it, but its rank.
WorkplaceAssessment AssessWorkplace(const NetworkInputs& inputs, bool importance);

}  // namespace kestal
