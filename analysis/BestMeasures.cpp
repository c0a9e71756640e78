// The best set of measures: all subsets evaluated exactly, the Pareto frontier, the ranking.
#include "analysis/BestMeasures.h"

#include <algorithm>
#include <atomic>
#include <array>
#include <bit>
#include <cmath>
#include <limits>
#include <stdexcept>
#include <system_error>
#include <thread>

#include "analysis/ExactNodes.h"

namespace kestal {

namespace {

// The ranking of the subsets; a total order, so the best set is the first candidate in it.
bool RanksBefore(const MeasureSubset& a, const MeasureSubset& b)
{
    if (a.benefit != b.benefit) return a.benefit > b.benefit;
    return CheaperSetBefore(a.cost, a.members, b.cost, b.members);
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

bool CheaperSetBefore(long double aCost, uint32_t a, long double bCost, uint32_t b)
{
    if (aCost != bCost) return aCost < bCost;
    const int aCount = std::popcount(a);
    const int bCount = std::popcount(b);
    if (aCount != bCount) return aCount < bCount;
    // The first differing member of the two member lists is the lowest measure in one of them only.
    const uint32_t differ = a ^ b;
    return (a & differ & (~differ + 1)) != 0;
}

// Throws std::invalid_argument unless: at most 15 measures, changes to factor slots only, costs finite and not negative.
void CheckCandidates(const std::vector<CandidateMeasure>& measures)
{
    if (measures.size() > MaxCandidateMeasures) throw std::invalid_argument("more than 15 candidate measures");
    for (const CandidateMeasure& measure : measures) {
        if (!(measure.cost >= 0.0f) || !std::isfinite(measure.cost))
            throw std::invalid_argument("a candidate measure's cost is negative or not finite");
        for (const auto& change : measure.changes)
            if (change.first < 0 || change.first >= FactorCount)
                throw std::invalid_argument("a candidate measure changes no factor slot");
    }
}

MeasureOptimum OptimizeMeasures(const NetworkInputs& baseline, const std::vector<CandidateMeasure>& measures,
                                long double budget, long double damage, const OptimizeProgress& progress)
{
    constexpr uint32_t ProgressStep = 512;
    constexpr uint32_t ParallelFrom = 256;
    CheckCandidates(measures);
    MeasureOptimum optimum;
    optimum.baseline = ExactNodeProbabilities(baseline).node[NodeI];
    optimum.budget = budget;
    const uint32_t count = uint32_t{1} << measures.size();
    optimum.subsets.resize(count);
    // Subset `members` judged into its place; touches nothing shared but that place.
    const auto judge = [&](uint32_t members) {
        NetworkInputs inputs = baseline;
        long double cost = 0.0L;
        for (std::size_t i = 0; i < measures.size(); ++i) {
            if (!(members >> i & 1)) continue;
            cost += measures[i].cost;
            for (const auto& [slot, value] : measures[i].changes) inputs.slot[slot] = value;
        }
        // Doing nothing, and any set whose changes leave every slot as it was, is the baseline itself.
        const long double accident = inputs == baseline ? optimum.baseline : ExactNodeProbabilities(inputs).node[NodeI];
        const long double benefit = accident == optimum.baseline ? 0.0L : (optimum.baseline - accident) * damage;
        const long double ratio = cost > 0 ? benefit / cost : 0.0L;
        optimum.subsets[members] = {members,  cost,
                                    accident, benefit,
                                    ratio,    members == 0 || cost <= budget,
                                    false,    accident > optimum.baseline};
    };
    // The upper half on a second thread when there is enough to share; the calling thread takes the
    // lower half and reports the progress of both. Each subset is judged alike wherever it is.
    std::atomic<bool> stop = false;
    std::thread helper;
    uint32_t own = count;
    if (count >= ParallelFrom) {
        try {
            helper = std::thread([&, half = count / 2] {
                for (uint32_t members = half; members < count && !stop.load(std::memory_order_relaxed); ++members)
                    judge(members);
            });
            own = count / 2;
        } catch (const std::system_error&) {
            // No thread to be had: the calling thread judges them all.
        }
    }
    const int64_t share = count / own;
    try {
        for (uint32_t members = 0; members < own; ++members) {
            if (progress && members % (ProgressStep / share) == 0) progress(members * share, count);
            judge(members);
        }
    } catch (...) {
        stop = true;
        if (helper.joinable()) helper.join();
        throw;
    }
    if (helper.joinable()) helper.join();
    if (progress) progress(count, count);
    MarkParetoFrontier(optimum.subsets);
    std::sort(optimum.subsets.begin(), optimum.subsets.end(), RanksBefore);
    const auto best = std::find_if(optimum.subsets.begin(), optimum.subsets.end(), [&](const MeasureSubset& subset) {
        return subset.members == 0 || (subset.withinBudget && subset.accident < optimum.baseline);
    });
    if (best->members != 0) {
        optimum.best = best->members;
    } else {
        const auto helps = [&](bool withinBudget) {
            return std::any_of(optimum.subsets.begin(), optimum.subsets.end(), [&](const MeasureSubset& subset) {
                return subset.accident < optimum.baseline && (!withinBudget || subset.withinBudget);
            });
        };
        optimum.reason = !helps(false)  ? NoBestSet::NothingHelps
                         : !helps(true) ? NoBestSet::NoneWithinBudget
                                        : NoBestSet::NoBenefit;
    }
    return optimum;
}

}  // namespace kestal
