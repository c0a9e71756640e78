// The accident-process network: its inputs, its node counters and one batch of N initiations.
#pragma once

#include <array>
#include <cstdint>

#include "network/RandomSource.h"
#include "common/Clock.h"

namespace kestal {

constexpr int FactorCount = 30;
constexpr int NodeCount = 8;

// Node order B to I.
enum Node : int { NodeB, NodeC, NodeD, NodeE, NodeF, NodeG, NodeH, NodeI };
// Letters "B".."I" and the result grid's display texts ("Гомеостазис" .. "Происшествие").
extern const std::array<const char*, NodeCount> NodeLetters;
extern const std::array<const char*, NodeCount> NodeDisplayTexts;

// 30 single-precision factor probabilities in slot order C01–C04, H01–H09, H12–H14, M01–M08, T01–T06.
struct NetworkInputs {
    std::array<float, FactorCount> slot{};
    bool operator==(const NetworkInputs&) const = default;
};

// The slots by factor id, for the network's wiring.
namespace InputSlot {
enum : int {
    C01,
    C02,
    C03,
    C04,
    H01,
    H02,
    H03,
    H04,
    H05,
    H06,
    H07,
    H08,
    H09,
    H12,
    H13,
    H14,
    M01,
    M02,
    M03,
    M04,
    M05,
    M06,
    M07,
    M08,
    T01,
    T02,
    T03,
    T04,
    T05,
    T06,
};
}  // namespace InputSlot

// The score thresholds of the four stages: an initiation whose score is at most the threshold
// ends at that stage.
constexpr int32_t Stage1Threshold = 36;
constexpr int32_t Stage2Threshold = 93;
constexpr int32_t Stage3Threshold = 582;
constexpr int32_t Stage4Threshold = 1201;

// Counts of the last batch, node order B to I.
struct OutcomeCounters {
    std::array<int32_t, NodeCount> node{};
    bool operator==(const OutcomeCounters&) const = default;
};

// The simulation's process-wide state: inputs, counters, random source and the clock it reads.
struct GertNetwork {
    NetworkInputs inputs;
    OutcomeCounters counters;
    RandomSource random;
    const Clock* clock = &SystemClock();
    // The same state, whatever clock each reads.
    bool operator==(const GertNetwork& other) const
    {
        return inputs == other.inputs && counters == other.counters && random == other.random;
    }
};

// Zeroes the counters, reseeds from the clock and runs n >= 1 initiations.
void RunNetworkBatch(GertNetwork& net, int32_t n);

// `net` takes the inputs, counters and generator state that work on a copy left, keeping its own clock.
void TakeNetworkState(GertNetwork& net, const GertNetwork& work);

}  // namespace kestal
