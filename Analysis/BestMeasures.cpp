// The best set of measures: all subsets evaluated exactly, the Pareto frontier, the ranking.
#include "Analysis/BestMeasures.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cassert>
#include <limits>

#include "Analysis/ExactNodes.h"

namespace {

// Between 2 and 15 measures, each with a cost of at least 1 and changes to valid slots, each
// slot changed by one measure only and to a value other than its baseline value.
bool ValidCandidates(const NetworkInputs& baseline, const std::vector<CandidateMeasure>& measures)
{
    if (measures.size() < MinCandidateMeasures || measures.size() > MaxCandidateMeasures) return false;
    std::array<bool, FactorCount> changed{};
    for (const CandidateMeasure& measure : measures) {
        if (!(measure.cost >= 1.0f) || measure.changes.empty()) return false;
        for (const auto& [slot, value] : measure.changes) {
            if (slot < 0 || slot >= FactorCount || changed[slot] || baseline.slot[slot] == value) return false;
            changed[slot] = true;
        }
    }
    return true;
}

// The ranking of the subsets; a total order, so the best set is the first within the budget.
bool RanksBefore(const MeasureSubset& a, const MeasureSubset& b)
{
    if (a.benefit != b.benefit) return a.benefit > b.benefit;
    if (a.cost != b.cost) return a.cost < b.cost;
    const int aCount = std::popcount(a.members);
    const int bCount = std::popcount(b.members);
    if (aCount != bCount) return aCount < bCount;
    // The first differing member of the two member lists is the lowest measure in one of them only.
    const uint32_t differ = a.members ^ b.members;
    return (a.members & differ & (~differ + 1)) != 0;
}

// A subset is dominated by a cheaper one with at least its benefit, or by one of the same cost
// with more. Taken by cost, each group of equal cost keeps its largest benefit if that beats
// every cheaper subset.
void MarkParetoFrontier(std::vector<MeasureSubset>& subsets)
{
    std::vector<MeasureSubset*> byCost;
    for (MeasureSubset& subset : subsets) byCost.push_back(&subset);
    std::sort(byCost.begin(), byCost.end(), [](const MeasureSubset* a, const MeasureSubset* b) {
        return a->cost != b->cost ? a->cost < b->cost : a->benefit > b->benefit;
    });
    long double bestCheaper = -std::numeric_limits<long double>::infinity();
    for (std::size_t i = 0; i < byCost.size();) {
        const long double top = byCost[i]->benefit;
        std::size_t j = i;
        for (; j < byCost.size() && byCost[j]->cost == byCost[i]->cost; ++j) {
            byCost[j]->pareto = byCost[j]->benefit == top && top > bestCheaper;
        }
        bestCheaper = std::max(bestCheaper, top);
        i = j;
    }
}

}  // namespace

MeasureOptimum OptimizeMeasures(const NetworkInputs& baseline, const std::vector<CandidateMeasure>& measures,
                                long double budget, long double damage)
{
    assert(ValidCandidates(baseline, measures));
    MeasureOptimum optimum;
    optimum.baseline = ExactNodeProbabilities(baseline).node[NodeI];
    optimum.budget = budget;
    const uint32_t all = (uint32_t{1} << measures.size()) - 1;
    optimum.subsets.reserve(all);
    for (uint32_t members = 1; members <= all; ++members) {
        NetworkInputs inputs = baseline;
        long double cost = 0.0L;
        for (std::size_t i = 0; i < measures.size(); ++i) {
            if (!(members >> i & 1)) continue;
            cost += measures[i].cost;
            for (const auto& [slot, value] : measures[i].changes) inputs.slot[slot] = value;
        }
        const long double accident = ExactNodeProbabilities(inputs).node[NodeI];
        const long double benefit = (optimum.baseline - accident) * damage;
        optimum.subsets.push_back({members, cost, accident, benefit, benefit / cost, cost <= budget, false});
    }
    MarkParetoFrontier(optimum.subsets);
    std::sort(optimum.subsets.begin(), optimum.subsets.end(), RanksBefore);
    const auto best = std::find_if(optimum.subsets.begin(), optimum.subsets.end(),
                                   [](const MeasureSubset& subset) { return subset.withinBudget; });
    if (best != optimum.subsets.end()) optimum.best = best->members;
    return optimum;
}
