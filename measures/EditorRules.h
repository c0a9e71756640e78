// The measure editor's rules: the editor rows, the monitor tree's texts and addressing, and when
// ">>" and the study's run button may be used.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "measures/MeasureStore.h"
#include "measures/TypedAmount.h"
#include "common/NumberLocale.h"
#include "factors/Catalogue.h"
#include "factors/Settings.h"

namespace kestal {

// One factor row of the measure page as the editor shows it: the level and its caption come from the
// ratings, the lock from the captured measures, the bar and its caption from the editor.
struct EditorRow {
    int currentItem = 0;      // item index of the factor's list cbXX: its current level (-1: none selected)
    int position = 0;         // track bar tbXX, 0..10: the level the pending measure gives the factor
    bool locked = false;      // the panel is disabled: the factor belongs to a captured measure
    std::string levelBefore;  // caption of st1_XX
    std::string levelAfter;   // caption of st2_XX
    bool operator==(const EditorRow&) const = default;
};
// One row per factor, in the order of FactorCatalogue.
using EditorRows = std::array<EditorRow, FactorCount>;

// The level text the page shows for a factor at start-up, before any level is chosen: its default
// item's text, except that H05 reads "Высокое" where its list misprints that item as "Высокоу".
std::string StartLevelText(const FactorInfo& factor);
// The list item a level caption stands for: the item with that text, the default item for the
// start-up text, otherwise -1.
int ItemOfLevelText(const FactorInfo& factor, const std::string& text);
// The caption of the level the factor is rated at in `settings` (st1_XX): its list's text of the
// item, or StartLevelText while the factor was never rated from its list.
std::string LevelCaption(const SettingsTable& settings, const FactorInfo& factor);

// Texts of the monitor tree.
inline constexpr const char* TreeRootText = "Комплекс мер";
inline constexpr const char* ChangesNodeText = "Изменения факторов ЧМС";
inline constexpr const char* CostNodeText = "Затраты";
inline constexpr const char* NoChangeText = "нет изменений";
// "Мероприятие " + number: the name of measure `number`.
std::string MeasureNameText(int number);

// Image of a change node: 4 for H, 5 for M, 6 for C, 7 for T factors.
int GroupImage(const FactorInfo& factor);

// Text of a change node: "нет изменений" when the track bar stands on the current level,
// otherwise "H01  (+2) --> " or "H01  ( -2) --> " followed by item `position` of the factor's list.
std::string ChangeNodeText(const FactorInfo& factor, int currentItem, int position);

// Whether a money amount (cost, budget, damage) is one a measure or a study can use: at least 1. A
// text that is no number raises the conversion error.
bool AmountAtLeastOne(const TypedAmount& amount);

// Readiness of ">>" after a change of the cost: nothing (leave ">>" as it is) for an empty text;
// disabled for an amount below 1; otherwise enabled when some factor's before and after captions
// differ. A text that is no number raises the conversion error.
std::optional<bool> ReadinessAfterCostChange(const TypedAmount& cost, const EditorRows& rows);

// Readiness of ">>" after the user moved a track bar: disabled when it stands on the current level;
// otherwise enabled when the cost is an amount of at least 1, else left as it is.
std::optional<bool> ReadinessAfterMove(int currentItem, int position, const TypedAmount& cost);

// The study's run button: budget and damage amounts of at least 1 and at least two measures. The
// damage is read only when the budget passes.
bool RunButtonEnabled(const TypedAmount& budget, const TypedAmount& damage, int measureCount);

}  // namespace kestal
