// The session: start-up, ratings, run size and estimates, the modeling run and the questionnaire.
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
    : inputLocale_(std::move(inputLocale)), displayLocale_(std::move(displayLocale))
{
    state_.net.clock = clock;
    for (int f = 0; f < FactorCount; ++f) state_.editor[f] = StartEditorRow(FactorCatalogue[f]);
    state_.tree = InitialTree();
    InitPlanTable(state_.measures);
    ClearMeasureStore(state_.measures);
    SetKText(state_.kText);
    SetNText(state_.nText);
    state_.studyEstimateShown = false;
}

void Session::Calibrate()
{
    CopySettingsToInputs(state_.settings, state_.net.inputs);
    calibrationInputs_ = state_.net.inputs;
    calibrationTime_ = RunCalibration(state_.net, state_.series);
}

void Session::Load(SessionState state)
{
    state.net.clock = state_.net.clock;
    FormDerivedParts(state, inputLocale_);
    state_ = std::move(state);
}

void Session::Restore(const SessionState& snapshot)
{
    const Clock* clock = state_.net.clock;
    state_ = snapshot;
    state_.net.clock = clock;
}

void Session::SelectLevel(int factor, int item)
{
    if (item < 0) return;
    state_.Rate(factor, item);
    const FactorInfo& info = FactorCatalogue[factor];
    // The measure page follows; a factor a captured measure holds stays locked.
    const bool locked = state_.editor[factor].locked;
    state_.editor[factor] = FreshEditorRow(info, item);
    state_.editor[factor].locked = locked;
}

void Session::Activate() { SelectLevel(T03(), state_.QuestionnaireLevel); }

void Session::SetKText(const std::string& text)
{
    state_.SetKText(text);
    state_.studyEstimateShown = true;
}

void Session::SetNText(const std::string& text)
{
    state_.SetNText(text);
    state_.studyEstimateShown = true;
}

std::string Session::RunEstimateText() const
{
    const auto k = IntegerIfValid(state_.kText);
    const auto n = IntegerIfValid(state_.nText);
    if (!k || !n) return NoEstimateText;
    return "  " + DurationText(EstimateDays(calibrationTime_, *k, *n, 1, CostFactor()), displayLocale_);
}

std::string Session::StudyEstimateText() const
{
    if (!state_.studyEstimateShown) return "";
    const int series = StudySeriesCount(state_.measures.MeasureCount);
    if (state_.measures.MeasureCount > 3) return " Нызнаю";
    if (series == 0) return "  " + DurationText(0.0, displayLocale_);
    const auto k = IntegerIfValid(state_.kText);
    const auto n = IntegerIfValid(state_.nText);
    if (!k || !n) return NoEstimateText;
    return "  " + DurationText(EstimateDays(calibrationTime_, *k, *n, series, CostFactor()), displayLocale_);
}

long double Session::CostFactor() const { return RunCostFactor(RatingInputs(), calibrationInputs_) * loadFactor_; }

void Session::LearnLoad(const WorkTiming& timing)
{
    // Shorter work says more about the clock's resolution than about the machine.
    constexpr double MeasurableWork = 0.05;
    constexpr double MostLoad = 100.0;
    if (!(timing.cpuSeconds >= MeasurableWork) || !(timing.wallSeconds >= 0.0)) return;
    loadFactor_ = std::clamp(timing.wallSeconds / timing.cpuSeconds, 1.0, MostLoad);
}

ModelingRun Session::PrepareRun() const { return state_.PrepareRun(); }

void Session::CommitRun(ModelingRun&& run)
{
    LearnLoad(run.timing);
    state_.CommitRun(std::move(run));
}

void Session::Run(const WorkControl& control)
{
    ModelingRun run = PrepareRun();
    run.Execute(control);
    CommitRun(std::move(run));
}

void Session::ApplyQuestionnaire(const QuestionnaireAnswers& answers) { state_.ApplyQuestionnaire(answers); }

void Session::SetPanel(ExpertPanel panel) { state_.SetPanel(std::move(panel)); }

void Session::SetPlanInputs(PlanInputs inputs) { state_.SetPlanInputs(std::move(inputs)); }

}  // namespace kestal
