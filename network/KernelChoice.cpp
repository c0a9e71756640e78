// The batch kernel's choice from the stage probabilities of the ratings.
#include "network/KernelChoice.h"

#include <algorithm>
#include <cstdint>

#include "network/StageTables.h"

namespace kestal {

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
Odds operator+(const Odds& a, const Odds& b)
{
    return Combine(a, b, [](int i, int j) { return i + j; });
}
Odds operator*(const Odds& a, const Odds& b)
{
    return Combine(a, b, [](int i, int j) { return i * j; });
}

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
    // Stage 4 passes when its multiplier exceeds Stage4Threshold / S3: the multiplier's masses at
    // most and above each value settle it without a loop.
    std::array<double, Odds::Largest + 1> atMost{}, above{};
    for (int m = 0; m <= Odds::Largest; ++m) {
        atMost[m] = (m > 0 ? atMost[m - 1] : 0.0) + m4.p[m];
    }
    for (int m = Odds::Largest - 1; m >= 0; --m) {
        above[m] = above[m + 1] + m4.p[m + 1];
    }
    for (std::size_t s = Stage2Threshold + 1; s < s2.size(); ++s) {
        if (s2[s] == 0.0) continue;
        node[NodeE] += s2[s];
        for (int m = 0; m <= Odds::Largest; ++m) {
            const double mass = s2[s] * m3.p[m];
            const int32_t s3 = int32_t(s) * m;
            if (s3 <= Stage3Threshold) {
                node[NodeF] += mass;
                continue;
            }
            node[NodeG] += mass;
            const int within = std::min(Stage4Threshold / s3, Odds::Largest);
            node[NodeH] += mass * atMost[within];
            node[NodeI] += mass * above[within];
        }
    }
    return node;
}

double ExpectedSurprises(const std::array<double, NodeCount>& n)
{
    return std::min(n[NodeB], n[NodeC]) + std::min(n[NodeD], n[NodeE]) + std::min(n[NodeF], n[NodeG]) +
           std::min(n[NodeH], n[NodeI]);
}

namespace {

// The time of an initiation under each loop, in nanoseconds on the machine the coefficients were
// fitted on (a 2-core AMD EPYC guest with AVX-512, medians of 7 batches of 100 000 for each of 100
// random rating sets, kestal-bench --scan 11 100 --kernels), from the node probabilities:
//   branching:     a + b·P(C) + c·(stage branches taken the less likely way, ExpectedSurprises)
//   first-branch:  a + b·P(C) + c·min(P(B), P(C)) + d·(the later stages' surprises)
//   branch-free:   a + b / (1 + P(B)²)   (the vector kernels do two initiations at once when
//                                         both end at stage 1; the scalar one does not look ahead)
// The loaded machine scatters the times: the AVX-512 models are within 17 % of every measured
// time (the scalar ones within 37 %), and choosing by them took at most 1.14 times the best
// loop's time on every set. Only their comparison matters.
struct LoopModels {
    double branching[3];
    double firstBranch[4];
    double branchFree[2];
};
constexpr LoopModels ScalarModels = {{7.35, 9.40, 9.41}, {7.33, 14.19, 7.79, 2.10}, {17.68, 3.42}};
constexpr LoopModels Avx2Models = {{1.73, 3.29, 13.68}, {1.71, 10.56, 12.27, 0.45}, {-0.83, 14.71}};
constexpr LoopModels Avx512Models = {{1.46, 3.23, 13.50}, {1.46, 10.02, 13.28, 0.21}, {-1.01, 14.55}};

}  // namespace

double ModelledTime(const std::array<double, NodeCount>& node, KernelChoice kernel)
{
    const LoopModels& m = kernel.instructions == BatchKernel::Avx512 ? Avx512Models
                          : kernel.instructions == BatchKernel::Avx2 ? Avx2Models
                                                                     : ScalarModels;
    const double pC = node[NodeC];
    const double first = std::min(node[NodeB], node[NodeC]);
    const double all = ExpectedSurprises(node);
    switch (kernel.loop) {
    case KernelLoop::FirstBranch:
        return m.firstBranch[0] + m.firstBranch[1] * pC + m.firstBranch[2] * first + m.firstBranch[3] * (all - first);
    case KernelLoop::BranchFree:
        return m.branchFree[0] + m.branchFree[1] / (1.0 + node[NodeB] * node[NodeB]);
    case KernelLoop::Branching:
        break;
    }
    return m.branching[0] + m.branching[1] * pC + m.branching[2] * all;
}

KernelChoice KernelFor(const std::array<double, NodeCount>& node, BatchKernel widest)
{
    // On the machine of the models AVX2 was not faster than AVX-512 for any loop (it took a
    // median 1.04–1.08 times as long), so the widest instruction set is taken.
    KernelChoice best{widest, KernelLoop::Branching};
    for (KernelLoop loop : {KernelLoop::FirstBranch, KernelLoop::BranchFree}) {
        const KernelChoice other{widest, loop};
        if (ModelledTime(node, other) < ModelledTime(node, best)) best = other;
    }
    return best;
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

}  // namespace kestal
