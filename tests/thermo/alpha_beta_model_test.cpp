#include "thermo/AlphaBetaModel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>

namespace quorvel {
namespace {

double sum(const std::array<double, kModelComponentCount>& z)
{
    return std::accumulate(z.begin(), z.end(), 0.0);
}

// Mean carbon number of first..last weighted by alpha^(k-first), written as the
// mean of a truncated geometric distribution.
double geometricMean(double alpha, int first, int last)
{
    const int m = last - first;  // offsets 0..m
    if (alpha == 0)
        return first;
    double num = 0, den = 0;
    for (int j = 0; j <= m; ++j) {
        num += j * std::pow(alpha, j);
        den += std::pow(alpha, j);
    }
    return first + num / den;
}

TEST(AlphaBetaDistribution, SizeFollowsTheTailCutOff)
{
    struct Case { double alpha, beta; int size; };
    // At beta 0, d11 = alpha^8 and the tail alpha^(k-11) d11 first drops below 1e-10
    // at k = 68 for alpha 0.7 and at k = 23 for alpha 0.3.
    const Case cases[] = {{0.7, 0.0, 67}, {0.0, 0.0, 11}, {1.0, 0.5, 500}, {0.3, 0.0, 22}};
    for (const auto& c : cases) {
        const auto d = alphaBetaDistribution(c.alpha, c.beta);
        EXPECT_EQ(d.size, c.size) << "alpha " << c.alpha;
        const double total = std::accumulate(d.fraction.begin(), d.fraction.end(), 0.0);
        EXPECT_NEAR(total, 1.0, 1e-14);
        EXPECT_TRUE(std::all_of(d.fraction.begin() + d.size, d.fraction.end(),
                                [](double v) { return v == 0; }));
    }
}

TEST(AlphaBetaDistribution, LightOilAtAlpha07)
{
    const auto d = alphaBetaDistribution(0.7, 0.0);
    const auto z = regroupDistribution(d, 0, 0, 0);
    EXPECT_NEAR(sum(z), 1.0, 1e-14);
    EXPECT_EQ(std::max_element(z.begin(), z.end()) - z.begin(), kC1);
    EXPECT_NEAR(z[kC1], 0.28, 0.01);
    EXPECT_LT(z[kCn2], 0.001);
    EXPECT_GT(z[kCn2], 0.0);
    // Regrouping keeps the shares of the distribution up to one scale factor.
    const double scale = z[kC1] / d.fraction[0];
    EXPECT_NEAR(z[kC6], scale * d.fraction[5], 1e-15);
    double cn1 = 0;
    for (int k = 11; k <= 25; ++k)
        cn1 += d.fraction[k - 1];
    EXPECT_NEAR(z[kCn1], scale * cn1, 1e-15);
}

TEST(AlphaBetaDistribution, AlphaZeroIsPureMethane)
{
    const auto z = regroupDistribution(alphaBetaDistribution(0.0, 0.0), 0.02, 0.03, 0.01);
    EXPECT_DOUBLE_EQ(z[kC1], 0.94);
    for (int i = kC2; i < kModelComponentCount; ++i)
        EXPECT_EQ(z[i], 0.0) << i;
    EXPECT_NEAR(sum(z), 1.0, 1e-15);
}

TEST(AlphaBetaDistribution, GasContentsScaleTheHydrocarbons)
{
    const auto d = alphaBetaDistribution(0.8, 0.3);
    const auto dry = regroupDistribution(d, 0, 0, 0);
    const auto wet = regroupDistribution(d, 0.05, 0.1, 0.02);
    EXPECT_DOUBLE_EQ(wet[kN2], 0.05);
    EXPECT_DOUBLE_EQ(wet[kCO2], 0.1);
    EXPECT_DOUBLE_EQ(wet[kH2S], 0.02);
    for (int i = kC1; i < kModelComponentCount; ++i)
        EXPECT_NEAR(wet[i], dry[i] * 0.83, 1e-15) << i;

    const auto gasOnly = regroupDistribution(d, 0.5, 0.3, 0.2);
    for (int i = kC1; i < kModelComponentCount; ++i)
        EXPECT_EQ(gasOnly[i], 0.0) << i;
}

TEST(AlphaBetaDistribution, ShortDistributionHasNoSecondCut)
{
    const auto d = alphaBetaDistribution(0.3, 0.0);
    ASSERT_LT(d.size, 26);
    EXPECT_EQ(regroupDistribution(d, 0, 0, 0)[kCn2], 0.0);
}

TEST(AlphaBetaDistribution, AlphaOneSendsTheWholeTailToCn2)
{
    const auto d = alphaBetaDistribution(1.0, 0.5);
    const auto z = regroupDistribution(d, 0, 0, 0);
    const double scale = z[kC1] / d.fraction[0];
    // Carbon numbers 26..500 all carry the weight of carbon number 11.
    EXPECT_NEAR(z[kCn2], scale * 475 * d.fraction[10], 1e-12);
}

TEST(HeavyCut, MeanCarbonNumberGivesTheMolarWeight)
{
    const struct { double alpha; int first, last; } cases[] = {
        {0.7, 11, 25}, {0.7, 26, 499}, {0.0, 11, 25}, {0.0, 26, 499}, {0.95, 26, 499}, {1.0, 11, 25}};
    for (const auto& c : cases) {
        const auto cut = heavyCutProperties(c.alpha, c.first, c.last);
        EXPECT_NEAR(cut.mw, 12.5 * geometricMean(c.alpha, c.first, c.last), 1e-9)
            << c.alpha << " " << c.first;
    }
    EXPECT_NEAR(heavyCutProperties(0.7, 11, 25).mw / 12.5, 13.2, 0.2);
    EXPECT_NEAR(heavyCutProperties(0.7, 26, 499).mw / 12.5, 28.3, 0.2);
    EXPECT_DOUBLE_EQ(heavyCutProperties(0.0, 11, 25).mw, 137.5);
    EXPECT_DOUBLE_EQ(heavyCutProperties(0.0, 26, 499).mw, 325.0);
    EXPECT_DOUBLE_EQ(heavyCutProperties(1.0, 11, 25).mw, 12.5 * 18);
}

TEST(HeavyCut, CriticalDataOfTheUndecaneCut)
{
    // alpha 0: the cut is carbon number 11 alone, M = 137.5 g/mol.
    const auto cut = heavyCutProperties(0.0, 11, 25);
    const double M = 137.5, n = 11;
    const double tc = 96 + 90 * std::log(M) + 0.75 * M - 4100 / M;
    EXPECT_NEAR(cut.tc, tc, 1e-9);
    EXPECT_NEAR(cut.tc, 612.4, 0.1);
    // 655398.14 Pa K^-1 is 95.06 psia/R expressed in Pa/K; the denominator in n.
    EXPECT_NEAR(cut.pc, 655398.1443946692 * tc / (22.5 + 14 * n - 0.08 * n * n), 1e-6);
    EXPECT_NEAR(cut.omega, 0.14 + 0.025 * n - 0.00017 * n * n, 1e-15);
    // The critical volume follows from a critical compressibility of 0.3074.
    const double R = 8.31451198983133;
    EXPECT_NEAR(cut.pc * cut.vc / (R * cut.tc), 0.3074, 1e-4);
    EXPECT_NEAR(cut.shift, 1 - 2.5 * std::pow(M, -0.2), 1e-15);
}

TEST(ModelSpecificGravity, LightTableAndHeavyCorrelation)
{
    const double light[] = {0, 0, 0, 0, 0, 0.507, 0.572, 0.572, 0.626, 0.626, 0.663};
    for (int i = 0; i <= kC6; ++i)
        EXPECT_DOUBLE_EQ(modelSpecificGravity(i, 100), light[i]) << i;
    // At the lower bound of the correlation the ratio is 1: 0.6262.
    EXPECT_DOUBLE_EQ(modelSpecificGravity(kC7, 72.1486), 0.6262);
    // Rising with the molar weight through C7 to the heavy cuts.
    double previous = 0;
    for (double mw : {98.4, 112.0, 126.0, 140.0, 200.0, 440.0}) {
        const double sg = modelSpecificGravity(kC7, mw);
        EXPECT_GT(sg, previous);
        EXPECT_LT(sg, 1.0);
        previous = sg;
    }
    // n-heptane: 0.688.
    EXPECT_NEAR(modelSpecificGravity(kC7, 98.4), 0.688, 0.01);
}

} // namespace
} // namespace quorvel
