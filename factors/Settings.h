// The current ratings of the 30 factors: applying a level, copying them into the network, reading a
// factor's level back.
#pragma once

#include <array>
#include <string>

#include "network/Network.h"
#include "factors/Catalogue.h"

namespace kestal {

constexpr std::size_t RowTextCapacity = 65;
constexpr std::size_t LevelNameCapacity = 20;

struct FactorSetting {
    std::string RowText;  // at most 65 characters (UTF-8)
    float Value = 0.0f;
    std::string LevelName;  // at most 20 characters (UTF-8)
    bool operator==(const FactorSetting&) const = default;
};

// Slot order, as NetworkInputs.
struct SettingsTable {
    std::array<FactorSetting, FactorCount> row;
    bool operator==(const SettingsTable&) const = default;
};

// The initial contents: default values, 15-character level names, both RowText forms.
SettingsTable InitialSettings();

// Sets the factor's Value and LevelName from LevelTable entry `item`; a negative item does nothing.
void ApplyLevel(SettingsTable& settings, const FactorInfo& factor, int item);

// NetworkInputs[k] := settings[k].Value for k = 0..29.
void CopySettingsToInputs(const SettingsTable& settings, NetworkInputs& inputs);
// The network inputs of `settings`, and those of the initial ratings.
NetworkInputs InputsOf(const SettingsTable& settings);
NetworkInputs InitialInputs();

// The list item (0..10) the factor is rated at: the level whose value it has; -1 for none.
int RatedItem(const SettingsTable& settings, const FactorInfo& factor);
// Whether the factor was ever rated from its list: its level name is its level's own, no longer the
// start-up one.
bool RatedFromList(const SettingsTable& settings, const FactorInfo& factor);

}  // namespace kestal
