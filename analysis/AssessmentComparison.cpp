// Comparison of two assessments: exact or sampled Shapley contributions of the differing factors.
#include "analysis/AssessmentComparison.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <numeric>
#include <unordered_map>

#include "analysis/FactorImportance.h"
#include "network/RandomSource.h"

namespace kestal {

namespace {

// The accident probability with the differing factors of `members` (bit i: differing[i]) at B's
// values and every other factor at A's; each subset is computed once.
class SubsetValues {
public:
    SubsetValues(const NetworkInputs& a, const NetworkInputs& b, const std::vector<int>& differing)
        : a_(a), b_(b), differing_(differing), variants_(a)
    {}

    long double operator()(uint32_t members)
    {
        const auto known = cache_.find(members);
        if (known != cache_.end()) return known->second;
        NetworkInputs inputs = a_;
        for (std::size_t i = 0; i < differing_.size(); ++i)
            if (members >> i & 1u) inputs.slot[differing_[i]] = b_.slot[differing_[i]];
        const long double value = variants_.Accident(inputs);
        cache_.emplace(members, value);
        return value;
    }

private:
    const NetworkInputs& a_;
    const NetworkInputs& b_;
    const std::vector<int>& differing_;
    const AccidentVariants variants_;  // the stages before the first one S changes are A's
    std::unordered_map<uint32_t, long double> cache_;
};

// φ over every subset. weight[s] = s! (d − s − 1)! / d! = 1 / (d · C(d − 1, s)), C exact in 64 bits.
std::vector<long double> ExactShapley(int d, const std::vector<long double>& value)
{
    std::vector<long double> weight(d);
    uint64_t binomial = 1;  // C(d − 1, s)
    for (int s = 0; s < d; ++s) {
        weight[s] = 1.0L / (static_cast<long double>(d) * static_cast<long double>(binomial));
        binomial = binomial * static_cast<uint64_t>(d - 1 - s) / static_cast<uint64_t>(s + 1);
    }
    std::vector<long double> phi(d, 0.0L);
    const uint32_t all = (uint32_t{1} << d) - 1u;
    for (int f = 0; f < d; ++f) {
        const uint32_t bit = uint32_t{1} << f;
        for (uint32_t members = 0; members <= all; ++members) {
            if (members & bit) continue;
            phi[f] += weight[std::popcount(members)] * (value[members | bit] - value[members]);
        }
    }
    return phi;
}

struct SampledShapley {
    std::vector<long double> mean;
    std::vector<long double> error;
};

// Fisher–Yates shuffles from the random source; per factor, Welford's running mean and variance of
// its increments.
SampledShapley SampleShapley(int d, int orders, uint32_t seed, SubsetValues& v, const ComparisonProgress& progress)
{
    RandomSource random;
    random.RandomSeed = seed;
    std::vector<int> order(d);
    std::vector<long double> mean(d, 0.0L), squares(d, 0.0L);
    const long double start = v(0);
    for (int n = 1; n <= orders; ++n) {
        std::iota(order.begin(), order.end(), 0);
        for (int i = d - 1; i > 0; --i) {
            const int j = static_cast<int>(std::floor(random.NextUniform() * static_cast<long double>(i + 1)));
            std::swap(order[i], order[j]);
        }
        uint32_t members = 0;
        long double before = start;
        for (const int f : order) {
            members |= uint32_t{1} << f;
            const long double after = v(members);
            const long double increment = after - before;
            const long double delta = increment - mean[f];
            mean[f] += delta / static_cast<long double>(n);
            squares[f] += delta * (increment - mean[f]);
            before = after;
        }
        if (progress && n % 50 == 0) progress(n, orders);
    }
    SampledShapley sampled{mean, std::vector<long double>(d)};
    for (int f = 0; f < d; ++f)
        sampled.error[f] =
            std::sqrt(squares[f] / static_cast<long double>(orders - 1) / static_cast<long double>(orders));
    return sampled;
}

// Gives the residue of the sum to the largest contribution (the first of equal ones) until the sum,
// added in list order, is the difference or stops coming closer.
void MakeSumExact(std::vector<FactorContribution>& contributions, long double difference)
{
    if (contributions.empty()) return;
    const auto largest = std::max_element(contributions.begin(), contributions.end(),
                                          [](const FactorContribution& x, const FactorContribution& y) {
                                              return std::fabs(x.contribution) < std::fabs(y.contribution);
                                          });
    long double previous = INFINITY;
    for (int round = 0; round < 4; ++round) {
        long double sum = 0.0L;
        for (const FactorContribution& c : contributions) sum += c.contribution;
        const long double residue = difference - sum;
        if (residue == 0.0L || std::fabs(residue) >= previous) return;
        previous = std::fabs(residue);
        largest->contribution += residue;
    }
}

}  // namespace

AssessmentComparison CompareAssessments(const NetworkInputs& a, const NetworkInputs& b, const ShapleySettings& settings,
                                        const ComparisonProgress& progress)
{
    AssessmentComparison comparison;
    comparison.a = ExactNodeProbabilities(a);
    comparison.b = ExactNodeProbabilities(b);
    comparison.difference = comparison.b.node[NodeI] - comparison.a.node[NodeI];

    // The differing factors' slots, in catalogue order.
    std::vector<int> differing;
    for (const FactorInfo& factor : FactorCatalogue)
        if (a.slot[factor.slot] != b.slot[factor.slot]) differing.push_back(factor.slot);
    const int d = static_cast<int>(differing.size());
    if (d == 0) return comparison;

    SubsetValues v(a, b, differing);
    std::vector<long double> phi, error(d, 0.0L);
    if (d <= std::clamp(settings.exactLimit, 0, LargestExactLimit)) {
        std::vector<long double> value(std::size_t{1} << d);
        for (uint32_t members = 0; members < value.size(); ++members) {
            value[members] = v(members);
            if (progress && members % 1024 == 1023) progress(members + 1, static_cast<int64_t>(value.size()));
        }
        phi = ExactShapley(d, value);
    } else {
        comparison.method = ContributionMethod::Sampling;
        SampledShapley sampled = SampleShapley(d, std::max(settings.orders, 2), settings.seed, v, progress);
        phi = std::move(sampled.mean);
        error = std::move(sampled.error);
    }

    for (int i = 0; i < d; ++i) {
        const FactorInfo& factor = FactorBySlot(differing[i]);
        comparison.contributions.push_back(
            {&factor, LevelNumberOf(a.slot[factor.slot]), LevelNumberOf(b.slot[factor.slot]), phi[i], error[i]});
    }
    MakeSumExact(comparison.contributions, comparison.difference);
    std::stable_sort(comparison.contributions.begin(), comparison.contributions.end(),
                     [](const FactorContribution& x, const FactorContribution& y) {
                         return std::fabs(x.contribution) > std::fabs(y.contribution);
                     });
    return comparison;
}

}  // namespace kestal
