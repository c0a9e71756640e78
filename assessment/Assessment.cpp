// The assessment's ratings, run size, amounts, calibration, modeling run, questionnaire and expert
// panel.
#include "assessment/Assessment.h"

#include <utility>

#include "common/Conversions.h"
#include "common/KestalError.h"
#include "network/Calibration.h"

namespace kestal {

Assessment::Assessment()
{
    InitPlanTable(measures);
    ClearMeasureStore(measures);
    SetKText(kText);
    SetNText(nText);
}

void Assessment::Rate(int factor, int item)
{
    if (factor < 0 || factor >= FactorCount || item < 0 || item >= LevelCount)
        throw KestalError("Недопустимая оценка фактора");
    ApplyLevel(settings, FactorCatalogue[factor], item);
}

void Assessment::SetKText(const std::string& text)
{
    kText = text;
    if (const auto k = IntegerIfValid(text)) series.ExperimentCount = *k;
}

void Assessment::SetNText(const std::string& text)
{
    nText = text;
    if (const auto n = IntegerIfValid(text)) series.InitiationCount = *n;
}

void Assessment::SetBudget(const TypedAmount& amount)
{
    budget = amount.value;
    budgetText = amount.text;
}

void Assessment::SetDamage(const TypedAmount& amount)
{
    damage = amount.value;
    damageText = amount.text;
}

void ModelingRun::Execute(const WorkControl& control)
{
    const double wall = net.clock->MonotonicSeconds(), cpu = net.clock->ThreadCpuSeconds();
    const int64_t n = series.InitiationCount;
    RunSeries(net, series,
              [&](int32_t e, int32_t done) { control.Report((e - 1) * n + done, series.ExperimentCount * n); });
    timing = {net.clock->MonotonicSeconds() - wall, net.clock->ThreadCpuSeconds() - cpu};
}

double Assessment::Calibrate(const Clock& clock)
{
    GertNetwork calibrated = net;
    calibrated.clock = &clock;
    CopySettingsToInputs(settings, calibrated.inputs);
    const double time = RunCalibration(calibrated, series);
    TakeNetworkState(net, calibrated);
    return time;
}

ModelingRun Assessment::PrepareRun(const Clock& clock) const
{
    const RunSize size = ReadRunSize(kText, nText);
    ModelingRun run{net, series, {}};
    run.net.clock = &clock;
    CopySettingsToInputs(settings, run.net.inputs);
    run.series.ExperimentCount = size.k;
    run.series.InitiationCount = size.n;
    return run;
}

void Assessment::CommitRun(ModelingRun&& run)
{
    results.push_back(BlockOfRun(run.net, run.series));
    TakeNetworkState(net, run.net);
    series = std::move(run.series);
}

void Assessment::ApplyQuestionnaire(const QuestionnaireAnswers& given)
{
    for (std::size_t n = 0; n < given.size(); ++n)
        if (!OffersAnswer(static_cast<int>(n), given[n])) throw KestalError("Недопустимый ответ анкеты");
    answers = given;
    if (const auto level = QuestionnaireLevelOf(given)) QuestionnaireLevel = *level;
}

void Assessment::SetPanel(ExpertPanel given)
{
    const std::size_t count = given.experts.size();
    if (count != 0 && (count < MinPanelExperts || count > MaxPanelExperts))
        throw KestalError("В панели от 2 до 12 экспертов");
    for (std::size_t k = 0; k < count; ++k) {
        const std::string& name = given.experts[k].name;
        if (name.empty()) throw KestalError("Имя эксперта не может быть пустым");
        if (name.find_first_of(" \t") == 0 || name.find_last_of(" \t") == name.size() - 1)
            throw KestalError("Имя эксперта «" + name + "» начинается или кончается пробелом");
        for (std::size_t j = 0; j < k; ++j)
            if (given.experts[j].name == name) throw KestalError("Эксперт «" + name + "» в панели уже есть");
        for (const int level : given.experts[k].level)
            if (level != NoOpinion && !IsLevelNumber(level))
                throw KestalError("Уровень " + std::to_string(level) + " эксперта «" + name +
                                  "» — не номер от 1 до 11");
    }
    panel = std::move(given);
}

}  // namespace kestal
