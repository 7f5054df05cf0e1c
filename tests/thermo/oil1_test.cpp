// Alpha-beta model fluid and its volumetric equations.
#include "thermo/AlphaBetaStartTables.h"
#include "thermo/Montel.h"
#include "thermo/Oil1.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>
#include <utility>
#include <vector>

namespace quorvel {
namespace {

struct ModelFluid {
    Montel liquidModel{phase_kind::liquid};
    Montel vapourModel{phase_kind::vapour};
    Oil1 oil{liquidModel, vapourModel};
};

// The isochore walk as it was first written: fixed 0.1 K steps down from Th, each started
// by a linear step along the isochore, then the final solve at T. Kept as the reference of
// the step-controlled walk. Returns failure_code.
equilibrium_failure fixedStepVapourFraction(Oil1& oil, double alpha, double beta, double n2, double co2, double Th,
                            double T, double& fv, double& p)
{
    oil.setDistributionParameters(alpha, beta, co2, n2, 0);
    const bool bubble = oil.inclusionType() == Homogenisation::toLiquid;
    oil.set_type_of_problem(problem_type::fixed_T_and_Fv);
    oil.set_the_temperature(Th);
    oil.set_the_vaporization_ratio(bubble ? 0 : 1);
    oil.set_initialization_flag(initialization::from_ideal_mixture);
    oil.calculateVLE();
    if (oil.failureCode() != equilibrium_failure::none)
        return oil.failureCode();

    const double volume = bubble ? oil.liquidModel()->molarVolume() : oil.vapourModel()->molarVolume();
    oil.save();
    oil.setSavedLiquidMoles(bubble ? 1 : 0);
    oil.setSavedVapourMoles(bubble ? 0 : 1);
    oil.set_the_volume(volume);
    oil.set_initialization_flag(initialization::from_estimates);
    const auto predict = [&oil](double t) {
        const double dt = t - oil.savedTemperature();
        std::vector<double> derivatives(oil.variableCount());
        const bool slope =
            oil.calculate_derivatives(derivatives, Quenta::temperature_quantity, Quenta::molar_volume_quantity);
        const auto d = [&](int k) { return slope ? derivatives[k] * dt : 0.0; };
        oil.set_type_of_problem(problem_type::fixed_T_and_v);
        oil.set_the_temperature(t);
        oil.setEstimatedTemperature(t);
        oil.setEstimatedPressure(oil.savedPressure() + d(1));
        std::vector<double> x = oil.estimatedLiquidComposition(), y = oil.estimatedVapourComposition();
        for (int i = 0; i < 17; ++i) {
            x[i] = std::clamp(oil.savedLiquidComposition()[i] + d(4 + i), 0.0, 1.0);
            y[i] = std::clamp(oil.savedVapourComposition()[i] + d(21 + i), 0.0, 1.0);
        }
        oil.setEstimatedLiquidComposition(std::move(x));
        oil.setEstimatedVapourComposition(std::move(y));
        oil.setLiquidMoles(std::clamp(oil.savedLiquidMoles() + d(2), 0.0, 1.0));
        oil.setVapourMoles(std::clamp(oil.savedVapourMoles() + d(3), 0.0, 1.0));
    };

    const double step = std::min(Th - T, 0.1);
    for (int k = 1; step > 0 && Th - k * step > T; ++k) {
        predict(Th - k * step);
        oil.calculateVLE();
        if (oil.failureCode() != equilibrium_failure::none) {
            oil.restore();
            break;
        }
        oil.save();
    }
    predict(T);
    oil.calculateVLE();
    if (oil.failureCode() != equilibrium_failure::none)
        return oil.failureCode();
    p = oil.currentPressure();
    fv = oil.vapourMoles() * oil.vapourModel()->molarVolume() / volume;
    return equilibrium_failure::none;
}

TEST(Oil1Model, NewFluidIsAConsistentMethaneFluid)
{
    ModelFluid fluid;
    EXPECT_EQ(fluid.oil.getAlpha(), 0.0);
    EXPECT_EQ(fluid.oil.getBeta(), 0.0);
    EXPECT_EQ(fluid.oil.inclusionType(), Homogenisation::toLiquid);
    EXPECT_DOUBLE_EQ(fluid.oil.getCH4(), 1.0);
    EXPECT_EQ(fluid.oil.distributionSize(), 11);
}

TEST(Oil1Model, DistributionReachesFeedAndPhaseModels)
{
    ModelFluid fluid;
    Oil1& oil = fluid.oil;
    oil.setDistributionParameters(0.7, 0.2, 0.03, 0.02, 0.01);  // CO2 before N2
    EXPECT_DOUBLE_EQ(oil.feedComposition()[kCO2], 0.03);
    EXPECT_DOUBLE_EQ(oil.feedComposition()[kN2], 0.02);
    EXPECT_DOUBLE_EQ(oil.feedComposition()[kH2S], 0.01);
    EXPECT_NEAR(std::accumulate(oil.feedComposition().begin(), oil.feedComposition().end(), 0.0), 1.0, 1e-14);
    EXPECT_EQ(oil.getCH4(), oil.feedComposition()[kC1]);
    for (short i = 0; i < 17; ++i)
        EXPECT_EQ(oil.feedMoles()[i], oil.feedComposition()[i]);

    // Heavy cuts in both phase models, as the cut formulas give them.
    const HeavyCut cn1 = heavyCutProperties(0.7, 11, 25), cn2 = heavyCutProperties(0.7, 26, 499);
    for (const Montel* phase : {&fluid.liquidModel, &fluid.vapourModel}) {
        EXPECT_DOUBLE_EQ(phase->criticalTemperature()[kCn1], cn1.tc);
        EXPECT_DOUBLE_EQ(phase->criticalPressure()[kCn2], cn2.pc);
        EXPECT_DOUBLE_EQ(phase->acentricFactor()[kCn2], cn2.omega);
        EXPECT_DOUBLE_EQ(phase->molarWeight()[kCn1], cn1.mw);
        EXPECT_DOUBLE_EQ(phase->secondHeavyCut().shift, cn2.shift);
    }
    EXPECT_DOUBLE_EQ(oil.specificGravity()[kCn2], modelSpecificGravity(kCn2, cn2.mw));
    EXPECT_EQ(oil.specificGravity()[kC1], 0.0);

    // setAlpha alone rebuilds nothing.
    const std::vector<double> before = oil.feedComposition();
    oil.setAlpha(0.4);
    EXPECT_EQ(oil.feedComposition(), before);
    oil.updateDistribution();
    EXPECT_GT(oil.getCH4(), before[kC1]);
}

// Fault mended: parameters whose distribution has a negative or non-finite mole fraction
// went into the feed. They are refused and the fluid stays as it was; negative betas whose
// distribution is sound (the grids start at beta -0.3, the fits accept them) stay valid.
TEST(Oil1Model, ParametersOfAnUnsoundDistributionAreRefused)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        const char* name;
        double alpha, beta, co2, n2, h2s;
        bool sound;
    };
    const Case cases[] = {
        {"negative alpha", -0.5, 0, 0, 0, 0, false},
        {"beta -1", 0.7, -1, 0, 0, 0, false},
        {"beta 3", 0.7, 3, 0, 0, 0, false},
        {"alpha not a number", nan, 0, 0, 0, 0, false},
        {"beta not a number", 0.7, nan, 0, 0, 0, false},
        {"huge alpha", 1e300, 0, 0, 0, 0, false},
        {"infinite alpha", std::numeric_limits<double>::infinity(), 0, 0, 0, 0, false},
        {"negative N2", 0.7, 0, 0, -0.1, 0, false},
        {"gases above the whole", 0.7, 0, 0.6, 0.3, 0.2, false},
        {"CO2 not a number", 0.7, 0, nan, 0, 0, false},
        {"beta -0.3 of the grids", 0.5, -0.3, 0, 0, 0, true},
        {"beta -0.3, heavy oil", 0.95, -0.3, 0.02, 0.01, 0, true},
        {"beta -0.5", 0.7, -0.5, 0, 0, 0, true},
        {"no hydrocarbons", 0.7, 0, 0.5, 0.3, 0.2, true},
    };
    for (const Case& c : cases) {
        ModelFluid fluid;
        Oil1& oil = fluid.oil;
        ASSERT_TRUE(oil.setDistributionParameters(0.6, 0.1, 0.01, 0.02, 0.03));
        const std::vector<double> before = oil.feedComposition();
        const double cn1_weight = fluid.liquidModel.molarWeight()[kCn1];

        EXPECT_EQ(oil.setDistributionParameters(c.alpha, c.beta, c.co2, c.n2, c.h2s), c.sound) << c.name;
        if (c.sound) {
            for (double z : oil.feedComposition())
                EXPECT_GE(z, 0.0) << c.name;
            EXPECT_NEAR(std::accumulate(oil.feedComposition().begin(), oil.feedComposition().end(), 0.0), 1, 1e-12)
                << c.name;
            EXPECT_EQ(oil.getBeta(), c.beta) << c.name;
            continue;
        }
        EXPECT_EQ(oil.failureCode(), equilibrium_failure::unsound_distribution) << c.name;
        EXPECT_EQ(oil.feedComposition(), before) << c.name;
        EXPECT_EQ(oil.getAlpha(), 0.6) << c.name;
        EXPECT_EQ(oil.getBeta(), 0.1) << c.name;
        EXPECT_EQ(oil.co2Fraction(), 0.01) << c.name;
        EXPECT_EQ(fluid.liquidModel.molarWeight()[kCn1], cn1_weight) << c.name;
    }
}

