// Capture of the pending measure (">>"): the changed, unlocked factors of the editor rows become
// the next measure of the store and of the plan table.
#pragma once

#include <string>
#include <vector>

#include "measures/EditorRules.h"
#include "measures/MeasureStore.h"
#include "common/NumberLocale.h"
#include "factors/Settings.h"

// What the page shows when ">>" is pressed.
struct CaptureInput {
    EditorRows rows;          // the 30 factor rows, FactorCatalogue order
    std::string name;         // edActName
    std::string costText;     // edExpense
    std::string budgetText;   // edAllMoney
    std::string damageText;   // edDamage
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

// Scans the factors in capture order H01..H14, M01..M08, C01..C04, T01..T06; a factor is changed
// when its track bar differs from its current item and it is not locked. Every text is parsed and
// every limit checked before anything is written: a budget or damage text that is not an integer,
// a cost that is not a number of at least 1, a 16th measure or more than 10 changed factors raise
// KestalError and leave the tables as they were. Otherwise MeasureCount goes up by one, the changes
// go into captured[k - 1] and store position k, the plan column k gets their values and level
// names, ChangeTotal goes up by their number, and Cost and Name are stored.
CaptureResult CaptureMeasure(MeasureTables& tables, const SettingsTable& settings, const CaptureInput& input,
                             const NumberLocale& locale);
