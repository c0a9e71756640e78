// Helpers of the measure tests: a page with its editor rows, captures by factor id and level item,
// and a simulation reading a fixed clock.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "measures/Capture.h"
#include "measures/Study.h"
#include "common/Clock.h"
#include "support/FactorIndex.h"

using namespace kestal;

namespace measure_test {

// A factor id and the list item its track bar is moved to.
using Move = std::pair<const char*, int>;

// The measure page at start-up, with the tables, the settings and a simulation on a fixed clock.
struct MeasurePage {
    std::unique_ptr<MeasureTables> tables = std::make_unique<MeasureTables>();
    SettingsTable settings = InitialSettings();
    EditorRows rows;
    FixedClock clock{4321000};
    std::unique_ptr<GertNetwork> net = std::make_unique<GertNetwork>();
    std::unique_ptr<SeriesTable> series = std::make_unique<SeriesTable>();
    std::string budget = "1500";
    std::string damage = "10000000";

    MeasurePage()
    {
        InitPlanTable(*tables);
        ClearMeasureStore(*tables);
        for (int f = 0; f < FactorCount; ++f) {
            const FactorInfo& factor = FactorCatalogue[f];
            rows[f] = {factor.defaultItem, factor.defaultItem, false, StartLevelText(factor), StartLevelText(factor)};
        }
        net->clock = &clock;
        CopySettingsToInputs(settings, net->inputs);
    }

    // Track bars moved as the editor moves them: position and after-caption.
    void MoveTrackBars(const std::vector<Move>& moves)
    {
        for (const auto& [id, item] : moves) {
            EditorRow& row = rows[FactorIndex(id)];
            row.position = item;
            row.levelAfter = (*FindFactor(id)->wording)[item];
        }
    }

    CaptureInput Input(const std::string& name, const std::string& cost) const
    {
        const NumberLocale en = EnglishNumberLocale();
        return {{name, ReadAmount(cost, en), PendingChanges(rows)}, ReadAmount(budget, en), ReadAmount(damage, en)};
    }

    // ">>" with the moves made and the page updated as the window updates it: changed rows locked.
    CaptureResult Capture(const std::string& name, const std::string& cost, const std::vector<Move>& moves)
    {
        MoveTrackBars(moves);
        CaptureResult result = CaptureMeasure(*tables, settings, Input(name, cost));
        for (int f : result.lockedFactors) rows[f].locked = true;
        return result;
    }

    int Study(const std::string& k = "5", const std::string& n = "4000", const StudyProgress& progress = {})
    {
        const NumberLocale en = EnglishNumberLocale();
        return RunStudy(*tables, settings, *net, *series, {k, n, ReadAmount(budget, en), ReadAmount(damage, en)},
                        progress);
    }
};

// Measures whose effect on the accident frequency is large and sure.
inline const std::vector<Move> SaferMoves = {{"H08", 10}, {"H14", 10}, {"C03", 0}, {"T06", 10}};
inline const std::vector<Move> RiskierMoves = {{"H03", 0}, {"H09", 0}, {"M08", 0}, {"T04", 10}};

}  // namespace measure_test
