// The factors a level plan may move: each one's levels in the better direction within the allowed
// ones, with what each costs.
#pragma once

#include <vector>

#include "analysis/LevelPlan.h"

namespace kestal {

// A factor the search moves: its levels in the better direction within the allowed ones, nearest
// first, the current level first, with their costs.
struct Movable {
    const FactorInfo* factor;
    int current;
    std::vector<int> levels;
    std::vector<long double> costs;
};

// The movable factors of `steps`: each once, at a level, with somewhere better to go.
std::vector<Movable> MovablesOf(const NetworkInputs& baseline, const std::vector<FactorSteps>& steps);

}  // namespace kestal
