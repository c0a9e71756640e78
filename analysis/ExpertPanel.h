// An expert panel: several experts' levels per factor, their concordance (Kendall's W), the
// consensus, and the band of every node's exact probability over the experts' ratings.
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

// Kendall's coefficient of concordance over the factors every expert rated: each expert's levels
// ranked 1 … n (ties take the mean of their ranks), R_i the rank sum of factor i,
// S = Σ (R_i − m(n+1)/2)², T_j = Σ (t³ − t) over expert j's tie groups,
// W = 12 S / (m²(n³ − n) − m Σ T_j), χ² = m(n − 1) W on n − 1 degrees of freedom.
struct Concordance {
    bool formed = false;
    std::string reason;  // why W cannot be formed (one line), when it is not
    long double w = 0;
    long double chi2 = 0;
    int df = 0;
    long double pValue = 0;  // upper tail of χ² with df degrees of freedom
    int factors = 0;         // n: the factors every expert rated
    int experts = 0;         // m
};
Concordance PanelConcordance(const ExpertPanel& panel);

// The agreement in words, from W: "согласованность высокая" at W ≥ 0.7, "согласованность средняя"
// at 0.5 ≤ W < 0.7, "согласованность низкая" below 0.5; ", не значима" added when p > 0.05 (the
// agreement could be chance at the 5 % level); "согласованность не определена" where W is not formed.
constexpr long double HighAgreementW = 0.7L;
constexpr long double MediumAgreementW = 0.5L;
constexpr long double AgreementSignificance = 0.05L;
std::string AgreementWords(const Concordance& concordance);
// The agreement as one line: "W Кендалла = 0,8847, χ² = 39,81, степеней свободы 9, p = 8,22E-6
// (факторов 10): согласованность высокая" (numbers to 4 significant digits), or "W Кендалла не
// вычислен: <reason>; согласованность не определена".
std::string AgreementLine(const Concordance& concordance, const NumberLocale& locale);

// The regularized upper incomplete gamma function QText(a, x) = Γ(a, x) / Γ(a), a > 0, x ≥ 0: the
// upper tail of χ² on k degrees of freedom at x is QText(k/2, x/2). Relative accuracy about 1e-15.
long double UpperIncompleteGammaQ(long double a, long double x);

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
