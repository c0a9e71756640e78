// The measure study: each captured measure and each combination of them judged by simulation
// against the budget, then ranked by benefit per cost.
#pragma once

#include <functional>
#include <string>

#include "measures/MeasureStore.h"
#include "network/Network.h"
#include "network/Series.h"
#include "measures/TypedAmount.h"
#include "factors/Settings.h"

namespace kestal {

// What the study reads of the page: the run size as typed, the budget and the damage.
struct StudyInputs {
    std::string kText;   // cbInputKOpt
    std::string nText;   // cbInputNOpt
    TypedAmount budget;  // edAllMoney
    TypedAmount damage;  // edDamage
};

// What a study reports while it runs.
struct StudyProgress {
    // After every step, with the step's number (1, 2, ...) and the bar's maximum (5 or 10). A
    // two-measure study takes six steps against a maximum of 5: a bar shows min(position, maximum).
    std::function<void(int position, int maximum)> step;
    // Within and after every experiment of every evaluation (see RunSeries).
    ExperimentProgress experiment;
    // After each series the study judges or skips as over the budget, with the number done so far
    // and StudySeriesCount: the share of the study done.
    std::function<void(int done, int total)> series;
};

inline constexpr const char* StudyCountText = "Для расчета нужно 2 или 3 мероприятия";
// Ratio marks of a combination over the budget: below every candidate with a ratio of 0 or more.
constexpr float PairStudyOverBudget = -159.0f;
constexpr float TripleStudyOverBudget = -170.0f;

// Plan column `column` applied onto the network inputs (cells with a Value above 0 only; the
// caller loads the settings first and restores them afterwards), then K batches of N (the series'
// K and N) with the accident counts into the series' accident column. Returns their mean / N in
// single precision: the accident frequency per initiation.
float EvaluateMeasure(const MeasureTables& tables, int column, GertNetwork& net, SeriesTable& series,
                      const ExperimentProgress& progress = {});

// Selection sort of store positions 1..count, descending by Ratio; whole records are exchanged and
// a later record wins only with a strictly greater ratio, so the sort is not stable.
void SortMeasures(MeasureTables& tables, int count);

// The series of K × N a study of `measures` captured measures simulates at most (all within the
// budget): the baseline, each measure and each combination, 4 for two measures and 8 for three;
// 0 for any other count, which a study refuses.
int StudySeriesCount(int measures);

// The study's parameters, parsed and checked.
struct StudyParameters {
    int measures;  // 2 or 3
    int32_t k;
    int32_t n;
    long double budget;
    long double damage;
};

// Everything a study needs before it may change anything: refused with KestalError unless
// MeasureCount is 2 or 3, K and N are integers in range (CheckRunParameters) and budget and damage
// are floating-point numbers.
StudyParameters CheckStudy(const MeasureTables& tables, const StudyInputs& inputs);

// The study with checked parameters: plan column 0 := the settings, K and N into the series, the
// store reset to the captured measures (positions behind them empty), the baseline, each measure
// and each combination judged (combinations in positions 3 / 4..7, built in columns 12 / 4..7),
// and the store sorted. The network inputs hold the settings at the end. Returns the number of
// candidates, 3 or 7.
int RunStudy(MeasureTables& tables, const SettingsTable& settings, GertNetwork& net, SeriesTable& series,
             const StudyParameters& parameters, const StudyProgress& progress = {});

// CheckStudy, then RunStudy.
int RunStudy(MeasureTables& tables, const SettingsTable& settings, GertNetwork& net, SeriesTable& series,
             const StudyInputs& inputs, const StudyProgress& progress = {});

}  // namespace kestal