TEST(Oil1Model, VapourPressureStartData)
{
    ModelFluid fluid;
    const Oil1& oil = fluid.oil;
    // Normal boiling points: N2 and H2S as given, methane 111.7 K, ethane 184.6 K.
    EXPECT_DOUBLE_EQ(oil.boilingTemperature()[kN2], 75);
    EXPECT_DOUBLE_EQ(oil.boilingTemperature()[kH2S], 212.85);
    EXPECT_NEAR(oil.boilingTemperature()[kC1], 111.7, 0.3);
    EXPECT_NEAR(oil.boilingTemperature()[kC2], 184.6, 1.0);
    EXPECT_NEAR(oil.boilingTemperature()[kC6], 341.9, 1.0);
    EXPECT_NEAR(oil.Psat(kCO2, 304.21), 7382500, 1e-6);
    EXPECT_DOUBLE_EQ(oil.criticalTemperature()[kCn1], 713);
    EXPECT_DOUBLE_EQ(oil.criticalPressure()[kC3], 4246000);
    for (int i = kC1; i < kCn2; ++i)
        EXPECT_LT(oil.boilingTemperature()[i], oil.boilingTemperature()[i + 1] + 1e-9) << i;
}

TEST(Oil1Volumetric, AlphaFoundAgainFromItsOwnVapourFraction)
{
    constexpr double Th = 373.15, T = 293.15, alpha = 0.7;
    ModelFluid direct;
    double fv = 0, ph = 0, p = 0;
    ASSERT_EQ(direct.oil.calculateFv(alpha, 0, 0, 0, 0, Th, T, fv, ph, p), equilibrium_failure::none);
    EXPECT_GT(fv, 0.05);
    EXPECT_LT(fv, 0.3);
    EXPECT_GT(ph, p);
    // The two-phase state at T fills the molar volume of the saturated liquid at Th.
    const Oil1& o = direct.oil;
    EXPECT_NEAR(o.liquidMoles() * direct.liquidModel.molarVolume() + o.vapourMoles() * direct.vapourModel.molarVolume(),
                o.homogenizationVolume(), 1e-9 * o.homogenizationVolume());
    EXPECT_NEAR(o.currentTemperature(), T, 1e-9);

    ModelFluid inverse;
    double start = 0;
    ASSERT_EQ(inverse.oil.estimateInitial(Homogenisation::toLiquid, Th, fv, start), equilibrium_failure::none);
    EXPECT_NEAR(start, alpha, 0.1);
    inverse.oil.setDistributionParameters(start, 0, 0, 0, 0);
    inverse.oil.forgetSaturationStates();
    inverse.oil.findAlpha(Th, T, fv, 1e-8, Homogenisation::toLiquid);
    ASSERT_EQ(inverse.oil.failureCode(), equilibrium_failure::none);
    EXPECT_NEAR(inverse.oil.getAlpha(), alpha, 1e-5);
    EXPECT_NEAR(inverse.oil.homogenizationPressure(), ph, 1e-4 * ph);
    EXPECT_NE(inverse.oil.savedHomogenizationPressure(), 0.0);
}

