// The per-batch bounds of the kernels' comparison lanes.
#include "network/NetworkLanes.h"

#include "network/StateBounds.h"

namespace kestal {

namespace {

// The cumulative bounds of every factor's sampler (one for two-way, two for three-way, three for
// four-way), worked out once per factor.
using FactorBounds = std::array<std::array<uint64_t, 3>, FactorCount>;

template <std::size_t LaneCount>
void LaneBounds(const std::array<Lane, LaneCount>& lanes, const FactorBounds& factor,
                std::array<uint64_t, LaneCount>& out)
{
    for (std::size_t j = 0; j < LaneCount; ++j) {
        out[j] = factor[lanes[j].slot][lanes[j].bound];
    }
}

// The sampler of each slot, as its lanes use it, and whether every slot has a lane.
struct SlotUse {
    std::array<Sampler, FactorCount> sampler{};
    std::array<bool, FactorCount> used{};
};
constexpr SlotUse SlotSamplers = [] {
    SlotUse use;
    const auto mark = [&use](const Lane& lane) {
        use.sampler[lane.slot] = lane.sampler;
        use.used[lane.slot] = true;
    };
    for (const Lane& lane : Lanes::Stage1) mark(lane);
    for (const Lane& lane : Lanes::Stage23) mark(lane);
    for (const Lane& lane : Lanes::Stage4) mark(lane);
    return use;
}();
static_assert(
    [] {
        for (bool used : SlotSamplers.used) {
            if (!used) return false;
        }
        return true;
    }(),
    "every factor drives a draw");

}  // namespace

BatchBounds MakeBatchBounds(const NetworkInputs& inputs)
{
    FactorBounds factor{};
    for (int slot = 0; slot < FactorCount; ++slot) {
        const float p = inputs.slot[slot];
        switch (SlotSamplers.sampler[slot]) {
        case Sampler::Two:
            factor[slot][0] = StatesBelow(p);
            break;
        case Sampler::Three: {
            const auto b = SamplerBounds3(p);
            factor[slot] = {b[0], b[1], 0};
            break;
        }
        case Sampler::Four:
            factor[slot] = SamplerBounds4(p);
            break;
        }
    }
    BatchBounds bounds;
    LaneBounds(Lanes::Stage1, factor, bounds.stage1);
    LaneBounds(Lanes::Stage23, factor, bounds.stage23);
    LaneBounds(Lanes::Stage4, factor, bounds.stage4);
    return bounds;
}

}  // namespace kestal
