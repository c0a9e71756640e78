// The precision of a run: pooled frequencies, Wilson intervals against high-precision values, the
// accident frequency's relative error, and the totals of a series.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <memory>

#include "analysis/RunPrecision.h"

using namespace kestal;

namespace {

TEST(RunPrecision, WilsonIntervalsAndTheAccidentError)
{
    // K = 200, N = 4000: 800 000 trials. Reference intervals computed with 40 decimal digits.
    const int32_t k = 200, n = 4000;
    const struct {
        int64_t total;
        long double exact;
        long double low, high;
        bool inside;
    } rows[] = {
        {440, 0.00055L, 0.00050096588266640016L, 0.00060383063582155373L, true},
        {440, 0.0007L, 0.00050096588266640016L, 0.00060383063582155373L, false},
        {0, 0.0L, 0.0L, 4.8018004684692003e-06L, true},
        {800000, 1.0L, 0.99999519819953153080L, 1.0L, true},
    };
    for (const auto& row : rows) {
        NodeTotals totals{};
        NodeProbabilities exact;
        totals[NodeI] = row.total;
        exact.node[NodeI] = row.exact;
        const NodePrecision p = PrecisionOfRun(totals, k, n, exact).node[NodeI];
        EXPECT_EQ(p.pooled, row.total / 800000.0L);
        EXPECT_NEAR(p.low, row.low, 1e-17L) << row.total;
        EXPECT_NEAR(p.high, row.high, 1e-17L) << row.total;
        EXPECT_EQ(p.exactInside, row.inside) << row.total << " " << row.exact;
    }

    // p = 2^-11 at K = 300, N = 4000: sqrt(2047 / 1.2e6) and ceil(2047 / 0.03) = 68 234.
    NodeProbabilities exact;
    exact.node[NodeI] = 0x1p-11L;
    const RunPrecision run = PrecisionOfRun({}, 300, 4000, exact);
    EXPECT_NEAR(*run.accidentRelativeError, std::sqrt(2047.0L / 1.2e6L), 1e-18L);
    EXPECT_EQ(*run.initiationsForOnePercent, 68234.0L);
    // No relative error of a probability 0.
    EXPECT_FALSE(PrecisionOfRun({}, 300, 4000, NodeProbabilities{}).accidentRelativeError);

    // The generator's limit: every initiation ends at B (14 draws), so 2^32 / 14 distinct initiations.
    // The error never falls below that of the limit; no advice beyond it or beyond N = 2^31 - 1.
    const long double limit = 4294967296.0L / 14;
    const struct {
        int32_t k, n;
        long double p;
        bool beyond;
        std::optional<long double> forOnePercent;
    } limits[] = {
        {300, 4000, 0x1p-11L, false, 68234.0L},
        {1, 1, 1e-5L, false, std::nullopt},         // 1 % needs 10^9 initiations: beyond the limit
        {2000, 153391, 0x1p-11L, false, 10235.0L},  // K·N just below the limit
        {2000, 153392, 0x1p-11L, true, 10235.0L},   // and just above
        {1, 1, 1e-15L, false, std::nullopt},        // N would be 10^19
    };
    for (const auto& row : limits) {
        NodeProbabilities p;
        p.node[NodeB] = 1.0L;
        p.node[NodeI] = row.p;
        const RunPrecision precision = PrecisionOfRun({}, row.k, row.n, p);
        EXPECT_EQ(precision.generatorLimit, limit);
        EXPECT_EQ(precision.beyondGeneratorLimit, row.beyond) << row.k << " " << row.n;
        const long double trials = std::min(static_cast<long double>(row.k) * row.n, limit);
        EXPECT_EQ(*precision.accidentRelativeError, std::sqrt((1 - row.p) / (row.p * trials)));
        EXPECT_EQ(precision.initiationsForOnePercent, row.forOnePercent) << row.k << " " << row.n;
        if (precision.initiationsForOnePercent) {
            EXPECT_LE(*precision.initiationsForOnePercent, 2147483647.0L);
            EXPECT_LE(*precision.initiationsForOnePercent * row.k, limit);
        }
    }

    // Totals of a series read entries 0 .. K-1 only.
    auto series = std::make_unique<SeriesTable>();
    series->ExperimentCount = 3;
    series->InitiationCount = 10;
    series->column[NodeD] = {1, 10, 100, 5000};
    EXPECT_EQ(SeriesTotals(*series)[NodeD], 111);
}

}  // namespace
