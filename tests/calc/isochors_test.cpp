// The isochores of an inclusion on a traced envelope: two-phase points against a flash,
// one-phase points against the textbook Peng-Robinson pressure, the trapping pressure,
// the result codes, the limits and the twins.
#include "calc/CPhaseDiagram.h"
#include "calc/CalculationInterface.h"

#include "support/TestFluids.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <utility>
#include <vector>

namespace quorvel {
namespace {

using test::ComponentData;

std::vector<ComponentData> ternary()
{
    using namespace test;
    return {withMole(kC1, 50), withMole(kC3, 30), withMole(kC6, 20)};
}

struct Isochors {
    isochor_result code = isochor_result::both_made;
    IsochorPtr monophasic;
    IsochorPtr biphasic;
};

Isochors isochorsOf(const PhaseDiagramPtr& diagram, double Th, Homogenisation homog,
                    const InclusionRecord* inclusion = nullptr, double Ph = 0)
{
    CalculationInterface ci(FluidType::componentList, EquationOfState::pengRobinson);
    Isochors result;
    result.code = ci.calculateIsochors(diagram, inclusion, Th, Ph, homog, &result.monophasic, &result.biphasic);
    return result;
}

// The engine stops its solves at a scaled residual of 1e-8, which leaves a flashed molar
// volume a few parts in 1e8 off; the reference flash iterates on to this one, so that the
// check sees the isochore's own error.
constexpr double kReferenceResidual = 1e-12;

// The two-phase split at the point's T and P, solved with the pressure given: from the
// ideal mixture, else from the point's incipient phase.
bool flashAt(Oil& oil, const CBiphasicIsochorPoint& point, Homogenisation homog)
{
    const bool toLiquid = homog == Homogenisation::toLiquid;
    oil.setSolveResidual(kReferenceResidual);
    const double T = point.T() + 273.15;
    if (oil.solveFromIdealMixture(problem_type::fixed_T_and_P, T, point.P()))
        return true;
    oil.set_type_of_problem(problem_type::fixed_T_and_P);
    oil.set_the_temperature(T);
    oil.set_the_pressure(point.P());
    std::vector<double> x = oil.estimatedLiquidComposition(), y = oil.estimatedVapourComposition();
    for (short i = 0; i < oil.componentCount(); ++i) {
        (toLiquid ? x : y)[i] = oil.feedComposition()[i];
        (toLiquid ? y : x)[i] = point.otherz()[i];
    }
    oil.setEstimatedLiquidComposition(std::move(x));
    oil.setEstimatedVapourComposition(std::move(y));
    oil.set_initialization_flag(initialization::from_estimates);
    oil.calculateVLE();
    return oil.failureCode() == equilibrium_failure::none;
}

class IsochorsOfATernary : public ::testing::Test {
protected:
    static void SetUpTestSuite() { diagram = test::componentEnvelope(ternary()); }
    static inline PhaseDiagramPtr diagram;
};

TEST_F(IsochorsOfATernary, TwoPhasePointsKeepTheVolumeOfTheInclusion)
{
    ASSERT_TRUE(diagram);
    for (const Homogenisation homog : {Homogenisation::toLiquid, Homogenisation::toVapour}) {
        const double Th = homog == Homogenisation::toLiquid ? 40 : 100;
        const Isochors isochors = isochorsOf(diagram, Th, homog);
        ASSERT_EQ(isochors.code, isochor_result::both_made) << "homog " << code_number(homog);
        const CIsochor& biphasic = *isochors.biphasic;
        EXPECT_TRUE(biphasic.isBiphasic());
        ASSERT_GT(biphasic.points().size(), 3u);
        CalculationInterface ci(FluidType::componentList, EquationOfState::pengRobinson);
        ci.setThermodynamicModel(diagram->thermoModel());
        double maxFv = 0;
        for (const auto& point : biphasic.points()) {
            const auto& p = static_cast<const CBiphasicIsochorPoint&>(*point);
            maxFv = std::max(maxFv, p.Fv());
            if (point == biphasic.points().front())
                continue;  // the saturation point itself: no two phases to flash into
            ASSERT_TRUE(flashAt(*ci.engine(), p, homog)) << p.T();
            const double v =
                ci.engine()->liquidMoles() * ci.getLiquidVolume() + ci.engine()->vapourMoles() * ci.getVapourVolume();
            EXPECT_NEAR(v, biphasic.bulkVolume(), 1e-8 * biphasic.bulkVolume()) << p.T();
            EXPECT_NEAR(ci.getBubbleVolumeFraction() * 100, p.Fv(), 1e-5) << p.T();
        }
        const auto& first = static_cast<const CBiphasicIsochorPoint&>(*biphasic.points().front());
        EXPECT_NEAR(first.Fv(), homog == Homogenisation::toLiquid ? 0 : 100, 1e-6);
        EXPECT_DOUBLE_EQ(biphasic.maxFv(), maxFv);
        EXPECT_DOUBLE_EQ(biphasic.Th(), Th);
    }
}

TEST_F(IsochorsOfATernary, OnePhasePointsLieOnThePressureOfTheModel)
{
    ASSERT_TRUE(diagram);
    const auto reference = test::textbookMixture(ternary());
    const auto z = test::moleFractions(ternary());
    for (const Homogenisation homog : {Homogenisation::toLiquid, Homogenisation::toVapour}) {
        const Isochors isochors = isochorsOf(diagram, homog == Homogenisation::toLiquid ? 40 : 100, homog);
        ASSERT_EQ(isochors.code, isochor_result::both_made);
        const CIsochor& monophasic = *isochors.monophasic;
        EXPECT_FALSE(monophasic.isBiphasic());
        ASSERT_GT(monophasic.points().size(), 1u);
        for (const auto& point : monophasic.points())
            EXPECT_NEAR(reference.pressure(point->T() + 273.15, monophasic.bulkVolume(), z) / 1e5, point->P(),
                        1e-6 * point->P())
                << point->T();
        // The trapping pressure at a one-phase point is that point's pressure.
        const auto& middle = monophasic.points()[monophasic.points().size() / 2];
        EXPECT_NEAR(isochors.monophasic->calculateTrappingPressure(middle->T() + 273.15), middle->P(),
                    1e-9 * middle->P());
    }
}

TEST_F(IsochorsOfATernary, TwinsCarryTheSolvedHomogenisationPointAndNames)
{
    ASSERT_TRUE(diagram);
    const InclusionRecord inclusion{{"name", "FI-7"}};
    const auto before = diagram->biphasicIsochors().size();
    const Isochors named = isochorsOf(diagram, 40, Homogenisation::toLiquid, &inclusion, 0);
    ASSERT_EQ(named.code, isochor_result::both_made);
    ASSERT_EQ(diagram->biphasicIsochors().size(), before + 1);
    ASSERT_FALSE(diagram->monophasicIsochors().empty());
    EXPECT_EQ(diagram->biphasicIsochors().back(), named.biphasic);
    EXPECT_EQ(diagram->monophasicIsochors().back(), named.monophasic);
    EXPECT_EQ(named.biphasic->name(), QStringLiteral("test fluid : FI-7"));
    EXPECT_EQ(named.monophasic->sister(), named.biphasic);
    EXPECT_EQ(named.biphasic->sister(), named.monophasic);
    EXPECT_EQ(named.monophasic->phaseDiagram(), diagram);
    EXPECT_GT(named.biphasic->Ph(), 0);
    EXPECT_DOUBLE_EQ(named.monophasic->Ph(), named.biphasic->Ph());
    EXPECT_DOUBLE_EQ(named.monophasic->Th(), named.biphasic->Th());
    EXPECT_DOUBLE_EQ(named.monophasic->bulkVolume(), named.biphasic->bulkVolume());
    EXPECT_DOUBLE_EQ(named.monophasic->bulkDensity0(), named.biphasic->bulkDensity0());
    EXPECT_DOUBLE_EQ(named.monophasic->bulkDensity1(), named.biphasic->bulkDensity1());
    // The homogenisation pressure is the bubble pressure of the branch at Th.
    EXPECT_NEAR(named.biphasic->Ph(), diagram->getPh(40, Homogenisation::toLiquid, 0, nullptr, nullptr), 0.5);
    ASSERT_FALSE(named.monophasic->points().empty());
    EXPECT_NEAR(named.monophasic->points().front()->P(), named.biphasic->Ph(), 1e-6 * named.biphasic->Ph());

    const Isochors unnamed = isochorsOf(diagram, 100, Homogenisation::toVapour);
    EXPECT_EQ(unnamed.biphasic->name(), QStringLiteral("test fluid : Th = 100°C (G)"));
}

TEST_F(IsochorsOfATernary, ResultCodesAddNothing)
{
    ASSERT_TRUE(diagram);
    const auto liquidOnly = std::make_shared<CPhaseDiagram>();
    liquidOnly->setThermoModel(diagram->thermoModel());
    liquidOnly->setLiquidIsopleth(diagram->liquidIsopleth());
    struct Case {
        PhaseDiagramPtr diagram;
        double Th;
        Homogenisation homog;
        isochor_result code;
    };
    for (const Case& c : {Case{liquidOnly, 40, Homogenisation::toVapour, isochor_result::no_branch},
                          Case{diagram, -200, Homogenisation::toLiquid, isochor_result::below_envelope},
                          Case{diagram, 1000, Homogenisation::toVapour, isochor_result::above_envelope}}) {
        const auto count = c.diagram->biphasicIsochors().size() + c.diagram->monophasicIsochors().size();
        IsochorPtr untouched = std::make_shared<CIsochor>();
        IsochorPtr monophasic = untouched, biphasic = untouched;
        CalculationInterface ci(FluidType::componentList, EquationOfState::pengRobinson);
        EXPECT_EQ(ci.calculateIsochors(c.diagram, nullptr, c.Th, 0, c.homog, &monophasic, &biphasic), c.code);
        EXPECT_EQ(monophasic, untouched);
        EXPECT_EQ(biphasic, untouched);
        EXPECT_EQ(c.diagram->biphasicIsochors().size() + c.diagram->monophasicIsochors().size(), count);
    }
}

TEST_F(IsochorsOfATernary, EachIsochorEndsWithItsFirstPointBeyondALimit)
{
    ASSERT_TRUE(diagram);
    double maxT = -1e9, maxP = 0;
    for (const auto& branch : {diagram->liquidIsopleth(), diagram->vapourIsopleth()})
        for (const auto& point : branch->points()) {
            maxT = std::max(maxT, point->T());
            maxP = std::max(maxP, point->P());
        }
    const double Tmax = maxT + 150, Pmax = std::min(maxP + 500, 2000.0);
    for (const Homogenisation homog : {Homogenisation::toLiquid, Homogenisation::toVapour}) {
        const Isochors isochors = isochorsOf(diagram, homog == Homogenisation::toLiquid ? 40 : 100, homog);
        ASSERT_EQ(isochors.code, isochor_result::both_made);
        const auto& points = isochors.monophasic->points();
        ASSERT_GE(points.size(), 2u);
        const auto beyond = [&](const IsochorPointPtr& p) { return p->T() > Tmax + 1e-9 || p->P() > Pmax || p->T() < 0; };
        for (std::size_t i = 0; i + 1 < points.size(); ++i)
            EXPECT_FALSE(beyond(points[i])) << i;
        EXPECT_TRUE(beyond(points.back()));
        // Both inclusions split in two on cooling: the one-phase part rises in 20 K steps.
        EXPECT_NEAR(points[1]->T() - points[0]->T(), 20, 1e-9);
    }
}

// A break in the branch around Th: no bracketing pair, the start comes from the nearest
// point below, never from a division by zero.
TEST_F(IsochorsOfATernary, StartInABreakOfTheBranch)
{
    ASSERT_TRUE(diagram);
    auto broken = std::make_shared<CPhaseDiagram>();
    broken->setThermoModel(diagram->thermoModel());
    auto liquid = std::make_shared<CIsopleth>();
    liquid->setN(diagram->liquidIsopleth()->N());
    liquid->setXref(diagram->liquidIsopleth()->xref());
    liquid->setHomog(Homogenisation::toLiquid);
    const auto& points = diagram->liquidIsopleth()->points();
    const std::size_t cut = points.size() / 2;
    liquid->points().assign(points.begin(), points.begin() + cut);
    auto separator = std::make_shared<CIsoplethPoint>();
    separator->setSkip(CIsoplethPoint::kBreak);
    liquid->points().push_back(separator);
    liquid->points().insert(liquid->points().end(), points.begin() + cut, points.end());
    broken->setLiquidIsopleth(liquid);
    const double Th = (points[cut - 1]->T() + points[cut]->T()) / 2;

    const Isochors isochors = isochorsOf(broken, Th, Homogenisation::toLiquid);
    ASSERT_TRUE(isochors.code == isochor_result::both_made || isochors.code == isochor_result::start_failed);
    if (isochors.code == isochor_result::both_made) {
        EXPECT_TRUE(std::isfinite(isochors.biphasic->Ph()));
        ASSERT_FALSE(isochors.biphasic->points().empty());
        EXPECT_NEAR(isochors.biphasic->points().front()->T(), Th, 1e-6);
    }
}

// Limits read from damaged points are not-a-number: the point cap still ends the curves.
TEST_F(IsochorsOfATernary, NotANumberLimitsCannotRunForever)
{
    ASSERT_TRUE(diagram);
    auto damaged = std::make_shared<CPhaseDiagram>();
    damaged->setThermoModel(diagram->thermoModel());
    damaged->setLiquidIsopleth(diagram->liquidIsopleth());
    auto vapour = std::make_shared<CIsopleth>();
    auto nan = std::make_shared<CIsoplethPoint>();
    nan->setT(std::numeric_limits<double>::quiet_NaN());
    nan->setP(std::numeric_limits<double>::quiet_NaN());
    vapour->points().push_back(nan);
    damaged->setVapourIsopleth(vapour);
    const Isochors isochors = isochorsOf(damaged, 40, Homogenisation::toLiquid);
    ASSERT_EQ(isochors.code, isochor_result::both_made);
    EXPECT_LE(isochors.monophasic->points().size(), 1000u);
    EXPECT_LE(isochors.biphasic->points().size(), 1000u);
}

} // namespace
} // namespace quorvel
