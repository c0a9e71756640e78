// Factor importance: 30 factors × 11 levels of exact accident probabilities, ranked.
#include "analysis/FactorImportance.h"

#include <algorithm>

#include "analysis/ExactNodes.h"
#include "analysis/LevelPlan.h"

namespace kestal {

namespace {

// The ranking's order: the larger reduction first; a stable sort keeps equal ones in catalogue order.
bool ReducesMore(long double a, long double b) { return a > b; }

}  // namespace

ImportanceTable RankFactorImportance(const NetworkInputs& inputs)
{
    ImportanceTable table;
    // Each variant changes one factor: only the stages from that factor's on are computed again.
    const AccidentVariants variants(inputs);
    table.accident = variants.Base();
    for (const FactorInfo& factor : FactorCatalogue) {
        FactorImportance& row = table.factors[CatalogueIndex(factor)];
        row.factor = &factor;
        row.level = LevelNumberOf(inputs.slot[factor.slot]);
        NetworkInputs changed = inputs;
        for (int item = 0; item < LevelCount; ++item) {
            // The current level gives the current inputs, whose probability is known already.
            if (LevelTable[item].value == inputs.slot[factor.slot]) {
                row.accident[item] = table.accident;
                continue;
            }
            changed.slot[factor.slot] = LevelTable[item].value;
            row.accident[item] = variants.Accident(changed);
        }
        // min_element and max_element return the first of equal elements: the lowest level.
        const auto best = std::min_element(row.accident.begin(), row.accident.end());
        const auto worst = std::max_element(row.accident.begin(), row.accident.end());
        row.bestLevel = LevelTable[best - row.accident.begin()].number;
        row.worstLevel = LevelTable[worst - row.accident.begin()].number;
        row.reduction = table.accident - *best;
    }
    std::stable_sort(
        table.factors.begin(), table.factors.end(),
        [](const FactorImportance& a, const FactorImportance& b) { return ReducesMore(a.reduction, b.reduction); });
    return table;
}

std::array<FactorReduction, FactorCount> RankFactorReductions(const NetworkInputs& inputs)
{
    const AccidentVariants variants(inputs);
    const long double base = variants.Base();
    std::array<FactorReduction, FactorCount> ranked;
    for (const FactorInfo& factor : FactorCatalogue) {
        // The table's own value at that level: the base where the factor stands there already.
        const float best = LevelTable[WorseUpward(factor) ? 0 : LevelCount - 1].value;
        NetworkInputs changed = inputs;
        changed.slot[factor.slot] = best;
        const long double accident = best == inputs.slot[factor.slot] ? base : variants.Accident(changed);
        ranked[CatalogueIndex(factor)] = {&factor, base - accident};
    }
    std::stable_sort(ranked.begin(), ranked.end(), [](const FactorReduction& a, const FactorReduction& b) {
        return ReducesMore(a.reduction, b.reduction);
    });
    return ranked;
}

}  // namespace kestal
