// Draw distributions from the lanes' bounds, and the stage formulas evaluated over them.
#include "analysis/StageMasses.h"

#include <algorithm>
#include <cstdint>

namespace kestal {

namespace {

constexpr uint64_t AllStates = uint64_t{1} << 32;
constexpr long double StateProbability = 0x1p-32L;  // one generator state of 2^32

using DrawList = std::array<ValueMasses, DrawsThroughStage4 + 1>;

// What the lanes tell of a draw: its sampler, a two-way draw's values and the cumulative bounds.
struct DrawBounds {
    Sampler sampler = Sampler::Two;
    int first = 0;
    int second = 0;
    std::array<uint64_t, 3> bound{};
};

template <std::size_t LaneCount>
void Gather(const std::array<Lane, LaneCount>& lanes, const std::array<uint64_t, LaneCount>& bounds,
            std::array<DrawBounds, DrawsThroughStage4 + 1>& draws)
{
    for (std::size_t j = 0; j < LaneCount; ++j) {
        DrawBounds& draw = draws[lanes[j].draw];
        draw.sampler = lanes[j].sampler;
        draw.first = lanes[j].first;
        draw.second = lanes[j].second;
        draw.bound[lanes[j].bound] = bounds[j];
    }
}

ValueMasses MassesOf(const DrawBounds& draw)
{
    const int outcomes = draw.sampler == Sampler::Two ? 2 : draw.sampler == Sampler::Three ? 3 : 4;
    ValueMasses x;
    uint64_t from = 0;
    for (int i = 0; i < outcomes; ++i) {
        const uint64_t upTo = i + 1 < outcomes ? draw.bound[i] : AllStates;
        const int value = draw.sampler != Sampler::Two ? i : i == 0 ? draw.first : draw.second;
        x.mass[value] += static_cast<long double>(upTo - from) * StateProbability;
        x.largest = std::max(x.largest, value);
        from = upTo;
    }
    return x;
}

}  // namespace

DrawList DrawMasses(const BatchBounds& bounds)
{
    std::array<DrawBounds, DrawsThroughStage4 + 1> draws{};
    Gather(Lanes::Stage1, bounds.stage1, draws);
    Gather(Lanes::Stage23, bounds.stage23, draws);
    Gather(Lanes::Stage4, bounds.stage4, draws);
    DrawList x;
    for (int k = 1; k <= DrawsThroughStage4; ++k) {
        x[k] = MassesOf(draws[k]);
    }
    return x;
}

StageMasses StageMassesOf(const BatchBounds& bounds) { return StageMassesOf(DrawMasses(bounds)); }

StageMasses StageMassesOf(const DrawValueMasses& x)
{
    return {Stage1Sum(x), Stage1Factor(x), Stage2Factor(x), Stage3Factor(x), Stage4Factor(x)};
}

}  // namespace kestal
