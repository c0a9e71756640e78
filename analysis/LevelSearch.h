// The exact search of the level plan: the factors it may move, and a branch and bound over their
// levels in rounds of rising cost thresholds.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <limits>
#include <unordered_map>
#include <vector>

#include "analysis/LevelMoves.h"
#include "analysis/LevelPlan.h"

namespace kestal {

// A point of the search: each movable's option (0 .. 10) in four bits.
using PointKey = std::array<uint64_t, 2>;
struct PointHash {
    std::size_t operator()(const PointKey& key) const
    {
        return std::hash<uint64_t>()(key[0] * 0x9E3779B97F4A7C15ull ^ key[1]);
    }
};

// The cheapest choice of the movables' levels whose accident probability meets `goal`: a greedy
// first plan, then rounds of depth-first branch and bound under rising cost thresholds, bounded by
// the free factors set as far as the remaining money could take them.
class LevelSearch {
public:
    LevelSearch(const NetworkInputs& baseline, std::vector<Movable> movables, long double goal,
                const LevelPlanControl& control);
    // The accident probability with the movables at `choice`.
    long double Evaluate(const std::vector<int>& choice);
    // The first plan: the step with the largest reduction per cost until the goal is met, then
    // each factor moved back while the goal stays met.
    void Greedy(long double current);
    // Rounds of depth-first search over the plans that cost at most a threshold. The first
    // threshold is the root's bound; a round that finds no plan within it proves that none costs
    // less than the least cost a pruned node could still reach, and the next round goes at least
    // that far and a tenth further (so that many distinct costs do not make many rounds). A round
    // that finds a plan within its threshold has seen every plan that costs no more: it proves it.
    void Run(long double current);
    // One node: the movables before `depth` set as `choice_` says, `p0` the probability with the
    // others at their current levels.
    void Node(std::size_t depth, long double spent, long double p0, int changed);
    // Proven: no plan reaching the goal costs less than this from the movables `from` on, given
    // what is spent; Infinity when none reaches it.
    long double CheapestFrom(std::size_t from, long double spent);
    bool Found() const { return found_; }
    const std::vector<int>& Best() const { return best_; }
    long double BestAccident() const { return bestAccident_; }
    long double BestCost() const { return bestCost_; }
    int64_t Evaluations() const { return evaluations_; }
    bool Proven() const { return proven_; }
    // No plan meeting the goal costs less.
    long double LowerBound() const { return proven_ ? bestCost_ : std::min(bound_, bestCost_); }
    const std::vector<Movable>& Movables() const { return movables_; }
    // The plan's cost as it is reported: summed in catalogue order.
    long double CostOf(const std::vector<int>& choice) const;

private:
    // The most a plan may cost in this round without losing to the incumbent.
    long double Limit() const;
    // A tighter bound when every cost is a whole number: the free movables in two halves (every
    // other one), the
    // money split between them every whole way; a completion within `money` lies beyond none of
    // these points in its own split, so the lowest of them bounds it.
    long double SplitBox(std::size_t from, long double money);
    // The lowest probability a completion can reach with `money` more: each movable from `from` on
    // as far as `money` takes it alone (monotonicity makes it a bound).
    long double Box(std::size_t from, long double money);
    // The changed factors and, in catalogue order, the steps of a plan.
    int ChangedCount(const std::vector<int>& choice) const;
    bool StepsBefore(const std::vector<int>& a, const std::vector<int>& b) const;
    void Offer(const std::vector<int>& choice, long double accident);
    // A node left out of this round: no plan through it costs less than `least`.
    void Pruned(long double least) { next_ = std::min(next_, least); }

    NetworkInputs inputs_;
    std::vector<Movable> movables_;
    std::unordered_map<PointKey, long double, PointHash> known_;
    long double goal_;
    const LevelPlanControl& control_;
    std::vector<int> choice_;
    std::vector<long double> cheapestStep_;  // the cheapest single step of the movables from i on
    std::vector<long double> breakpoints_;   // every cost a single movable's move can have
    bool found_ = false;
    std::vector<int> best_;
    long double bestCost_ = std::numeric_limits<long double>::infinity();
    long double bestAccident_ = std::numeric_limits<long double>::infinity();
    int64_t evaluations_ = 0;
    bool wholeCosts_ = true;                                                // every move's cost a whole number
    long double threshold_ = std::numeric_limits<long double>::infinity();  // this round's
    long double bound_ = 0.0L;  // proven: no plan meeting the goal costs less
    long double next_ = std::numeric_limits<long double>::infinity();
    bool stopped_ = false;
    bool proven_ = false;
};

}  // namespace kestal
