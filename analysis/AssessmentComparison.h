// Comparison of two assessments: both sets of exact node probabilities, the difference of the
// accident probability and each differing factor's share of it (its Shapley value).
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "analysis/ExactNodes.h"
#include "network/Network.h"
#include "factors/Catalogue.h"

namespace kestal {

// A factor whose rating differs between the two assessments, and its share of the difference.
struct FactorContribution {
    const FactorInfo* factor;
    int from;                  // its level number in A (1 .. 11; 0 when no level has the value)
    int to;                    // its level number in B
    long double contribution;  // its Shapley value
    long double error;         // the contribution's standard error; 0 when exact
};

enum class ContributionMethod { Exact, Sampling };

// How contributions are found: over every subset of the differing factors while there are at
// most `exactLimit`, otherwise as the mean over `orders` random orders of them, drawn from the
// program's random source started at `seed`.
struct ShapleySettings {
    int exactLimit = 15;
    int orders = 2000;
    uint32_t seed = 1;
};
constexpr int LargestExactLimit = 20;

struct AssessmentComparison {
    NodeProbabilities a;
    NodeProbabilities b;
    long double difference = 0.0L;  // P_B(I) - P_A(I)
    ContributionMethod method = ContributionMethod::Exact;
    // One per differing factor, by |contribution| largest first, ties in catalogue order. They add
    // up to `difference`: the rounding residue of their sum is given to the largest.
    std::vector<FactorContribution> contributions;
};

// With D the factors whose slot values differ and v(S) the exact accident probability with the
// factors of S at B's values and all others at A's, each factor f of D contributes
// φ_f = Σ over S ⊆ D∖{f} of |S|! (|D| − |S| − 1)! / |D|! · (v(S ∪ {f}) − v(S)).
// Sampling averages each factor's increment v(prefix ∪ {f}) − v(prefix) over random orders of D
// (each order's increments add up to the difference); its error is the standard error of that mean.
// `settings.exactLimit` is clamped to LargestExactLimit and `settings.orders` to at least 2.
// `progress` hears the subsets (or orders) done and their total now and then; an exception it
// throws ends the work.
using ComparisonProgress = std::function<void(int64_t done, int64_t total)>;
AssessmentComparison CompareAssessments(const NetworkInputs& a, const NetworkInputs& b,
                                        const ShapleySettings& settings = {}, const ComparisonProgress& progress = {});

}  // namespace kestal
