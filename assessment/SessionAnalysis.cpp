// The session's exact analysis: what the assessment computes, as the pages ask for it.
#include "assessment/Session.h"

namespace kestal {

NetworkInputs Session::RatingInputs() const { return state_.RatingInputs(); }

NodeProbabilities Session::ExactNodes() const { return state_.ExactNodes(); }

ImportanceTable Session::Importance() const { return state_.Importance(); }

RunPrecision Session::PrecisionOf(const RunBlock& block) { return kestal::PrecisionOf(block); }

JudgedRun Session::Judge(const RunBlock& block, const NetworkInputs& current) { return kestal::Judge(block, current); }

std::optional<JudgedRun> Session::JudgedLastRun() const { return state_.JudgedLastRun(); }

bool Session::RatingsChangedSinceRun() const { return state_.RatingsChangedSinceRun(); }

std::vector<CandidateMeasure> Session::CapturedCandidates() const { return state_.CapturedCandidates(); }

BestSetWork Session::PrepareBestMeasures() const { return state_.PrepareBestMeasures(); }

MeasureOptimum Session::BestMeasures(const WorkControl& control) const
{
    return state_.PrepareBestMeasures().Execute(control);
}

std::string Session::BestMeasuresProblem() const { return state_.BestMeasuresProblem(); }

}  // namespace kestal
