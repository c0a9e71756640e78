// The movable factors of a level plan: the better direction of each, its allowed levels and costs.
#include "analysis/LevelMoves.h"

#include <array>
#include <cmath>
#include <cstdlib>

#include "analysis/FactorImportance.h"

namespace kestal {

std::vector<Movable> MovablesOf(const NetworkInputs& baseline, const std::vector<FactorSteps>& steps)
{
    std::vector<Movable> movables;
    std::array<bool, FactorCount> taken{};
    for (const FactorSteps& s : steps) {
        if (!s.factor || taken[s.factor->slot]) continue;
        taken[s.factor->slot] = true;
        const int current = LevelNumberOf(baseline.slot[s.factor->slot]);
        const long double cost = s.costPerStep >= 0.0L ? s.costPerStep : 0.0L;
        if (current == 0 || !std::isfinite(cost)) continue;
        Movable m{s.factor, current, {current}, {0.0L}};
        const int direction = WorseUpward(*s.factor) ? -1 : 1;
        for (int level = current + direction; level >= 1 && level <= LevelCount; level += direction) {
            if (level < s.low || level > s.high) continue;
            m.levels.push_back(level);
            m.costs.push_back(cost * std::abs(level - current));
        }
        if (m.levels.size() > 1) movables.push_back(std::move(m));
    }
    return movables;
}

}  // namespace kestal
