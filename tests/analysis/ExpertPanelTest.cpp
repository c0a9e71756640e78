// The expert panel: concordance against textbook examples, consensus levels, the band against a
// brute-force loop over every expert's rating, sampling against enumeration, the panel's table.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <numeric>
#include <string>
#include <utility>
#include <vector>

#include "analysis/ExactNodes.h"
#include "analysis/ExpertPanel.h"
#include "analysis/PanelConcordance.h"
#include "analysis/ExpertPanelCsv.h"
#include "common/KestalError.h"
#include "factors/Settings.h"

using namespace kestal;

namespace {

// Per factor id, the experts' levels in order (0: no opinion).
using Ratings = std::vector<std::pair<const char*, std::vector<int>>>;

ExpertPanel Panel(const Ratings& ratings)
{
    ExpertPanel panel;
    const std::size_t experts = ratings.front().second.size();
    for (std::size_t k = 0; k < experts; ++k) panel.experts.push_back({"Эксперт " + std::to_string(k + 1), {}});
    for (const auto& [id, levels] : ratings)
        for (std::size_t k = 0; k < experts; ++k) panel.experts[k].level[CatalogueIndex(*FindFactor(id))] = levels[k];
    return panel;
}

NetworkInputs With(NetworkInputs in, const std::vector<std::pair<const char*, int>>& levels)
{
    for (const auto& [id, level] : levels) in.slot[FindFactor(id)->slot] = LevelTable[level - 1].value;
    return in;
}

TEST(ExpertPanel, ConcordanceAgreesWithTextbookExamples)
{
    // Siegel (1956): three judges, ten objects, with ties (W = 0.828, p ≈ 0.008); the judges'
    // scores are written as levels keeping their order and ties. And three executives ranking six
    // applicants without ties (W = 0.16).
    const ExpertPanel ties = Panel({{"H01", {1, 2, 2}},
                                    {"H02", {4, 1, 1}},
                                    {"H03", {2, 2, 3}},
                                    {"H04", {4, 3, 3}},
                                    {"H05", {3, 3, 3}},
                                    {"H06", {6, 5, 3}},
                                    {"H07", {5, 6, 4}},
                                    {"H08", {7, 4, 4}},
                                    {"H09", {6, 7, 4}},
                                    {"H12", {8, 4, 5}}});
    const ExpertPanel applicants = Panel({{"M01", {1, 1, 6}},
                                          {"M02", {6, 5, 3}},
                                          {"M03", {3, 6, 2}},
                                          {"M04", {2, 4, 5}},
                                          {"M05", {5, 2, 4}},
                                          {"M06", {4, 3, 1}},
                                          {"T01", {0, 4, 4}}});  // a factor not every expert rated: left out
    const ExpertPanel agreed = Panel({{"C01", {2, 3, 1, 2}}, {"C02", {5, 6, 4, 9}}, {"C03", {11, 7, 5, 10}}});
    const struct {
        ExpertPanel panel;
        long double w, chi2;
        int df, factors;
        long double p;  // upper tail of chi-square, to 20 digits
    } cases[] = {
        {ties, 197.0L / 238.0L, 5319.0L / 238.0L, 9, 10, 0.0078370436345520624264L},
        {applicants, 306.0L / 1890.0L, 3 * 5 * (306.0L / 1890.0L), 5, 6, 0.0L},
        {agreed, 1.0L, 8.0L, 2, 3, 0.018315638888734180294L},  // exp(-4)
    };
    for (const auto& c : cases) {
        const Concordance k = PanelConcordance(c.panel);
        ASSERT_TRUE(k.formed) << k.reason;
        EXPECT_EQ(k.w, c.w);
        EXPECT_LE(std::fabs(k.chi2 - c.chi2), 1e-18L * c.chi2);
        EXPECT_EQ(k.df, c.df);
        EXPECT_EQ(k.factors, c.factors);
        if (c.p > 0) {
            EXPECT_LE(std::fabs(k.pValue - c.p), 1e-15L * c.p);
        }
    }
    // W cannot be formed: reasons.
    const struct {
        ExpertPanel panel;
        std::string reason;
    } absent[] = {
        {Panel({{"H01", {1}}, {"H02", {2}}}), "нужно не меньше двух экспертов"},
        {Panel({{"H01", {1, 0}}, {"H02", {0, 2}}, {"H03", {3, 3}}}), "все эксперты оценили меньше двух общих факторов"},
        {Panel({{"H01", {4, 7}}, {"H02", {4, 7}}, {"H03", {0, 1}}}),
         "каждый эксперт дал всем общим факторам один уровень"},
    };
    for (const auto& c : absent) {
        const Concordance k = PanelConcordance(c.panel);
        EXPECT_FALSE(k.formed);
        EXPECT_EQ(k.reason, c.reason);
    }
}

TEST(ExpertPanel, AgreementWordsFollowWAndTheSignificanceOfItsChiSquare)
{
    const struct {
        bool formed;
        long double w, p;
        const char* words;
    } cases[] = {
        {true, 1.0L, 0.0L, "согласованность высокая"},
        {true, 0.7L, 0.05L, "согласованность высокая"},
        {true, std::nextafter(0.7L, 0.0L), 0.01L, "согласованность средняя"},
        {true, 0.5L, 0.0L, "согласованность средняя"},
        {true, std::nextafter(0.5L, 0.0L), 0.0L, "согласованность низкая"},
        {true, 0.0L, 1.0L, "согласованность низкая, не значима"},
        {true, 0.9L, std::nextafter(0.05L, 1.0L), "согласованность высокая, не значима"},
        {false, 0.0L, 0.0L, "согласованность не определена"},
    };
    for (const auto& c : cases) {
        Concordance concordance;
        concordance.formed = c.formed;
        concordance.w = c.w;
        concordance.pValue = c.p;
        EXPECT_EQ(AgreementWords(concordance), c.words) << static_cast<double>(c.w) << ' ' << static_cast<double>(c.p);
    }
}

TEST(ExpertPanel, ChiSquareUpperTailAgreesWithHighPrecisionValues)
{
    const struct {
        int df;
        long double x, p;  // to 20 significant digits
    } cases[] = {
        {1, 3.841458820694124L, 0.050000000000000058397L},
        {11, 150.0L, 1.4904699581360177065e-26L},
        {1, 1e-8L, 0.99992021154405269422L},
        {5, 4.351460191095526L, 0.5000000000000001805L},
        {29, 0.0L, 1.0L},
    };
    for (const auto& c : cases)
        EXPECT_LE(std::fabs(UpperIncompleteGammaQ(c.df / 2.0L, c.x / 2) - c.p), 1e-15L * c.p) << c.df << " " << c.x;
}

TEST(ExpertPanel, OpinionsAreLowestHighestAndTheLowerMedian)
{
    const ExpertPanel panel = Panel({{"H01", {5, 0, 0, 0, 0, 0}},
                                     {"H02", {4, 7, 0, 0, 0, 0}},
                                     {"H03", {7, 4, 5, 0, 0, 0}},
                                     {"H04", {1, 11, 3, 9, 0, 0}},
                                     {"H05", {2, 2, 9, 9, 9, 1}},
                                     {"H06", {0, 0, 0, 0, 0, 0}}});
    const std::vector<std::tuple<std::string, int, int, int>> expected = {
        {"H01", 5, 5, 5}, {"H02", 4, 7, 4}, {"H03", 4, 7, 5}, {"H04", 1, 11, 3}, {"H05", 1, 9, 2}};
    std::vector<std::tuple<std::string, int, int, int>> got;
    for (const FactorOpinions& o : PanelOpinions(panel))
        got.emplace_back(o.factor->id, o.lowest, o.highest, o.consensus);
    EXPECT_EQ(got, expected);
}

// A unanimous panel collapses on the exact value of its ratings; one factor split between two
// levels gives exactly their two values with weight ½ each (P50 the lower: its cumulative weight ½
// reaches 0.5) and that factor all of the variance.
TEST(ExpertPanel, UnanimousAndSplitPanelsGiveTheirExactValues)
{
    const struct {
        ExpertPanel panel;
        std::vector<std::pair<const char*, int>> low, high;
        std::uint64_t cases;
        long double exceedance;  // above the mean of the two accident probabilities
    } cases[] = {
        {Panel({{"H03", {9, 9, 9}}, {"M03", {2, 2, 2}}, {"T02", {0, 6, 0}}}),
         {{"H03", 9}, {"M03", 2}, {"T02", 6}},
         {{"H03", 9}, {"M03", 2}, {"T02", 6}},
         1,
         0},
        {Panel({{"H03", {2, 10}}, {"M01", {4, 4}}}), {{"H03", 2}, {"M01", 4}}, {{"H03", 10}, {"M01", 4}}, 2, 0.5L},
    };
    for (const auto& c : cases) {
        const NodeProbabilities low = ExactNodeProbabilities(With(InitialInputs(), c.low));
        const NodeProbabilities high = ExactNodeProbabilities(With(InitialInputs(), c.high));
        const auto band = ComputePanelBand(c.panel, InitialInputs(), (low.node[NodeI] + high.node[NodeI]) / 2);
        ASSERT_TRUE(band);
        EXPECT_EQ(band->method, BandMethod::Enumeration);
        EXPECT_EQ(band->cases, c.cases);
        for (int node = 0; node < NodeCount; ++node) {
            const long double a = std::min(low.node[node], high.node[node]),
                              b = std::max(low.node[node], high.node[node]);
            const NodeBand& n = band->node[node];
            EXPECT_EQ(std::vector<long double>({n.mean, n.min, n.p05, n.p50, n.p95, n.max}),
                      std::vector<long double>({(a + b) / 2, a, a, a, b, b}))
                << node;
        }
        EXPECT_EQ(band->exceedance, c.exceedance);
        ASSERT_EQ(band->shares.size(), c.cases - 1);
        for (const FactorShare& share : band->shares) {
            EXPECT_STREQ(share.factor->id, "H03");
            EXPECT_EQ(share.share, 1.0L);
        }
    }
}

// Statistics of equally weighted values, as the brute force computes them.
struct Brute {
    std::vector<long double> values;
    long double Mean() const { return std::accumulate(values.begin(), values.end(), 0.0L) / values.size(); }
    // The smallest value whose share of the values at or below it reaches q (0: the least).
    long double Quantile(long double q) const
    {
        std::vector<long double> sorted = values;
        std::sort(sorted.begin(), sorted.end());
        for (std::size_t j = 1; j < sorted.size(); ++j)
            if (j / static_cast<long double>(sorted.size()) >= q - 1e-12L) return sorted[j - 1];
        return sorted.back();
    }
};

// Every expert's rating of every factor with equal weight: a loop over the experts' choices, not
// over distinct levels, so repeated levels weigh by their count. Per node the values; per rated
// factor its accident probabilities by level.
struct BruteForce {
    std::array<Brute, NodeCount> node;
    std::vector<std::pair<std::string, std::map<int, std::vector<long double>>>> byLevel;

