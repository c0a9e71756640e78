// The best set of measures: every non-empty subset of 2 to 15 candidate measures judged by its
// exact accident probability, the Pareto frontier of cost and benefit, and the best set within
// the budget.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "GERTnet/Network.h"

// One measure as the measure store holds it: each change sets a factor slot to a new value. A
// factor belongs to one measure only and every change is a change (the reader of the measures
// checks both, as a capture does); the cost is at least 1.
struct CandidateMeasure {
    std::string name;
    float cost;
    std::vector<std::pair<int /*FactorSlot*/, float /*new value*/>> changes;
    bool operator==(const CandidateMeasure&) const = default;
};

constexpr int MinCandidateMeasures = 2;
constexpr int MaxCandidateMeasures = 15;

struct MeasureSubset {
    uint32_t members;      // bit i: measure i, in capture order
    long double cost;      // the sum of the members' costs
    long double accident;  // exact accident probability with the members' changes together
    long double benefit;   // (baseline - accident) × damage
    long double ratio;     // benefit ÷ cost
    bool withinBudget;     // cost ≤ budget
    bool pareto;           // no other subset costs no more and gives at least as much benefit, one strictly
};

struct MeasureOptimum {
    long double baseline;  // the accident probability without measures
    long double budget;    // what "within the budget" was judged against
    // All 2^m - 1 subsets by benefit, largest first, then cost, lowest first, then fewer members,
    // then the earlier first differing member in capture order.
    std::vector<MeasureSubset> subsets;
    // The members of the best set: the largest benefit within the budget, ties broken as the order
    // above breaks them, that is the first subset within the budget; nothing when none is.
    std::optional<uint32_t> best;
};

MeasureOptimum OptimizeMeasures(const NetworkInputs& baseline, const std::vector<CandidateMeasure>& measures,
                                long double budget, long double damage);
