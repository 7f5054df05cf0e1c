#include "thermo/StockTankCorrelations.h"

#include <gtest/gtest.h>

#include <cmath>

namespace quorvel {
namespace {

constexpr double kLbFt3PerGcm3 = 3.048 * 3.048 * 3.048 / 0.4536;

std::array<double, 7> deadOil() { return {0, 0, 0, 0, 0, 0, 200}; }

TEST(StandingKatz, DeadOilAtStockTankIsItsOwnDensity)
{
    // Only C7+: no light-end correction; at 60 F and 1 bar the corrections are tiny.
    const double sg = 0.85;
    const double rho = getDensityByStandingKatz(288.7, 1, sg * kLbFt3PerGcm3, deadOil());
    EXPECT_NEAR(rho, sg, 0.002);
}

TEST(StandingKatz, PressureAndTemperatureAreLimited)
{
    const std::array<double, 7> oil{3, 1.5, 2, 2, 2, 3, 120};
    const double rho7 = 0.84 * kLbFt3PerGcm3;
    EXPECT_DOUBLE_EQ(getDensityByStandingKatz(350, 2000, rho7, oil),
                     getDensityByStandingKatz(350, 1034.22, rho7, oil));
    EXPECT_DOUBLE_EQ(getDensityByStandingKatz(150, 100, rho7, oil),
                     getDensityByStandingKatz(231.817, 100, rho7, oil));
    EXPECT_DOUBLE_EQ(getDensityByStandingKatz(700, 100, rho7, oil),
                     getDensityByStandingKatz(620.706, 100, rho7, oil));
    // Compression raises, heating lowers the density.
    EXPECT_GT(getDensityByStandingKatz(350, 300, rho7, oil), getDensityByStandingKatz(350, 1, rho7, oil));
    EXPECT_LT(getDensityByStandingKatz(400, 100, rho7, oil), getDensityByStandingKatz(300, 100, rho7, oil));
}

TEST(StandingKatz, DissolvedGasLowersTheDensity)
{
    const double rho7 = 0.85 * kLbFt3PerGcm3;
    const double dead = getDensityByStandingKatz(288.7, 1, rho7, deadOil());
    const double live = getDensityByStandingKatz(288.7, 1, rho7, {4, 2, 0, 0, 0, 0, 200});
    EXPECT_LT(live, dead);
    EXPECT_GT(live, 0.7);
}

TEST(StandingKatz, NoPropanePlusGivesNoDensity)
{
    EXPECT_EQ(getDensityByStandingKatz(288.7, 1, 50, {16, 0, 0, 0, 0, 0, 0}), 0.0);
    EXPECT_EQ(getDensityByStandingKatz(288.7, 1, 50, {0, 0, 0, 0, 0, 0, 0}), 0.0);
    // A C7+ part without a density (no specific gravity given) has no volume to add up.
    EXPECT_EQ(getDensityByStandingKatz(288.7, 1, 0, {2, 1, 3, 3, 3, 3, 150}), 0.0);
    // No C7+ part: light ends alone still give a density.
    const double rho = getDensityByStandingKatz(288.7, 1, 0, {0, 0, 22, 29, 36, 43, 0});
    EXPECT_TRUE(std::isfinite(rho));
    EXPECT_GT(rho, 0.5);
}

TEST(AlaniKennedy, NormalHexaneAtSixtyFahrenheit)
{
    // n-hexane: 0.664 g/cm3 at 60 F (handbook value).
    const double t = 1.8 * 288.7, p = 1 / 0.068948;
    double a = 0, b = 0;
    ASSERT_TRUE(alaniKennedyLightComponent("C6", t, a, b));
    const double V = alaniKennedyVolume(a, b, t, p);
    EXPECT_NEAR(86.18 / (62.4291 * V), 0.664, 0.01);
}

TEST(AlaniKennedy, NamesAndTemperatureRanges)
{
    double a1, b1, a2, b2;
    ASSERT_TRUE(alaniKennedyLightComponent("C1", 700, a1, b1));
    ASSERT_TRUE(alaniKennedyLightComponent("CH4", 700, a2, b2));
    EXPECT_EQ(a1, a2);
    EXPECT_NEAR(a1, 9160.6413 * std::exp(61.893223 / 700), 1e-9);
    ASSERT_TRUE(alaniKennedyLightComponent("C1", 759.67, a1, b1));
    EXPECT_NEAR(b1, -0.0014072637 * 759.67 + 1.8326659, 1e-12);
    ASSERT_TRUE(alaniKennedyLightComponent("C4", 520, a1, b1));
    ASSERT_TRUE(alaniKennedyLightComponent("nC4", 520, a2, b2));
    EXPECT_EQ(a1, a2);
    ASSERT_TRUE(alaniKennedyLightComponent("C5", 520, a1, b1));
    ASSERT_TRUE(alaniKennedyLightComponent("iC5", 520, a2, b2));
    EXPECT_EQ(b1, b2);
    ASSERT_TRUE(alaniKennedyLightComponent("H2S", 520, a1, b1));
    EXPECT_DOUBLE_EQ(a1, 13200.006);
    EXPECT_FALSE(alaniKennedyLightComponent("C7", 520, a1, b1));
    EXPECT_FALSE(alaniKennedyLightComponent("c1", 520, a1, b1));
}

TEST(AlaniKennedy, VolumeIsTheLiquidRootOfTheCubic)
{
    const double t = 560, p = 2000;
    double a, b;
    alaniKennedyHeavyFraction(200, 0.84, t, a, b);
    const double V = alaniKennedyVolume(a, b, t, p);
    const double R = 10.73;
    // Van der Waals form of the same cubic: (p + a/V^2)(V - b) = R t.
    EXPECT_NEAR((p + a / (V * V)) * (V - b) / (R * t), 1.0, 1e-9);
    EXPECT_GT(V, b);
    EXPECT_NEAR(200 / (62.4291 * V), 0.8, 0.1);
}

TEST(StockTankConversions, ApiGravity)
{
    EXPECT_DOUBLE_EQ(apiGravity(1.0), 10.0);
    EXPECT_NEAR(apiGravity(0.85), 34.97, 0.01);
    EXPECT_TRUE(std::isnan(apiGravity(0.0)));
    EXPECT_TRUE(std::isnan(apiGravity(-0.1)));
    EXPECT_NEAR(apiFromMolarWeight(200), 27750 / std::pow(200.0, 1.4344) + 22.698, 1e-12);
}

TEST(StockTankConversions, MontelShiftFactors)
{
    const struct { int id; double s; } cases[] = {
        {-3, -0.1288}, {-2, -0.0817}, {-1, -0.1927}, {1, -0.1595}, {2, -0.1134}, {3, -0.0863},
        {4, -0.073}, {1004, -0.073}, {5, -0.046}, {1005, -0.046}, {6, 0.1}, {10, 0.1},
        {11, 0.2}, {17, 0.2}, {18, 0.3}, {45, 0.3}, {3020, 0.3}, {2000, 0.1}, {2001, 0.1},
        {2002, 0.2}, {0, 0.0}};
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(montelShiftFactor(c.id), c.s) << c.id;
}

TEST(StockTankConversions, DorvaneTranslationRanges)
{
    const double B = 150;
    const auto g = [](double M) { return 1.4559 * M - 24.631 + 0.00062771 * M * M; };
    EXPECT_NEAR(dorvaneTranslation(1, 100, B, 0), 0.55182 * 100 - 38.787 + B - g(100), 1e-12);
    // Between the two ranges there is no h term.
    EXPECT_NEAR(dorvaneTranslation(1, 150, B, 0), B - g(150), 1e-12);
    const double h = 0.08807 * 300 - 14.622 + 0.0019168 * 300 * 300 - 1.372e-6 * 300 * 300 * 300;
    EXPECT_NEAR(dorvaneTranslation(2, 300, B, 0), h + B - g(300), 1e-12);
    EXPECT_NEAR(dorvaneTranslation(3, 300, B, 100), 18.887 * 100 - 724, 1e-12);
    EXPECT_EQ(dorvaneTranslation(0, 300, B, 100), 0.0);
    EXPECT_EQ(dorvaneTranslation(4, 300, B, 100), 0.0);
}

} // namespace
} // namespace quorvel
