// Plans to reach a target: monotonicity of the exact accident probability, the measure and level
// plans against brute force, stricter targets, unreachable targets and the work limit.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <tuple>
#include <vector>

#include "analysis/ExactNodes.h"
#include "analysis/FactorImportance.h"
#include "analysis/LevelPlan.h"
#include "analysis/MeasurePlan.h"
#include "analysis/PlanBand.h"
#include "factors/Settings.h"

using namespace kestal;

namespace {

long double Accident(const NetworkInputs& in) { return ExactNodeProbabilities(in).node[NodeI]; }

float ValueOf(int level) { return LevelTable[level - 1].value; }

NetworkInputs RandomRatings(std::mt19937& random)
{
    NetworkInputs in;
    for (float& value : in.slot) value = ValueOf(std::uniform_int_distribution<int>(1, LevelCount)(random));
    return in;
}

// What the search assumes: on every rating set each factor's accident probability runs one way
// over its eleven levels, the way WorseUpward gives, never the other.
TEST(Plans, AccidentIsMonotoneInEveryFactorOneWay)
{
    std::mt19937 random(20261207);
    std::vector<NetworkInputs> sets = {InitialInputs()};
    for (int level : {1, 6, 11}) {
        NetworkInputs in;
        in.slot.fill(ValueOf(level));
        sets.push_back(in);
    }
    while (sets.size() < 80) sets.push_back(RandomRatings(random));
    int strictSteps = 0;
    for (const NetworkInputs& set : sets) {
        for (const FactorInfo& factor : FactorCatalogue) {
            NetworkInputs in = set;
            long double previous = 0.0L;
            for (int level = 1; level <= LevelCount; ++level) {
                in.slot[factor.slot] = ValueOf(level);
                const long double p = Accident(in);
                if (level > 1) {
                    ASSERT_TRUE(WorseUpward(factor) ? p >= previous : p <= previous) << factor.id << " level " << level;
                    strictSteps += p != previous;
                }
                previous = p;
            }
        }
    }
    EXPECT_GT(strictSteps, static_cast<int>(sets.size()) * FactorCount * (LevelCount - 1) / 2);
}

// ---- The measure plan against every subset ----

// Cost, fewer members, then the member lists compared element by element.
using SetKey = std::tuple<long double, std::size_t, std::vector<int>>;

SetKey KeyOf(uint32_t members, const std::vector<CandidateMeasure>& measures)
{
    long double cost = 0.0L;
    std::vector<int> list;
    for (std::size_t i = 0; i < measures.size(); ++i)
        if (members >> i & 1) cost += measures[i].cost, list.push_back(static_cast<int>(i));
    return {cost, list.size(), list};
}

TEST(Plans, MeasurePlanIsTheCheapestSubsetMeetingTheTarget)
{
    std::mt19937 random(7);
    for (int trial = 0; trial < 12; ++trial) {
        const NetworkInputs base = RandomRatings(random);
        const int count = 2 + trial % 5;
        std::vector<CandidateMeasure> measures;
        for (int m = 0; m < count; ++m) {
            // Costs from a short list so that equal costs occur; some changes harmful, one a no-change.
            CandidateMeasure measure{"m" + std::to_string(m), static_cast<float>(1 + random() % 4), {}};
            for (int c = 0; c < 2; ++c) {
                const int slot = (m * 2 + c + trial) % FactorCount;
                const int level = c == 1 && m == 0 ? LevelNumberOf(base.slot[slot]) : 1 + random() % LevelCount;
                measure.changes.emplace_back(slot, ValueOf(level));
            }
            measures.push_back(measure);
        }
        std::vector<std::pair<SetKey, long double>> all;
        for (uint32_t members = 0; members < (1u << count); ++members) {
            NetworkInputs in = base;
            for (int i = 0; i < count; ++i)
                if (members >> i & 1)
                    for (const auto& [slot, value] : measures[i].changes) in.slot[slot] = value;
            all.emplace_back(KeyOf(members, measures), Accident(in));
        }
        long double lowest = all.front().second;
        for (const auto& entry : all) lowest = std::min(lowest, entry.second);
        for (long double target : {all.front().second * 1.01L, all.front().second, (all.front().second + lowest) / 2,
                                   lowest, lowest * 0.999L}) {
            const MeasurePlan plan = PlanMeasures(base, measures, target);
            const bool reachable = lowest <= target;
            const long double goal = reachable ? target : lowest;
            const SetKey* expected = nullptr;
            for (const auto& [key, accident] : all)
                if (accident <= goal && (!expected || key < *expected)) expected = &key;
            ASSERT_NE(expected, nullptr);
            EXPECT_EQ(plan.reachable, reachable) << trial;
            EXPECT_EQ(KeyOf(plan.chosen.members, measures), *expected) << trial << ' ' << (double)target;
            EXPECT_EQ(plan.lowest, lowest);
            EXPECT_LE(plan.chosen.accident, goal);
            // The envelope: falling in accident, rising in cost, and no subset below it.
            for (std::size_t i = 1; i < plan.envelope.size(); ++i) {
                EXPECT_GT(plan.envelope[i].cost, plan.envelope[i - 1].cost);
                EXPECT_LT(plan.envelope[i].accident, plan.envelope[i - 1].accident);
            }
            for (const auto& [key, accident] : all) {
                const auto& last = *std::find_if(plan.envelope.rbegin(), plan.envelope.rend(),
                                                 [&key](const MeasureSet& s) { return s.cost <= std::get<0>(key); });
                EXPECT_LE(last.accident, accident);
            }
        }
    }
}

// ---- The level plan against every level combination of three factors ----

// Three factors listed in catalogue order: costs per step and allowed ranges.
struct PlanCase {
    const char* ids[3];
    long double costs[3];
    int low[3];
    int high[3];
};

TEST(Plans, LevelPlanIsTheCheapestCombinationMeetingTheTarget)
{
    const PlanCase cases[] = {
        {{"H03", "M03", "T02"}, {1, 1, 1}, {1, 1, 1}, {11, 11, 11}},
        {{"H03", "M03", "T02"}, {3, 1, 2.5L}, {1, 1, 1}, {11, 11, 11}},
        {{"H14", "M01", "C04"}, {0, 1, 2}, {1, 1, 1}, {11, 11, 11}},
        {{"H01", "C02", "T05"}, {1, 1, 1}, {5, 1, 1}, {9, 11, 4}},
        {{"H02", "C02", "T04"}, {1, 1, 0.5L}, {1, 1, 8}, {11, 11, 11}},
        {{"H09", "M07", "T06"}, {0, 0, 0}, {1, 1, 1}, {11, 11, 11}},
    };
    std::mt19937 random(11);
    for (const PlanCase& c : cases) {
        const NetworkInputs base = RandomRatings(random);
        std::vector<FactorSteps> steps;
        std::array<int, 3> current;
        for (int i = 0; i < 3; ++i) {
            steps.push_back({FindFactor(c.ids[i]), c.costs[i], c.low[i], c.high[i]});
            current[i] = LevelNumberOf(base.slot[steps[i].factor->slot]);
        }
        // Every allowed combination (in the range, or the current level), in every direction; the
        // order of the plan's rule: cost, changed factors, accident, then the first factor nearer.
        using Combination = std::tuple<long double, int, long double, std::array<int, 3>, std::array<int, 3>>;
        std::vector<Combination> all;
        for (int code = 0; code < LevelCount * LevelCount * LevelCount; ++code) {
            const std::array<int, 3> level = {code / 121 + 1, code / 11 % 11 + 1, code % 11 + 1};
            NetworkInputs in = base;
            long double cost = 0.0L;
            int changed = 0;
            std::array<int, 3> distance;
            bool allowed = true;
            for (int i = 0; i < 3; ++i) {
                allowed = allowed && (level[i] == current[i] || (level[i] >= c.low[i] && level[i] <= c.high[i]));
                in.slot[steps[i].factor->slot] = ValueOf(level[i]);
                distance[i] = std::abs(level[i] - current[i]);
                cost += c.costs[i] * distance[i];
                changed += level[i] != current[i];
            }
            if (allowed) all.emplace_back(cost, changed, Accident(in), distance, level);
        }
        const long double now = Accident(base);
        long double lowest = now;
        for (const Combination& x : all) lowest = std::min(lowest, std::get<2>(x));
        for (long double target : {now * 1.5L, now, now * 0.8L, now / 2, (now + lowest) / 3, lowest, lowest / 2}) {
            const bool reachable = lowest <= target;
            const Combination* expected = nullptr;
            for (const Combination& x : all)
                if (std::get<2>(x) <= (reachable ? target : lowest) && (!expected || x < *expected)) expected = &x;
            ASSERT_NE(expected, nullptr);
            std::vector<PlannedLevel> changes;
            for (int i = 0; i < 3; ++i)
                if (const int to = std::get<4>(*expected)[i]; to != current[i])
                    changes.push_back({steps[i].factor, current[i], to});
            const LevelPlan plan = PlanLevels(base, steps, target);
            const std::string where = std::string(c.ids[0]) + " target " + std::to_string((double)target);
            EXPECT_EQ(plan.reachable, reachable) << where;
            EXPECT_EQ(plan.lowest, lowest) << where;
            EXPECT_TRUE(plan.proven) << where;
            EXPECT_EQ(plan.cost, std::get<0>(*expected)) << where;
            EXPECT_EQ(plan.lowerBound, plan.cost) << where;
            EXPECT_EQ(plan.accident, std::get<2>(*expected)) << where;
            // An unreachable target is said so, with the plan to the lowest probability.
            EXPECT_EQ(plan.changes, changes) << where;
        }
    }
}

// A stricter target never costs less, and the curve's plans meet their targets; its ends are the
// current probability at no cost and the lowest reachable.
TEST(Plans, StricterTargetsNeverCostLess)
{
    const NetworkInputs base = InitialInputs();
    std::vector<FactorSteps> steps;
    for (const char* id : {"H03", "M03", "T02", "H14", "M01"}) steps.push_back({FindFactor(id), 1.0L, 1, LevelCount});
    steps[1].costPerStep = 2.0L;
    const std::vector<LevelPlan> curve = LevelCostCurve(base, steps, 7);
    ASSERT_EQ(curve.size(), 7u);
    EXPECT_EQ(curve.front().cost, 0.0L);
    EXPECT_EQ(curve.back().accident, curve.back().lowest);
    for (std::size_t i = 0; i < curve.size(); ++i) {
        EXPECT_TRUE(curve[i].proven && curve[i].reachable);
        EXPECT_LE(curve[i].accident, curve[i].target);
        if (i > 0) {
            EXPECT_LT(curve[i].target, curve[i - 1].target);
            EXPECT_GE(curve[i].cost, curve[i - 1].cost);
        }
    }
}

// Past the work limit the plan still meets the target and its bound lies below the proven optimum.
TEST(Plans, WorkLimitKeepsAPlanAndAProvenBound)
{
    const NetworkInputs base = InitialInputs();
    std::vector<FactorSteps> steps;
    for (const FactorInfo& factor : FactorCatalogue) steps.push_back({&factor, 1.0L, 1, LevelCount});
    steps.resize(8);
    const long double target = Accident(base) / 10;
    const LevelPlan exact = PlanLevels(base, steps, target);
    ASSERT_TRUE(exact.proven);
    for (int64_t limit : {0, 50, 400}) {
        const LevelPlan plan = PlanLevels(base, steps, target, {limit, {}});
        EXPECT_EQ(plan.reachable, exact.reachable);
        NetworkInputs in = base;
        for (const PlannedLevel& change : plan.changes) in.slot[change.factor->slot] = ValueOf(change.to);
        EXPECT_EQ(Accident(in), plan.accident);
        EXPECT_LE(plan.accident, exact.reachable ? target : exact.lowest);
        EXPECT_GE(plan.cost, exact.cost);
        EXPECT_LE(plan.lowerBound, exact.cost) << limit;
        EXPECT_LE(plan.lowerBound, plan.cost) << limit;
        if (plan.proven) {
            EXPECT_EQ(plan.cost, exact.cost) << limit;
        }
    }
}

}  // namespace

