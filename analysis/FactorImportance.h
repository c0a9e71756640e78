// Factor importance: the exact accident probability of every factor at each of its levels, the
// others as set, and the factors ranked by the reduction their best level offers.
#pragma once

#include <array>

#include "network/Network.h"
#include "factors/Catalogue.h"

namespace kestal {

struct FactorImportance {
    const FactorInfo* factor;
    int level;  // the current level number: the LevelTable entry whose value the setting holds (0: none)
    std::array<long double, LevelCount> accident;  // at levels 1 .. 11
    int bestLevel;                                 // lowest accident probability; ties: the lowest level number
    int worstLevel;                                // highest accident probability; ties: the lowest level number
    long double reduction;                         // current accident probability - the one at the best level
};

struct ImportanceTable {
    long double accident;  // the current accident probability
    // By reduction, largest first; ties in catalogue order (H01 … H14, M01 … M08, C01 … C04, T01 … T06).
    std::array<FactorImportance, FactorCount> factors;
};

ImportanceTable RankFactorImportance(const NetworkInputs& inputs);

// A factor and the reduction its best level offers, as RankFactorImportance gives them.
struct FactorReduction {
    const FactorInfo* factor;
    long double reduction;
};

// The factors in RankFactorImportance's order with their reductions, bit for bit, from one
// evaluation per factor instead of eleven: the accident probability is monotone in every factor's
// level (WorseUpward gives the way), so the best level is at the end of the scale it falls towards.
std::array<FactorReduction, FactorCount> RankFactorReductions(const NetworkInputs& inputs);

}  // namespace kestal
