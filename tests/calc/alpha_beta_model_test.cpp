// The alpha-beta model interface: inputs, the 17-component model fluid, the alpha-beta
// curve of an inclusion checked point by point against the engine's vapour fraction along
// the isochore, the step control of the curve, the stock-tank helpers, and the critical data
// of a flashed model fluid.
#include "calc/CAlphaBetaModelInterface.h"
#include "calc/CalculationInterface.h"

#include "thermo/Montel.h"
#include "thermo/Oil1.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numeric>
#include <string>
#include <vector>

namespace quorvel {
namespace {

// The inclusion of the curve tests: homogenises to liquid at 100 degrees Celsius and
// shows a 10 % bubble at 20 degrees Celsius, without CO2, N2 or H2S.
void setTheInclusion(CAlphaBetaModelInterface& model)
{
    model.setInputParameters(100, 20, 10, 0, 0, 0, Homogenisation::toLiquid);
}

struct CurvePoint {
    double alpha, beta, P;  // P in bar
};

// Bubble pressures (bar) up to which the engine's bubble-point solve from the ideal-mixture
// start converges for the model fluids of the test inclusion's curve.
constexpr double kColdBubblePointReach = 1500;

// Upper bound on the turns of a curve: 100 points of the full increment plus the retries.
constexpr int kMostTurns = 1000;

TEST(AlphaBetaModelInterface, StartsWithEveryFieldSetAndTheSeventeenModelComponents)
{
    CAlphaBetaModelInterface model;
    EXPECT_EQ(model.getErrorMessageIndex(), equilibrium_failure::none);
    EXPECT_EQ(model.getTh(), 0);
    EXPECT_EQ(model.getTfv(), 0);
    EXPECT_EQ(model.getFv(), 0);
    EXPECT_EQ(model.getCO2() + model.getN2() + model.getH2S(), 0);
    EXPECT_EQ(model.getHomog(), Homogenisation::toLiquid);
    EXPECT_EQ(model.getAlpha() + model.getBeta() + model.getLastAlpha() + model.getLastBeta(), 0);
    EXPECT_EQ(model.getStep(), 1);

    const std::vector<std::string> names = {"N2",  "CO2", "H2S", "C1", "C2", "C3", "iC4", "nC4", "iC5",
                                            "nC5", "C6",  "C7",  "C8", "C9", "C10", "Cn1", "Cn2"};
    ASSERT_EQ(model.getNumberOfComponents(), 17);
    for (int i = 0; i < 17; ++i)
        EXPECT_EQ(model.getComponentName(i), names[i]) << i;
    for (int outside : {-1, 17, 1000}) {
        EXPECT_EQ(model.getComponentName(outside), "") << outside;
        EXPECT_TRUE(std::isnan(model.getMoleFraction(outside))) << outside;
        EXPECT_TRUE(std::isnan(model.getTc(outside))) << outside;
        EXPECT_TRUE(std::isnan(model.getCt1(outside))) << outside;
    }
}

TEST(AlphaBetaModelInterface, InputParametersTakeDegreesCelsiusAndPercent)
{
    CAlphaBetaModelInterface model;
    model.setInputParameters(100, 20, 10, 1, 2, 3, Homogenisation::toLiquid);
    EXPECT_DOUBLE_EQ(model.getTh(), 373.15);
    EXPECT_DOUBLE_EQ(model.getTfv(), 293.15);
    EXPECT_DOUBLE_EQ(model.getFv(), 0.1);
    EXPECT_DOUBLE_EQ(model.getCO2(), 0.01);
    EXPECT_DOUBLE_EQ(model.getN2(), 0.02);
    EXPECT_DOUBLE_EQ(model.getH2S(), 0.03);
    EXPECT_EQ(model.getHomog(), Homogenisation::toLiquid);
    model.setInputParameters(80, 15, 25, 0, 0, 0, Homogenisation::toVapour);
    EXPECT_EQ(model.getHomog(), Homogenisation::toVapour);
}

TEST(AlphaBetaModelInterface, CompositionOfAPairHoldsTheGasesWhereTheyBelongAndSumsToOne)
{
    CAlphaBetaModelInterface model;
    const struct Case {
        double alpha, beta, CO2, N2, H2S;
    } cases[] = {{0.7, 0.1, 0.01, 0.02, 0.03}, {0.9, 0.5, 0, 0.05, 0}, {0.3, 0, 0.1, 0, 0.001}};
    for (const Case& c : cases) {
        SCOPED_TRACE("alpha " + std::to_string(c.alpha) + ", beta " + std::to_string(c.beta));
        model.calculateComposition(c.alpha, c.beta, c.CO2, c.N2, c.H2S);
        double sum = 0;
        for (int i = 0; i < model.getNumberOfComponents(); ++i) {
            EXPECT_GE(model.getMoleFraction(i), 0) << i;
            sum += model.getMoleFraction(i);
        }
        EXPECT_NEAR(sum, 1, 1e-12);
        EXPECT_NEAR(model.getMoleFraction(0), c.N2, 1e-12);
        EXPECT_NEAR(model.getMoleFraction(1), c.CO2, 1e-12);
        EXPECT_NEAR(model.getMoleFraction(2), c.H2S, 1e-12);
        EXPECT_EQ(model.engine()->getAlpha(), c.alpha);
        EXPECT_EQ(model.engine()->getBeta(), c.beta);
    }
}

TEST(AlphaBetaModelInterface, ComponentPropertiesAreThoseOfThePhaseModelsAndTheHeavyCutsFollowAlpha)
{
    CAlphaBetaModelInterface model;
    model.calculateComposition(0.5, 0.1, 0, 0, 0);
    // Methane as tabulated by Reid, Prausnitz and Poling.
    EXPECT_NEAR(model.getTc(3), 190.6, 0.5);
    EXPECT_NEAR(model.getPc(3), 46.0e5, 1.5e5);
    EXPECT_NEAR(model.getMw(3), 16.04, 0.01);
    EXPECT_NEAR(model.getOmega(3), 0.011, 0.003);
    for (int i = 0; i < 17; ++i) {
        EXPECT_EQ(model.getTc(i), model.vapourModel()->criticalTemperature()[i]) << i;
        EXPECT_EQ(model.getMw(i), model.vapourModel()->molarWeight()[i]) << i;
        EXPECT_GT(model.getVc(i), 0) << i;
        EXPECT_NEAR(model.getCt0(i) + model.getCt1(i) * 300, model.liquidModel()->shiftConstant()[i]
                                                                 + model.liquidModel()->shiftSlope()[i] * 300,
                    1e-15);
    }
    // A larger alpha spreads the distribution to heavier carbon numbers inside each cut.
    const double lightCut = model.getMw(15);
    model.calculateComposition(0.9, 0.1, 0, 0, 0);
    EXPECT_GT(model.getMw(15), lightCut);
    EXPECT_GT(model.getMw(16), model.getMw(15));
}

// ---- The alpha-beta curve -------------------------------------------------------------------

// Every point of the curve, first to last, with the code that ended it.
struct Curve {
    std::vector<CurvePoint> points;
    std::vector<double> triedBetas;  // beta of every nextAlphaBeta attempt
    equilibrium_failure firstCode = equilibrium_failure::none;
    equilibrium_failure endErrorIndex = equilibrium_failure::none;
    int turns = 0;
};

Curve traceCurve(CAlphaBetaModelInterface& model)
{
    Curve curve;
    CurvePoint p{};
    curve.firstCode = model.firstAlphaBeta(&p.alpha, &p.beta, &p.P);
    if (curve.firstCode != equilibrium_failure::none)
        return curve;
    curve.points.push_back(p);
    for (curve.turns = 1; curve.turns < kMostTurns; ++curve.turns) {
        const AlphaBetaStep code = model.nextAlphaBeta(&p.alpha, &p.beta, &p.P);
        curve.triedBetas.push_back(model.engine()->getBeta());
        if (code == AlphaBetaStep::pointFound)
            curve.points.push_back(p);
        else if (code == AlphaBetaStep::curveEnd)
            break;
    }
    curve.endErrorIndex = model.getErrorMessageIndex();
    return curve;
}

// Gas contents of an inclusion, in mole percent as the user types them.
struct Gases {
    double CO2, N2, H2S;
};

class AlphaBetaCurveWithGases : public testing::TestWithParam<Gases> {};

// The typed percents reach the curve's fluids as fractions: a second engine, given the
// fractions directly, finds each point's fluid homogenising at Th with the measured bubble.
TEST_P(AlphaBetaCurveWithGases, EveryPointReproducesTheInclusionOnTheEnginesIsochore)
{
    const Gases percent = GetParam();
    CAlphaBetaModelInterface model;
    model.setInputParameters(100, 20, 10, percent.CO2, percent.N2, percent.H2S,
                             Homogenisation::toLiquid);
    const Curve curve = traceCurve(model);
    ASSERT_EQ(curve.firstCode, equilibrium_failure::none);
    ASSERT_LT(curve.turns, kMostTurns) << "the curve never ended";
    ASSERT_GE(curve.points.size(), 2u);
    EXPECT_EQ(curve.points.front().beta, 0);

    // A second engine of its own follows each point's model fluid from its bubble point at
    // Th, solved cold, down the isochore to Tfv. That cold solve does not reach the few
    // heaviest points at the end of this curve, whose bubble pressures exceed 1500 bar.
    Montel liquid(phase_kind::liquid), vapour(phase_kind::vapour);
    Oil1 engine(liquid, vapour);
    size_t checked = 0;
    for (size_t k = 0; k < curve.points.size(); ++k) {
        const CurvePoint& p = curve.points[k];
        SCOPED_TRACE("point " + std::to_string(k) + ": alpha " + std::to_string(p.alpha) + ", beta "
                     + std::to_string(p.beta) + ", P " + std::to_string(p.P));
        EXPECT_GT(p.alpha, 0);
        EXPECT_LT(p.alpha, 1);
        if (k > 0) {
            EXPECT_GT(p.beta, curve.points[k - 1].beta);
            EXPECT_LE(p.beta - curve.points[k - 1].beta, 0.01 + 1e-12);
            EXPECT_GT(p.alpha, curve.points[k - 1].alpha);  // a heavier fluid for more methane
        }
        if (p.P > kColdBubblePointReach)
            continue;
        double fv = 0, ph = 0, pv = 0;
        ASSERT_EQ(engine.calculateFv(p.alpha, p.beta, percent.N2 / 100, percent.CO2 / 100, percent.H2S / 100, 373.15,
                                     293.15, fv, ph, pv),
                  equilibrium_failure::none);
        EXPECT_NEAR(fv, 0.1, 1e-6);
        EXPECT_NEAR(ph * 1e-5, p.P, 1e-6 * p.P);
        EXPECT_GT(p.P, pv * 1e-5);  // the bubble point is above the pressure at Tfv
        ++checked;
    }
    EXPECT_GE(checked + 5, curve.points.size());
    RecordProperty("points", static_cast<int>(curve.points.size()));
}

INSTANTIATE_TEST_SUITE_P(TypedPercents, AlphaBetaCurveWithGases,
                         testing::Values(Gases{0, 0, 0}, Gases{5, 2, 1}));

// The curve's step control on a failure made by moving the homogenisation temperature out
// of reach of every fluid after a few points.
TEST(AlphaBetaCurve, FailuresHalveTheBetaStepUntilTheFourthEndsTheCurve)
{
    CAlphaBetaModelInterface model;
    setTheInclusion(model);
    CurvePoint p{};
    ASSERT_EQ(model.firstAlphaBeta(&p.alpha, &p.beta, &p.P), equilibrium_failure::none);
    ASSERT_EQ(model.nextAlphaBeta(&p.alpha, &p.beta, &p.P), AlphaBetaStep::pointFound);
    const CurvePoint last = p;

    model.setTh(1500);  // far above the critical point of any model fluid
    const AlphaBetaStep expectedCodes[] = {AlphaBetaStep::retry, AlphaBetaStep::retry, AlphaBetaStep::retry, AlphaBetaStep::curveEnd};
    const double expectedIncrements[] = {0.01, 0.005, 0.0025, 0.00125};
    for (int k = 0; k < 4; ++k) {
        SCOPED_TRACE("failure " + std::to_string(k + 1));
        CurvePoint untouched{-1, -1, -1};
        EXPECT_EQ(model.nextAlphaBeta(&untouched.alpha, &untouched.beta, &untouched.P), expectedCodes[k]);
        EXPECT_NEAR(model.engine()->getBeta() - last.beta, expectedIncrements[k], 1e-15);
        EXPECT_EQ(untouched.alpha, -1);
        EXPECT_EQ(model.getLastAlpha(), last.alpha);
        EXPECT_EQ(model.getLastBeta(), last.beta);
        EXPECT_NE(model.getErrorMessageIndex(), equilibrium_failure::none);
        EXPECT_EQ(model.getErrorMessageIndex(), model.engine()->failureCode());
    }
}

TEST(AlphaBetaCurve, AfterAFailureTheStepGrowsBackByAFifthPerPoint)
{
    CAlphaBetaModelInterface model;
    setTheInclusion(model);
    CurvePoint p{};
    ASSERT_EQ(model.firstAlphaBeta(&p.alpha, &p.beta, &p.P), equilibrium_failure::none);

    model.setTh(1500);
    ASSERT_EQ(model.nextAlphaBeta(&p.alpha, &p.beta, &p.P), AlphaBetaStep::retry);
    model.setTh(373.15);
    // The retry starts again from the accepted point, with half the increment.
    ASSERT_EQ(model.nextAlphaBeta(&p.alpha, &p.beta, &p.P), AlphaBetaStep::pointFound);
    EXPECT_NEAR(p.beta, 0.005, 1e-15);
    EXPECT_EQ(model.getErrorMessageIndex(), equilibrium_failure::none);
    const double increments[] = {0.006, 0.0072, 0.00864, 0.01, 0.01};
    for (double increment : increments) {
        const double before = p.beta;
        ASSERT_EQ(model.nextAlphaBeta(&p.alpha, &p.beta, &p.P), AlphaBetaStep::pointFound);
        EXPECT_NEAR(p.beta - before, increment, 1e-12);
    }
}

TEST(AlphaBetaCurve, EndsWithoutFailureWhereBetaWouldLeaveTheModelsDomain)
{
    CAlphaBetaModelInterface model;
    setTheInclusion(model);
    CurvePoint p{};
    ASSERT_EQ(model.firstAlphaBeta(&p.alpha, &p.beta, &p.P), equilibrium_failure::none);
    const double alphaAtZero = p.alpha;

    model.resumeCurveFrom(alphaAtZero, 0.995);
    CurvePoint untouched{-1, -1, -1};
    EXPECT_EQ(model.nextAlphaBeta(&untouched.alpha, &untouched.beta, &untouched.P), AlphaBetaStep::curveEnd);
    EXPECT_EQ(model.getErrorMessageIndex(), equilibrium_failure::none);
    EXPECT_EQ(untouched.beta, -1);
    EXPECT_EQ(model.engine()->getBeta(), 0);  // the engine was not asked

    // A hundred increments of 0.01 reach 1 within rounding: that last point is tried at 1.
    double sum = 0;
    for (int k = 0; k < 99; ++k)
        sum += 0.01;
    model.resumeCurveFrom(alphaAtZero, sum);
    static_cast<void>(model.nextAlphaBeta(&untouched.alpha, &untouched.beta, &untouched.P));  // only the beta tried matters
    EXPECT_LE(model.engine()->getBeta(), 1);
    EXPECT_NEAR(model.engine()->getBeta(), 1, 1e-12);
}

TEST(AlphaBetaCurve, AnUnreachableInclusionGivesNoFirstPoint)
{
    CAlphaBetaModelInterface model;
    // All vapour at the reading temperature: every heavy enough fluid would do.
    model.setInputParameters(100, 20, 100, 0, 0, 0, Homogenisation::toVapour);
    CurvePoint untouched{-1, -1, -1};
    const equilibrium_failure code = model.firstAlphaBeta(&untouched.alpha, &untouched.beta, &untouched.P);
    EXPECT_NE(code, equilibrium_failure::none);
    EXPECT_EQ(code, model.getErrorMessageIndex());
    EXPECT_EQ(untouched.alpha, -1);
    EXPECT_EQ(untouched.P, -1);
}

TEST(AlphaBetaCurve, ASecondCurveOnTheSameInterfaceStartsCold)
{
    CAlphaBetaModelInterface model;
    setTheInclusion(model);
    CurvePoint first{}, again{};
    ASSERT_EQ(model.firstAlphaBeta(&first.alpha, &first.beta, &first.P), equilibrium_failure::none);
    for (int k = 0; k < 3; ++k)
        static_cast<void>(model.nextAlphaBeta(&again.alpha, &again.beta, &again.P));
    ASSERT_EQ(model.firstAlphaBeta(&again.alpha, &again.beta, &again.P), equilibrium_failure::none);
    EXPECT_EQ(again.beta, 0);
    EXPECT_NEAR(again.alpha, first.alpha, 1e-7);
    EXPECT_NEAR(again.P, first.P, 1e-5 * first.P);
    EXPECT_EQ(model.getStep(), 1);
}

// ---- Alpha for a stock-tank API gravity or gas-oil ratio -----------------------------------

TEST(AlphaForStockTankTarget, FindsTheAlphaWhoseFluidHasTheTarget)
{
    CAlphaBetaModelInterface model;
    const double alpha = 0.85, beta = 0.2;
    model.calculateComposition(alpha, beta, 0, 0, 0);
    model.calculateGOR();
    ASSERT_EQ(model.engine()->failureCode(), equilibrium_failure::none);
    const double API = model.engine()->apiGravities()[0];
    const double GOR = model.engine()->gasOilRatios()[0];

    double found = -1;
    ASSERT_EQ(model.firstAlphaBetaAPI(API, &found, beta), AlphaSearch::found);
    EXPECT_NEAR(found, alpha, 1e-6);
    found = alpha + 0.02;  // a nearby previous result
    ASSERT_EQ(model.nextAlphaBetaGOR(GOR, &found, beta), AlphaSearch::found);
    EXPECT_NEAR(found, alpha, 1e-6);
    ASSERT_EQ(model.firstAlphaBetaGOR(GOR, &found, beta), AlphaSearch::found);
    EXPECT_NEAR(found, alpha, 1e-6);
}

TEST(AlphaForStockTankTarget, NoAlphaLeavesTheCallersValue)
{
    CAlphaBetaModelInterface model;
    for (double impossibleAPI : {-500.0, 5000.0}) {
        double alpha = 0.123;
        EXPECT_EQ(model.firstAlphaBetaAPI(impossibleAPI, &alpha, 0.2), AlphaSearch::notFound);
        EXPECT_EQ(alpha, 0.123);
        EXPECT_EQ(model.nextAlphaBetaAPI(impossibleAPI, &alpha, 0.2), AlphaSearch::notFound);
        EXPECT_EQ(alpha, 0.123);
    }
    double alpha = 0.5;
    EXPECT_EQ(model.firstAlphaBetaGOR(-10, &alpha, 0.2), AlphaSearch::notFound);
    EXPECT_EQ(alpha, 0.5);
}

// A flashed alpha-beta model fluid: its phases carry the critical data of the model's own
// components, as a separate model interface computes them for the same parameters, not the
// fixed points the fluid keeps for its vapour-pressure correlations (a Cn1 of 713 K, 20 bar).
TEST(AlphaBetaFlash, PhasesCarryTheModelsCriticalData)
{
    constexpr double alpha = 0.8, beta = 0.3, CO2 = 0.01, N2 = 0.005, H2S = 0, celsius = 100;
    CalculationInterface ci(FluidType::alphaBeta, EquationOfState::pengRobinson);
    ci.setAlpha(alpha);
    ci.setBeta(beta);
    ci.setCO2(CO2);
    ci.setN2(N2);
    ci.setH2S(H2S);
    ci.finalize();
    const double bubble = ci.calculateSaturation(celsius, SaturationKind::bubblePoint);
    ASSERT_GT(bubble, 10);
    FluidRecord liquid, vapour;
    ASSERT_EQ(ci.calculateFlash(celsius + 273.15, bubble / 2, liquid, vapour), FlashOutcome::twoPhases);

    CAlphaBetaModelInterface model;
    ASSERT_TRUE(model.calculateComposition(alpha, beta, CO2, N2, H2S));
    ASSERT_EQ(model.getNumberOfComponents(), 17);
    for (const FluidRecord& phase : {liquid, vapour}) {
        const Array components = phase.arrayValue("components");
        ASSERT_EQ(components.size(), 17);
        for (int i = 0; i < 17; ++i) {
            const ComponentRecord c = components.at(i).toDictionary();
            SCOPED_TRACE(model.getComponentName(i));
            EXPECT_EQ(c.stringValue("name").toStdString(), model.getComponentName(i));
            EXPECT_NEAR(c.doubleValue("Tc"), model.getTc(i) - 273.15, 1e-9);
            EXPECT_NEAR(c.doubleValue("Pc"), model.getPc(i) * 1e-5, 1e-9);
            EXPECT_NEAR(c.doubleValue("Vc"), model.getVc(i) * 1e6, 1e-9);
            EXPECT_NEAR(c.doubleValue("omega"), model.getOmega(i), 1e-12);
            EXPECT_NEAR(c.doubleValue("mw"), model.getMw(i), 1e-9);
        }
        const ComponentRecord cn1 = components.at(15).toDictionary();
        EXPECT_NE(cn1.doubleValue("mw"), 200) << "a distribution of its own, not the default cut";
        EXPECT_GT(std::fabs(cn1.doubleValue("Tc") - (713 - 273.15)), 1);
    }
}

} // namespace
} // namespace quorvel
