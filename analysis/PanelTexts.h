// The expert panel as a person reads it, in the locale's numbers: the band's lines and tables and
// the experts' opinions, shared by the tab and the report.
#pragma once

#include <string>
#include <vector>

#include "analysis/AnalysisTexts.h"
#include "analysis/ExpertPanel.h"
#include "common/NumberLocale.h"

namespace kestal {

// "Перебор всех наборов оценок: N" or "Выборка наборов оценок: N"; "Вероятность происшествия: P5 …,
// P50 …, P95 …; при текущих оценках …" (`current` the ratings' own value); with a target, the share
// of the sets above it; and the factor to settle first, or that the experts agree everywhere.
std::vector<std::string> BandLines(const PanelBand& band, long double current, const NumberLocale& locale);
// Per node: its letter, mean, minimum, P5, P50, P95, maximum.
TextTable BandTable(const PanelBand& band, const NumberLocale& locale);
// Per disputed factor, largest share first: its id and its share of the accident probability's variance.
TextTable SharesTable(const PanelBand& band, const NumberLocale& locale);
// Per factor some expert rated: its id, the assessment's level (`current`, level numbers by catalogue
// index), the consensus and the experts' range ("4–7", or one level).
TextTable OpinionsTable(const ExpertPanel& panel, const std::array<int, FactorCount>& current);
// "4–7", or "5" where the experts agree.
std::string RangeText(const FactorOpinions& opinions);

}  // namespace kestal
