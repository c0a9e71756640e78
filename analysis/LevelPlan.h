// The cheapest plan of level steps that brings the exact accident probability to a target: an
// exact branch and bound over the factors that carry a cost per step, and the cost–risk curve.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include "network/Network.h"
#include "factors/Catalogue.h"

namespace kestal {

// The exact accident probability is monotone in every factor's level, each factor always in the
// same direction: these eight are worse upward (a higher level, a higher probability), the other
// 22 better upward. The search bounds by it; a test checks it on random rating sets.
bool WorseUpward(const FactorInfo& factor);

// A factor the plan may move: the cost of one level step (≥ 0) and the levels it may take
// (low ≤ high, within 1 .. 11). Its current level always stays allowed, so that leaving it is a
// plan; a level outside the range is never proposed.
struct FactorSteps {
    const FactorInfo* factor;
    long double costPerStep = 1.0L;
    int low = 1;
    int high = LevelCount;
};

// One factor the plan moves: level numbers 1 .. 11.
struct PlannedLevel {
    const FactorInfo* factor;
    int from;
    int to;
    bool operator==(const PlannedLevel&) const = default;
};

// How much the search may do: exact evaluations of the accident probability (each about 10 µs).
// Past the limit it stops and returns the best plan found with the lower bound it proved.
constexpr int64_t DefaultPlanEvaluationLimit = 600'000;

struct LevelPlanControl {
    int64_t evaluationLimit = DefaultPlanEvaluationLimit;
    // Called every few hundred evaluations with those done and the limit; it may throw to stop.
    std::function<void(int64_t done, int64_t limit)> report;
};

struct LevelPlan {
    long double target = 0.0L;
    long double current = 0.0L;  // the accident probability as rated
    long double lowest = 0.0L;   // the lowest reachable: every movable factor at its best allowed level
    // Whether some plan reaches the target; when none does, the plan is the cheapest that reaches
    // `lowest`.
    bool reachable = false;
    // The chosen plan: cheapest; among equal costs fewer changed factors, then the lower accident
    // probability, then, in catalogue order, the first factor where two plans differ left nearer
    // its current level. Changes in catalogue order.
    std::vector<PlannedLevel> changes;
    long double cost = 0.0L;      // Σ cost per step × |to − from|, summed in catalogue order
    long double accident = 0.0L;  // the exact accident probability with the changes
    // Whether the search finished, so that no plan meeting the goal is better by the rule above.
    bool proven = false;
    // No plan meeting the goal costs less (equal to `cost` when proven).
    long double lowerBound = 0.0L;
    int64_t evaluations = 0;
};

// The plan for `target` from the ratings `baseline` (every slot a level's value), moving only the
// factors of `steps` (each at most once; a factor whose slot holds no level's value is left).
LevelPlan PlanLevels(const NetworkInputs& baseline, const std::vector<FactorSteps>& steps, long double target,
                     const LevelPlanControl& control = {});

// The cost–risk curve of the level steps: plans for `points` targets spread evenly on a log scale
// from the current probability (the first, cost 0) down to the lowest reachable (the last); each
// search gets the control's limit, and its report counts the evaluations of all of them together.
std::vector<LevelPlan> LevelCostCurve(const NetworkInputs& baseline, const std::vector<FactorSteps>& steps, int points,
                                      const LevelPlanControl& control = {});

}  // namespace kestal
