// The phase envelope of a fluid against a textbook Peng-Robinson saturation solver: every
// traced point on the reference bubble or dew curve, the highest pressure near the reference
// maximum, the critical point between the branches; the liquid-liquid-gas segment of a
// methane-rich fluid with a heavy end; the end-of-branch rules.
#include "calc/CPhaseDiagram.h"
#include "calc/CalculationInterface.h"

#include "support/TestFluids.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace quorvel {
namespace {

using test::ComponentData;

// The nine-component gas condensate of the engine tests.
std::vector<ComponentData> nineComponentCondensate()
{
    using namespace test;
    return {withMole(kN2, 1),  withMole(kCO2, 2), withMole(kC1, 60), withMole(kC2, 8),  withMole(kC3, 5),
            withMole(knC4, 4), withMole(knC5, 3), withMole(kC6, 3),  withMole(kC10, 14)};
}

std::vector<ComponentData> ternary()
{
    using namespace test;
    return {withMole(kC1, 50), withMole(kC3, 30), withMole(kC6, 20)};
}

// Eicosane as tabulated by Reid, Prausnitz and Poling.
const ComponentData kC20{"C20", 20, 0, 282.55, 0.7886, 768.0 - 273.15, 343.8, 11.1, 1170, 0.907, 0};

// Methane with a little eicosane: a bubble curve up to 480 bar.
std::vector<ComponentData> methaneWithHeavyEnd()
{
    using namespace test;
    return {withMole(kC1, 94), withMole(kC20, 6)};
}

// Largest difference of ln fugacity between the feed z on one root and the incipient phase
// w on the other at T (K), P (Pa).
double fugacityMismatch(const textbook::PengRobinsonMixture& reference, const std::vector<double>& z,
                        const std::vector<double>& w, double T, double P, bool bubble)
{
    const auto& liquid = bubble ? z : w;
    const auto& vapour = bubble ? w : z;
    const auto lnL = reference.lnPhi(liquid, T, P, textbook::Root::liquid);
    const auto lnV = reference.lnPhi(vapour, T, P, textbook::Root::vapour);
    double mismatch = 0;
    for (std::size_t i = 0; i < z.size(); ++i)
        if (liquid[i] > 0 && vapour[i] > 0)
            mismatch = std::max(mismatch, std::fabs(std::log(liquid[i]) + lnL[i] - std::log(vapour[i]) - lnV[i]));
    return mismatch;
}

struct Envelope {
    PhaseDiagramPtr diagram;
    bool metLiquidLiquidGas = false;
};

Envelope traceEnvelope(const std::vector<ComponentData>& components)
{
    CalculationInterface ci(FluidType::componentList, EquationOfState::pengRobinson);
    Envelope envelope;
    envelope.metLiquidLiquidGas =
        ci.calculateImmiscibilityLoop(test::fluidRecord(code_number(FluidType::componentList), components),
                                      &envelope.diagram)
            .metLiquidLiquidGas;
    return envelope;
}

// The points of the first stretch of a branch, without the critical point that closes it.
std::vector<IsoplethPointPtr> tracedPoints(const CIsopleth& branch)
{
    std::vector<IsoplethPointPtr> points;
    for (const auto& point : branch.points()) {
        if (!point->isOrdinary())
            break;
        if (point->otherz() != branch.xref())
            points.push_back(point);
    }
    return points;
}

void expectOnReferenceCurve(const std::vector<ComponentData>& components, const CIsopleth& branch)
{
    const auto reference = test::textbookMixture(components);
    const auto z = test::moleFractions(components);
    const bool bubble = branch.homog() == Homogenisation::toLiquid;
    const auto points = tracedPoints(branch);
    for (const auto& point : points) {
        const auto P = reference.saturationPressureFrom(point->T() + 273.15, z, bubble, point->P() * 1e5,
                                                        point->otherz());
        if (P && std::fabs(*P / 1e5 - point->P()) < 1e-3 * point->P()) {
            EXPECT_NEAR(*P / 1e5, point->P(), 1e-6 * point->P())
                << (bubble ? "bubble" : "dew") << " point at " << point->T() << " C";
            continue;
        }
        // Successive substitution stalls near the critical point and the cricondentherm, and
        // on the upper dew curve falls to the lower root: there the engine's two phases must
        // have equal reference fugacities.
        EXPECT_LT(fugacityMismatch(reference, z, point->otherz(), point->T() + 273.15, point->P() * 1e5, bubble),
                  1e-6)
            << (bubble ? "bubble" : "dew") << " point at " << point->T() << " C";
    }
}

// The traced point of both branches with the largest key (none when nothing was traced),
// and whether it is a bubble point.
struct TracedExtreme {
    IsoplethPointPtr point;
    bool bubble = true;
};

template <typename Key>
TracedExtreme tracedMaximum(const CPhaseDiagram& diagram, Key key)
{
    std::vector<IsoplethPointPtr> all = tracedPoints(*diagram.liquidIsopleth());
    const auto vapour = tracedPoints(*diagram.vapourIsopleth());
    all.insert(all.end(), vapour.begin(), vapour.end());
    if (all.empty())
        return {};
    const auto top = *std::max_element(all.begin(), all.end(),
                                       [&](const auto& a, const auto& b) { return key(*a) < key(*b); });
    return {top, std::find(vapour.begin(), vapour.end(), top) == vapour.end()};
}

TEST(PhaseEnvelope, TracedPointsLieOnTheReferenceCurves)
{
    for (const auto& components : {ternary(), nineComponentCondensate()}) {
        const Envelope envelope = traceEnvelope(components);
        ASSERT_TRUE(envelope.diagram);
        EXPECT_FALSE(envelope.metLiquidLiquidGas);
        ASSERT_TRUE(envelope.diagram->liquidIsopleth());
        ASSERT_TRUE(envelope.diagram->vapourIsopleth());
        EXPECT_GT(tracedPoints(*envelope.diagram->liquidIsopleth()).size(), 5u);
        EXPECT_GT(tracedPoints(*envelope.diagram->vapourIsopleth()).size(), 5u);
        expectOnReferenceCurve(components, *envelope.diagram->liquidIsopleth());
        expectOnReferenceCurve(components, *envelope.diagram->vapourIsopleth());
    }
}

TEST(PhaseEnvelope, HighestTracedPressureNearTheReferenceCricondenbar)
{
    for (const auto& components : {ternary(), nineComponentCondensate()}) {
        const Envelope envelope = traceEnvelope(components);
        ASSERT_TRUE(envelope.diagram);
        const auto reference = test::textbookMixture(components);
        const auto z = test::moleFractions(components);
        const auto [top, bubble] = tracedMaximum(*envelope.diagram, [](const CIsoplethPoint& p) { return p.P(); });
        ASSERT_TRUE(top);
        double Tmax = 0;
        const auto Pmax = reference.highestPressureNear(top->T() + 273.15, 10, z, bubble, top->P() * 1e5,
                                                        top->otherz(), Tmax);
        ASSERT_TRUE(Pmax);
        // One predictor step is at most 10 K and 5 bar.
        EXPECT_LE(top->P(), *Pmax / 1e5 * (1 + 1e-6));
        EXPECT_NEAR(top->T(), Tmax - 273.15, 10);
    }
}

TEST(PhaseEnvelope, HighestTracedTemperatureNearTheReferenceCricondentherm)
{
    for (const auto& components : {ternary(), nineComponentCondensate()}) {
        const Envelope envelope = traceEnvelope(components);
        ASSERT_TRUE(envelope.diagram);
        const auto reference = test::textbookMixture(components);
        const auto z = test::moleFractions(components);
        const auto [hottest, bubble] =
            tracedMaximum(*envelope.diagram, [](const CIsoplethPoint& p) { return p.T(); });
        ASSERT_TRUE(hottest);
        double Pmax = 0;
        const auto Tmax = reference.highestTemperatureNear(hottest->P() * 1e5, 10e5, z, bubble,
                                                           hottest->T() + 273.15, hottest->otherz(), Pmax);
        ASSERT_TRUE(Tmax);
        // One predictor step is at most 10 K and 5 bar.
        EXPECT_LE(hottest->T(), *Tmax - 273.15 + 1e-6);
        EXPECT_GT(hottest->T(), *Tmax - 273.15 - 10);
        EXPECT_NEAR(hottest->P(), Pmax / 1e5, 5);
    }
}

TEST(PhaseEnvelope, CriticalPointBetweenTheBranchesLastPoints)
{
    const Envelope envelope = traceEnvelope(nineComponentCondensate());
    ASSERT_TRUE(envelope.diagram);
    const auto liquid = tracedPoints(*envelope.diagram->liquidIsopleth());
    const auto vapour = tracedPoints(*envelope.diagram->vapourIsopleth());
    ASSERT_FALSE(liquid.empty());
    ASSERT_FALSE(vapour.empty());
    const auto& L = liquid.back();
    const auto& V = vapour.back();
    const auto& branch = envelope.diagram->liquidIsopleth()->points();
    const auto found = std::find_if(branch.begin(), branch.end(), [&](const auto& point) {
        return point->otherz() == envelope.diagram->liquidIsopleth()->xref();
    });
    ASSERT_NE(found, branch.end()) << "no critical point on the liquid branch";
    const auto& critical = *found;
    EXPECT_GE(critical->T(), std::min(L->T(), V->T()));
    EXPECT_LE(critical->T(), std::max(L->T(), V->T()));
    EXPECT_GE(critical->P(), std::min(L->P(), V->P()));
    EXPECT_LE(critical->P(), std::max(L->P(), V->P()));
}

TEST(PhaseEnvelope, DiagramCarriesTheFluidAndItsStockTankValues)
{
    const auto components = nineComponentCondensate();
    FluidRecord record = test::fluidRecord(code_number(FluidType::componentList), components);
    record.setValue(QStringLiteral("curve"), QStringLiteral("run-time"));
    CalculationInterface ci(FluidType::componentList, EquationOfState::pengRobinson);
    PhaseDiagramPtr diagram;
    ci.calculateImmiscibilityLoop(record, &diagram);
    ASSERT_TRUE(diagram);
    EXPECT_EQ(diagram->name(), QStringLiteral("test fluid"));
    EXPECT_FALSE(diagram->thermoModel().contains(QStringLiteral("curve")));
    record.arrayValue(QStringLiteral("components")).at(0).toDictionary().setValue(QStringLiteral("mole"), 50);
    EXPECT_EQ(diagram->thermoModel()
                  .arrayValue(QStringLiteral("components"))
                  .at(0)
                  .toDictionary()
                  .doubleValue(QStringLiteral("mole")),
              1);
    EXPECT_NEAR(diagram->CH4(), 60, 1e-9);
    EXPECT_TRUE(std::isfinite(diagram->GOR()));
    EXPECT_TRUE(std::isfinite(diagram->API()));
    EXPECT_GT(diagram->massVolLiq(), 0.5);
    EXPECT_LT(diagram->massVolLiq(), 1.0);
    EXPECT_GT(diagram->liqMolarWeight(), 16);
    for (const auto& branch : {diagram->liquidIsopleth(), diagram->vapourIsopleth()}) {
        EXPECT_EQ(branch->phaseDiagram(), diagram);
        EXPECT_EQ(branch->name(), diagram->name());
        EXPECT_EQ(branch->N(), 9);
        for (const auto& point : branch->points())
            EXPECT_EQ(point->N(), 9);
    }
}

// Methane is found by name wherever it stands: here second, while the fixed fourth
// place holds decane.
TEST(PhaseEnvelope, LiquidLiquidGasCheckReadsMethaneByItsIndex)
{
    using namespace test;
    CalculationInterface ci(FluidType::componentList, EquationOfState::pengRobinson);
    ci.setThermodynamicModel(
        fluidRecord(code_number(FluidType::componentList), {withMole(kC3, 30), withMole(kC1, 40), withMole(kC6, 10), withMole(kC10, 20)}));
    auto& liquid = *ci.engine()->liquidModel();
    auto& vapour = *ci.engine()->vapourModel();
    liquid.composition(std::vector<double>{0.3, 0.25, 0.1, 0.35});
    vapour.composition(std::vector<double>{0.3, 0.28, 0.1, 0.32});
    EXPECT_TRUE(ci.engine()->checkLLG());
    vapour.composition(std::vector<double>{0.3, 0.2799, 0.1, 0.3201});
    EXPECT_FALSE(ci.engine()->checkLLG());
    vapour.composition(std::vector<double>{0.3, 0.25, 0.1, 0.9});  // decane far apart, methane equal
    EXPECT_FALSE(ci.engine()->checkLLG());
}

// The alpha-beta model fluid with alpha 0.5 and beta 0.5: its bubble curve runs into a
// methane-rich second liquid. The trace ends there: both branches stand, any
// liquid-liquid-gas points follow a single break, and the branch stays within its cap.
TEST(PhaseEnvelope, MethaneRichFluidWithAHeavyEndFindsTheLiquidLiquidGasSegment)
{
    CalculationInterface ci(FluidType::alphaBeta, EquationOfState::pengRobinson);
    PhaseDiagramPtr diagram;
    const EnvelopeTrace trace = ci.calculateImmiscibilityLoop(
        FluidRecord{{"name", "AB 0.5 0.5"}, {"fluidType", code_number(FluidType::alphaBeta)}, {"alpha", 0.5},
                    {"beta", 0.5}, {"CO2", 0.0}, {"N2", 0.0}, {"H2S", 0.0}},
        &diagram);
    ASSERT_TRUE(diagram);
    EXPECT_TRUE(trace.metLiquidLiquidGas);
    ASSERT_TRUE(diagram->liquidIsopleth());
    ASSERT_TRUE(diagram->vapourIsopleth());
    const auto& points = diagram->liquidIsopleth()->points();
    const auto isBreak = [](const auto& point) { return point->skip() == CIsoplethPoint::kBreak; };
    EXPECT_LE(std::count_if(points.begin(), points.end(), isBreak), 1);
    EXPECT_LT(points.size(), 2 * 2000u);
    for (const auto& point : points)
        EXPECT_TRUE(std::isfinite(point->T()) && std::isfinite(point->P()));
}

// Methane with a fifth of decane: the two liquids the pair forms at 1500 bar and -150 C.
std::vector<ComponentData> methaneWithDecane()
{
    using namespace test;
    return {withMole(kC1, 80), withMole(kC10, 20)};
}

// The envelope's own detection arises where the incipient vapour nears the methane critical
// point, some 50 bar up; no methane fluid of the engine is two liquids at 1500 bar 50 K below
// such a point. This interface forces the detection after the first liquid step, starts the
// segment where the fluid is two liquids, and replays scripted codes inside the segment; every
// other step is the envelope's own. It records the branch of each step taken after a forced -3.
class ForcedLiquidLiquidGas : public CalculationInterface {
public:
    ForcedLiquidLiquidGas()
        : CalculationInterface(FluidType::componentList, EquationOfState::pengRobinson)
    {
    }

