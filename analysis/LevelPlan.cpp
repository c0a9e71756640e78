// The level plan: the movables ranked, the search run, its choice turned into changes; the
// cost–risk curve as plans for a series of targets.
#include "analysis/LevelPlan.h"

#include <algorithm>
#include <cmath>
#include <string_view>

#include "analysis/ExactNodes.h"
#include "analysis/LevelSearch.h"

namespace kestal {

bool WorseUpward(const FactorInfo& factor)
{
    constexpr std::string_view ids[] = {"C03", "C04", "M03", "M06", "M07", "T03", "T04", "T05"};
    return std::find(std::begin(ids), std::end(ids), std::string_view(factor.id)) != std::end(ids);
}

LevelPlan PlanLevels(const NetworkInputs& baseline, const std::vector<FactorSteps>& steps, long double target,
                     const LevelPlanControl& control)
{
    LevelPlan plan;
    plan.target = target;
    plan.current = ExactNodeProbabilities(baseline).node[NodeI];
    std::vector<Movable> movables = MovablesOf(baseline, steps);

    // The movables ordered by what each alone at its best level takes off, largest first.
    std::vector<std::pair<long double, Movable>> ranked;
    NetworkInputs best = baseline;
    for (Movable& m : movables) {
        NetworkInputs alone = baseline;
        const float value = LevelTable[m.levels.back() - 1].value;
        alone.slot[m.factor->slot] = best.slot[m.factor->slot] = value;
        ranked.emplace_back(plan.current - ExactNodeProbabilities(alone).node[NodeI], std::move(m));
    }
    std::stable_sort(ranked.begin(), ranked.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    movables.clear();
    for (auto& entry : ranked) movables.push_back(std::move(entry.second));
    plan.lowest = ExactNodeProbabilities(best).node[NodeI];
    plan.evaluations = 1 + static_cast<int64_t>(movables.size()) + 1;

    plan.reachable = plan.lowest <= target;
    const long double goal = plan.reachable ? target : plan.lowest;
    if (plan.current <= goal) {
        plan.accident = plan.current;
        plan.proven = true;
        return plan;
    }

    LevelSearch search(baseline, std::move(movables), goal, control);
    search.Run(plan.current);
    const std::vector<Movable>& ordered = search.Movables();
    if (search.Found()) {
        const std::vector<int>& choice = search.Best();
        for (std::size_t i = 0; i < ordered.size(); ++i)
            if (choice[i] > 0)
                plan.changes.push_back({ordered[i].factor, ordered[i].current, ordered[i].levels[choice[i]]});
        plan.cost = search.BestCost();
        plan.accident = search.BestAccident();
        plan.proven = search.Proven();
        plan.lowerBound = search.LowerBound();
    } else {
        // Only if the probability were not monotone after all: the plan to the lowest, unproven.
        for (const Movable& m : ordered) plan.changes.push_back({m.factor, m.current, m.levels.back()});
        for (const Movable& m : ordered) plan.cost += m.costs.back();
        plan.accident = plan.lowest;
    }
    std::sort(plan.changes.begin(), plan.changes.end(), [](const PlannedLevel& a, const PlannedLevel& b) {
        return CatalogueIndex(*a.factor) < CatalogueIndex(*b.factor);
    });
    plan.evaluations += search.Evaluations();
    return plan;
}

std::vector<LevelPlan> LevelCostCurve(const NetworkInputs& baseline, const std::vector<FactorSteps>& steps, int points,
                                      const LevelPlanControl& control)
{
    std::vector<LevelPlan> curve;
    if (points < 1) return curve;
    // The report sees the evaluations of every point together, against the limits of all.
    LevelPlanControl each{control.evaluationLimit, {}};
    if (control.report)
        each.report = [&control, &curve, points](int64_t done, int64_t limit) {
            control.report(static_cast<int64_t>(curve.size()) * limit + std::min(done, limit), points * limit);
        };
    const long double current = ExactNodeProbabilities(baseline).node[NodeI];
    curve.push_back(PlanLevels(baseline, steps, current, each));
    const long double lowest = curve.front().lowest;
    for (int i = 1; i < points; ++i) {
        const long double share = static_cast<long double>(i) / (points - 1);
        const long double target = i + 1 == points ? lowest : current * std::pow(lowest / current, share);
        curve.push_back(PlanLevels(baseline, steps, target, each));
    }
    return curve;
}

}  // namespace kestal
