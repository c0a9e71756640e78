// The band after a plan: the panel without the set factors' opinions, over the changed ratings.
#include "analysis/PlanBand.h"

namespace kestal {

PlanSettings SettingsOf(const LevelPlan& plan)
{
    PlanSettings settings;
    for (const PlannedLevel& change : plan.changes)
        settings.emplace_back(change.factor->slot, LevelTable[change.to - 1].value);
    return settings;
}

PlanSettings SettingsOf(uint32_t members, const std::vector<CandidateMeasure>& measures)
{
    PlanSettings settings;
    for (std::size_t i = 0; i < measures.size() && i < 32; ++i)
        if (members >> i & 1) settings.insert(settings.end(), measures[i].changes.begin(), measures[i].changes.end());
    return settings;
}

std::optional<PanelBand> BandAfterPlan(const ExpertPanel& panel, NetworkInputs ratings, const PlanSettings& settings,
                                       const PanelProgress& progress)
{
    ExpertPanel after = panel;
    for (const auto& [slot, value] : settings) {
        if (slot < 0 || slot >= FactorCount) continue;
        ratings.slot[slot] = value;
        const int factor = CatalogueIndex(FactorBySlot(slot));
        for (PanelExpert& expert : after.experts) expert.level[factor] = NoOpinion;
    }
    return ComputePanelBand(after, ratings, std::nullopt, progress);
}

}  // namespace kestal
