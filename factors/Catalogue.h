// The catalogue of the 30 factors: ids, slots, groups, names, level-list wordings and defaults.
#pragma once

#include <array>
#include <string_view>

#include "factors/Levels.h"

namespace kestal {

// Group letters, in the order of the pages: H "Человек", M "Машина", C "Рабочая среда", T "Технология".
constexpr int GroupCount = 4;
struct FactorGroup {
    char letter;          // 'H', 'M', 'C', 'T' (Latin)
    const char* caption;  // page caption
};
extern const std::array<FactorGroup, GroupCount> FactorGroups;

// The eleven item texts of a factor's level list (wordings A to G).
using LevelWording = std::array<const char*, LevelCount>;

struct FactorInfo {
    const char* id;               // "H01"
    int slot;                     // FactorSlot 0..29
    int group;                    // index into FactorGroups
    const char* displayName;      // the name on one line, or the first line of two
    const char* displayName2;     // the second line, or nullptr
    const LevelWording* wording;  // the list's items
    int defaultItem;              // item selected at start-up (0..10)
};

// The 30 factors in the order of the pages and panels: H01–H09, H12–H14, M01–M08, C01–C04,
// T01–T06. This is also the capture order of the measures.
extern const std::array<FactorInfo, 30> FactorCatalogue;

// Lookup by id ("H01"); nothing for an unknown id.
const FactorInfo* FindFactor(std::string_view id);
// The position (0..29) of an entry of FactorCatalogue: the index of the panels, rows and tree nodes
// that the window and the measure editor keep per factor.
int CatalogueIndex(const FactorInfo& factor);
// The factor of a slot (0..29).
const FactorInfo& FactorBySlot(int slot);

}  // namespace kestal