// The step-controlled walk ends in the state of the fixed 0.1 K walk, to the Newton tolerance.
TEST(Oil1Volumetric, StepControlledIsochoreMeetsTheFixedStepWalk)
{
    using enum Homogenisation;
    struct Case {
        double alpha, beta, n2, co2;
        Homogenisation type;
        double Th, T;
    };
    const Case cases[] = {
        {0.7, 0.1, 0, 0, toLiquid, 373.15, 373.15 - 0.2},
        {0.7, 0.1, 0, 0, toLiquid, 373.15, 293.15},
        {0.7, 0, 0, 0, toLiquid, 440, 290},
        {0.5, 0, 0.01, 0.03, toLiquid, 400, 330},
        {0.6, 0.1, 0, 0, toLiquid, 350, 349},
        {0.9, 0, 0, 0, toLiquid, 600, 450},
        {0.95, 0.1, 0, 0.02, toLiquid, 500, 400},
        {0.4, 0, 0, 0, toVapour, 450, 449.8},
        {0.4, 0, 0, 0, toVapour, 450, 300},
        {0.7, 0, 0, 0, toVapour, 520, 370},
        {0.55, 0.1, 0, 0, toVapour, 450, 350},
        {0.85, 0, 0.01, 0.02, toVapour, 600, 480},
        {0.7, 0.1, 0, 0, toVapour, 500, 495},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "alpha " << c.alpha << " beta " << c.beta << " type " << code_number(c.type)
                                        << " Th " << c.Th << " T " << c.T);
        ModelFluid reference, fluid;
        reference.oil.setInclusionType(c.type);
        fluid.oil.setInclusionType(c.type);
        double fvRef = 0, pRef = 0;
        ASSERT_EQ(fixedStepVapourFraction(reference.oil, c.alpha, c.beta, c.n2, c.co2, c.Th, c.T, fvRef, pRef),
                  equilibrium_failure::none);
        double fv = 0, ph = 0, p = 0;
        ASSERT_EQ(fluid.oil.calculateFv(c.alpha, c.beta, c.n2, c.co2, 0, c.Th, c.T, fv, ph, p),
                  equilibrium_failure::none);
        EXPECT_NEAR(fv, fvRef, 1e-7 * fvRef);
        EXPECT_NEAR(p, pRef, 1e-7 * pRef);
        EXPECT_GT(fv, 0.0);
        EXPECT_LT(fv, 1.0);
    }
}

