// The assessment's exact analysis: node probabilities, factor importance, a run's precision and the
// best set of the captured measures.
#include "assessment/Assessment.h"

#include "measures/EditorRules.h"
#include "common/KestalError.h"

namespace kestal {

NetworkInputs Assessment::RatingInputs() const { return InputsOf(settings); }

NodeProbabilities Assessment::ExactNodes() const { return ExactNodeProbabilities(RatingInputs()); }

ImportanceTable Assessment::Importance() const { return RankFactorImportance(RatingInputs()); }

RunPrecision PrecisionOf(const RunBlock& block) { return Judge(block, block.inputs).precision; }

JudgedRun Judge(const RunBlock& block, const NetworkInputs& current)
{
    NodeTotals totals{};
    for (int node = 0; node < NodeCount; ++node) totals[node] = block.node[node].total;
    JudgedRun judged;
    judged.k = block.k;
    judged.n = block.n;
    judged.exact = ExactNodeProbabilities(block.inputs);
    judged.precision = PrecisionOfRun(totals, block.k, block.n, judged.exact);
    judged.ratingsChanged = block.inputs != current;
    return judged;
}

std::optional<JudgedRun> Assessment::JudgedLastRun() const
{
    if (results.empty()) return std::nullopt;
    return Judge(results.back(), RatingInputs());
}

bool Assessment::RatingsChangedSinceRun() const { return !results.empty() && results.back().inputs != RatingInputs(); }

std::vector<CandidateMeasure> Assessment::CapturedCandidates() const
{
    const NetworkInputs ratings = RatingInputs();
    std::vector<CandidateMeasure> candidates;
    for (int k = 1; k <= measures.MeasureCount; ++k) {
        const operation& captured = measures.captured[k - 1];
        CandidateMeasure candidate{captured.Name, captured.Cost, {}};
        // A change to the level the factor has now is no change; the measure keeps its others.
        for (int slot = 0; slot < FactorCount; ++slot)
            if (const float value = measures.MeasurePlanTable[slot][k].Value;
                value > 0.0f && value != ratings.slot[slot])
                candidate.changes.emplace_back(slot, value);
        candidates.push_back(std::move(candidate));
    }
    return candidates;
}

MeasureOptimum BestSetWork::Execute(const WorkControl& control) const
{
    OptimizeProgress progress;
    if (control.progress || control.stopRequested)
        progress = [&control](int64_t done, int64_t total) { control.Report(done, total); };
    return OptimizeMeasures(ratings, measures, budget, damage, progress);
}

BestSetWork Assessment::PrepareBestMeasures() const
{
    if (const std::string problem = BestMeasuresProblem(); !problem.empty()) throw KestalError(problem);
    return {RatingInputs(), CapturedCandidates(), *budget, *damage};
}

std::string Assessment::BestMeasuresProblem() const
{
    const int count = measures.MeasureCount;
    if (count < MinCandidateMeasures || count > MaxCandidateMeasures) return BestSetCountText;
    if (!budget) return BestSetBudgetText;
    if (!damage) return BestSetDamageText;
    // A damage below 1 would make every helpful set's benefit nothing or a loss.
    if (!AmountAtLeastOne(DamageAmount())) return BestSetDamageAmountText;
    return {};
}

}  // namespace kestal
