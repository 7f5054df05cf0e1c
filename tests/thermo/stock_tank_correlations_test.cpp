#include "support/petroleum_fluid.h"
#include "thermo/ICubic.h"
#include "thermo/Montel.h"
#include "thermo/Oil1.h"
#include "thermo/StockTankCorrelations.h"

#include <gtest/gtest.h>

#include <algorithm>
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

// The Dorvane translation as published, c = h + B - g: h linear from 85 to 142 g/mol and
// cubic from 156 to 640 g/mol; here joined by a straight line across 142 to 156 g/mol and
// held at its end values below 85 and above 640 g/mol.
double publishedG(double M) { return 1.4559 * M - 24.631 + 0.00062771 * M * M; }
double publishedLinearH(double M) { return 0.55182 * M - 38.787; }
double publishedCubicH(double M) { return 0.08807 * M - 14.622 + 0.0019168 * M * M - 1.372e-6 * M * M * M; }
double publishedH(double M)
{
    if (M < 85)
        return publishedLinearH(85);
    if (M <= 142)
        return publishedLinearH(M);
    if (M < 156)
        return publishedLinearH(142) + (M - 142) / 14 * (publishedCubicH(156) - publishedLinearH(142));
    if (M <= 640)
        return publishedCubicH(M);
    return publishedCubicH(640);
}
double publishedTranslatedDensity(double M, double V, double B)
{
    return M / (V - (publishedH(M) + B - publishedG(M)));
}

// A stock-tank oil of molar weight M: a molar volume from an alkane-like density and a
// co-volume of three quarters of it (cm3/mol).
double oilVolume(double M) { return M / (0.96 - 27 / M); }
double oilCoVolume(double M) { return 0.75 * oilVolume(M); }

double engineTranslatedDensity(FluidType type, double M)
{
    const double V = oilVolume(M);
    return M / translateVolume(V, dorvaneTranslation(type, M, oilCoVolume(M), M)).volume;
}

TEST(DorvaneTranslation, TranslatedDensityIsThePublishedOneAndContinuousAtEveryBranchBoundary)
{
    const double boundaries[] = {85, 142, 156, 640};
    const double eps = 1e-3;
    for (const FluidType type : {FluidType::alphaBeta, FluidType::componentList, FluidType::carbonNumbers}) {
        for (const double boundary : boundaries) {
            const double below = engineTranslatedDensity(type, boundary - eps);
            const double above = engineTranslatedDensity(type, boundary + eps);
            for (const double M : {boundary - eps, boundary + eps, boundary - 5, boundary + 5})
                EXPECT_NEAR(engineTranslatedDensity(type, M),
                            publishedTranslatedDensity(M, oilVolume(M), oilCoVolume(M)), 1e-12)
                    << "type " << code_number(type) << ", M " << M;
            EXPECT_LT(std::fabs(above - below), 0.01 * below) << "type " << code_number(type) << " at " << boundary;
        }
        // Inside the bridged range the translation moves the oil's volume by a few cm3/mol per
        // g/mol, never by the 40 cm3/mol the bare branches left out.
        for (double M = 140; M <= 158; M += 0.5)
            EXPECT_LT(std::fabs(engineTranslatedDensity(type, M + 0.5) - engineTranslatedDensity(type, M)),
                      0.01 * engineTranslatedDensity(type, M))
                << M;
    }
}

TEST(DorvaneTranslation, GammaAndUnknownFluidTypes)
{
    EXPECT_NEAR(dorvaneTranslation(FluidType::gamma, 300, 150, 100), 18.887 * 100 - 724, 1e-12);
    EXPECT_TRUE(std::isnan(dorvaneTranslation(FluidType::none, 300, 150, 100)));
    EXPECT_TRUE(std::isnan(dorvaneTranslation(fluidTypeFromNumber(7), 300, 150, 100)));
}