// An inclusion made by calculateFv at 293.15 K; findAlpha, started from the tables on a
// fresh fluid, finds its alpha again.
struct RoundTrip {
    equilibrium_failure code = equilibrium_failure::none;  // of findAlpha
    double alpha = 0;    // found
    double fv = 0;       // made
};

RoundTrip roundTrip(double alpha, double beta, Homogenisation type, double Th)
{
    constexpr double T = 293.15;
    RoundTrip trip;
    ModelFluid direct;
    direct.oil.setInclusionType(type);
    double ph = 0, p = 0;
    EXPECT_EQ(direct.oil.calculateFv(alpha, beta, 0, 0, 0, Th, T, trip.fv, ph, p), equilibrium_failure::none);

    ModelFluid inverse;
    double start = 0;
    EXPECT_EQ(inverse.oil.estimateInitial(type, Th, trip.fv, start), equilibrium_failure::none);
    inverse.oil.setDistributionParameters(start, beta, 0, 0, 0);
    inverse.oil.forgetSaturationStates();
    inverse.oil.findAlpha(Th, T, trip.fv, 1e-8, type);
    trip.code = inverse.oil.failureCode();
    trip.alpha = inverse.oil.getAlpha();
    if (trip.code == equilibrium_failure::none) {
        EXPECT_NEAR(inverse.oil.homogenizationPressure(), ph, 1e-5 * ph);
    }
    return trip;
}

