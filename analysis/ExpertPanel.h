// An expert panel: several experts' levels per factor, the consensus, and the band of every node's
// exact probability over the experts' ratings (their agreement is in PanelConcordance.h).
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "network/Network.h"
#include "common/NumberLocale.h"
#include "factors/Catalogue.h"

namespace kestal {

constexpr int MinPanelExperts = 2;
constexpr int MaxPanelExperts = 12;
// An expert's "level" of a factor he gave no opinion on.
constexpr int NoOpinion = 0;

// A level number 1 … 11; anything else in a panel counts as no opinion.
bool IsLevelNumber(int level);

struct PanelExpert {
    std::string name;
    // By catalogue index (H01 … T06): a level number 1 … 11, or NoOpinion.
    std::array<int, FactorCount> level{};
    bool operator==(const PanelExpert&) const = default;
};

struct ExpertPanel {
    std::vector<PanelExpert> experts;  // in the order they were added (the columns of the table)
    bool operator==(const ExpertPanel&) const = default;
};

// The smallest "Эксперт N" no expert of the panel is called: the name a new expert starts with.
std::string FreeExpertName(const ExpertPanel& panel);

// What the experts said of one factor that at least one of them rated.
struct FactorOpinions {
    const FactorInfo* factor;
    std::vector<int> levels;  // the levels given, in the experts' order (no-opinion skipped)
    int lowest;
    int highest;
    int consensus;  // the median level; of two middle values, the lower
};

// The factors some expert rated, in catalogue order.
std::vector<FactorOpinions> PanelOpinions(const ExpertPanel& panel);

// The band: each factor's level drawn from its experts' ratings, each rating with equal weight,
// factors independent; a factor no expert rated keeps the assessment's value.
constexpr std::uint64_t MaxEnumeratedSets = 65536;
constexpr std::uint64_t SampledSets = 20000;
// The generator's seed for sampling: the same panel always gives the same band.
constexpr uint32_t PanelSamplingSeed = 20000;

enum class BandMethod { Enumeration, Sampling };

// The distribution of one node's exact probability over the rating sets. Pq is the smallest value
// whose cumulative weight reaches q (within 1e-12 of the total weight).
struct NodeBand {
    long double mean, min, max, p05, p50, p95;
};

// Var(E[Y | factor]) / Var(Y) of the accident probability Y; 0 when Y does not vary.
struct FactorShare {
    const FactorInfo* factor;
    long double share;
};

struct PanelBand {
    BandMethod method;
    // Enumeration: the product over factors of their distinct levels; sampling: SampledSets.
    std::uint64_t cases;
    std::array<NodeBand, NodeCount> node;
    std::optional<long double> target;
    std::optional<long double> exceedance;  // the weight of the sets whose accident probability exceeds the target
    // The factors with more than one distinct level, largest share first, ties in catalogue order.
    std::vector<FactorShare> shares;
    // The accident probability's distinct values over the sets, ascending, each with the share of the
    // total weight of the sets giving it (the shares sum to 1).
    std::vector<std::pair<long double, long double>> accident;
};

// The number of distinct rating sets (the product of the factors' distinct levels), saturated at
// limit + 1.
std::uint64_t PanelCombinations(const ExpertPanel& panel, std::uint64_t limit = MaxEnumeratedSets);

// Called now and then with the sets done and their total; returning false stops the work.
using PanelProgress = std::function<bool(std::uint64_t done, std::uint64_t total)>;

// The band over `panel` with `ratings` for the factors no expert rated. Enumeration of every
// distinct rating set (weighted by its probability) when there are at most `enumerationLimit`,
// otherwise SampledSets sets drawn from the network's generator seeded with PanelSamplingSeed:
// for each set, each factor with more than one level in catalogue order takes rating
// ⌊u·k⌋ of its k ratings (experts' order), u the generator's next uniform. Nothing when stopped.
std::optional<PanelBand> ComputePanelBand(const ExpertPanel& panel, const NetworkInputs& ratings,
                                          std::optional<long double> target, const PanelProgress& progress = {},
                                          std::uint64_t enumerationLimit = MaxEnumeratedSets);

}  // namespace kestal
