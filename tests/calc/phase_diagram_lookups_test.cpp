// Look-ups on phase-diagram records: pressures along a branch, points on a branch, the
// critical point, existing isochores and fluids that already have a diagram.
#include "support/PhaseDiagramFixtures.h"

#include <gtest/gtest.h>

#include <optional>

using namespace quorvel;
using namespace quorvel::test;

namespace {

constexpr Homogenisation kLiquid = Homogenisation::toLiquid;
constexpr Homogenisation kVapour = Homogenisation::toVapour;

struct PhCase {
    const char* what;
    Homogenisation homog;
    std::initializer_list<BranchPoint> points;  // in tracing order
    double T;
    double Pref;
    double P;                   // 0: no crossing
    double firstT, secondT;     // the interval found
    bool twoCrossings;
};

// Expected values worked out by hand from the points: P = Pprev + (Pcur - Pprev) r.
const PhCase kPhCases[] = {
    {"liquid, inside a rising interval", kLiquid, {{0, 10}, {10, 20}, {20, 40}}, 15, 0, 30, 10, 20, false},
    {"liquid, at the first point", kLiquid, {{0, 10}, {10, 20}, {20, 40}}, 0, 0, 10, 0, 10, false},
    {"liquid, at an inner point of a rising stretch: the interval starting there", kLiquid,
     {{0, 10}, {10, 20}, {20, 40}}, 10, 0, 20, 10, 20, false},
    {"liquid, at an inner point of a falling stretch: the interval starting there", kLiquid,
     {{20, 40}, {10, 20}, {0, 10}}, 10, 0, 20, 10, 0, false},
    {"liquid, at the last point: no interval starts there", kLiquid, {{0, 10}, {10, 20}, {20, 40}}, 20, 0, 0, 0, 0,
     false},
    {"liquid, beyond the branch", kLiquid, {{0, 10}, {10, 20}}, 25, 0, 0, 0, 0, false},
    {"a break point between two points bracketing T", kLiquid,
     {{0, 10}, {10, 20}, {15, 0, kBreak}, {20, 40}, {30, 50}}, 12, 0, 0, 0, 0, false},
    {"a new stretch after a break point", kLiquid, {{0, 10}, {10, 20}, {15, 0, kBreak}, {20, 40}, {30, 50}}, 25, 0,
     45, 20, 30, false},
    {"fewer than two ordinary points", kLiquid, {{0, 10}, {5, 0, kBreak}, {10, 20}}, 5, 0, 0, 0, 0, false},
    // Searched from the end: (20, 70) -> (60, 80) first, then (50, 30) -> (0, 5).
    {"vapour, two crossings without Pref: the first from the end", kVapour,
     {{0, 5}, {50, 30}, {80, 60}, {60, 80}, {20, 70}}, 40, 0, 75, 20, 60, false},
    {"vapour, two crossings: the one nearer Pref", kVapour, {{0, 5}, {50, 30}, {80, 60}, {60, 80}, {20, 70}}, 40,
     30, 25, 50, 0, true},
    {"vapour, two crossings equally far from Pref: the first stays", kVapour,
     {{0, 5}, {50, 30}, {80, 60}, {60, 80}, {20, 70}}, 40, 50, 75, 20, 60, true},
    {"vapour, one crossing with Pref", kVapour, {{0, 5}, {50, 30}, {80, 60}}, 60, 100, 40, 80, 50, false},
    // From the end: (20, 50) -> (60, 70) closes the first crossing at (60, 70); the interval
    // right after it, (60, 70) -> (20, 30), holds the second one.
    {"vapour, the second crossing right after the first", kVapour, {{20, 30}, {60, 70}, {20, 50}}, 40, 49, 50, 60,
     20, true},
};

TEST(IsoplethLookups, PressureAtATemperature)
{
    for (const PhCase& c : kPhCases) {
        SCOPED_TRACE(c.what);
        const IsoplethPtr branch = makeBranch(c.homog, c.points);
        // The places start filled so that a look-up finding nothing has to clear them.
        IsoplethPointPtr first = std::make_shared<CIsoplethPoint>();
        IsoplethPointPtr second = first;
        bool twoCrossings = true;
        // The homog argument is not read: the branch's own decides the search.
        const Homogenisation other = c.homog == kLiquid ? kVapour : kLiquid;
        const double P = branch->getPh(c.T, other, c.Pref, &first, &second, twoCrossings);
        EXPECT_DOUBLE_EQ(P, c.P);
        EXPECT_EQ(twoCrossings, c.twoCrossings);
        if (c.P == 0) {
            EXPECT_EQ(first, nullptr);
            EXPECT_EQ(second, nullptr);
            continue;
        }
        ASSERT_TRUE(first && second);
        EXPECT_EQ(first->T(), c.firstT);
        EXPECT_EQ(second->T(), c.secondT);
        // The places receive the branch's own points.
        EXPECT_NE(std::find(branch->points().begin(), branch->points().end(), first), branch->points().end());
    }
}

TEST(IsoplethLookups, PointOnTheBranchWithinThreeBar)
{
    const struct {
        const char* what;
        std::initializer_list<BranchPoint> points;
        double T, P;
        bool onBranch;
    } cases[] = {
        {"on the line", {{0, 10}, {10, 20}, {20, 40}}, 15, 30, true},
        {"2.9 bar away", {{0, 10}, {10, 20}, {20, 40}}, 15, 32.9, true},
        {"exactly 3 bar away", {{0, 10}, {10, 20}, {20, 40}}, 15, 33, false},
        {"3 bar below", {{0, 10}, {10, 20}, {20, 40}}, 15, 27, false},
        {"at the last point of a rising stretch", {{0, 10}, {10, 20}}, 10, 20, false},
        {"at the last point of a falling stretch", {{20, 40}, {10, 20}}, 10, 20, true},
        {"across a break point", {{0, 10}, {5, 0, kBreak}, {10, 20}}, 5, 15, false},
        {"every interval is searched: the second crossing is the near one", {{0, 10}, {20, 50}, {0, 100}}, 10, 74,
         true},
        {"fewer than two ordinary points", {{0, 10}}, 0, 10, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(makeBranch(kLiquid, c.points)->testPointInclusion(c.T, c.P), c.onBranch);
    }
}

TEST(PhaseDiagramLookups, PressureOnTheChosenBranch)
{
    const PhaseDiagramPtr diagram = makeDiagram();
    IsoplethPointPtr first;
    EXPECT_DOUBLE_EQ(diagram->getPh(25, kLiquid, 0, &first, nullptr), 35);
    EXPECT_EQ(first->T(), 0);
    EXPECT_DOUBLE_EQ(diagram->getPh(250, kVapour, 0, nullptr, nullptr), 42.5);

    // Without the branch asked for, nothing is found and the places are cleared.
    const PhaseDiagramPtr liquidOnly = makeDiagram(false);
    IsoplethPointPtr second = first;
    EXPECT_EQ(liquidOnly->getPh(250, kVapour, 100, &first, &second), 0);
    EXPECT_EQ(first, nullptr);
    EXPECT_EQ(second, nullptr);
}

TEST(PhaseDiagramLookups, CriticalPointClosesBothBranchesWithinThirtyDegrees)
{
    const struct {
        const char* what;
        double liquidEndT, vapourEndT;
        bool withVapourBranch;
        bool built;
    } cases[] = {
        {"10 degrees apart", 100, 110, true, true},
        {"exactly 30 degrees apart", 100, 130, true, true},
        {"more than 30 degrees apart", 100, 130.5, true, false},
        {"vapour branch missing", 100, 0, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto diagram = std::make_shared<CPhaseDiagram>();
        diagram->setLiquidIsopleth(makeBranch(kLiquid, {{0, 10}, {c.liquidEndT, 50}}, 3));
        diagram->liquidIsopleth()->setXref({0.2, 0.3, 0.5});
        const IsoplethPointPtr L = diagram->liquidIsopleth()->points().back();
        L->setLiquidVolume(1e-4);
        L->setLiquidDensity(0.5);
        IsoplethPointPtr V;
        if (c.withVapourBranch) {
            diagram->setVapourIsopleth(makeBranch(kVapour, {{300, 5}, {c.vapourEndT, 40}}, 3));
            V = diagram->vapourIsopleth()->points().back();
            V->setLiquidVolume(3e-4);
            V->setLiquidDensity(0.3);
        }
        diagram->buildCriticalPoint();

        EXPECT_EQ(diagram->liquidIsopleth()->points().size(), c.built ? 3u : 2u);
        if (!c.built)
            continue;
        const IsoplethPointPtr onLiquid = diagram->liquidIsopleth()->points().back();
        const IsoplethPointPtr onVapour = diagram->vapourIsopleth()->points().back();
        EXPECT_NE(onLiquid, onVapour);  // two points of the same values
        for (const IsoplethPointPtr& point : {onLiquid, onVapour}) {
            EXPECT_DOUBLE_EQ(point->T(), (c.liquidEndT + c.vapourEndT) / 2);
            EXPECT_DOUBLE_EQ(point->P(), 45);
            EXPECT_DOUBLE_EQ(point->liquidVolume(), 2e-4);
            EXPECT_DOUBLE_EQ(point->vapourVolume(), 2e-4);
            EXPECT_DOUBLE_EQ(point->liquidDensity(), 0.4);
            EXPECT_DOUBLE_EQ(point->vapourDensity(), 0.4);
            EXPECT_EQ(point->N(), 3);
            EXPECT_EQ(point->otherz(), (std::vector<double>{0.2, 0.3, 0.5}));
            EXPECT_TRUE(point->isOrdinary());
        }
    }
}

TEST(PhaseDiagramLookups, IsochoresOfAHomogenisationTemperature)
{
    const PhaseDiagramPtr diagram = makeDiagram();
    const IsochorPair liquid = addIsochorPair(diagram, 100, Homogenisation::toLiquid);
    const IsochorPair vapour = addIsochorPair(diagram, 120, Homogenisation::toVapour);

    const struct {
        const char* what;
        double Th;
        Homogenisation homog;
        std::optional<IsochorPair> match;
    } cases[] = {
        {"same Th", 100, kLiquid, liquid},
        {"Th within 0.001", 100.0009, kLiquid, liquid},
        {"Th 0.002 away", 100.002, kLiquid, std::nullopt},
        {"other homogenisation type", 100, kVapour, std::nullopt},
        {"second pair", 119.9995, kVapour, vapour},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        IsochorPtr biphasic = liquid.monophasic;  // filled: a miss must clear them
        IsochorPtr monophasic = liquid.biphasic;
        EXPECT_EQ(diagram->isIsochorAlreadyCalculated(c.Th, c.homog, &biphasic, &monophasic), c.match.has_value());
        EXPECT_EQ(biphasic, c.match ? c.match->biphasic : nullptr);
        EXPECT_EQ(monophasic, c.match ? c.match->monophasic : nullptr);
    }

    // The one-phase list alone is searched when only its place is given.
    IsochorPtr monophasic;
    EXPECT_TRUE(diagram->isIsochorAlreadyCalculated(120, kVapour, nullptr, &monophasic));
    EXPECT_EQ(monophasic, vapour.monophasic);

    // Without two-phase isochores nothing matches, even with one-phase ones, and the places are cleared.
    diagram->biphasicIsochors().clear();
    IsochorPtr biphasic = liquid.biphasic;
    monophasic = liquid.monophasic;
    EXPECT_FALSE(diagram->isIsochorAlreadyCalculated(100, kLiquid, &biphasic, &monophasic));
    EXPECT_EQ(biphasic, nullptr);
    EXPECT_EQ(monophasic, nullptr);
}

TEST(PhaseDiagramLookups, OnePhaseIsochoreWithinFourDegrees)
{
    const PhaseDiagramPtr diagram = makeDiagram();
    const IsochorPair pair = addIsochorPair(diagram, 100, Homogenisation::toLiquid);
    const struct {
        double Th;
        bool found;
    } cases[] = {{100, true}, {103.9, true}, {96.1, true}, {104, false}, {96, false}, {150, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Th);
        EXPECT_EQ(diagram->getMonophasicIsochorOfTh(c.Th), c.found ? pair.monophasic : nullptr);
    }
}

TEST(PhaseDiagramLookups, NameByDefaultFromTheFluid)
{
    const struct {
        Dictionary fluid;
        const char* name;
    } cases[] = {
        {Dictionary{{"fluidType", 1}, {"alpha", 0.35}, {"beta", 0.2}, {"name", "New"}}, "AB 0.350 0.200"},
        {componentFluid("Oil A"), "Oil A"},
        {Dictionary{{"fluidType", 3}, {"name", "Gamma"}}, "Undefined"},
    };
    for (const auto& c : cases) {
        CPhaseDiagram diagram;
        diagram.setThermoModel(c.fluid);
        diagram.setNameByDefault();
        EXPECT_EQ(diagram.name(), QString::fromUtf8(c.name));
    }
}

TEST(PhaseDiagramLookups, FluidThatAlreadyHasADiagram)
{
    const Dictionary alphaBeta{{"fluidType", 1}, {"name", "AB fluid"}, {"alpha", 0.35}, {"beta", 0.2},
                               {"CO2", 0.5},     {"N2", 0.1},          {"H2S", 0.0}};
    std::vector<PhaseDiagramPtr> diagrams;
    for (const Dictionary& fluid : {componentFluid("Oil A"), alphaBeta,
                                    Dictionary{{"fluidType", 3}, {"name", "Gamma"}},
                                    Dictionary{{"fluidType", 4}, {"name", "By carbon number"}}}) {
        diagrams.push_back(std::make_shared<CPhaseDiagram>());
        diagrams.back()->setThermoModel(fluid);
    }
    const auto alphaBetaWith = [&](const char* key, double value, const char* name) {
        Dictionary fluid = alphaBeta.copy();
        fluid.setValue(key, value);
        fluid.setValue("name", name);
        return fluid;
    };
    const struct {
        const char* what;
        Dictionary fluid;
        int match;  // index of the diagram, -1 for none
    } cases[] = {
        {"component fluid of the same name", componentFluid("Oil A"), 0},
        {"component fluid of another name", componentFluid("Oil B"), -1},
        {"alpha-beta fluid differing in name only", alphaBetaWith("alpha", 0.35, "Other"), 1},
        {"alpha 0.0009 apart", alphaBetaWith("alpha", 0.3509, "AB fluid"), 1},
        {"CO2 0.002 apart", alphaBetaWith("CO2", 0.502, "AB fluid"), -1},
        {"H2S 0.002 apart", alphaBetaWith("H2S", 0.002, "AB fluid"), -1},
        {"gamma fluid of the same name", Dictionary{{"fluidType", 3}, {"name", "Gamma"}}, -1},
        {"carbon-number fluid of the same name", Dictionary{{"fluidType", 4}, {"name", "By carbon number"}}, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        PhaseDiagramPtr found = diagrams[2];  // filled: a miss must clear it
        EXPECT_EQ(isFluidModelAlreadyUsed(diagrams, c.fluid, &found), c.match >= 0);
        EXPECT_EQ(found, c.match >= 0 ? diagrams[c.match] : nullptr);
        EXPECT_EQ(isFluidModelAlreadyUsed(diagrams, c.fluid), c.match >= 0);
    }
}

TEST(PhaseDiagramModel, KeepsItsOwnCopyOfTheFluid)
{
    Dictionary fluid = componentFluid("Oil A");
    fluid.setValue("curve", Dictionary{{"name", "curve 1"}});
    fluid.setValue("graphPoint", "a marker");
    CPhaseDiagram diagram;
    diagram.setThermoModel(fluid);

    // Later edits of the fluid, down to its components, do not reach the diagram.
    fluid.setValue("name", "Renamed");
    fluid.arrayValue("components").at(0).toDictionary().setValue("mole", 99.0);
    fluid.arrayValue("components").append(Dictionary{{"name", "N2"}});

    const Dictionary& model = diagram.thermoModel();
    EXPECT_EQ(model.stringValue("name"), "Oil A");
    ASSERT_EQ(model.arrayValue("components").size(), 2);
    EXPECT_EQ(model.arrayValue("components").at(0).toDictionary().doubleValue("mole"), 60.0);
    EXPECT_FALSE(model.contains("curve"));
    EXPECT_FALSE(model.contains("graphPoint"));
    EXPECT_TRUE(fluid.contains("curve"));  // the source keeps its own keys
}

} // namespace
