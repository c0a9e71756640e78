// Tests of the checked extended arithmetic: rounding to single, division and square root.
#include <cfloat>
#include <cmath>
#include <limits>
#include <string>

#include <gtest/gtest.h>

#include "common/CheckedMath.h"
#include "support/ErrorOf.h"

using namespace kestal;

namespace {

constexpr long double Infinity = std::numeric_limits<long double>::infinity();
const long double NaN = std::numeric_limits<long double>::quiet_NaN();

TEST(ToSingle, RoundsToNearestTiesToEven)
{
    EXPECT_EQ(ToSingle(0.1L), 0.1f);
    EXPECT_EQ(ToSingle(1.0L + std::ldexp(1.0L, -24)), 1.0f);                              // tie: to even
    EXPECT_EQ(ToSingle(1.0L + 3 * std::ldexp(1.0L, -24)), 1.0f + std::ldexp(1.0f, -22));  // tie: to even
    EXPECT_EQ(ToSingle(1.0L + std::ldexp(1.0L, -24) + std::ldexp(1.0L, -60)), 1.0f + std::ldexp(1.0f, -23));
    EXPECT_EQ(ToSingle(-2.5L), -2.5f);
    EXPECT_EQ(ToSingle(1e-50L), 0.0f);  // underflow is silent
}

TEST(ToSingle, OverflowsOnlyBeyondTheLargestSingleAfterRounding)
{
    const long double max = FLT_MAX;
    const long double halfUlp = std::ldexp(1.0L, 127 - 24);  // half the spacing of singles at FLT_MAX
    EXPECT_EQ(ToSingle(max), FLT_MAX);
    EXPECT_EQ(ToSingle(-max), -FLT_MAX);
    EXPECT_EQ(ToSingle(max + halfUlp - std::ldexp(1.0L, 127 - 63)), FLT_MAX);         // just below the tie
    EXPECT_EQ(ErrorOf([&] { ToSingle(max + halfUlp); }), "Floating point overflow");  // tie goes to 2^128
    EXPECT_EQ(ErrorOf([&] { ToSingle(-max - halfUlp); }), "Floating point overflow");
    EXPECT_EQ(ErrorOf([] { ToSingle(1e39L); }), "Floating point overflow");
    EXPECT_EQ(ErrorOf([] { ToSingle(Infinity); }), "Floating point overflow");
    EXPECT_EQ(ErrorOf([] { ToSingle(-Infinity); }), "Floating point overflow");
    EXPECT_EQ(ErrorOf([] { ToSingle(NaN); }), "Invalid floating point operation");
}

TEST(CheckedDivide, DividesInExtended)
{
    EXPECT_EQ(CheckedDivide(3012.5L, 4000.0L), 0.753125L);
    EXPECT_EQ(CheckedDivide(1.0L, 3.0L), 1.0L / 3.0L);
    EXPECT_EQ(CheckedDivide(0.0L, -5.0L), 0.0L);
}

TEST(CheckedDivide, RaisesTheFloatingPointMessages)
{
    EXPECT_EQ(ErrorOf([] { CheckedDivide(0.0L, 0.0L); }), "Invalid floating point operation");
    EXPECT_EQ(ErrorOf([] { CheckedDivide(1.0L, 0.0L); }), "Floating point division by zero");
    EXPECT_EQ(ErrorOf([] { CheckedDivide(-1.0L, 0.0L); }), "Floating point division by zero");
    EXPECT_EQ(ErrorOf([] { CheckedDivide(1.0L, -0.0L); }), "Floating point division by zero");
    EXPECT_EQ(ErrorOf([] { CheckedDivide(Infinity, Infinity); }), "Invalid floating point operation");
    EXPECT_EQ(ErrorOf([&] { CheckedDivide(NaN, 1.0L); }), "Invalid floating point operation");
    EXPECT_EQ(ErrorOf([] { CheckedDivide(1e4000L, 1e-4000L); }), "Floating point overflow");
}

TEST(CheckedSqrt, RejectsNegativeArguments)
{
    EXPECT_EQ(CheckedSqrt(2.0L), std::sqrt(2.0L));
    EXPECT_EQ(CheckedSqrt(0.0L), 0.0L);
    EXPECT_EQ(ErrorOf([] { CheckedSqrt(-1e-30L); }), "Invalid floating point operation");
    EXPECT_EQ(ErrorOf([&] { CheckedSqrt(NaN); }), "Invalid floating point operation");
}

}  // namespace
