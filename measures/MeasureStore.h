// The measure records, the factor-row plan table and the counters of the measure mode.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "factors/Settings.h"

namespace kestal {

constexpr int MaxCapturedChanges = 10;  // changed factors of one captured measure
constexpr int MaxCombinedChanges = 30;  // a combination holds all its members' changes
constexpr int StorePositions = 24;      // MeasureStore positions 1..24
constexpr int PlanColumns = 16;         // column 0 baseline, 1..15 measures and combinations
constexpr int MaxMeasures = 15;         // captured measures (plan columns 1..15)

// One changed factor of a measure.
struct ChangeFactor {
    std::string Factor;       // the factor's RowText at capture; empty = unused entry
    std::string LevelBefore;  // at most 20 characters
    std::string LevelAfter;   // at most 20 characters
    float ValueBefore = 0.0f;
    float ValueAfter = 0.0f;
    bool operator==(const ChangeFactor&) const = default;
};

// Positions 1..MaxCombinedChanges; used entries are contiguous from position 1 and the first
// entry with an empty Factor ends the list.
struct ChangeFactorS {
    std::array<ChangeFactor, MaxCombinedChanges> entry;
    ChangeFactor& operator[](int position) { return entry[position - 1]; }
    const ChangeFactor& operator[](int position) const { return entry[position - 1]; }
    int Count() const;  // entries before the first empty Factor
    bool operator==(const ChangeFactorS&) const = default;
};

// One safety measure, or a combination of measures built by a study.
struct operation {
    std::string Name;  // empty = free record
    ChangeFactorS Changes;
    float Cost = 0.0f;
    float Delta = 0.0f;
    float Benefit = 0.0f;
    float Ratio = 0.0f;
    bool operator==(const operation&) const = default;
};

struct MeasureTables {
    // MeasureStore positions 1..24 (store[p - 1]); after a study, the ranked candidates.
    std::array<operation, StorePositions> store;
    // The captured measures 1..MeasureCount in capture order, kept apart from the ranked store so
    // that a second study judges them afresh (captured[k - 1] is measure k).
    std::array<operation, MaxMeasures> captured;
    // Row r = FactorSlot, column 0..15.
    std::array<std::array<FactorSetting, PlanColumns>, FactorCount> MeasurePlanTable;
    uint8_t MeasureCount = 0;
    uint16_t ChangeTotal = 0;

    operation& MeasureStore(int position) { return store[position - 1]; }
    const operation& MeasureStore(int position) const { return store[position - 1]; }
    bool operator==(const MeasureTables&) const = default;
};

// Catalogue row texts of the plan table's columns 1..15, row r = FactorSlot.
extern const std::array<const char*, FactorCount> PlanRowTexts;

// Catalogue texts into columns 1..15, their values and level names emptied; column 0 untouched.
void InitPlanTable(MeasureTables& tables);
// Values and level names of columns 1..15 emptied; texts and column 0 untouched.
void ClearPlanTable(MeasureTables& tables);
// All 24 store records and the captured measures emptied.
void ClearMeasureStore(MeasureTables& tables);
// Whether a captured measure changes the factor (named in its changes by its row text in `settings`).
bool HeldByMeasure(const MeasureTables& tables, const SettingsTable& settings, const FactorInfo& factor);

}  // namespace kestal