TEST(DorvaneTranslation, AVolumeThatWouldNotStayPositiveIsNotTranslated)
{
    const struct {
        double V, c;
        TranslationOutcome outcome;
    } cases[] = {{191.5, 1714, TranslationOutcome::non_positive_volume},
                 {191.5, 191.5, TranslationOutcome::non_positive_volume},
                 {191.5, -20, TranslationOutcome::applied},
                 {191.5, 20, TranslationOutcome::applied},
                 {191.5, kUnavailable, TranslationOutcome::undefined},
                 {kUnavailable, 20, TranslationOutcome::undefined}};
    for (const auto& c : cases) {
        const TranslatedVolume translated = translateVolume(c.V, c.c);
        EXPECT_EQ(translated.outcome, c.outcome) << c.V << " " << c.c;
        if (c.outcome == TranslationOutcome::applied)
            EXPECT_DOUBLE_EQ(translated.volume, c.V - c.c);
        else
            EXPECT_TRUE(std::isnan(translated.volume));
    }
}

// A gamma-model fluid: the translation from the tank oil's molar weight dwarfs its volume.
TEST(DorvaneTranslation, GammaFluidWhoseTranslationWouldTurnNegativeShowsNoTranslatedValues)
{
    test::PetroleumFluid fluid(test::nine_components);
    Oil& oil = fluid.oil;
    oil.setModelFluidType(FluidType::gamma);
    oil.calculateGOR();
    ASSERT_EQ(oil.stockTankState(), StockTankState::TwoPhases);
    const double Ml = oil.liquidMolarWeight();
    const double c = 18.887 * Ml - 724;
    ASSERT_GT(c, oil.liquidMolarVolume());
    EXPECT_NEAR(oil.dorvaneTranslationVolume(), c, 1e-9);
    EXPECT_EQ(oil.dorvaneTranslationOutcome(), TranslationOutcome::non_positive_volume);
    EXPECT_TRUE(std::isnan(oil.translatedLiquidDensity()));
    EXPECT_TRUE(std::isnan(oil.apiGravities()[3]));
    EXPECT_TRUE(std::isnan(oil.gasOilRatios()[3]));
    EXPECT_NEAR(oil.apiGravities()[0], 141.5 / (Ml / oil.liquidMolarVolume()) - 131.5, 1e-9);
    EXPECT_GT(oil.gasOilRatios()[0], 0);
}

// Alpha-beta fluids along beta 0.2326 whose tank oils cross 142 to 156 g/mol: the translated
// API gravity follows the untranslated one, and each is the published translation of the
// engine's own tank oil.
TEST(DorvaneTranslation, AlphaBetaTankOilsAcrossTheBridgedRange)
{
    Montel liquidModel{phase_kind::liquid};
    Montel vapourModel{phase_kind::vapour};
    Oil1 oil{liquidModel, vapourModel};
    double lightest = 1e300, heaviest = 0, previousApi0 = 0, previousApi3 = 0;
    for (double alpha = 0.855; alpha <= 0.8901; alpha += 0.0025) {
        ASSERT_TRUE(oil.setDistributionParameters(alpha, 0.2326, 0, 0, 0));
        oil.calculateGOR();
        ASSERT_EQ(oil.stockTankState(), StockTankState::TwoPhases) << alpha;
        const double Ml = oil.liquidMolarWeight();
        const double V = oil.liquidMolarVolume();
        const double B = dynamic_cast<const ICubic&>(*oil.liquidModel()).bMix() * 1e6;
        EXPECT_NEAR(oil.translatedLiquidDensity(), publishedTranslatedDensity(Ml, V, B), 1e-12) << alpha;
        EXPECT_NEAR(oil.apiGravities()[3], 141.5 / publishedTranslatedDensity(Ml, V, B) - 131.5, 1e-9) << alpha;
        if (previousApi3 != 0) {
            EXPECT_LT(std::fabs(oil.apiGravities()[3] - previousApi3), 2 * std::fabs(oil.apiGravities()[0] - previousApi0) + 0.5)
                << alpha;
        }
        previousApi0 = oil.apiGravities()[0];
        previousApi3 = oil.apiGravities()[3];
        lightest = std::min(lightest, Ml);
        heaviest = std::max(heaviest, Ml);
    }
    EXPECT_LT(lightest, 142);
    EXPECT_GT(heaviest, 156);
}

} // namespace
} // namespace quorvel