// The band after a plan is the band of a panel whose experts all agree on the levels it sets.
TEST(Plans, BandAfterPlanTakesTheSetFactorsOutOfDispute)
{
    std::mt19937 random(5);
    ExpertPanel panel;
    for (const char* name : {"А", "Б", "В"}) {
        PanelExpert expert{name, {}};
        for (const char* id : {"H03", "M03", "T02", "H14", "C04"})
            expert.level[CatalogueIndex(*FindFactor(id))] = 1 + random() % LevelCount;
        panel.experts.push_back(expert);
    }
    const NetworkInputs ratings = InitialInputs();
    const auto at = [](const char* id, int level) { return std::make_pair(FindFactor(id)->slot, ValueOf(level)); };
    const PlanSettings plans[] = {{},
                                  {at("H03", 11)},
                                  {at("M03", 2), at("H01", 9)},
                                  {at("H03", 10), at("M03", 1), at("T02", 7), at("H14", 6), at("C04", 2)}};
    for (const PlanSettings& plan : plans) {
        ExpertPanel agreed = panel;
        NetworkInputs changed = ratings;
        for (const auto& [slot, value] : plan) {
            changed.slot[slot] = value;
            for (PanelExpert& expert : agreed.experts)
                expert.level[CatalogueIndex(FactorBySlot(slot))] =
                    expert.level[CatalogueIndex(FactorBySlot(slot))] ? LevelNumberOf(value) : NoOpinion;
        }
        const auto after = BandAfterPlan(panel, ratings, plan);
        const auto expected = ComputePanelBand(agreed, changed, std::nullopt);
        ASSERT_TRUE(after && expected);
        const NodeBand& a = after->node[NodeI];
        const NodeBand& e = expected->node[NodeI];
        EXPECT_EQ(std::tie(a.min, a.p05, a.p50, a.p95, a.max), std::tie(e.min, e.p05, e.p50, e.p95, e.max));
        // With every disputed factor set the band is one point, the plan's exact probability.
        if (plan.size() == 5) {
            EXPECT_EQ(a.min, a.max);
            EXPECT_EQ(a.p50, Accident(changed));
        }
    }
}