    std::vector<step_code> segmentScript;  // codes handed out before the segment's own steps
    std::vector<EnvelopeBranch> branchesAfterForcedEnd;

    step_code nextIsoplethPoint(double* T, double* P) override
    {
        if (forcedEnd)
            branchesAfterForcedEnd.push_back(getBranch());
        if (getBranch() == EnvelopeBranch::bubblePoint && !inSegment && ++liquidSteps > 1)
            return step_code::liquid_liquid_gas;
        if (inSegment && getBranch() == EnvelopeBranch::bubblePoint && scripted < segmentScript.size()) {
            const step_code code = segmentScript[scripted++];
            forcedEnd = code == step_code::liquid_liquid_gas;
            return code;
        }
        return CalculationInterface::nextIsoplethPoint(T, P);
    }

    equilibrium_failure firstLLGIsoplethPoint(double, double* T, double* P) override
    {
        inSegment = true;
        return CalculationInterface::firstLLGIsoplethPoint(kTwoLiquids, T, P);
    }

private:
    static constexpr double kTwoLiquids = -150;  // degrees Celsius
    int liquidSteps = 0;
    bool inSegment = false;
    std::size_t scripted = 0;
    bool forcedEnd = false;
};

// The points of a liquid branch from its break on: the liquid-liquid-gas segment.
std::vector<IsoplethPointPtr> segmentPoints(const CIsopleth& liquid)
{
    const auto& points = liquid.points();
    const auto start = std::find_if(points.begin(), points.end(),
                                    [](const auto& point) { return point->skip() == CIsoplethPoint::kBreak; });
    return {start, points.end()};
}

// The segment starts where heating at 1500 bar dissolves the methane-rich second liquid:
// the feed and the incipient liquid have equal reference fugacities there and the reference
// saturation temperature at that pressure, and the segment ends at the liquid floor.
TEST(PhaseEnvelope, LiquidLiquidGasSegmentLiesOnTheReferenceLiquidLiquidBoundary)
{
    const auto components = methaneWithDecane();
    ForcedLiquidLiquidGas ci;
    PhaseDiagramPtr diagram;
    const EnvelopeTrace trace =
        ci.calculateImmiscibilityLoop(test::fluidRecord(code_number(FluidType::componentList), components), &diagram);
    ASSERT_TRUE(diagram);
    EXPECT_TRUE(trace.metLiquidLiquidGas);
    ASSERT_TRUE(diagram->vapourIsopleth());
    const auto segment = segmentPoints(*diagram->liquidIsopleth());
    ASSERT_EQ(segment.size(), 2u);  // the start, then a step below -80 C ends the segment
    EXPECT_NEAR(segment.front()->P(), 1500, 1);
    EXPECT_LT(segment.back()->T(), -80);
    EXPECT_TRUE(segment.back()->isOrdinary());

    const auto reference = test::textbookMixture(components);
    const auto z = test::moleFractions(components);
    for (const auto& point : segment) {
        const double T = point->T() + 273.15, P = point->P() * 1e5;
        EXPECT_GT(point->otherz()[0], z[0] + 0.03) << "a second, methane-rich liquid";
        EXPECT_LT(fugacityMismatch(reference, z, point->otherz(), T, P, true), 1e-6);
        const auto Tsat = reference.saturationTemperatureFrom(P, z, true, T, point->otherz());
        ASSERT_TRUE(Tsat);
        EXPECT_NEAR(*Tsat, T, 1e-4);
        double incipient = 0;
        for (double w : point->otherz())
            incipient += w;
        EXPECT_NEAR(incipient, 1, 1e-12);
    }
}

// A -3 inside the segment ends it where it stands: after a retry and then the failure the
// segment keeps its start point only, no further liquid step is taken and the vapour branch
// follows from its own first point.
TEST(PhaseEnvelope, FailureWithTwoDistinctPhasesEndsTheLiquidLiquidGasSegment)
{
    ForcedLiquidLiquidGas ci;
    ci.segmentScript = {step_code::retry, step_code::liquid_liquid_gas};
    PhaseDiagramPtr diagram;
    const EnvelopeTrace trace = ci.calculateImmiscibilityLoop(
        test::fluidRecord(code_number(FluidType::componentList), methaneWithDecane()), &diagram);
    ASSERT_TRUE(diagram);
    EXPECT_TRUE(trace.metLiquidLiquidGas);
    const auto segment = segmentPoints(*diagram->liquidIsopleth());
    ASSERT_EQ(segment.size(), 1u);
    EXPECT_NEAR(segment.front()->P(), 1500, 1);
    ASSERT_FALSE(ci.branchesAfterForcedEnd.empty());
    for (EnvelopeBranch branch : ci.branchesAfterForcedEnd)
        EXPECT_EQ(branch, EnvelopeBranch::dewPoint);
    ASSERT_TRUE(diagram->vapourIsopleth());
    EXPECT_GT(tracedPoints(*diagram->vapourIsopleth()).size(), 5u);
}

TEST(PhaseEnvelope, FluidWithoutMethaneHasNoLiquidLiquidGasSegment)
{
    using namespace test;
    const Envelope envelope = traceEnvelope({withMole(kC3, 60), withMole(kC20, 40)});
    EXPECT_FALSE(envelope.metLiquidLiquidGas);
}

TEST(PhaseEnvelope, UnloadableFluidGivesNoDiagram)
{
    CalculationInterface ci(FluidType::componentList, EquationOfState::pengRobinson);
    PhaseDiagramPtr diagram = std::make_shared<CPhaseDiagram>();
    const EnvelopeTrace trace =
        ci.calculateImmiscibilityLoop(FluidRecord{{"fluidType", code_number(FluidType::componentList)}}, &diagram);
    EXPECT_FALSE(diagram);
    EXPECT_FALSE(trace.metLiquidLiquidGas);
}

TEST(PhaseEnvelope, EveryBranchEndsAboveTheCeilingOrBelowItsFloor)
{
    for (const auto& components : {ternary(), nineComponentCondensate(), methaneWithHeavyEnd()}) {
        const Envelope envelope = traceEnvelope(components);
        ASSERT_TRUE(envelope.diagram);
        for (const auto& branch : {envelope.diagram->liquidIsopleth(), envelope.diagram->vapourIsopleth()}) {
            if (!branch)
                continue;
            EXPECT_LT(branch->points().size(), 5000u);
            int beyond = 0;
            for (const auto& point : branch->points())
                beyond += point->isOrdinary() && (point->P() > 2000 || point->T() < -150);
            EXPECT_LE(beyond, 2);
        }
    }
}

} // namespace
} // namespace quorvel

