// The cheapest set of the captured measures that brings the exact accident probability to a
// target, and the lower envelope of cost against accident probability over every set.
#pragma once

#include <cstdint>
#include <vector>

#include "analysis/BestMeasures.h"
#include "network/Network.h"

namespace kestal {

// One set of measures: bit i stands for measure i in capture order.
struct MeasureSet {
    uint32_t members = 0;
    long double cost = 0.0L;      // the members' costs summed in capture order
    long double accident = 0.0L;  // exact, with the members' changes together
    bool operator==(const MeasureSet&) const = default;
};

struct MeasurePlan {
    long double target = 0.0L;
    long double current = 0.0L;  // the accident probability without measures (the empty set's)
    long double lowest = 0.0L;   // the lowest over every set, the empty one included
    // Whether a set reaches the target; the chosen set is then the cheapest that does, otherwise
    // the cheapest that reaches `lowest`. Among equal costs the one with fewer measures, then the
    // one whose first differing member comes earlier.
    bool reachable = false;
    MeasureSet chosen;
    // The lower envelope: by cost, each set cheaper than every set with an accident probability as
    // low or lower (ties broken as above); it starts with the empty set.
    std::vector<MeasureSet> envelope;
};

// Every subset of `measures` (at most MaxCandidateMeasures; the empty set included). A change to
// the level a factor already has changes nothing.
MeasurePlan PlanMeasures(const NetworkInputs& baseline, const std::vector<CandidateMeasure>& measures,
                         long double target);

}  // namespace kestal
