// The session: start-up, ratings, run size and estimates, the modeling run and the questionnaire.
#include "assessment/Session.h"

#include <algorithm>
#include <utility>

#include "analysis/RunCost.h"
#include "network/Calibration.h"
#include "assessment/MeasureTree.h"
#include "project/ProjectFile.h"
#include "common/Conversions.h"
#include "common/Formats.h"
#include "common/KestalError.h"

namespace {

int T03() { return CatalogueIndex(*FindFactor("T03")); }

std::optional<int32_t> IntegerOf(const std::string& text)
{
    try {
        return ParseInteger(text);
    } catch (const KestalError&) {
        return std::nullopt;
    }
}

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
    const FactorInfo& info = FactorCatalogue.at(factor);
    ApplyLevel(state_.settings, info, item);
    // The measure page follows; a factor a captured measure holds stays locked.
    const bool locked = state_.editor[factor].locked;
    state_.editor[factor] = FreshEditorRow(info, item);
    state_.editor[factor].locked = locked;
}

void Session::Activate()
{
    SelectLevel(T03(), state_.QuestionnaireLevel);
}

void Session::SetKText(const std::string& text)
{
    state_.kText = text;
    state_.studyEstimateShown = true;
    if (const auto k = IntegerOf(text)) state_.series.ExperimentCount = *k;
}

void Session::SetNText(const std::string& text)
{
    state_.nText = text;
    state_.studyEstimateShown = true;
    if (const auto n = IntegerOf(text)) state_.series.InitiationCount = *n;
}

std::string Session::RunEstimateText() const
{
    const auto k = IntegerOf(state_.kText);
    const auto n = IntegerOf(state_.nText);
    if (!k || !n) return NoEstimateText;
    return "  " + DurationText(EstimateDays(calibrationTime_, *k, *n, 1, CostFactor()), displayLocale_);
}

std::string Session::StudyEstimateText() const
{
    if (!state_.studyEstimateShown) return "";
    const int series = StudySeriesCount(state_.measures.MeasureCount);
    if (state_.measures.MeasureCount > 3) return " Нызнаю";
    if (series == 0) return "  " + DurationText(0.0, displayLocale_);
    const auto k = IntegerOf(state_.kText);
    const auto n = IntegerOf(state_.nText);
    if (!k || !n) return NoEstimateText;
    return "  " + DurationText(EstimateDays(calibrationTime_, *k, *n, series, CostFactor()), displayLocale_);
}

long double Session::CostFactor() const
{
    return RunCostFactor(RatingInputs(), calibrationInputs_) * loadFactor_;
}

void Session::LearnLoad(const WorkTiming& timing)
{
    // Shorter work says more about the clock's resolution than about the machine.
    constexpr double MeasurableWork = 0.05;
    constexpr double MostLoad = 100.0;
    if (!(timing.cpuSeconds >= MeasurableWork) || !(timing.wallSeconds >= 0.0)) return;
    loadFactor_ = std::clamp(timing.wallSeconds / timing.cpuSeconds, 1.0, MostLoad);
}

void ModelingRun::Execute(const WorkControl& control)
{
    const double wall = net.clock->MonotonicSeconds(), cpu = net.clock->ThreadCpuSeconds();
    const int64_t n = series.InitiationCount;
    RunSeries(net, series, [&](int32_t e, int32_t done) {
        control.Report((e - 1) * n + done, series.ExperimentCount * n);
    });
    timing = {net.clock->MonotonicSeconds() - wall, net.clock->ThreadCpuSeconds() - cpu};
}

ModelingRun Session::PrepareRun() const
{
    const RunSize size = ReadRunSize(state_.kText, state_.nText);
    ModelingRun run{state_.net, state_.series, {}};
    CopySettingsToInputs(state_.settings, run.net.inputs);
    run.series.ExperimentCount = size.k;
    run.series.InitiationCount = size.n;
    return run;
}

void Session::CommitRun(ModelingRun&& run)
{
    LearnLoad(run.timing);
    state_.results.push_back(BlockOfRun(run.net, run.series));
    state_.net = run.net;
    state_.series = std::move(run.series);
}

void Session::Run(const WorkControl& control)
{
    ModelingRun run = PrepareRun();
    run.Execute(control);
    CommitRun(std::move(run));
}

void Session::ApplyQuestionnaire(const QuestionnaireAnswers& answers)
{
    for (std::size_t n = 0; n < answers.size(); ++n)
        if (!OffersAnswer(static_cast<int>(n), answers[n])) throw KestalError("Недопустимый ответ анкеты");
    state_.answers = answers;
    if (const auto level = QuestionnaireLevelOf(answers)) state_.QuestionnaireLevel = *level;
}