TEST(Oil1Volumetric, AlphaFoundAgainFromBubbleAndDewTypeInclusions)
{
    using enum Homogenisation;
    struct Case {
        double alpha;
        Homogenisation type;
        std::vector<double> Th;  // K, across the start tables' range for this alpha
    };
    const Case cases[] = {
        {0.4, toLiquid, {305, 330}},
        {0.35, toVapour, {390, 415}},
        {0.45, toLiquid, {310, 340, 370}},
        {0.45, toVapour, {400, 430}},
        {0.55, toLiquid, {320, 380, 440}},
        {0.55, toVapour, {420, 450, 480}},
        {0.7, toLiquid, {320, 400, 480}},
        {0.7, toVapour, {450, 490, 520}},
        {0.85, toLiquid, {330, 450, 550, 600}},
        {0.85, toVapour, {560, 600, 620}},
        {0.95, toLiquid, {400, 600, 800}},
        {0.95, toVapour, {700, 850, 950}},
    };
    for (const double beta : {0.0, 0.1}) {
        for (const Case& c : cases) {
            for (const double Th : c.Th) {
                SCOPED_TRACE(testing::Message() << "alpha " << c.alpha << " beta " << beta << " type "
                                                << code_number(c.type) << " Th " << Th);
                const RoundTrip trip = roundTrip(c.alpha, beta, c.type, Th);
                EXPECT_EQ(trip.code, equilibrium_failure::none);
                EXPECT_NEAR(trip.alpha, c.alpha, 1e-6);
            }
        }
    }
}

// Past alpha 0.989 the heavy cut Cn2 turns more volatile as alpha grows (its correlations
// are used beyond their range), the dew pressure at Th rises again and each of these Fv is
// given a second time by an alpha near 0.994: the search keeps to the fluid below.
TEST(Oil1Volumetric, AlphaFoundBelowTheSecondRootOfHeavyDewTypeInclusions)
{
    // The second root, bracketed by the forward calculation at 520 K.
    const auto vapourFraction = [](double alpha) {
        ModelFluid fluid;
        fluid.oil.setInclusionType(Homogenisation::toVapour);
        double fv = 0, ph = 0, p = 0;
        EXPECT_EQ(fluid.oil.calculateFv(alpha, 0, 0, 0, 0, 520, 293.15, fv, ph, p), equilibrium_failure::none) << alpha;
        return fv;
    };
    const double measured = vapourFraction(0.85);
    ASSERT_GT(vapourFraction(0.9942), measured);
    ASSERT_LT(vapourFraction(0.9946), measured);

    const std::pair<double, std::vector<double>> cases[] = {
        {0.85, {520, 550}},
        {0.9, {480, 520, 550, 580, 620}},
        {0.93, {550, 580, 620}},
    };
    for (const double beta : {0.0, 0.1}) {
        for (const auto& [alpha, temperatures] : cases) {
            for (const double Th : temperatures) {
                SCOPED_TRACE(testing::Message() << "alpha " << alpha << " beta " << beta << " Th " << Th);
                const RoundTrip trip = roundTrip(alpha, beta, Homogenisation::toVapour, Th);
                EXPECT_EQ(trip.code, equilibrium_failure::none);
                EXPECT_NEAR(trip.alpha, alpha, 1e-6);
            }
        }
    }
}

// The dew-type inclusions of the first report of failures, at beta 0.
TEST(Oil1Volumetric, AlphaFoundAgainForTheReportedDewTypeInclusions)
{
    const std::pair<double, double> cases[] = {{0.55, 450}, {0.7, 450}, {0.85, 600}, {0.4, 450}, {0.7, 520}};
    for (const auto& [alpha, Th] : cases) {
        const RoundTrip trip = roundTrip(alpha, 0, Homogenisation::toVapour, Th);
        EXPECT_EQ(trip.code, equilibrium_failure::none) << alpha << " " << Th;
        EXPECT_NEAR(trip.alpha, alpha, 1e-6) << Th;
    }
}

// Dew-type inclusions with less than a millionth of liquid: every alpha heavy enough gives
// the same vapour fraction to within the solver's tolerance, so none is claimed.
TEST(Oil1Volumetric, AlphaOfAnAllVapourInclusionIsNotClaimed)
{
    for (const double alpha : {0.93, 0.95}) {
        const RoundTrip trip = roundTrip(alpha, 0, Homogenisation::toVapour, 450);
        EXPECT_GT(trip.fv, 1 - 1e-6);
        EXPECT_EQ(trip.code, equilibrium_failure::inclusion_point_failed) << alpha;
    }
}

TEST(Oil1Volumetric, FailedFinalSolveIsReportedNotAValue)
{
    ModelFluid fluid;
    double fv = 0.5, ph = 0, p = 7;
    // Reading above the homogenisation temperature: the inclusion is one phase there.
    const equilibrium_failure code = fluid.oil.calculateFv(0.7, 0, 0, 0, 0, 373.15, 383.15, fv, ph, p);
    EXPECT_NE(code, equilibrium_failure::none);
    EXPECT_TRUE(std::isnan(fv));
    EXPECT_TRUE(std::isnan(p));
    EXPECT_GT(ph, 0.0);
}

