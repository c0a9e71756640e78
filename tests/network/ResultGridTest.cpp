// The result grid's texts of a node: mean and deviation per initiation, the last count, and K = 1.
#include <gtest/gtest.h>

#include "network/ResultGrid.h"

using namespace kestal;

namespace {

TEST(ResultGrid, NodeTextsArePerInitiationInTheLocalesFixedText)
{
    GertNetwork net;
    SeriesTable series;
    series.ExperimentCount = 2;
    series.InitiationCount = 4;
    series.column[NodeB][0] = 3;
    series.column[NodeB][1] = 1;
    net.counters.node[NodeB] = 1;

    const NodeResult result = NodeTexts(BlockOfRun(net, series), NodeB, RussianNumberLocale());
    EXPECT_EQ(result.mean, "0,50000000000000");  // mean 2 over N = 4
    // The single-precision deviation √2 = 1.41421353816986083984375, over 4: 0.35355338454246520...
    ASSERT_TRUE(result.deviation.has_value());
    EXPECT_EQ(*result.deviation, "0,35355338454247");
    EXPECT_EQ(result.last, 1);
}

TEST(ResultGrid, OneExperimentHasNoDeviation)
{
    GertNetwork net;
    SeriesTable series;
    series.ExperimentCount = 1;
    series.InitiationCount = 8;
    series.column[NodeD][0] = 7;
    net.counters.node[NodeD] = 7;

    const NodeResult result = NodeTexts(BlockOfRun(net, series), NodeD, EnglishNumberLocale());
    EXPECT_EQ(result.mean, "0.87500000000000");
    EXPECT_FALSE(result.deviation.has_value());
    EXPECT_EQ(result.last, 7);
}

}  // namespace
