// The --measure, --budget and --damage options of kestal-sim, and the measures captured from them:
// shared by study and optimize.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "assessment/Assessment.h"
#include "cli/Options.h"

namespace kestal {

// One --measure: "NAME;COST;ID=NUMBER[,ID=NUMBER...]"; the name may itself hold ';'.
struct MeasureOption {
    std::string text;
    std::string name;
    TypedAmount cost;  // read with CommandLineNumbers
    std::vector<LevelChange> changes;
};

struct MeasureCommandOptions {
    SimulationOptions simulation;
    // When given, they replace the captured measures of the assessment (of --project).
    std::vector<MeasureOption> measures;
    std::optional<std::string> budget;
    std::optional<std::string> damage;
};

// The measure counts a command accepts, and the refusal of any other.
struct MeasureCount {
    bool (*accepts)(int count);
    const char* refusal;
};

// --measure, --budget and --damage, and the command's other options taken by `takeOther`
// (TakeSimulationOption or TakeRatingOption); any other is a usage error. A measure's text must be
// UTF-8, its changes ID=NUMBER entries with no empty entry and no factor twice.
MeasureCommandOptions ParseMeasureCommandOptions(const std::vector<std::string>& args, OptionTaker takeOther,
                                                 const std::vector<std::string>& formats);

// What the study's page would hold before its button is pressed: budget and damage typed, each an
// amount of at least 1; the number of measures (those of the command line, else the assessment's
// captured ones) one that `count` accepts; then the command line's measures, if any, captured in
// turn after "Сброс" from their names, costs and changes, as ">>" captures them. A change must
// leave the factor's current level and may not take a factor of an earlier measure.
// Every refusal names the option, file key or measure at fault.
void SetUpMeasures(const MeasureCommandOptions& options, Assessment& assessment, const MeasureCount& count);

}  // namespace kestal
