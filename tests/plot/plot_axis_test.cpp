// Tick, range and transform arithmetic of a plot axis.
#include "plot/PlotAxis.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace quorvel;

TEST(PlotAxis, LinearTickStepIsTheLargestNiceStepNotAboveTheRawStep)
{
    struct Case {
        float lo, hi;
        int n;
        float step;
    };
    const Case cases[] = {
        {0, 100, 10, 10}, // raw 11.1
        {0, 100, 6, 20},  // raw 20
        {1, 2, 5, 0.2f},  // raw 0.25
        {-3, 7, 2, 10},   // raw 10
        {0, 1, 2, 1},
        {0, 1000, 3, 500},
        {0, 0.9f, 4, 0.2f},   // raw 0.3: 10p = 1, 8p, 5p, 4p above, 2p = 0.2
        {250, 1000, 5, 100},           // raw 187.5
    };
    for (const Case& c : cases) {
        const std::optional<float> step = linearTickStep(c.lo, c.hi, c.n);
        ASSERT_TRUE(step) << c.lo << ".." << c.hi << " n=" << c.n;
        EXPECT_FLOAT_EQ(*step, c.step) << c.lo << ".." << c.hi << " n=" << c.n;
        // A nice step is 1, 2, 4, 5 or 8 times a power of ten and never above the raw step.
        EXPECT_LE(*step, (c.hi - c.lo) / (c.n - 1) * (1 + 1e-6f));
    }
}

TEST(PlotAxis, UnusableRangesGiveNoTickStep)
{
    EXPECT_FALSE(linearTickStep(5, 5, 5));   // empty
    EXPECT_FALSE(linearTickStep(7, -3, 5));  // reversed
    EXPECT_FALSE(linearTickStep(0, 1, 1));   // one tick
    EXPECT_FALSE(linearTickStep(0, 1, 0));
    EXPECT_FALSE(linearTickStep(0, std::numeric_limits<float>::infinity(), 5));
    EXPECT_FALSE(logTickStep(-1, 3, 1));
    EXPECT_FLOAT_EQ(*logTickStep(-1, 3, 5), 1.0f);
    EXPECT_FLOAT_EQ(*logTickStep(-1, 3, 2), 4.0f);
    EXPECT_FLOAT_EQ(*logTickStep(-2, -3, 5), 1.0f); // reversed decades: at least one decade
}

TEST(PlotAxis, TicksStartAtTheFirstMultipleOfTheStepInRange)
{
    EXPECT_FLOAT_EQ(firstTick(-3, 10), 0.0f);
    EXPECT_FLOAT_EQ(firstTick(-13, 10), -10.0f);
    EXPECT_FLOAT_EQ(firstTick(20, 10), 20.0f);
    EXPECT_FLOAT_EQ(firstTick(-1, 4), 0.0f); // floor(-1/4) * 4 = -4 moves up one step

    const std::vector<float> ticks = tickValues(firstTick(-3, 10), 10, 7);
    ASSERT_EQ(ticks.size(), 1u);
    EXPECT_EQ(ticks[0], 0.0f);
}

TEST(PlotAxis, ALastTickPushedPastTheMaximumByRoundingIsKept)
{
    const std::vector<float> ticks = tickValues(1.0f, 0.2f, 2.0f);
    ASSERT_EQ(ticks.size(), 6u);
    for (std::size_t i = 0; i < ticks.size(); ++i)
        EXPECT_NEAR(ticks[i], 1.0 + 0.2 * static_cast<double>(i), 1e-6);
    // The summed value lands above 2 in single precision and is still a tick.
    float v = 1.0f;
    for (int i = 0; i < 5; ++i)
        v += 0.2f;
    EXPECT_GT(v, 2.0f);
    EXPECT_EQ(ticks.back(), v);

    // Beyond the tolerance no tick is added.
    EXPECT_EQ(tickValues(0.0f, 3.0f, 10.0f).size(), 4u); // 0 3 6 9; 12 is far past 10
}

TEST(PlotAxis, TickLoopsAlwaysEnd)
{
    // The step is lost in single precision next to a large value.
    EXPECT_EQ(tickValues(1e8f, 0.5f, 1e8f + 100.0f).size(), 1u);
    // Far too many ticks are cut.
    EXPECT_EQ(tickValues(0.0f, 1e-6f, 1.0f).size(), static_cast<std::size_t>(kMaxTicks));
    EXPECT_TRUE(tickValues(0.0f, 0.0f, 1.0f).empty());
    EXPECT_TRUE(tickValues(0.0f, -1.0f, 1.0f).empty());
    EXPECT_TRUE(tickValues(std::nanf(""), 1.0f, 1.0f).empty());
    // Reversed decades (range 0 to 0.0005 gives -2 and -3): no tick.
    const DecadeRange d = decadesEnclosing(0.0f, 0.0005f);
    EXPECT_GT(d.lo, d.hi);
    EXPECT_TRUE(tickValues(firstTick(d.lo, *logTickStep(d.lo, d.hi, 5)), 1.0f, d.hi).empty());
}

