// The plans as a person reads them: one block of lines for each, in the locale's numbers.
#pragma once

#include <string>
#include <vector>

#include "analysis/ExpertPanel.h"
#include "analysis/LevelPlan.h"
#include "analysis/MeasurePlan.h"
#include "common/Formats.h"
#include "common/NumberLocale.h"

namespace kestal {

// How the lines write probabilities: as the window's tabs and the report show them (ProbabilityText,
// four digits), or at full precision as kestal-sim's tables do (GeneralText).
using ProbabilityWriter = std::string (*)(long double value, const NumberLocale& locale);

// "достижимо", or "недостижимо, наименьшая вероятность <lowest>".
std::string ReachText(bool reachable, long double lowest, const NumberLocale& locale,
                      ProbabilityWriter probability = ProbabilityText);

// The members' names in capture order joined by " + " ("без мероприятий" for none).
std::string SetNamesText(uint32_t members, const std::vector<CandidateMeasure>& measures);
// "H03 8 → 9, H14 8 → 11" ("без изменений" for none).
std::string ChangesText(const LevelPlan& plan);

// "Мероприятия: <reach>", then "  набор: …", "  затраты: …", "  происшествие: …".
std::vector<std::string> MeasurePlanLines(const MeasurePlan& plan, const std::vector<CandidateMeasure>& measures,
                                          const NumberLocale& locale, ProbabilityWriter probability = ProbabilityText);
// "Шаги уровней: <reach>", then "  изменения: …", "  затраты: …", "  происшествие: …" and
// "  оптимальность: доказана" or "  оптимальность: не доказана, затраты не меньше <bound>".
std::vector<std::string> LevelPlanLines(const LevelPlan& plan, const NumberLocale& locale,
                                        ProbabilityWriter probability = ProbabilityText);
// "  полоса экспертов: P5 …, P50 …, P95 …": the band of the accident probability after a plan.
std::string PlanBandLine(const PanelBand& band, const NumberLocale& locale,
                         ProbabilityWriter probability = ProbabilityText);

}  // namespace kestal
