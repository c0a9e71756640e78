// The measure plan: every subset evaluated exactly once, then the target's set and the envelope.
#include "analysis/MeasurePlan.h"

#include <algorithm>

#include "analysis/BestMeasures.h"
#include "analysis/ExactNodes.h"

namespace kestal {

MeasurePlan PlanMeasures(const NetworkInputs& baseline, const std::vector<CandidateMeasure>& measures,
                         long double target)
{
    CheckCandidates(measures);
    const std::size_t count = measures.size();
    std::vector<MeasureSet> sets;
    sets.reserve(std::size_t{1} << count);
    for (uint32_t members = 0; members < (uint32_t{1} << count); ++members) {
        NetworkInputs inputs = baseline;
        long double cost = 0.0L;
        for (std::size_t i = 0; i < count; ++i) {
            if (!(members >> i & 1)) continue;
            cost += measures[i].cost;
            for (const auto& [slot, value] : measures[i].changes) inputs.slot[slot] = value;
        }
        sets.push_back({members, cost, ExactNodeProbabilities(inputs).node[NodeI]});
    }

    MeasurePlan plan;
    plan.target = target;
    plan.current = sets.front().accident;
    std::sort(sets.begin(), sets.end(), [](const MeasureSet& a, const MeasureSet& b) {
        return CheaperSetBefore(a.cost, a.members, b.cost, b.members);
    });
    plan.lowest = std::min_element(sets.begin(), sets.end(), [](const MeasureSet& a, const MeasureSet& b) {
                      return a.accident < b.accident;
                  })->accident;
    plan.reachable = plan.lowest <= target;
    const long double goal = plan.reachable ? target : plan.lowest;
    // In this order the first set meeting the goal is the chosen one.
    plan.chosen = *std::find_if(sets.begin(), sets.end(), [goal](const MeasureSet& s) { return s.accident <= goal; });
    // By cost, then accident: a set is on the envelope when it is below every set before it.
    std::stable_sort(sets.begin(), sets.end(), [](const MeasureSet& a, const MeasureSet& b) {
        return a.cost != b.cost ? a.cost < b.cost : a.accident < b.accident;
    });
    for (const MeasureSet& s : sets)
        if (plan.envelope.empty() || s.accident < plan.envelope.back().accident) plan.envelope.push_back(s);
    return plan;
}

}  // namespace kestal
