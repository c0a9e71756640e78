// Capture of a measure (">>"): the factors it changes become the next measure of the store and of
// the plan table.
#pragma once

#include <string>
#include <vector>

#include "measures/EditorRules.h"
#include "measures/MeasureStore.h"
#include "measures/TypedAmount.h"
#include "factors/Settings.h"

namespace kestal {

// A factor and the list item (0..10) a measure gives it.
struct LevelMove {
    int factor;  // catalogue index
    int item;
    bool operator==(const LevelMove&) const = default;
};

// A measure to capture: its name, its cost and the levels it gives factors.
struct MeasureDraft {
    std::string name;
    TypedAmount cost;
    std::vector<LevelMove> changes;
};

// The pending measure of the editor rows: each unlocked factor whose bar stands away from its
// level, in catalogue order, at the bar's position.
std::vector<LevelMove> PendingChanges(const EditorRows& rows);

// What a capture reads besides the ratings and the measures captured so far: the measure, and the
// budget and damage the study's button is judged by.
struct CaptureInput {
    MeasureDraft draft;  // edActName, edExpense and the bars moved
    TypedAmount budget;  // edAllMoney
    TypedAmount damage;  // edDamage
};

// What the page does afterwards. In every case ">>" is disabled and the cost field set to "0".
struct CaptureResult {
    // False when no unlocked factor was changed: nothing was written and the press does not count
    // as a measure (MeasureCount unchanged); the tree and the name field stay as they are.
    bool captured = false;
    int measure = 0;                 // k, the number of the captured measure
    std::vector<int> lockedFactors;  // FactorCatalogue indices of the factors to lock, capture order
    std::string costNodeText;        // "Затраты = " + the cost text as typed + " у.е."
    std::string nextName;            // "Мероприятие " + (k + 1): the name field and the next measure node
    bool runEnabled = false;         // buttonRunOpt, by RunButtonEnabled for the new MeasureCount
};

inline constexpr const char* TooManyMeasuresText = "Можно ввести не более 15 мероприятий";
inline constexpr const char* TooManyChangesText = "В одном мероприятии можно изменить не более 10 факторов";
inline constexpr const char* CostBelowOneText = "Затраты на внедрение должны быть не меньше 1 у.е.";

// The measure's changes to a level other than the one the factor is rated at in `settings` are taken
// in capture order H01..H14, M01..M08, C01..C04, T01..T06 (a change to the level a factor has is no
// change); each records the caption of the factor's level (LevelCaption) and its new level's list
// text. Every text and limit is checked before anything is written: a change of no factor or to no
// level, a factor given twice or held by a captured measure, a budget or damage that is no number, a
// cost that is not a number of at least 1, a 16th measure or more than 10 changed factors raise
// KestalError and leave the tables as they were. Otherwise MeasureCount goes up by one, the changes go
// into captured[k - 1] and store position k, the plan column k holds exactly their values and level
// names, ChangeTotal goes up by their number, and Cost and Name are stored.
CaptureResult CaptureMeasure(MeasureTables& tables, const SettingsTable& settings, const CaptureInput& input);

}  // namespace kestal
