// The session: start-up, ratings, run size and estimates, the modeling run.
#include "assessment/Session.h"

#include <algorithm>
#include <utility>

#include "analysis/RunCost.h"
#include "network/Calibration.h"
#include "assessment/MeasureTree.h"
#include "common/Conversions.h"
#include "common/Formats.h"

namespace kestal {

namespace {

int T03() { return CatalogueIndex(*FindFactor("T03")); }

}  // namespace

Session::Session(const Clock* clock, NumberLocale inputLocale, NumberLocale displayLocale)
    : clock_(clock), inputLocale_(std::move(inputLocale)), displayLocale_(std::move(displayLocale))
{
    state_.shown = PresentationOf(state_.assessment, inputLocale_);
}

void Session::Calibrate()
{
    calibrationInputs_ = state_.assessment.RatingInputs();
    calibrationTime_ = state_.assessment.Calibrate(*clock_);
}

void Session::Load(SessionState state)
{
    FormDerivedParts(state, inputLocale_);
    state_ = std::move(state);
}

void Session::Restore(const SessionState& snapshot) { state_ = snapshot; }

void Session::SelectLevel(int factor, int item)
{
    if (item < 0) return;
    state_.assessment.Rate(factor, item);
    // The measure page follows: the factor's bar stands on its new level.
    state_.shown.bars[factor] = BarOnLevel(state_.assessment, factor);
}

void Session::Activate() { SelectLevel(T03(), state_.assessment.QuestionnaireLevel); }

void Session::SetKText(const std::string& text)
{
    state_.assessment.SetKText(text);
    state_.shown.studyEstimateShown = true;
}

void Session::SetNText(const std::string& text)
{
    state_.assessment.SetNText(text);
    state_.shown.studyEstimateShown = true;
}

std::string Session::RunEstimateText() const
{
    const auto k = IntegerIfValid(assessment().kText);
    const auto n = IntegerIfValid(assessment().nText);
    if (!k || !n) return NoEstimateText;
    return "  " + DurationText(EstimateDays(calibrationTime_, *k, *n, 1, CostFactor()), displayLocale_);
}

std::string Session::StudyEstimateText() const
{
    if (!state_.shown.studyEstimateShown) return "";
    const int count = assessment().measures.MeasureCount;
    const int series = StudySeriesCount(count);
    if (count > 3) return " Нызнаю";
    if (series == 0) return "  " + DurationText(0.0, displayLocale_);
    const auto k = IntegerIfValid(assessment().kText);
    const auto n = IntegerIfValid(assessment().nText);
    if (!k || !n) return NoEstimateText;
    return "  " + DurationText(EstimateDays(calibrationTime_, *k, *n, series, CostFactor()), displayLocale_);
}

long double Session::CostFactor() const
{
    return RunCostFactor(assessment().RatingInputs(), calibrationInputs_) * loadFactor_;
}

void Session::LearnLoad(const WorkTiming& timing)
{
    // Shorter work says more about the clock's resolution than about the machine.
    constexpr double MeasurableWork = 0.05;
    constexpr double MostLoad = 100.0;
    if (!(timing.cpuSeconds >= MeasurableWork) || !(timing.wallSeconds >= 0.0)) return;
    loadFactor_ = std::clamp(timing.wallSeconds / timing.cpuSeconds, 1.0, MostLoad);
}

ModelingRun Session::PrepareRun() const { return state_.assessment.PrepareRun(*clock_); }

void Session::CommitRun(ModelingRun&& run)
{
    LearnLoad(run.timing);
    state_.assessment.CommitRun(std::move(run));
}

void Session::Run(const WorkControl& control)
{
    ModelingRun run = PrepareRun();
    run.Execute(control);
    CommitRun(std::move(run));
}

}  // namespace kestal
