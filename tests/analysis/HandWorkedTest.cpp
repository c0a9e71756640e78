// Factor importance and the best set of measures on a network worked out by hand.
//
// Every slot 0.0 passes every stage (S3 = 2400, see the network's all-zero case) and leaves
// S4 = 2400 × (x28·x30 + x29 + x31). With M08 at 2.0 draw 31 is always 0, so an initiation is an
// accident unless x29 = 0 (T06: probability q(T06), the states below it over 2^32) and
// x28·x30 = 0 (x28 = 1 with probability q(M07), x30 = 1 with probability q(M06)). Without
// accidents' other causes the exact probabilities are products of these masses and come out exact.
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>
#include <vector>

#include "analysis/BestMeasures.h"
#include "analysis/FactorImportance.h"
#include "network/StateBounds.h"

using namespace kestal;

namespace {

using namespace InputSlot;

long double StatesBelowOver2To32(float p) { return StatesBelow(p) * 0x1p-32L; }

NetworkInputs HandWorkedNetwork()
{
    NetworkInputs in;
    in.slot.fill(0.0f);
    in.slot[M08] = 2.0f;
    return in;
}

TEST(FactorImportance, HandWorkedNetwork)
{
    NetworkInputs in = HandWorkedNetwork();
    in.slot[T06] = LevelTable[0].value;
    const ImportanceTable table = RankFactorImportance(in);
    EXPECT_EQ(table.accident, 1 - StatesBelowOver2To32(LevelTable[0].value));

    const auto row = [&table](const char* id) {
        return *std::find_if(table.factors.begin(), table.factors.end(),
                             [id](const FactorImportance& r) { return std::string(r.factor->id) == id; });
    };
    // T06 alone decides: the higher its level, the fewer accidents.
    const FactorImportance t06 = row("T06");
    EXPECT_EQ(t06.level, 1);
    for (int item = 0; item < LevelCount; ++item) {
        EXPECT_EQ(t06.accident[item], 1 - StatesBelowOver2To32(LevelTable[item].value)) << item;
    }
    EXPECT_EQ(t06.bestLevel, 11);
    EXPECT_EQ(t06.worstLevel, 1);
    EXPECT_EQ(t06.reduction, table.accident - t06.accident[10]);
    // M07 and M06 each meet the other's 0 in x28·x30: no level changes anything; ties go to level 1.
    std::array<long double, LevelCount> unchanged;
    unchanged.fill(table.accident);
    for (const char* id : {"M06", "M07"}) {
        const FactorImportance r = row(id);  // level 0: 0.0 is no level's value
        EXPECT_EQ(std::tie(r.level, r.accident, r.bestLevel, r.worstLevel, r.reduction),
                  std::make_tuple(0, unchanged, 1, 1, 0.0L))
            << id;
    }
    // Largest reduction first; equal reductions in catalogue order.
    for (int i = 1; i < FactorCount; ++i) {
        const FactorImportance& a = table.factors[i - 1];
        const FactorImportance& b = table.factors[i];
        EXPECT_GE(a.reduction, b.reduction);
        if (a.reduction == b.reduction) {
            EXPECT_LT(CatalogueIndex(*a.factor), CatalogueIndex(*b.factor));
        }
    }
}

// Four measures, each setting one factor to 0.5 (q = q(0.5)): A on T06 (cost 30), B on M07 (10),
// C on M06 (20), D on M08 (10, draw 31 then 1 with probability 1 - q). Without A, x29 = 1 and
// every initiation is an accident. With A, an accident is avoided with probability
// q · (q if D) · (1 - q² if B and C).
TEST(BestMeasures, HandWorkedNetwork)
{
    const std::vector<CandidateMeasure> measures = {
        {"A", 30.0f, {{T06, 0.5f}}},
        {"B", 10.0f, {{M07, 0.5f}}},
        {"C", 20.0f, {{M06, 0.5f}}},
        {"D", 10.0f, {{M08, 0.5f}}},
    };
    const long double damage = 1000.0L;
    const long double q = StatesBelowOver2To32(0.5f);
    const auto avoided = [q](uint32_t m) {
        const bool a = m & 1, b = m & 2, c = m & 4, d = m & 8;
        return a ? q * (d ? q : 1) * (b && c ? 1 - q * q : 1) : 0.0L;
    };
    const MeasureOptimum optimum = OptimizeMeasures(HandWorkedNetwork(), measures, 45.0L, damage);
    EXPECT_EQ(optimum.baseline, 1.0L);

    // Benefit q (A, AB, AC), q(1 - q²) (ABC), q² (AD, ABD, ACD), q²(1 - q²) (ABCD), then 0: ties by
    // cost (doing nothing first), then fewer measures (C before BD), then the earlier first
    // differing member (B before D, BC before CD).
    const std::vector<uint32_t> order = {1, 3, 5, 7, 9, 11, 13, 15, 0, 2, 8, 4, 10, 6, 12, 14};
    ASSERT_EQ(optimum.subsets.size(), order.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        const MeasureSubset& s = optimum.subsets[i];
        EXPECT_EQ(s.members, order[i]) << i;
        EXPECT_NEAR(s.accident, 1 - avoided(s.members), 1e-18L) << s.members;
        EXPECT_NEAR(s.benefit, avoided(s.members) * damage, 1e-15L) << s.members;
        EXPECT_EQ(s.ratio, s.members ? s.benefit / s.cost : 0) << s.members;
        // Only doing nothing (cost 0, benefit 0) and A (cost 30, benefit q) are dominated by no
        // other subset.
        EXPECT_EQ(s.pareto, s.members == 0 || s.members == 1) << s.members;
        EXPECT_FALSE(s.harmful);
    }
    EXPECT_EQ(optimum.best, 1u);
    // Within 25 only benefits of 0 remain: doing nothing is best, as A does not fit.
    for (const long double budget : {25.0L, 5.0L}) {
        const MeasureOptimum within = OptimizeMeasures(HandWorkedNetwork(), measures, budget, damage);
        EXPECT_FALSE(within.best);
        EXPECT_EQ(within.reason, NoBestSet::NoneWithinBudget);
    }
}

}  // namespace
