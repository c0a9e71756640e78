// The best set of measures against brute force: random ratings and measures, helpful, harmful and
// neutral, every subset judged by the rule itself (largest benefit within the budget, doing nothing
// included, ties by cost, fewer members, earlier first differing member) and by dominance.
#include <gtest/gtest.h>

#include <bit>
#include <random>

#include "analysis/BestMeasures.h"
#include "analysis/ExactNodes.h"
#include "factors/Catalogue.h"

using namespace kestal;

namespace {

long double Accident(const NetworkInputs& in) { return ExactNodeProbabilities(in).node[NodeI]; }

// Whether `a` beats `b` by the rule, written out from the definition: the member lists compared
// from the first measure in capture order.
bool Beats(const MeasureSubset& a, const MeasureSubset& b)
{
    if (a.benefit != b.benefit) return a.benefit > b.benefit;
    if (a.cost != b.cost) return a.cost < b.cost;
    if (std::popcount(a.members) != std::popcount(b.members))
        return std::popcount(a.members) < std::popcount(b.members);
    for (int i = 0; i < 32; ++i)
        if ((a.members >> i & 1) != (b.members >> i & 1)) return a.members >> i & 1;
    return false;
}

struct Case {
    uint32_t seed;
    int measures;
    float budget;
    bool harmful;  // every measure moves its factors to their worst level
};

TEST(BestMeasures, AgreesWithBruteForce)
{
    const Case cases[] = {
        {1, 2, 500, false}, {2, 4, 900, false}, {3, 5, 0, false},   {4, 6, 1e9f, false},
        {5, 3, 800, true},  {6, 5, 1e9f, true}, {7, 0, 100, false}, {8, 1, 100, true},
    };
    int nothingHelps = 0, recommended = 0;
    for (const Case& c : cases) {
        std::mt19937 random(c.seed);
        NetworkInputs baseline;
        for (float& value : baseline.slot) value = LevelTable[random() % LevelCount].value;
        const long double base = Accident(baseline);
        std::vector<CandidateMeasure> measures;
        for (int m = 0; m < c.measures; ++m) {
            CandidateMeasure measure{"М" + std::to_string(m), static_cast<float>(1 + random() % 600), {}};
            for (int n = 0; n < 2; ++n) {
                const int slot = (3 * m + n * 17 + static_cast<int>(random() % 3)) % FactorCount;
                float value = LevelTable[random() % LevelCount].value;
                if (c.harmful) {  // the level that raises the accident probability most, alone
                    long double worst = -1;
                    for (const auto& level : LevelTable) {
                        NetworkInputs in = baseline;
                        in.slot[slot] = level.value;
                        if (const long double p = Accident(in); p > worst) {
                            worst = p;
                            value = level.value;
                        }
                    }
                }
                measure.changes.emplace_back(slot, value);
            }
            measures.push_back(measure);
        }
        const long double damage = 1e7L;
        const MeasureOptimum optimum = OptimizeMeasures(baseline, measures, c.budget, damage);
        ASSERT_EQ(optimum.subsets.size(), std::size_t{1} << c.measures) << c.seed;
        EXPECT_EQ(optimum.baseline, base);

        const MeasureSubset* best = nullptr;
        bool helps = false;
        for (std::size_t i = 0; i < optimum.subsets.size(); ++i) {
            const MeasureSubset& s = optimum.subsets[i];
            NetworkInputs in = baseline;
            long double cost = 0;
            for (int m = 0; m < c.measures; ++m) {
                if (!(s.members >> m & 1)) continue;
                cost += measures[m].cost;
                for (const auto& [slot, value] : measures[m].changes) in.slot[slot] = value;
            }
            EXPECT_EQ(s.cost, cost);
            EXPECT_EQ(s.accident, Accident(in));
            EXPECT_EQ(s.benefit, s.members == 0 ? 0.0L : (base - s.accident) * damage);
            EXPECT_EQ(s.harmful, s.accident > base);
            EXPECT_EQ(s.withinBudget, s.members == 0 || cost <= c.budget);
            if (i > 0) {
                EXPECT_TRUE(Beats(optimum.subsets[i - 1], s)) << c.seed << " " << i;
            }
            bool dominated = false;
            for (const MeasureSubset& o : optimum.subsets)
                dominated |= o.cost <= s.cost && o.benefit >= s.benefit && (o.cost < s.cost || o.benefit > s.benefit);
            EXPECT_EQ(s.pareto, !dominated) << c.seed << " " << s.members;
            helps |= s.accident < base;
            if (s.withinBudget && (!best || Beats(s, *best))) best = &s;
        }
        ASSERT_NE(best, nullptr);
        if (best->members == 0) {
            EXPECT_FALSE(optimum.best) << c.seed;
            EXPECT_EQ(optimum.reason, helps ? NoBestSet::NoneWithinBudget : NoBestSet::NothingHelps) << c.seed;
            nothingHelps += !helps;
        } else {
            EXPECT_EQ(optimum.best, best->members) << c.seed;
            EXPECT_EQ(optimum.reason, NoBestSet::None);
            EXPECT_LT(best->accident, base);
            ++recommended;
        }
        for (const MeasureSubset& s : optimum.subsets) {
            if (c.harmful && std::popcount(s.members) == 1) {
                EXPECT_TRUE(s.harmful || s.accident == base) << c.seed;
            }
        }
    }
    // The table reaches every outcome.
    EXPECT_GE(nothingHelps, 2);
    EXPECT_GE(recommended, 2);
}

}  // namespace
