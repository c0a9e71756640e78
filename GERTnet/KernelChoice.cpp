// The batch kernel's choice from the stage probabilities of the ratings.
#include "GERTnet/KernelChoice.h"

#include <algorithm>
#include <cstdint>

#include "GERTnet/StageTables.h"

namespace {

// The distribution of a draw or of a stage multiplier or sum (values 0..12).
struct Odds {
    static constexpr int Largest = 12;
    std::array<double, Largest + 1> p{};
};

// Sums and products of independent values; no part of a stage formula exceeds 12 (StageTables.h
// checks the wholes, and the values are never negative).
template <class Op>
Odds Combine(const Odds& a, const Odds& b, Op op)
{
    Odds r;
    for (int i = 0; i <= Odds::Largest; ++i) {
        for (int j = 0; j <= Odds::Largest; ++j) {
            const int v = op(i, j);
            if (v <= Odds::Largest) r.p[v] += a.p[i] * b.p[j];
        }
    }
    return r;
}
Odds operator+(const Odds& a, const Odds& b) { return Combine(a, b, [](int i, int j) { return i + j; }); }
Odds operator*(const Odds& a, const Odds& b) { return Combine(a, b, [](int i, int j) { return i * j; }); }

constexpr double StateShare = 0x1p-32;  // one generator state of 2^32

// Every draw's value distribution from its lanes: a two-way draw is `first` for the states below
// its bound; outcome i of a three- or four-way draw holds the states between cumulative bounds
// i - 1 and i (0 before the first, 2^32 after the last).
template <std::size_t LaneCount>
void AddDraws(const std::array<Lane, LaneCount>& lanes, const std::array<uint64_t, LaneCount>& bounds,
              std::array<Odds, 32>& x, std::array<std::array<uint64_t, 4>, 32>& cumulative,
              std::array<int, 32>& outcomes)
{
    for (std::size_t j = 0; j < LaneCount; ++j) {
        const Lane& lane = lanes[j];
        if (lane.sampler == Sampler::Two) {
            const double below = static_cast<double>(bounds[j]) * StateShare;
            x[lane.draw].p[lane.first] += below;
            x[lane.draw].p[lane.second] += 1.0 - below;
        } else {
            cumulative[lane.draw][lane.bound] = bounds[j];
            outcomes[lane.draw] = lane.sampler == Sampler::Three ? 3 : 4;
            cumulative[lane.draw][outcomes[lane.draw] - 1] = uint64_t{1} << 32;
        }
    }
}

}  // namespace

std::array<double, NodeCount> NodeOdds(const BatchBounds& bounds)
{
    std::array<Odds, 32> x{};
    std::array<std::array<uint64_t, 4>, 32> cumulative{};
    std::array<int, 32> outcomes{};  // of the three- and four-way draws
    AddDraws(Lanes::Stage1, bounds.stage1, x, cumulative, outcomes);
    AddDraws(Lanes::Stage23, bounds.stage23, x, cumulative, outcomes);
    AddDraws(Lanes::Stage4, bounds.stage4, x, cumulative, outcomes);
    for (std::size_t k = 0; k < x.size(); ++k) {
        uint64_t below = 0;
        for (int i = 0; i < outcomes[k]; ++i) {
            x[k].p[i] = static_cast<double>(cumulative[k][i] - below) * StateShare;
            below = cumulative[k][i];
        }
    }
    const Odds sum1 = Stage1Sum(x), factor1 = Stage1Factor(x);
    const Odds m2 = Stage2Factor(x), m3 = Stage3Factor(x), m4 = Stage4Factor(x);

    std::array<double, NodeCount> node{};
    // The stage-1 and stage-2 scores of the initiations that reach stage 2 and stage 3.
    std::array<double, Odds::Largest * Odds::Largest + 1> s1{};
    for (int a = 0; a <= Odds::Largest; ++a) {
        for (int b = 0; b <= Odds::Largest; ++b) {
            const double mass = sum1.p[a] * factor1.p[b];
            (a * b <= Stage1Threshold ? node[NodeB] : s1[a * b]) += mass;
        }
    }
    std::array<double, s1.size() * (Odds::Largest + 1)> s2{};
    for (std::size_t s = Stage1Threshold + 1; s < s1.size(); ++s) {
        node[NodeC] += s1[s];
        for (int m = 0; s1[s] != 0.0 && m <= Odds::Largest; ++m) {
            const double mass = s1[s] * m2.p[m];
            (int32_t(s) * m <= Stage2Threshold ? node[NodeD] : s2[s * m]) += mass;
        }
    }
    for (std::size_t s = Stage2Threshold + 1; s < s2.size(); ++s) {
        node[NodeE] += s2[s];
        for (int m = 0; s2[s] != 0.0 && m <= Odds::Largest; ++m) {
            const double mass = s2[s] * m3.p[m];
            const int32_t s3 = int32_t(s) * m;
            if (s3 <= Stage3Threshold) {
                node[NodeF] += mass;
                continue;
            }
            node[NodeG] += mass;
            for (int q = 0; q <= Odds::Largest; ++q) {
                node[s3 * q <= Stage4Threshold ? NodeH : NodeI] += mass * m4.p[q];
            }
        }
    }
    return node;
}

double ExpectedSurprises(const std::array<double, NodeCount>& n)
{
    return std::min(n[NodeB], n[NodeC]) + std::min(n[NodeD], n[NodeE]) + std::min(n[NodeF], n[NodeG]) +
           std::min(n[NodeH], n[NodeI]);
}

KernelChoice KernelFor(const std::array<double, NodeCount>& node, BatchKernel widest)
{
    const double surprises = ExpectedSurprises(node);
    const KernelLoop loop = surprises > 0.5 ? KernelLoop::BranchFree : KernelLoop::Branching;
    return {widest, loop};
}

KernelChoice ChooseKernel(const NetworkInputs& inputs)
{
    struct Last {
        NetworkInputs inputs;
        KernelChoice choice;
        bool valid = false;
    };
    thread_local Last last;
    // NaN ratings never compare equal, so they are worked out afresh each time; that is all.
    if (!last.valid || !(last.inputs == inputs)) {
        last = {inputs, KernelFor(NodeOdds(MakeBatchBounds(inputs)), FastestKernel()), true};
    }
    return last.choice;
}
