// The accident-process network: its inputs, its node counters and one batch of N initiations.
#pragma once

#include <array>
#include <cstdint>

#include "GERTnet/RandomSource.h"
#include "common/Clock.h"

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
};

// Counts of the last batch, node order B to I.
struct OutcomeCounters {
    std::array<int32_t, NodeCount> node{};
};

// The simulation's process-wide state: inputs, counters, random source and the clock it reads.
struct GertNetwork {
    NetworkInputs inputs;
    OutcomeCounters counters;
    RandomSource random;
    const Clock* clock = &SystemClock();
};

// Zeroes the counters, reseeds from the clock and runs n >= 1 initiations.
void RunNetworkBatch(GertNetwork& net, int32_t n);
