// Exact node probabilities: the score distributions of the stages, split at their thresholds.
#include "Analysis/ExactNodes.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "Analysis/StageMasses.h"

namespace {

// mass[s] = probability that an initiation reaches a stage with score s (0..MaxScore); the scores
// with mass are listed in `reached`, so that sparse scores are not scanned whole.
template <int MaxScore>
struct ScoreMasses {
    std::array<long double, MaxScore + 1> mass{};
    std::array<int, MaxScore + 1> reached;
    int count = 0;
};

// The masses of the initiations whose score is at most a stage's threshold (they end there) and
// above it (they pass on), each a sum of masses.
struct StageSplit {
    long double ends = 0.0L;
    long double passes = 0.0L;
};

// The stage-1 sum as the first score.
ScoreMasses<LargestValue> ScoresOf(const ValueMasses& value)
{
    ScoreMasses<LargestValue> score;
    for (int v = 0; v <= value.largest; ++v) {
        score.mass[v] = value.mass[v];
        score.reached[score.count++] = v;
    }
    return score;
}

// The next stage's scores: every score above `passed` times every value of `multiplier`, whose
// largest value is at most `Largest`.
template <int Largest, int From>
ScoreMasses<From * Largest> ProductAbove(const ScoreMasses<From>& score, int32_t passed, const ValueMasses& multiplier)
{
    ScoreMasses<From * Largest> next;
    for (int k = 0; k < score.count; ++k) {
        const int s = score.reached[k];
        if (s <= passed) continue;
        for (int m = 0; m <= multiplier.largest; ++m) {
            const long double mass = score.mass[s] * multiplier.mass[m];
            if (mass == 0.0L) continue;
            // Masses are products of draw probabilities of at least 2^-32 each, never 0: the first
            // mass added to a score marks it reached.
            if (next.mass[s * m] == 0.0L) next.reached[next.count++] = s * m;
            next.mass[s * m] += mass;
        }
    }
    return next;
}

template <int MaxScore>
StageSplit Split(const ScoreMasses<MaxScore>& score, int32_t threshold)
{
    StageSplit split;
    for (int k = 0; k < score.count; ++k) {
        const int s = score.reached[k];
        (s <= threshold ? split.ends : split.passes) += score.mass[s];
    }
    return split;
}

// The largest multiplier value (up to LargestValue) that keeps a score s > 0 within `threshold`.
int LargestWithin(int s, int32_t threshold)
{
    return std::min(threshold / s, LargestValue);
}

// Stages 3 and 4 together, without the stage-3 score distribution: every stage-2 score above its
// threshold times every stage-3 value either ends at stage 3 or passes; the passing masses are
// gathered by LargestWithin of the stage-4 threshold, which is all the stage-4 split depends on.
template <int From>
std::pair<StageSplit, StageSplit> LastStages(const ScoreMasses<From>& s2, const ValueMasses& stage3,
                                             const ValueMasses& stage4)
{
    StageSplit split3;
    std::array<long double, LargestValue + 1> passingWithin{};
    for (int k = 0; k < s2.count; ++k) {
        const int s = s2.reached[k];
        if (s <= Stage2Threshold) continue;
        for (int m = 0; m <= stage3.largest; ++m) {
            const long double mass = s2.mass[s] * stage3.mass[m];
            if (s * m <= Stage3Threshold) {
                split3.ends += mass;
            } else {
                split3.passes += mass;
                passingWithin[LargestWithin(s * m, Stage4Threshold)] += mass;
            }
        }
    }
    // The stage-4 multiplier's masses at most and above each value: sums of masses.
    std::array<long double, LargestValue + 1> atMost{}, above{};
    long double sum = 0.0L;
    for (int m = 0; m <= LargestValue; ++m) {
        atMost[m] = sum += stage4.mass[m];
    }
    sum = 0.0L;
    for (int m = LargestValue; m > 0; --m) {
        above[m - 1] = sum += stage4.mass[m];
    }
    StageSplit split4;
    for (int w = 0; w <= LargestValue; ++w) {
        split4.ends += passingWithin[w] * atMost[w];
        split4.passes += passingWithin[w] * above[w];
    }
    return {split3, split4};
}

}  // namespace

NodeProbabilities ExactNodeProbabilities(const NetworkInputs& inputs)
{
    const StageMasses m = StageMassesOf(MakeBatchBounds(inputs));
    constexpr int32_t Everything = -1;
    const auto s1 = ProductAbove<LargestOf(Stage1FactorTable)>(ScoresOf(m.stage1Sum), Everything, m.stage1Factor);
    const StageSplit split1 = Split(s1, Stage1Threshold);
    const auto s2 = ProductAbove<LargestOf(Stage2Table)>(s1, Stage1Threshold, m.stage2);
    const StageSplit split2 = Split(s2, Stage2Threshold);
    const auto [split3, split4] = LastStages(s2, m.stage3, m.stage4);
    return {{split1.ends, split1.passes, split2.ends, split2.passes, split3.ends, split3.passes, split4.ends,
             split4.passes}};
}

long double DrawsPerInitiation(const NodeProbabilities& p)
{
    return DrawsThroughStage1 * p.node[NodeB] + DrawsThroughStage2 * p.node[NodeD] +
           DrawsThroughStage3 * p.node[NodeF] + DrawsThroughStage4 * p.node[NodeG];
}
