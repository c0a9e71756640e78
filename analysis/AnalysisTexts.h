// The exact analysis as texts: the tables and lines the window's page "Анализ" shows and a report
// prints, numbers in the given locale.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "analysis/BestMeasures.h"
#include "analysis/ExactNodes.h"
#include "analysis/FactorImportance.h"
#include "analysis/RunPrecision.h"
#include "common/NumberLocale.h"

namespace kestal {

struct TextTable {
    std::vector<std::string> headers;
    std::vector<std::vector<std::string>> rows;
    int highlightedRow = -1;  // a row to stand out, or none
    int sectionRow = -1;      // a row that opens a section: its title in the first cell, the others empty
};

// "Вероятность происшествия: 0,0005478".
std::string AccidentStatusText(const NodeProbabilities& exact, const NumberLocale& locale);

// Nodes B to I: letter, state, exact probability of the current ratings; after a run (`run` not
// null) its pooled frequency, the bounds of its 95 % interval and whether the exact probability of
// the ratings it ran with lies inside. When the ratings changed since the run, a column
// "Точная при оценках опыта" after the current exact value shows what the run is judged against.
TextTable NodeTable(const NodeProbabilities& exact, const JudgedRun* run, const NumberLocale& locale);

// The line under the node table: before a run, when its figures come; after a run of K experiments,
// "Относительная погрешность частоты происшествия 4,8 %; для 1 % при K = 200 нужно N ≈ 88 000", or
// that 1 % is beyond the generator's reach, or that K·N is beyond it already (more initiations add
// nothing, the exact value is the answer); with a note when the ratings changed since.
std::string PrecisionLine(const JudgedRun* run, const NumberLocale& locale);

// The factors in the order of the table: factor, current level, best level (their list texts),
// the accident probability at the best level and the reduction it offers in % of the current one.
TextTable ImportanceRows(const ImportanceTable& table, const NumberLocale& locale);

// Doing nothing, wherever a set of measures is listed.
inline constexpr const char* NoMeasuresText = "Без мер";
// After a set that raises the accident probability, wherever it is listed.
inline constexpr const char* HarmfulMark = " (повышает вероятность происшествия)";
// The line when no set of measures lowers the accident probability.
inline constexpr const char* NothingHelpsText = "Ни один набор мер не снижает вероятность происшествия";

// "Обучение + Замена приборов": the members' names in capture order; "Без мер" for none.
std::string MembersText(uint32_t members, const std::vector<CandidateMeasure>& measures);
// The members' names, marked when the set raises the accident probability.
std::string SubsetText(const MeasureSubset& subset, const std::vector<CandidateMeasure>& measures);

// The line over the frontier: "Лучший набор в пределах бюджета: …; затраты … у.е., выгода … у.е."
// (the benefit with its sign and significant digits), or in one line why nothing is recommended:
// no set lowers the accident probability, or none that does keeps within the budget.
std::string BestSetLine(const MeasureOptimum& optimum, const std::vector<CandidateMeasure>& measures,
                        const NumberLocale& locale);

// The measures that alone raise the accident probability, each with the probability it gives, and
// how many sets raise it: "Повышают вероятность происшествия (без мер 0,0005478): «Ремонт» — до
// 0,0006; наборов мер, повышающих её: 3 из 8." Empty when no set raises it.
std::string HarmfulLine(const MeasureOptimum& optimum, const std::vector<CandidateMeasure>& measures,
                        const NumberLocale& locale);

// Sets that raise the accident probability listed in the frontier table's section; beyond them
// a last row says how many more there are.
constexpr int HarmfulSetsListed = 30;

// The Pareto frontier, doing nothing included: measures, cost, benefit, ratio, accident
// probability and whether within the budget; the best set first (highlighted), then the others by
// benefit, largest first. Then, when sets off the frontier raise the accident probability, a
// section of them (each marked), the highest probability first, at most HarmfulSetsListed.
TextTable FrontierTable(const MeasureOptimum& optimum, const std::vector<CandidateMeasure>& measures,
                        const NumberLocale& locale);

}  // namespace kestal