namespace quorvel {
namespace {

IsoplethPointPtr pointAt(double T, double P, int skip = CIsoplethPoint::kOrdinary)
{
    auto point = std::make_shared<CIsoplethPoint>();
    point->setT(T);
    point->setP(P);
    point->setN(1);
    point->setOtherz({1});
    point->setSkip(skip);
    return point;
}

// A liquid-liquid-gas segment and a second dew segment follow breaks: the critical point
// closes the first stretches, between their last points, and sits right after them.
TEST(PhaseEnvelope, CriticalPointClosesTheFirstStretches)
{
    auto diagram = std::make_shared<CPhaseDiagram>();
    auto liquid = std::make_shared<CIsopleth>();
    liquid->setXref({1});
    liquid->points() = {pointAt(0, 100), pointAt(50, 150), pointAt(-40, 900, CIsoplethPoint::kBreak),
                        pointAt(-30, 1000)};
    auto vapour = std::make_shared<CIsopleth>();
    vapour->setXref({1});
    vapour->points() = {pointAt(150, 10), pointAt(60, 140), pointAt(0, 0, CIsoplethPoint::kBreak),
                        pointAt(300, 20)};
    diagram->setLiquidIsopleth(liquid);
    diagram->setVapourIsopleth(vapour);
    diagram->buildCriticalPoint();
    ASSERT_EQ(liquid->points().size(), 5u);
    ASSERT_EQ(vapour->points().size(), 5u);
    for (const auto& critical : {liquid->points()[2], vapour->points()[2]}) {
        EXPECT_DOUBLE_EQ(critical->T(), 55);
        EXPECT_DOUBLE_EQ(critical->P(), 145);
        EXPECT_TRUE(critical->isOrdinary());
    }
    EXPECT_FALSE(liquid->points()[3]->isOrdinary());
    EXPECT_FALSE(vapour->points()[3]->isOrdinary());
}

} // namespace
} // namespace quorvel
