// Exact node probabilities: the score distributions of the stages, split at their thresholds.
#include "analysis/ExactNodes.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <utility>

#include "analysis/StageMasses.h"

namespace kestal {

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
int LargestWithin(int s, int32_t threshold) { return std::min(threshold / s, LargestValue); }

// Stages 3 and 4 together, without the stage-3 score distribution: every stage-2 score above its
// threshold times every stage-3 value either ends at stage 3 or passes; the passing masses are
// gathered by LargestWithin of the stage-4 threshold, which is all the stage-4 split depends on.
struct Stage3Outcome {
    StageSplit split3;
    std::array<long double, LargestValue + 1> passingWithin{};
};

template <int From>
Stage3Outcome Stage3Of(const ScoreMasses<From>& s2, const ValueMasses& stage3)
{
    Stage3Outcome out;
    for (int k = 0; k < s2.count; ++k) {
        const int s = s2.reached[k];
        if (s <= Stage2Threshold) continue;
        for (int m = 0; m <= stage3.largest; ++m) {
            const long double mass = s2.mass[s] * stage3.mass[m];
            if (s * m <= Stage3Threshold) {
                out.split3.ends += mass;
            } else {
                out.split3.passes += mass;
                out.passingWithin[LargestWithin(s * m, Stage4Threshold)] += mass;
            }
        }
    }
    return out;
}

StageSplit Stage4Of(const Stage3Outcome& stage3, const ValueMasses& stage4)
{
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
        split4.ends += stage3.passingWithin[w] * atMost[w];
        split4.passes += stage3.passingWithin[w] * above[w];
    }
    return split4;
}

constexpr int32_t Everything = -1;
using Stage1Scores = ScoreMasses<LargestValue * LargestOf(Stage1FactorTable)>;
using Stage2Scores = ScoreMasses<LargestValue * LargestOf(Stage1FactorTable) * LargestOf(Stage2Table)>;

Stage1Scores Stage1ScoresOf(const StageMasses& m)
{
    return ProductAbove<LargestOf(Stage1FactorTable)>(ScoresOf(m.stage1Sum), Everything, m.stage1Factor);
}

Stage2Scores Stage2ScoresOf(const Stage1Scores& s1, const StageMasses& m)
{
    return ProductAbove<LargestOf(Stage2Table)>(s1, Stage1Threshold, m.stage2);
}

bool SameMasses(const ValueMasses& a, const ValueMasses& b) { return a.largest == b.largest && a.mass == b.mass; }

// Whether any of the draws first .. last differs between two draw lists.
bool Differ(const DrawValueMasses& a, const DrawValueMasses& b, int first, int last)
{
    for (int k = first; k <= last; ++k)
        if (!SameMasses(a[k], b[k])) return true;
    return false;
}

}  // namespace

NodeProbabilities ExactNodeProbabilities(const NetworkInputs& inputs)
{
    const StageMasses m = StageMassesOf(MakeBatchBounds(inputs));
    const Stage1Scores s1 = Stage1ScoresOf(m);
    const StageSplit split1 = Split(s1, Stage1Threshold);
    const Stage2Scores s2 = Stage2ScoresOf(s1, m);
    const StageSplit split2 = Split(s2, Stage2Threshold);
    const Stage3Outcome stage3 = Stage3Of(s2, m.stage3);
    const StageSplit split3 = stage3.split3;
    const StageSplit split4 = Stage4Of(stage3, m.stage4);
    return {{split1.ends, split1.passes, split2.ends, split2.passes, split3.ends, split3.passes, split4.ends,
             split4.passes}};
}

struct AccidentVariants::Stages {
    DrawValueMasses x;
    StageMasses m;
    Stage1Scores s1;
    Stage2Scores s2;
    Stage3Outcome stage3;
    long double accident;
};

AccidentVariants::AccidentVariants(const NetworkInputs& base) : stages_(std::make_unique<Stages>())
{
    Stages& b = *stages_;
    b.x = DrawMasses(MakeBatchBounds(base));
    b.m = StageMassesOf(b.x);
    b.s1 = Stage1ScoresOf(b.m);
    b.s2 = Stage2ScoresOf(b.s1, b.m);
    b.stage3 = Stage3Of(b.s2, b.m.stage3);
    b.accident = Stage4Of(b.stage3, b.m.stage4).passes;
}

AccidentVariants::~AccidentVariants() = default;

long double AccidentVariants::Base() const { return stages_->accident; }

long double AccidentVariants::Accident(const NetworkInputs& variant) const
{
    const Stages& b = *stages_;
    const DrawValueMasses x = DrawMasses(MakeBatchBounds(variant));
    // The stage formulas over the draws they read: x1..x8, x9..x14, x15..x22, x23..x27, x28..x31.
    const bool sum1 = Differ(x, b.x, 1, 8), factor1 = Differ(x, b.x, 9, DrawsThroughStage1);
    const bool stage2 = Differ(x, b.x, DrawsThroughStage1 + 1, DrawsThroughStage2);
    const bool stage3 = Differ(x, b.x, DrawsThroughStage2 + 1, DrawsThroughStage3);
    const bool stage4 = Differ(x, b.x, DrawsThroughStage3 + 1, DrawsThroughStage4);
    const StageMasses m{sum1 ? Stage1Sum(x) : b.m.stage1Sum, factor1 ? Stage1Factor(x) : b.m.stage1Factor,
                        stage2 ? Stage2Factor(x) : b.m.stage2, stage3 ? Stage3Factor(x) : b.m.stage3,
                        stage4 ? Stage4Factor(x) : b.m.stage4};
    // Each stage from the first whose masses changed, on the kept results of the ones before.
    if (sum1 || factor1) {
        const Stage1Scores s1 = Stage1ScoresOf(m);
        const Stage2Scores s2 = Stage2ScoresOf(s1, m);
        return Stage4Of(Stage3Of(s2, m.stage3), m.stage4).passes;
    }
    if (stage2) return Stage4Of(Stage3Of(Stage2ScoresOf(b.s1, m), m.stage3), m.stage4).passes;
    if (stage3) return Stage4Of(Stage3Of(b.s2, m.stage3), m.stage4).passes;
    if (stage4) return Stage4Of(b.stage3, m.stage4).passes;
    return b.accident;
}

long double DrawsPerInitiation(const NodeProbabilities& p)
{
    return DrawsThroughStage1 * p.node[NodeB] + DrawsThroughStage2 * p.node[NodeD] +
           DrawsThroughStage3 * p.node[NodeF] + DrawsThroughStage4 * p.node[NodeG];
}

}  // namespace kestal
