// The session's exact analysis: node probabilities, factor importance, a run's precision and the
// best set of the captured measures.
#include "assessment/Session.h"

#include "measures/EditorRules.h"
#include "common/Conversions.h"
#include "common/KestalError.h"

NetworkInputs Session::RatingInputs() const
{
    NetworkInputs inputs;
    CopySettingsToInputs(state_.settings, inputs);
    return inputs;
}

NodeProbabilities Session::ExactNodes() const
{
    return ExactNodeProbabilities(RatingInputs());
}

ImportanceTable Session::Importance() const
{
    return RankFactorImportance(RatingInputs());
}

RunPrecision Session::PrecisionOf(const RunBlock& block)
{
    NodeTotals totals{};
    for (int node = 0; node < NodeCount; ++node) totals[node] = block.node[node].total;
    return PrecisionOfRun(totals, block.k, block.n, ExactNodeProbabilities(block.inputs));
}

JudgedRun Session::Judge(const RunBlock& block, const NetworkInputs& current)
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

std::optional<JudgedRun> Session::JudgedLastRun() const
{
    if (state_.results.empty()) return std::nullopt;
    return Judge(state_.results.back(), RatingInputs());
}

bool Session::RatingsChangedSinceRun() const
{
    return !state_.results.empty() && state_.results.back().inputs != RatingInputs();
}

std::vector<CandidateMeasure> Session::CapturedCandidates() const
{
    const MeasureTables& measures = state_.measures;
    const NetworkInputs ratings = RatingInputs();
    std::vector<CandidateMeasure> candidates;
    for (int k = 1; k <= measures.MeasureCount; ++k) {
        const operation& captured = measures.captured[k - 1];
        CandidateMeasure candidate{captured.Name, captured.Cost, {}};
        // A change to the level the factor has now is no change; the measure keeps its others.
        for (int slot = 0; slot < FactorCount; ++slot)
            if (const float value = measures.MeasurePlanTable[slot][k].Value; value > 0.0f && value != ratings.slot[slot])
                candidate.changes.emplace_back(slot, value);
        candidates.push_back(std::move(candidate));
    }
    return candidates;
}

bool Session::BestSetCountFits() const
{
    const int count = state_.measures.MeasureCount;
    return count >= MinCandidateMeasures && count <= MaxCandidateMeasures;
}

MeasureOptimum BestSetWork::Execute(const WorkControl& control) const
{
    OptimizeProgress progress;
    if (control.progress || control.stopRequested)
        progress = [&control](int64_t done, int64_t total) { control.Report(done, total); };
    return OptimizeMeasures(ratings, measures, budget, damage, progress);
}

BestSetWork Session::PrepareBestMeasures() const
{
    if (const std::string problem = BestMeasuresProblem(); !problem.empty()) throw KestalError(problem);
    return {RatingInputs(), CapturedCandidates(), ParseFloat(state_.budgetText, inputLocale_),
            ParseFloat(state_.damageText, inputLocale_)};
}

MeasureOptimum Session::BestMeasures(const WorkControl& control) const
{
    return PrepareBestMeasures().Execute(control);
}

std::string Session::BestMeasuresProblem() const
{
    const auto readable = [this](const std::string& text) {
        try {
            ParseFloat(text, inputLocale_);
            return true;
        } catch (const KestalError&) {
            return false;
        }
    };
    if (!BestSetCountFits()) return BestSetCountText;
    if (!readable(state_.budgetText)) return BestSetBudgetText;
    if (!readable(state_.damageText)) return BestSetDamageText;
    // A damage below 1 would make every helpful set's benefit nothing or a loss.
    if (!AmountAtLeastOne(state_.damageText, inputLocale_)) return BestSetDamageAmountText;
    return {};
}