TEST(PlotAxis, LabelsAreSpacedByDoublingUntilTheyHaveRoom)
{
    EXPECT_FLOAT_EQ(*labelStep(10, 2, 50), 40.0f); // 20, 40 and 80 units apart
    EXPECT_FLOAT_EQ(*labelStep(10, 10, 50), 10.0f);
    EXPECT_FALSE(labelStep(10, 0, 50));  // no room at all
    EXPECT_FALSE(labelStep(10, -1, 50)); // reversed axis
    EXPECT_FALSE(labelStep(10, std::numeric_limits<float>::infinity(), 50));
    EXPECT_TRUE(labelStep(1e-30f, 1e-30f, 1e30f)); // ends even when the step overflows
}

TEST(PlotAxis, DecadesEncloseTheRange)
{
    struct Case {
        float min, max, lo, hi;
    };
    const Case cases[] = {
        {0.5f, 200, -1, 3}, {1, 1000, 0, 3}, {0, 10, -2, 1}, {-5, 0, -2, -1}, {0.001f, 0.002f, -3, -2},
    };
    for (const Case& c : cases) {
        const DecadeRange d = decadesEnclosing(c.min, c.max);
        EXPECT_EQ(d.lo, c.lo) << c.min;
        EXPECT_EQ(d.hi, c.hi) << c.max;
    }
}

TEST(PlotAxis, CoefficientsMapTheRangeOntoThePlotArea)
{
    const AxisCoefficients c = axisCoefficients(0, 100, 80, 400);
    EXPECT_FLOAT_EQ(c.a * 0 + c.b, 80.0f);
    EXPECT_FLOAT_EQ(c.a * 100 + c.b, 480.0f);
    EXPECT_FLOAT_EQ(valueFromView(280, c, 0), 50.0f);

    // An empty range stays finite: the value sits in the middle of the area.
    const AxisCoefficients empty = axisCoefficients(5, 5, 80, 400);
    EXPECT_TRUE(std::isfinite(empty.a) && std::isfinite(empty.b));
    EXPECT_FLOAT_EQ(empty.a * 5 + empty.b, 280.0f);

    // No area: the view cannot be converted back, the lower bound stands in.
    const AxisCoefficients flat = axisCoefficients(0, 10, 80, 0);
    EXPECT_EQ(valueFromView(100, flat, 0), 0.0f);
}

TEST(PlotAxis, TickLabels)
{
    struct Case {
        float value;
        bool logarithmic;
        int digits;
        const char* text;
    };
    float nearZero = -1.0f; // -1 to 1 in steps of 0.2 passes zero at -2.98e-08
    for (int i = 0; i < 5; ++i)
        nearZero += 0.2f;
    ASSERT_LT(nearZero, 0.0f);
    const Case cases[] = {
        {0, false, 3, "0.000"},
        {1.2f, false, 1, "1.2"},
        {-1.25f, false, 0, "-1"},
        {nearZero, false, 3, "0.000"},
        {-0.4f, false, 0, "0"},
        {-0.0f, false, 2, "0.00"},
        {-0.004f, false, 3, "-0.004"},
        {-1, true, 3, "0.1"},
        {0, true, 3, "1"},
        {3, true, 3, "1000"},
        {6, true, 0, "1e+06"},
        {-3, true, 3, "0.001"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(tickLabelText(c.value, c.logarithmic, c.digits), c.text) << c.value;
}

TEST(PlotAxis, DefaultRangesWidenToWholeSteps)
{
    struct Case {
        float value;
        float lower, upper;
    };
    const Case cases[] = {{15, 0, 20}, {20, 10, 30}, {-15, -20, 0}, {25, 10, 30}, {30, 20, 40}, {0, -10, 10}};
    for (const Case& c : cases) {
        EXPECT_FLOAT_EQ(widenedLowerBound(c.value, 10), c.lower) << c.value;
        EXPECT_FLOAT_EQ(widenedUpperBound(c.value, 10), c.upper) << c.value;
    }
    // A step below 1 would divide by zero: the value is kept.
    EXPECT_FLOAT_EQ(widenedLowerBound(15, 0.5f), 15.0f);
    EXPECT_FLOAT_EQ(widenedUpperBound(15, 0.0f), 15.0f);
    EXPECT_TRUE(std::isfinite(widenedLowerBound(-1e20f, -1.0f)));
}
