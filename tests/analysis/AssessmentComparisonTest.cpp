// Shapley contributions of differing factors against brute force over orders and their invariants.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <utility>
#include <vector>

#include "analysis/AssessmentComparison.h"
#include "factors/Settings.h"

using namespace kestal;

namespace {

using Levels = std::vector<std::pair<const char*, int>>;  // factor id, level number

NetworkInputs Rated(const Levels& levels)
{
    NetworkInputs inputs = InitialInputs();
    for (const auto& [id, number] : levels) inputs.slot[FindFactor(id)->slot] = LevelTable[number - 1].value;
    return inputs;
}

long double Accident(const NetworkInputs& inputs) { return ExactNodeProbabilities(inputs).node[NodeI]; }

long double SumOf(const AssessmentComparison& c)
{
    long double sum = 0.0L;
    for (const FactorContribution& f : c.contributions) sum += f.contribution;
    return sum;
}

// The Shapley value by its other definition: the mean increment over all |D|! orders.
std::vector<std::pair<const FactorInfo*, long double>> BruteForce(const NetworkInputs& a, const NetworkInputs& b)
{
    std::vector<int> differing;
    for (int slot = 0; slot < FactorCount; ++slot)
        if (a.slot[slot] != b.slot[slot]) differing.push_back(slot);
    std::vector<long double> total(differing.size(), 0.0L);
    std::vector<int> order(differing.size());
    std::iota(order.begin(), order.end(), 0);
    long double orders = 0;
    do {
        NetworkInputs inputs = a;
        long double before = Accident(inputs);
        for (const int i : order) {
            inputs.slot[differing[i]] = b.slot[differing[i]];
            const long double after = Accident(inputs);
            total[i] += after - before;
            before = after;
        }
        ++orders;
    } while (std::next_permutation(order.begin(), order.end()));
    std::vector<std::pair<const FactorInfo*, long double>> phi;
    for (std::size_t i = 0; i < differing.size(); ++i) phi.emplace_back(&FactorBySlot(differing[i]), total[i] / orders);
    return phi;
}

const FactorContribution* Find(const AssessmentComparison& c, const FactorInfo* factor)
{
    for (const FactorContribution& f : c.contributions)
        if (f.factor == factor) return &f;
    return nullptr;
}

// Ten factors moved, some up and some down.
const Levels TenChanges = {{"H01", 2}, {"H04", 10}, {"H08", 3},  {"H12", 11}, {"M01", 1},
                           {"M03", 9}, {"M07", 2},  {"C01", 10}, {"T04", 1},  {"T06", 11}};

TEST(AssessmentComparison, InvariantsOverATableOfPairs)
{
    const struct {
        const char* name;
        Levels a, b;
    } cases[] = {
        {"identical", {{"H01", 4}}, {{"H01", 4}}},
        {"one factor", {}, {{"M03", 2}}},
        {"one factor down", {{"T04", 11}}, {{"T04", 1}}},
        {"four factors", {{"H01", 3}}, {{"H01", 9}, {"M02", 1}, {"C03", 11}, {"T06", 2}}},
        {"ten factors", {}, TenChanges},
        {"fifteen factors, exact",
         {},
         {{"H01", 1},
          {"H02", 2},
          {"H03", 3},
          {"H04", 4},
          {"H05", 5},
          {"H06", 11},
          {"H07", 1},
          {"H08", 10},
          {"H09", 2},
          {"H12", 9},
          {"H13", 3},
          {"H14", 8},
          {"M01", 4},
          {"M02", 7},
          {"M03", 1}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const NetworkInputs a = Rated(c.a), b = Rated(c.b);
        const AssessmentComparison ab = CompareAssessments(a, b);
        const AssessmentComparison ba = CompareAssessments(b, a);
        EXPECT_EQ(ab.difference, Accident(b) - Accident(a));
        EXPECT_EQ(ab.method, ContributionMethod::Exact);
        // They add up to the difference, and swapping A and B flips every sign.
        EXPECT_NEAR(SumOf(ab), ab.difference, 1e-12L * std::fabs(ab.difference));
        ASSERT_EQ(ab.contributions.size(), ba.contributions.size());
        for (const FactorContribution& f : ab.contributions) {
            const FactorContribution* back = Find(ba, f.factor);
            ASSERT_NE(back, nullptr);
            EXPECT_NEAR(back->contribution, -f.contribution, 1e-15L * std::fabs(ab.difference)) << f.factor->id;
            EXPECT_EQ(f.error, 0.0L);
            EXPECT_EQ(back->from, f.to);
            EXPECT_EQ(LevelTable[f.to - 1].value, b.slot[f.factor->slot]);
        }
        // |contribution| largest first, ties in catalogue order.
        for (std::size_t i = 1; i < ab.contributions.size(); ++i) {
            const FactorContribution &x = ab.contributions[i - 1], &y = ab.contributions[i];
            EXPECT_TRUE(std::fabs(x.contribution) > std::fabs(y.contribution) ||
                        (std::fabs(x.contribution) == std::fabs(y.contribution) &&
                         CatalogueIndex(*x.factor) < CatalogueIndex(*y.factor)));
        }
        if (ab.contributions.size() == 1) {
            EXPECT_EQ(ab.contributions[0].contribution, ab.difference);
        }
    }
    const AssessmentComparison same = CompareAssessments(Rated({}), Rated({}));
    EXPECT_EQ(same.difference, 0.0L);
    EXPECT_TRUE(same.contributions.empty());
}

TEST(AssessmentComparison, ExactEqualsTheMeanOverAllOrders)
{
    const NetworkInputs a = Rated({{"H05", 2}, {"M08", 9}});
    const NetworkInputs b = Rated({{"H05", 10}, {"M08", 3}, {"C02", 1}, {"T03", 11}});
    const AssessmentComparison c = CompareAssessments(a, b);
    const auto brute = BruteForce(a, b);
    ASSERT_EQ(brute.size(), 4u);
    ASSERT_EQ(c.contributions.size(), 4u);
    for (const auto& [factor, phi] : brute) {
        const FactorContribution* f = Find(c, factor);
        ASSERT_NE(f, nullptr);
        EXPECT_NEAR(f->contribution, phi, 1e-15L * std::fabs(c.difference)) << factor->id;
    }
}

TEST(AssessmentComparison, SamplingAddsUpAndStaysWithinThreeStandardErrors)
{
    const NetworkInputs a = Rated({}), b = Rated(TenChanges);
    const AssessmentComparison exact = CompareAssessments(a, b);
    const AssessmentComparison sampled = CompareAssessments(a, b, {.exactLimit = 9});
    ASSERT_EQ(sampled.method, ContributionMethod::Sampling);
    EXPECT_NEAR(SumOf(sampled), sampled.difference, 1e-12L * std::fabs(sampled.difference));
    ASSERT_EQ(sampled.contributions.size(), 10u);
    for (const FactorContribution& f : sampled.contributions) {
        EXPECT_GT(f.error, 0.0L) << f.factor->id;
        EXPECT_LE(std::fabs(f.contribution - Find(exact, f.factor)->contribution), 3.0L * f.error) << f.factor->id;
    }
    // Reproducible: the same orders every time.
    const AssessmentComparison again = CompareAssessments(a, b, {.exactLimit = 9});
    for (std::size_t i = 0; i < again.contributions.size(); ++i)
        EXPECT_EQ(again.contributions[i].contribution, sampled.contributions[i].contribution);
}

}  // namespace