// Fault mended: a failed saturation solve left the caller's fv and p and an unconverged
// ph; refused parameters ran the solves on the previous fluid.
TEST(Oil1Volumetric, NoSaturationPointOrRefusedParametersGiveNoValues)
{
    struct Case {
        const char* name;
        double alpha, Th;
        equilibrium_failure code;
    };
    // No bubble point of the alpha 0.7 oil at 1500 K, far above its critical temperature.
    const Case cases[] = {{"no saturation point", 0.7, 1500, equilibrium_failure::solve_failed},
                          {"refused parameters", -0.5, 373.15, equilibrium_failure::unsound_distribution}};
    for (const Case& c : cases) {
        ModelFluid fluid;
        double fv = 0.5, ph = 3e6, p = 7;
        EXPECT_EQ(fluid.oil.calculateFv(c.alpha, 0, 0, 0, 0, c.Th, 293.15, fv, ph, p), c.code) << c.name;
        EXPECT_EQ(fluid.oil.failureCode(), c.code) << c.name;
        EXPECT_TRUE(std::isnan(fv)) << c.name;
        EXPECT_TRUE(std::isnan(ph)) << c.name;
        EXPECT_TRUE(std::isnan(p)) << c.name;
    }
}

TEST(Oil1Volumetric, StartValuesFromTheTables)
{
    using enum Homogenisation;
    ModelFluid fluid;
    double alpha = 0;
    // A bubble-type inclusion hotter than every table: the heaviest table.
    EXPECT_EQ(fluid.oil.estimateInitial(toLiquid, 2000, 0.3, alpha), equilibrium_failure::none);
    EXPECT_EQ(alpha, 0.95);
    EXPECT_NEAR(std::accumulate(fluid.oil.estimatedVapourComposition().begin(),
                                fluid.oil.estimatedVapourComposition().end(), 0.0), 1.0, 1e-12);
    // A bubble-type inclusion with a low Th: the lightest table.
    EXPECT_EQ(fluid.oil.estimateInitial(toLiquid, 250, 0.0, alpha), equilibrium_failure::none);
    EXPECT_EQ(alpha, 0.35);
    // A dew-type inclusion all vapour: no table has a value.
    EXPECT_EQ(fluid.oil.estimateInitial(toVapour, 400, 1.0, alpha), equilibrium_failure::no_initial_estimate);
    EXPECT_EQ(fluid.oil.failureCode(), equilibrium_failure::no_initial_estimate);
    EXPECT_EQ(alpha, 0.0);
    // A dew-type inclusion hotter than every table at its Fv: the heaviest table with a value.
    EXPECT_EQ(fluid.oil.estimateInitial(toVapour, 2000, 0.95, alpha), equilibrium_failure::none);
    EXPECT_EQ(alpha, 0.95);
    // Between two tables alpha is interpolated on Th.
    const auto& t7 = Alpha7Beta0;
    const double Th7 = t7[2 + 20 * 4];  // bubble record 4 of the alpha 0.7 table
    EXPECT_EQ(fluid.oil.estimateInitial(toLiquid, Th7, t7[4 + 20 * 4] / 100, alpha), equilibrium_failure::none);
    EXPECT_GT(alpha, 0.6);
    EXPECT_LE(alpha, 0.7 + 1e-12);
}

TEST(Oil1Targets, AlphaForAnApiGravityAndAGasOilRatio)
{
    ModelFluid reference;
    reference.oil.setDistributionParameters(0.7, 0.1, 0, 0, 0);
    reference.oil.calculateGOR();
    ASSERT_EQ(reference.oil.stockTankState(), StockTankState::TwoPhases);

    ModelFluid fluid;
    fluid.oil.setDistributionParameters(0.6, 0.1, 0, 0, 0);
    EXPECT_NEAR(fluid.oil.calculateAlphaForGivenBetaAPI(0.6, 0.1, reference.oil.apiGravities()[0]), 0.7, 1e-5);
    EXPECT_NEAR(fluid.oil.calculateAlphaForGivenBetaGOR(0.65, 0.1, reference.oil.gasOilRatios()[0]), 0.7, 1e-5);
}

} // namespace
} // namespace quorvel