    explicit BruteForce(const Ratings& ratings)
    {
        std::vector<std::pair<const char*, std::vector<int>>> choices;
        for (const auto& [id, levels] : ratings) {
            std::vector<int> given;
            for (const int l : levels)
                if (l) given.push_back(l);
            if (!given.empty()) choices.emplace_back(id, given);
        }
        byLevel.resize(choices.size());
        std::vector<std::size_t> pick(choices.size(), 0);
        for (std::size_t f = 0; f < choices.size(); ++f) byLevel[f].first = choices[f].first;
        for (;;) {
            std::vector<std::pair<const char*, int>> levels;
            for (std::size_t f = 0; f < choices.size(); ++f)
                levels.emplace_back(choices[f].first, choices[f].second[pick[f]]);
            const NodeProbabilities p = ExactNodeProbabilities(With(InitialInputs(), levels));
            for (int n = 0; n < NodeCount; ++n) node[n].values.push_back(p.node[n]);
            for (std::size_t f = 0; f < choices.size(); ++f)
                byLevel[f].second[levels[f].second].push_back(p.node[NodeI]);
            std::size_t f = 0;
            while (f < choices.size() && ++pick[f] == choices[f].second.size()) pick[f++] = 0;
            if (f == choices.size()) break;
        }
    }
};

TEST(ExpertPanel, EnumerationAgreesWithABruteForceLoopOverTheExperts)
{
    const Ratings ratings = {{"H03", {2, 2, 9, 5}},
                             {"M03", {8, 0, 3, 8}},
                             {"T02", {1, 11, 11, 11}},
                             {"C02", {6, 6, 6, 6}},
                             {"H14", {0, 0, 0, 0}}};
    const BruteForce force(ratings);
    const Brute& y = force.node[NodeI];
    const long double target = y.Quantile(0.4L);
    const auto band = ComputePanelBand(Panel(ratings), InitialInputs(), target);
    ASSERT_TRUE(band);
    EXPECT_EQ(band->cases, 3u * 2u * 2u);
    for (int node = 0; node < NodeCount; ++node) {
        const Brute& b = force.node[node];
        const NodeBand& n = band->node[node];
        EXPECT_NEAR(n.mean, b.Mean(), 1e-15L * b.Mean()) << node;
        EXPECT_EQ(std::vector<long double>({n.min, n.p05, n.p50, n.p95, n.max}),
                  std::vector<long double>(
                      {b.Quantile(0), b.Quantile(0.05L), b.Quantile(0.5L), b.Quantile(0.95L), b.Quantile(1)}))
            << node;
    }
    // The distribution: each distinct value with the share of the experts' choices giving it.
    std::map<long double, long double> shareOf;
    for (const long double v : y.values) shareOf[v] += 1.0L / y.values.size();
    ASSERT_EQ(band->accident.size(), shareOf.size());
    auto expectedShare = shareOf.begin();
    for (const auto& [value, share] : band->accident) {
        EXPECT_EQ(value, expectedShare->first);
        EXPECT_NEAR(share, expectedShare->second, 1e-15L);
        ++expectedShare;
    }
    const long double above =
        std::count_if(y.values.begin(), y.values.end(), [&](long double v) { return v > target; });
    EXPECT_NEAR(*band->exceedance, above / y.values.size(), 1e-15L);
    // Shares: the variance of the conditional means over the variance, each by its definition;
    // largest first.
    const long double mean = y.Mean(), count = y.values.size();
    long double variance = 0;
    for (const long double v : y.values) variance += (v - mean) * (v - mean) / count;
    std::map<std::string, long double> expected;
    for (const auto& [id, byLevel] : force.byLevel)
        for (const auto& [level, values] : byLevel)
            if (byLevel.size() > 1) {
                const long double m = std::accumulate(values.begin(), values.end(), 0.0L) / values.size();
                expected[id] += (m - mean) * (m - mean) * values.size() / count / variance;
            }
    ASSERT_EQ(band->shares.size(), expected.size());
    for (std::size_t i = 0; i < band->shares.size(); ++i) {
        EXPECT_NEAR(band->shares[i].share, expected[band->shares[i].factor->id], 1e-12L) << band->shares[i].factor->id;
        EXPECT_GE(band->shares[i ? i - 1 : 0].share, band->shares[i].share);
    }
}

// Sampling a panel whose exact band is known: 20 000 sets estimate each statistic within a few
// standard errors. Bounds (5 standard errors; the sample is fixed by the seed, so the check is
// deterministic): the mean within 5·sd/√20000; the exact cumulative weight at a sampled Pq within
// 5·√(q(1−q)/20000) of q; the exceedance within 5·√(x(1−x)/20000); each share within 0.02 (its
// error is of the order of the between-level variance's relative error, about 2/√20000 at most).
TEST(ExpertPanel, SamplingAgreesWithEnumeration)
{
    const Ratings ratings = {{"H03", {2, 5, 9, 9, 11}}, {"M03", {8, 1, 3, 8, 4}},  {"T02", {1, 11, 6, 11, 2}},
                             {"C02", {6, 7, 6, 3, 6}},  {"H04", {4, 4, 10, 4, 4}}, {"M07", {9, 1, 0, 5, 0}}};
    const ExpertPanel panel = Panel(ratings);
    const auto exact = ComputePanelBand(panel, InitialInputs(), 0.0025L);
    const auto sampled = ComputePanelBand(panel, InitialInputs(), 0.0025L, {}, 100);
    ASSERT_TRUE(exact && sampled);
    EXPECT_EQ(exact->method, BandMethod::Enumeration);
    EXPECT_EQ(exact->cases, 4u * 4u * 4u * 3u * 2u * 3u);
    EXPECT_EQ(sampled->method, BandMethod::Sampling);
    EXPECT_EQ(sampled->cases, SampledSets);
    const BruteForce force(ratings);
    const long double n = static_cast<long double>(SampledSets);
    for (int node = 0; node < NodeCount; ++node) {
        const NodeBand& e = exact->node[node];
        const NodeBand& s = sampled->node[node];
        const std::vector<long double>& values = force.node[node].values;
        EXPECT_GE(s.min, e.min);
        EXPECT_LE(s.max, e.max);
        long double variance = 0;
        for (const long double v : values) variance += (v - e.mean) * (v - e.mean) / values.size();
        EXPECT_NEAR(s.mean, e.mean, 5 * std::sqrt(variance / n)) << node;
        for (const auto& [q, pq] : {std::pair{0.05L, s.p05}, std::pair{0.50L, s.p50}, std::pair{0.95L, s.p95}}) {
            const long double below =
                std::count_if(values.begin(), values.end(), [&](long double v) { return v < pq; });
            const long double upTo =
                std::count_if(values.begin(), values.end(), [&](long double v) { return v <= pq; });
            const long double bound = 5 * std::sqrt(q * (1 - q) / n);
            // The sampled quantile's exact cumulative weight reaches q − bound, and below it stays under q + bound.
            EXPECT_GE(upTo / values.size(), q - bound) << node << " " << q;
            EXPECT_LE(below / values.size(), q + bound) << node << " " << q;
        }
    }
    const long double x = *exact->exceedance;
    EXPECT_NEAR(*sampled->exceedance, x, 5 * std::sqrt(x * (1 - x) / n));
    ASSERT_EQ(sampled->shares.size(), exact->shares.size());
    for (const FactorShare& e : exact->shares) {
        const auto s = std::find_if(sampled->shares.begin(), sampled->shares.end(),
                                    [&](const FactorShare& f) { return f.factor == e.factor; });
        ASSERT_NE(s, sampled->shares.end());
        EXPECT_NEAR(s->share, e.share, 0.02L) << e.factor->id;
    }
    // Reproducible: the same panel gives the same band.
    EXPECT_EQ(ComputePanelBand(panel, InitialInputs(), 0.0025L, {}, 100)->node[NodeI].mean, sampled->node[NodeI].mean);
}

TEST(ExpertPanel, CombinationsAreTheProductOfDistinctLevelsSaturatedAboveTheLimit)
{
    Ratings split16, split17;
    for (int f = 0; f < 17; ++f)
        (f < 16 ? split16 : split17).emplace_back(FactorCatalogue[f].id, std::vector<int>{1, 2, 1});
    split17.insert(split17.begin(), split16.begin(), split16.end());
    EXPECT_EQ(PanelCombinations(Panel(split16)), 65536u);
    EXPECT_EQ(PanelCombinations(Panel(split17)), 65537u);
    // Stopped work gives nothing; a progress report that throws ends the work's threads first.
    EXPECT_FALSE(
        ComputePanelBand(Panel(split17), InitialInputs(), {}, [](std::uint64_t, std::uint64_t) { return false; }));
    EXPECT_THROW(
        ComputePanelBand(Panel(split17), InitialInputs(), {},
                         [](std::uint64_t done, std::uint64_t) -> bool { return done < 100 ? true : throw 7; }),
        int);
}

}  // namespace
