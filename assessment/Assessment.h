// What an engineer assesses and saves: ratings, run size, captured measures, budget and damage,
// the questionnaire, run and study results, the expert panel and the plan's inputs, with the
// operations on them. A value of its own: built, read, compared and saved without a window or a
// clock (each run is handed the clock it reads).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "analysis/BestMeasures.h"
#include "analysis/ExactNodes.h"
#include "analysis/ExpertPanel.h"
#include "analysis/FactorImportance.h"
#include "analysis/RunPrecision.h"
#include "assessment/Work.h"
#include "common/Clock.h"
#include "factors/Settings.h"
#include "measures/Capture.h"
#include "measures/MeasureStore.h"
#include "measures/Study.h"
#include "measures/Totals.h"
#include "measures/TypedAmount.h"
#include "network/Network.h"
#include "network/ResultGrid.h"
#include "network/Series.h"
#include "questionnaire/Questionnaire.h"

namespace kestal {

// How long finished work took on the thread that ran it: by the wall clock and in processor time.
// Their ratio is how much the rest of the machine slowed the work down.
struct WorkTiming {
    double wallSeconds = 0.0;
    double cpuSeconds = 0.0;
};

// A modeling run taken off the assessment: copies of what it works on, so that it can run on another
// thread while the assessment stays as it was, and be committed or dropped when it ends.
struct ModelingRun {
    GertNetwork net;
    SeriesTable series;
    WorkTiming timing;  // set by Execute
    // K batches of N; WorkStopped when the control asks to stop.
    void Execute(const WorkControl& control);
};

// A measure study taken off the assessment, the same way.
struct MeasureStudy {
    MeasureTables measures;
    SettingsTable settings;
    GertNetwork net;
    SeriesTable series;
    StudyParameters parameters;
    Budget budget;
    std::string damageText;
    WorkTiming timing;  // set by Execute
    void Execute(const WorkControl& control);
};

// The best set of measures taken off the assessment: copies of the ratings, the captured measures,
// the budget and the damage, so that it can be judged on another thread.
struct BestSetWork {
    NetworkInputs ratings;
    std::vector<CandidateMeasure> measures;
    long double budget = 0.0L;
    long double damage = 0.0L;
    // The control hears of the progress in subsets and may stop the work (WorkStopped).
    MeasureOptimum Execute(const WorkControl& control = {}) const;
};

// The inputs of a plan to a target: the target (a probability 0 … 1; none while not given) and,
// for the factors that carry one or whose allowed levels are narrowed, the cost of one level step
// (≥ 0; none: the factor is not changed) and the levels it may take, low ≤ high within 1 … 11.
struct PlanFactorInput {
    int factor = 0;  // catalogue index
    std::optional<long double> costPerStep;
    int low = 1;
    int high = LevelCount;
    bool operator==(const PlanFactorInput&) const = default;
};
// The most one level step may cost.
constexpr long double MostPlanStepCost = 1e15L;
struct PlanInputs {
    std::optional<long double> target;
    std::vector<PlanFactorInput> factors;  // in catalogue order, each factor at most once
    bool operator==(const PlanInputs&) const = default;
};

// Every operation checks all it reads first, then changes the assessment, or raises the system's
// message (KestalError) and changes nothing.
struct Assessment {
    // A new assessment: the initial ratings, K = 200, N = 4000, no measures, budget 1500, damage 10^7.
    Assessment();

    // The factor ratings and the simulation's own state: inputs, random source, series (whose K
    // and N are those of the run size texts where these are integers). The network's clock is never
    // read here: the runs are handed theirs.
    SettingsTable settings = InitialSettings();
    GertNetwork net;
    SeriesTable series;

    // The run size as typed, shared by both pages' K and N fields.
    std::string kText = "200";
    std::string nText = "4000";
    // One block per completed modeling run, oldest first, each with the ratings it ran with.
    std::vector<RunBlock> results;

    // The captured measures (name, cost, changes), the plan table and the study's ranked records.
    MeasureTables measures;
    // The budget and the damage: the amounts read once where their texts entered (none while a text
    // is no number), and the texts as typed, kept for showing them and for the messages that name them.
    std::optional<long double> budget = 1500.0L;
    std::optional<long double> damage = 10'000'000.0L;
    std::string budgetText = "1500";
    std::string damageText = "10000000";

    // The questionnaire: the level it chose last (a T03 item) and the answers it was applied with.
    uint8_t QuestionnaireLevel = 6;
    QuestionnaireAnswers answers{};

    // The expert panel of the assessment; none while it has no experts.
    ExpertPanel panel;

    // What the plan to a target was last asked.
    PlanInputs plan;

