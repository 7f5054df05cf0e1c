// Carbon-number distributions: the gamma distribution cut into carbon-number groups, and
// the Ahmed split of a loaded fluid's C7+ fraction.
#include "calc/CalculationInterface.h"
#include "calc/GammaModelInterface.h"
#include "support/TestFluids.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numeric>
#include <string>
#include <vector>

namespace quorvel {
namespace {

using namespace test;

double molarWeight(int n) { return 14.0 * n + 2; }

// Boiling temperature (K) of carbon number n.
double boilingTemperature(int n)
{
    const double M = molarWeight(n);
    return 1214.4 + 477.63 * std::log((M + 88.51) / (M + 1007));
}

double groupSum(const GammaModelInterface& gamma)
{
    double sum = 0;
    for (int k = GammaModelInterface::kFirstGroup; k < gamma.count(); ++k)
        sum += gamma.molePercent(k);
    return sum;
}

void expectSameResult(const GammaModelInterface& a, const GammaModelInterface& b)
{
    ASSERT_EQ(a.count(), b.count());
    for (int k = 0; k < a.count(); ++k) {
        EXPECT_EQ(a.carbonNumber(k), b.carbonNumber(k)) << k;
        EXPECT_EQ(a.molePercent(k), b.molePercent(k)) << k;
    }
}

TEST(GammaDistribution, GroupsSumToTheHydrocarbonShare)
{
    const struct Case {
        double shape, scale;
        int delta;
        double CO2, N2, H2S;
    } cases[] = {
        {2, 80, 1, 0, 0, 0},           {3, 60, 5, 0.02, 0.01, 0},   {1.5, 150, 10, 0, 0, 0.05},
        {8, 25, 3, 0.1, 0.2, 0.3},     {400, 0.5, 2, 0, 0, 0},      {1, 1000, 50, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("shape " + std::to_string(c.shape) + ", scale " + std::to_string(c.scale));
        GammaModelInterface gamma;
        ASSERT_TRUE(gamma.calculateFrom(c.shape, c.scale, c.delta, c.CO2, c.N2, c.H2S));
        ASSERT_GT(gamma.count(), GammaModelInterface::kFirstGroup);
        ASSERT_LE(gamma.count(), GammaModelInterface::kMaxEntries);
        for (int k = 0; k < GammaModelInterface::kFirstGroup; ++k) {
            EXPECT_EQ(gamma.carbonNumber(k), k);
            EXPECT_EQ(gamma.molePercent(k), 0);
        }
        for (int k = GammaModelInterface::kFirstGroup; k < gamma.count(); ++k) {
            EXPECT_TRUE(std::isfinite(gamma.molePercent(k)) && gamma.molePercent(k) > 0) << k;
            if (k > GammaModelInterface::kFirstGroup) {
                EXPECT_GT(gamma.carbonNumber(k), gamma.carbonNumber(k - 1));
            }
        }
        EXPECT_NEAR(groupSum(gamma), 100 * (1 - c.CO2 - c.N2 - c.H2S), 1e-9);
    }
}

// Single carbon numbers up to C10, then groups of delta, the first being the lightest
// carbon number that boils above the first sample's 293.15 K.
TEST(GammaDistribution, GroupsAreSingleCarbonNumbersUpToC10ThenDeltaWide)
{
    int lightest = 1;
    while (boilingTemperature(lightest) <= 293.15)
        ++lightest;
    ASSERT_EQ(lightest, 5);

    GammaModelInterface gamma;
    ASSERT_TRUE(gamma.calculateFrom(2.5, 70, 4, 0, 0, 0));
    int expected = lightest;
    for (int k = GammaModelInterface::kFirstGroup; k < gamma.count(); ++k) {
        EXPECT_EQ(gamma.carbonNumber(k), expected) << k;
        expected += expected <= 10 ? 1 : 4;
    }
}

// Each group's mass share is the share of the distribution's samples that boil inside its
// interval: the moles of a group times its molar weight.
TEST(GammaDistribution, MassSharesAreTheSampledDistributionBetweenBoilingPoints)
{
    const double shape = 3, scale = 60;
    GammaModelInterface gamma;
    ASSERT_TRUE(gamma.calculateFrom(shape, scale, 1, 0, 0, 0));

    std::vector<double> samples(600);
    for (int i = 0; i < 600; ++i)
        samples[i] = std::pow(i, shape - 1) * std::exp(-i / scale);
    double massTotal = 0;
    for (int k = GammaModelInterface::kFirstGroup; k < gamma.count(); ++k)
        massTotal += gamma.molePercent(k) * molarWeight(gamma.carbonNumber(k));

    double lower = -std::numeric_limits<double>::infinity(), sampledTotal = 0;
    std::vector<double> sampledShare;
    for (int k = GammaModelInterface::kFirstGroup; k < gamma.count(); ++k) {
        const double upper = boilingTemperature(gamma.carbonNumber(k));
        double s = 0;
        for (int i = 0; i < 600; ++i)
            if (i + 293.15 >= lower && i + 293.15 < upper)
                s += samples[i];
        sampledShare.push_back(s);
        sampledTotal += s;
        lower = upper;
    }
    for (int k = GammaModelInterface::kFirstGroup; k < gamma.count(); ++k) {
        const double mass = gamma.molePercent(k) * molarWeight(gamma.carbonNumber(k)) / massTotal;
        EXPECT_NEAR(mass, sampledShare[k - GammaModelInterface::kFirstGroup] / sampledTotal, 1e-12)
            << "C" << gamma.carbonNumber(k);
    }
}

TEST(GammaDistribution, ShapeAndGroupWidthAreClamped)
{
    GammaModelInterface reference, clamped;
    ASSERT_TRUE(reference.calculateFrom(1.000000001, 90, 3, 0, 0, 0));
    for (double shape : {1.0, 0.5, -2.0}) {
        ASSERT_TRUE(clamped.calculateFrom(shape, 90, 3, 0, 0, 0));
        expectSameResult(clamped, reference);
    }
    const struct Case {
        int given, clampedTo;
    } widths[] = {{0, 1}, {-7, 1}, {80, 50}};
    for (const Case& c : widths) {
        SCOPED_TRACE("delta " + std::to_string(c.given));
        ASSERT_TRUE(reference.calculateFrom(2, 120, c.clampedTo, 0, 0, 0));
        ASSERT_TRUE(clamped.calculateFrom(2, 120, c.given, 0, 0, 0));
        expectSameResult(clamped, reference);
    }
}

TEST(GammaDistribution, RefusesAScaleThatIsNotPositiveAndGasesThatFillTheFluid)
{
    const struct Case {
        const char* what;
        double scale, CO2, N2, H2S;
    } cases[] = {
        {"zero scale", 0, 0, 0, 0},
        {"negative scale", -50, 0, 0, 0},
        {"scale not a number", std::numeric_limits<double>::quiet_NaN(), 0, 0, 0},
        {"gases make up the whole fluid", 80, 0.5, 0.3, 0.2},
        {"gases above the whole fluid", 80, 1.2, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        GammaModelInterface gamma;
        ASSERT_TRUE(gamma.calculateFrom(2, 80, 2, 0, 0, 0));
        EXPECT_FALSE(gamma.calculateFrom(2, c.scale, 2, c.CO2, c.N2, c.H2S));
        EXPECT_EQ(gamma.count(), 0);
    }
}

// ---- Ahmed split ------------------------------------------------------------------------

// A heavy pseudo-component with its own molar weight (species identifier 3008 or more).
ComponentData pseudoComponent(int identifier, double molePercent, double mw)
{
    return {"F1", identifier, molePercent, mw, 0.82, 400, 250, 20, 700, 0.6, 0};
}

std::vector<double> ahmedSplitOf(const std::vector<ComponentData>& fluid)
{
    CalculationInterface ci(FluidType::componentList, EquationOfState::pengRobinson);
    EXPECT_TRUE(ci.setModelFluid(FluidType::componentList, fluidRecord(2, fluid)));
    return ci.generateAhmedFluid();
}

double sumOf(const std::vector<double>& x) { return std::accumulate(x.begin(), x.end(), 0.0); }

TEST(AhmedSplit, RichAndLeanPlusFractionsTakeTheirOwnMolarWeightIncrements)
{
    const struct Case {
        const char* what;
        double z7, M7;
        double first, second, third;  // molar-weight increments of C7, C8, C9 over M7
    } cases[] = {
        {"z7 0.2: oil increments", 0.2, 200, 16.5, 2 * 20.1, 3 * 20.1},
        {"z7 0.1: condensate increments", 0.1, 200, 15.5, 2 * 15.5, 3 * 17.0},
        {"z7 0.3, heavy", 0.3, 350, 16.5, 2 * 20.1, 3 * 20.1},
    };
    const double tableC7 = 96, tableC8 = 107, tableC9 = 121;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<double> x =
            ahmedSplitOf({withMole(kC1, 100 * (1 - c.z7)), pseudoComponent(3008, 100 * c.z7, c.M7)});
        ASSERT_GE(x.size(), 3u);
        ASSERT_LE(x.size(), 38u);
        // Ahmed: x_n = z_n+ (M_n+ - M_(n-1)+) / (M_n+ - M_n), z_(n+1)+ = z_n+ - x_n.
        const double M1 = c.M7 + c.first, M2 = c.M7 + c.second, M3 = c.M7 + c.third;
        const double x0 = c.z7 * (M1 - c.M7) / (M1 - tableC7);
        const double x1 = (c.z7 - x0) * (M2 - M1) / (M2 - tableC8);
        const double x2 = (c.z7 - x0 - x1) * (M3 - M2) / (M3 - tableC9);
        EXPECT_NEAR(x[0], x0, 1e-14);
        EXPECT_NEAR(x[1], x1, 1e-14);
        EXPECT_NEAR(x[2], x2, 1e-14);
        EXPECT_NEAR(sumOf(x), c.z7, 1e-14);
        for (double xk : x)
            EXPECT_GE(xk, 0);
    }
}

TEST(AhmedSplit, SingleCarbonNumbersCountWithTheTablesMolarWeight)
{
    // C10's table weight is 134 g/mol, whatever the record says (142.3).
    const std::vector<double> x = ahmedSplitOf({withMole(kC1, 70), withMole(kC10, 30)});
    ASSERT_FALSE(x.empty());
    EXPECT_NEAR(x[0], 0.3 * 16.5 / (134 + 16.5 - 96), 1e-14);
    EXPECT_NEAR(sumOf(x), 0.3, 1e-14);
}

TEST(AhmedSplit, APlusFractionTooHeavyForTheTableEndsInTheRest)
{
    const std::vector<double> x = ahmedSplitOf({withMole(kC1, 60), pseudoComponent(3008, 40, 900)});
    ASSERT_EQ(x.size(), 38u);
    EXPECT_NEAR(sumOf(x), 0.4, 1e-14);
    EXPECT_GT(x.back(), 0);
}

TEST(AhmedSplit, NothingToSplitGivesNoFractions)
{
    const struct Case {
        const char* what;
        std::vector<ComponentData> fluid;
    } cases[] = {
        {"no heavy component", {withMole(kC1, 60), withMole(kC2, 40)}},
        {"identifier 3007 is not a heavy fraction", {withMole(kC1, 60), pseudoComponent(3007, 40, 200)}},
        {"no C7+ in the feed", {withMole(kC1, 100), pseudoComponent(3008, 0, 200)}},
        {"plus fraction lighter than C7", {withMole(kC1, 80), pseudoComponent(3008, 20, 79.5)}},
        {"plus fraction a little lighter than C7", {withMole(kC1, 80), pseudoComponent(3008, 20, 95)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_TRUE(ahmedSplitOf(c.fluid).empty());
    }
    CalculationInterface notLoaded(FluidType::componentList, EquationOfState::pengRobinson);
    EXPECT_TRUE(notLoaded.generateAhmedFluid().empty());
}

TEST(AhmedSplit, APlusFractionJustHeavierThanC7GivesNonNegativeFractions)
{
    for (double M7 : {96.5, 100.0, 110.0}) {
        SCOPED_TRACE("M7 " + std::to_string(M7));
        const std::vector<double> x = ahmedSplitOf({withMole(kC1, 80), pseudoComponent(3008, 20, M7)});
        ASSERT_FALSE(x.empty());
        for (double xk : x)
            EXPECT_GE(xk, 0);
        EXPECT_NEAR(sumOf(x), 0.2, 1e-14);
    }
}

} // namespace
} // namespace quorvel
