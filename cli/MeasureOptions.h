// The --measure, --budget and --damage options of kestal-sim, and the measures captured from them
// as ">>" captures them: shared by study and optimize.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "cli/Options.h"

// One --measure: "NAME;COST;ID=NUMBER[,ID=NUMBER...]"; the name may itself hold ';'.
struct MeasureOption {
    std::string text;
    std::string name;
    std::string cost;
    std::vector<std::pair<int, int>> moves;  // FactorCatalogue index, list item 0..10
};

struct MeasureCommandOptions {
    SimulationOptions simulation;
    std::vector<MeasureOption> measures;
    std::string budget = "1500";
    std::string damage = "10000000";
};

// --measure, --budget and --damage, and the command's other options taken by `takeOther`
// (TakeSimulationOption or TakeRatingOption); any other is a usage error.
MeasureCommandOptions ParseMeasureCommandOptions(const std::vector<std::string>& args, OptionTaker takeOther,
                                                 const std::vector<std::string>& formats);

// Each --measure as the editor takes it, in turn: the name and cost typed, the bars moved, ">>"
// pressed, under the capture's rules (a factor of an earlier measure is refused, a measure must
// leave some factor's current level). Budget and damage are typed first.
void CaptureMeasures(const MeasureCommandOptions& options, Session& session);
