// The best set of measures: every subset of up to 15 candidate measures, doing nothing included,
// judged by its exact accident probability, the Pareto frontier of cost and benefit, and the best
// set within the budget.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "network/Network.h"

namespace kestal {

// One measure as the measure store holds it: each change sets a factor slot to a new value. A
// change to the value the slot already has is no change; when two measures change one slot, the
// later one's value stands. The cost is finite and not negative (a capture takes at least 1).
struct CandidateMeasure {
    std::string name;
    float cost;
    std::vector<std::pair<int /*FactorSlot*/, float /*new value*/>> changes;
    bool operator==(const CandidateMeasure&) const = default;
};

constexpr int MinCandidateMeasures = 2;
constexpr int MaxCandidateMeasures = 15;

struct MeasureSubset {
    uint32_t members;      // bit i: measure i, in capture order; 0 is doing nothing
    long double cost;      // the sum of the members' costs
    long double accident;  // exact accident probability with the members' changes together
    long double benefit;   // (baseline - accident) × damage; exactly 0 for doing nothing
    long double ratio;     // benefit ÷ cost; 0 where the cost is 0
    bool withinBudget;     // cost ≤ budget; doing nothing always is
    bool pareto;           // no other subset costs no more and gives at least as much benefit, one strictly
    bool harmful;          // accident > baseline: the set raises the accident probability
};

// Why nothing is recommended.
enum class NoBestSet {
    None,              // a set is recommended
    NothingHelps,      // no set lowers the accident probability
    NoneWithinBudget,  // sets lower it, but none of them keeps within the budget
    NoBenefit          // sets within the budget lower it, but a damage of 0 or less gives them no benefit
};

struct MeasureOptimum {
    long double baseline;  // the accident probability without measures
    long double budget;    // what "within the budget" was judged against
    // All 2^m subsets, doing nothing included, by benefit, largest first, then cost, lowest first,
    // then fewer members, then the earlier first differing member in capture order.
    std::vector<MeasureSubset> subsets;
    // The members of the best set: of doing nothing and the sets within the budget that lower the
    // accident probability, the first in the order above (with a positive damage: the largest
    // benefit within the budget). Nothing when doing nothing is best.
    std::optional<uint32_t> best;
    NoBestSet reason = NoBestSet::None;  // why `best` is empty
};

// Sets of measures (bit i: measure i in capture order) by cost, lowest first, then fewer members,
// then the one whose first differing member was captured earlier: the tie rule of every choice
// among sets.
bool CheaperSetBefore(long double aCost, uint32_t a, long double bCost, uint32_t b);

// Called now and then on the calling thread with the subsets judged and their number; it may throw
// to stop the work. From 256 subsets on, a second thread judges half of them.
using OptimizeProgress = std::function<void(int64_t done, int64_t total)>;

// Throws std::invalid_argument for more than 15 measures, a change to a slot outside the factors,
// or a cost that is negative or not finite (none reachable from a session, which checks them).
// What no session can hand over (more than 15 measures, a change to no factor slot, a negative or
// infinite cost) is refused with std::invalid_argument.
void CheckCandidates(const std::vector<CandidateMeasure>& measures);

MeasureOptimum OptimizeMeasures(const NetworkInputs& baseline, const std::vector<CandidateMeasure>& measures,
                                long double budget, long double damage, const OptimizeProgress& progress = {});

}  // namespace kestal