    int32_t RunCounter() const { return static_cast<int32_t>(results.size()); }
    bool operator==(const Assessment&) const = default;

    // ---- Ratings, run size, amounts ----
    // Factor `factor` (catalogue index) rated at item `item` (0..10) of its list.
    void Rate(int factor, int item);
    // The run size texts; the series' K and N follow wherever the texts are integers.
    void SetKText(const std::string& text);
    void SetNText(const std::string& text);
    void SetBudget(const TypedAmount& amount);
    void SetDamage(const TypedAmount& amount);
    TypedAmount BudgetAmount() const { return {budget, budgetText}; }
    TypedAmount DamageAmount() const { return {damage, damageText}; }

    // ---- Measures ----
    // `draft` becomes the next captured measure, as CaptureMeasure takes it against the current
    // ratings and the measures captured so far. A measure that changes something is refused first
    // when its name is blank.
    CaptureResult Capture(const MeasureDraft& draft);
    // "Сброс": no measure captured, the store and the plan table's measure columns empty.
    void ResetMeasures();

    // ---- Modeling run and study ----
    // The speed calibration under the current ratings, on the assessment's own generator as a run
    // draws from it (entries 0..10 of the series): the processor time of one round, a fraction of a
    // day, as `clock` measures it.
    double Calibrate(const Clock& clock);
    // The run with the current ratings and run size, taken off the assessment (K and N checked); its
    // batches reseed from `clock`, which must outlive the run.
    ModelingRun PrepareRun(const Clock& clock) const;
    // A finished run's block appended to the results; the random source and series go on from it.
    void CommitRun(ModelingRun&& run);
    // The study of the captured measures, taken off the assessment (every text checked first), on
    // `clock` as a run.
    MeasureStudy PrepareStudy(const Clock& clock) const;
    // A finished study's ranked records into the measure tables.
    void CommitStudy(MeasureStudy&& study);

    // ---- Questionnaire and expert panel ----
    // "Применить" with these answers: the level they rate is kept for T03 (a rating that names no
    // level keeps the previous one). An answer its criterion does not offer is refused.
    void ApplyQuestionnaire(const QuestionnaireAnswers& answers);
    // The panel becomes `panel` (no experts: no panel). Refused with nothing changed unless it has
    // 2 to 12 experts, each with a name that is neither empty nor begins or ends with a blank and that
    // no other expert has, and every level a level number or no opinion.
    void SetPanel(ExpertPanel panel);
    // The plan's inputs become `inputs`. Refused with nothing changed unless the target is a
    // probability 0 … 1 (or none) and the factors are in catalogue order, each once, each cost a
    // number 0 … MostPlanStepCost (or none) and 1 ≤ low ≤ high ≤ 11.
    void SetPlanInputs(PlanInputs inputs);

    // ---- Exact analysis ----
    NetworkInputs RatingInputs() const;
    NodeProbabilities ExactNodes() const;
    ImportanceTable Importance() const;
    // The last run judged against the exact probabilities of its own ratings and the current ones;
    // nothing before a run.
    std::optional<JudgedRun> JudgedLastRun() const;
    // Whether the current ratings differ from those the last run was made with; false before a run.
    bool RatingsChangedSinceRun() const;
    // The captured measures as the optimizer takes them, in capture order; a change to the level a
    // factor has now is left out (it changes nothing), the measure keeps its other changes.
    std::vector<CandidateMeasure> CapturedCandidates() const;
    // Why the best set would be refused now, as one line for the user (not 2 to 15 measures, a budget
    // or damage that is no number, a damage below 1); empty when it would not.
    std::string BestMeasuresProblem() const;
    // Every set of the captured measures judged exactly against the budget and the damage, taken off
    // the assessment; refused with BestMeasuresProblem's line when there is one.
    BestSetWork PrepareBestMeasures() const;
};

// A run's precision against the exact probabilities of the ratings it ran with.
RunPrecision PrecisionOf(const RunBlock& block);
// A run judged against the exact probabilities of its own ratings, and whether `current` ratings
// differ from them.
JudgedRun Judge(const RunBlock& block, const NetworkInputs& current);

inline constexpr const char* BlankMeasureNameText = "Введите название мероприятия";
inline constexpr const char* BestSetCountText = "Для подбора лучшего набора нужно от 2 до 15 мероприятий";
inline constexpr const char* BestSetBudgetText = "Для подбора лучшего набора сумма средств должна быть числом";
inline constexpr const char* BestSetDamageText = "Для подбора лучшего набора величина ущерба должна быть числом";
inline constexpr const char* BestSetDamageAmountText =
    "Для подбора лучшего набора величина ущерба должна быть не меньше 1";

}  // namespace kestal
