// The session's exact analysis: node probabilities, factor importance, a run's precision and the
// best set of the captured measures.
#include "Session/Session.h"

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

MeasureOptimum Session::BestMeasures() const
{
    if (!BestSetCountFits()) throw KestalError(BestSetCountText);
    const long double budget = ParseFloat(state_.budgetText, inputLocale_);
    const long double damage = ParseFloat(state_.damageText, inputLocale_);
    return OptimizeMeasures(RatingInputs(), CapturedCandidates(), budget, damage);
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
    return {};
}
