// Isochore and trapping-line records: pressure along an isochore, trapping lines, copies,
// sisters and the trapping pressure computed through the engine.
#include "support/PhaseDiagramFixtures.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace quorvel;
using namespace quorvel::test;

namespace {

TEST(IsochorPressure, InterpolatesOnRisingIntervalsOnly)
{
    const IsochorPtr isochor = makeIsochor({{50, 100}, {100, 200}, {150, 250}, {120, 300}});
    const struct {
        const char* what;
        double T;
        double P, dPdT;  // 0, 0: nothing found
    } cases[] = {
        {"at the first point", 50, 100, 2},
        {"inside the first interval", 75, 150, 2},
        {"at an inner point: the interval starting there", 100, 200, 1},
        {"inside the second interval", 140, 240, 1},
        {"at the last point of the rising run", 150, 0, 0},
        {"beyond the rising run", 155, 0, 0},  // (150, 250) -> (120, 300) falls
        {"below the isochore", 20, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        double dPdT = -99;  // a miss must not leave it as it was
        EXPECT_DOUBLE_EQ(isochor->getPressure(c.T, &dPdT), c.P);
        EXPECT_DOUBLE_EQ(dPdT, c.dPdT);
        EXPECT_DOUBLE_EQ(isochor->getPressure(c.T, nullptr), c.P);
    }
    EXPECT_EQ(makeIsochor({{150, 250}, {120, 300}})->getPressure(130, nullptr), 0);
}

TEST(TrappingLine, StandsAcrossTheIsochoreOverTenDegreesEachSide)
{
    const PhaseDiagramPtr diagram = makeDiagram();
    const IsochorPtr isochor = addIsochorPair(diagram, 50, Homogenisation::toLiquid, "Oil A : inc 7").monophasic;
    isochor->setBulkVolume(1.5e-4);
    isochor->setBulkDensity0(0.61);
    isochor->setBulkDensity1(0.62);
    isochor->setBulkMolarWeight(95);
    isochor->setGOR(120);
    isochor->setAPI(35);
    isochor->setCH4(40);
    // The one-phase points are (50, 80), (100, 180), (150, 280): a slope of 2 bar per degree.
    const struct {
        double T;
        double Ptrap, lowP, highP;
        const char* name;
    } cases[] = {
        {75, 130, 110, 150, "Oil A : inc 7, Thaq = 75, Pt = 130"},
        {74.6, 129.2, 109.2, 149.2, "Oil A : inc 7, Thaq = 75, Pt = 129"},
        {55, 90, 70, 110, "Oil A : inc 7, Thaq = 55, Pt = 90"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.T);
        // Ptrap = P(T) on the isochore; the ends are Ptrap -/+ 10 * dP/dT, at T.
        auto line = std::make_shared<CTrappingLine>();
        ASSERT_TRUE(line->attachToIsochor(isochor, c.T));
        EXPECT_EQ(line->isochor(), isochor);
        EXPECT_DOUBLE_EQ(line->Trap(), c.T);
        EXPECT_DOUBLE_EQ(line->trapCelsius(), c.T);
        EXPECT_DOUBLE_EQ(line->Ptrap(), c.Ptrap);
        ASSERT_EQ(line->points().size(), 2u);
        EXPECT_DOUBLE_EQ(line->points()[0]->T(), c.T);
        EXPECT_DOUBLE_EQ(line->points()[0]->P(), c.lowP);
        EXPECT_DOUBLE_EQ(line->points()[1]->T(), c.T);
        EXPECT_DOUBLE_EQ(line->points()[1]->P(), c.highP);
        EXPECT_EQ(line->trappingName(), QString::fromUtf8(c.name));
        EXPECT_EQ(line->name(), isochor->name());
        EXPECT_DOUBLE_EQ(line->Th(), c.T);
        EXPECT_EQ(line->curveFormat()->size(), 1);
        EXPECT_EQ(line->curveFormat()->color(), Color::black());
        EXPECT_EQ((std::array{line->bulkVolume(), line->bulkDensity0(), line->bulkDensity1(),
                              line->bulkMolarWeight(), line->GOR(), line->API(), line->CH4()}),
                  (std::array{1.5e-4, 0.61, 0.62, 95.0, 120.0, 35.0, 40.0}));
        EXPECT_EQ(line->phaseDiagram(), diagram);
        EXPECT_EQ(line->Ph(), 0);
        EXPECT_EQ(line->homog(), Homogenisation::toVapour);
        EXPECT_FALSE(line->isBiphasic());
        EXPECT_EQ(isochor->trappingLines().back(), line);
    }
    EXPECT_EQ(isochor->trappingLines().size(), 3u);
}

TEST(TrappingLine, LowerEndStopsAtZeroBar)
{
    const IsochorPtr isochor = makeIsochor({{0, 5}, {10, 25}});  // 2 bar per degree
    auto line = std::make_shared<CTrappingLine>();
    ASSERT_TRUE(line->attachToIsochor(isochor, 2));
    EXPECT_DOUBLE_EQ(line->Ptrap(), 9);
    EXPECT_DOUBLE_EQ(line->points()[0]->P(), 0);  // 9 - 20 would be below zero
    EXPECT_DOUBLE_EQ(line->points()[1]->P(), 29);
}

TEST(TrappingLine, RefusedWhereTheIsochoreHasNoPressure)
{
    const IsochorPtr isochor = makeIsochor({{50, 100}, {100, 200}});
    for (double T : {20.0, 100.0, 250.0}) {
        SCOPED_TRACE(T);
        auto line = std::make_shared<CTrappingLine>();
        EXPECT_FALSE(line->attachToIsochor(isochor, T));
        EXPECT_TRUE(line->points().empty());
        EXPECT_EQ(line->isochor(), nullptr);
        EXPECT_TRUE(line->trappingName().isNull());
        EXPECT_EQ(line->Ptrap(), 0);
    }
    EXPECT_TRUE(isochor->trappingLines().empty());
    EXPECT_FALSE(std::make_shared<CTrappingLine>()->attachToIsochor(nullptr, 75));
}

TEST(TrappingLine, AttachedAgainMovesToTheNewIsochore)
{
    const IsochorPtr first = makeIsochor({{50, 100}, {100, 200}});
    const IsochorPtr second = makeIsochor({{50, 300}, {100, 400}});
    auto line = std::make_shared<CTrappingLine>();
    ASSERT_TRUE(line->attachToIsochor(first, 60));
    ASSERT_TRUE(line->attachToIsochor(second, 60));
    EXPECT_TRUE(first->trappingLines().empty());
    ASSERT_EQ(second->trappingLines().size(), 1u);
    EXPECT_DOUBLE_EQ(line->Ptrap(), 320);
}

TEST(IsochorTrap, CelsiusValueOfEachRecordKind)
{
    CIsochor isochor;
    isochor.setTrap(373.15);  // kelvin, as the trapping calculation stores it
    EXPECT_NEAR(isochor.trapCelsius(), 100, 1e-12);
    CTrappingLine line;
    line.setTrap(100);  // degrees Celsius, as attaching stores it
    EXPECT_EQ(line.trapCelsius(), 100);
}

TEST(IsochorSister, ReadsAsNullOnceTheSisterIsGone)
{
    const PhaseDiagramPtr diagram = makeDiagram();
    IsochorPair pair = addIsochorPair(diagram, 100, Homogenisation::toLiquid);
    EXPECT_EQ(pair.biphasic->sister(), pair.monophasic);
    const IsochorPtr biphasic = pair.biphasic;
    diagram->monophasicIsochors().clear();
    pair.monophasic.reset();
    EXPECT_EQ(biphasic->sister(), nullptr);
    EXPECT_EQ(biphasic->phaseDiagram(), diagram);
}

TEST(IsochorCopy, CopiesArraysAndKeepsTypeAndDiagram)
{
    const PhaseDiagramPtr diagram = makeDiagram();
    const IsochorPair pair = addIsochorPair(diagram, 100, Homogenisation::toLiquid);
    const IsochorPtr source = pair.biphasic;
    source->setPh(55);
    source->setTrap(400);
    source->setPtrap(350);
    source->setBulkVolume(2e-4);
    source->setMinFv(1);
    source->setMaxFv(12);
    source->curveFormat()->setSize(3);
    source->curveFormat()->setColor(Color::blue());
    source->setGraphCurve(std::make_shared<CGraphCurve>());
    auto line = std::make_shared<CTrappingLine>();
    ASSERT_TRUE(line->attachToIsochor(source, 70));

    const IsochorPtr copy = source->copy();
    EXPECT_EQ(copy->name(), source->name());
    EXPECT_EQ((std::array{copy->Th(), copy->Ph(), copy->Trap(), copy->Ptrap(), copy->bulkVolume(), copy->minFv(),
                          copy->maxFv()}),
              (std::array{100.0, 55.0, 400.0, 350.0, 2e-4, 1.0, 12.0}));
    EXPECT_EQ(copy->homog(), Homogenisation::toLiquid);
    EXPECT_TRUE(copy->isBiphasic());
    EXPECT_EQ(copy->phaseDiagram(), diagram);
    EXPECT_EQ(copy->sister(), nullptr);
    EXPECT_EQ(copy->graphCurve(), nullptr);
    EXPECT_NE(copy->curveFormat(), source->curveFormat());
    EXPECT_EQ(copy->curveFormat()->size(), 3);
    EXPECT_EQ(copy->curveFormat()->color(), Color::blue());

    // Points are copies with every value, the two-phase ones with their own fractions.
    ASSERT_EQ(copy->points().size(), source->points().size());
    for (std::size_t i = 0; i < copy->points().size(); ++i) {
        EXPECT_NE(copy->points()[i], source->points()[i]);
        const auto* original = dynamic_cast<const CBiphasicIsochorPoint*>(source->points()[i].get());
        const auto* copied = dynamic_cast<const CBiphasicIsochorPoint*>(copy->points()[i].get());
        ASSERT_TRUE(original && copied);
        EXPECT_EQ((std::array{copied->T(), copied->P(), copied->Fv(), copied->otherV()}),
                  (std::array{original->T(), original->P(), original->Fv(), original->otherV()}));
        EXPECT_EQ(copied->N(), original->N());
        EXPECT_EQ(copied->otherz(), original->otherz());
    }
    copy->points()[0]->setP(-1);
    copy->points().pop_back();
    EXPECT_EQ(source->points().size(), 3u);
    EXPECT_EQ(source->points()[0]->P(), 40);

    // Trapping lines are copies standing on the copy.
    ASSERT_EQ(copy->trappingLines().size(), 1u);
    const TrappingLinePtr lineCopy = copy->trappingLines()[0];
    EXPECT_NE(lineCopy, line);
    EXPECT_EQ(lineCopy->isochor(), copy);
    EXPECT_EQ(lineCopy->trappingName(), line->trappingName());
    EXPECT_EQ(lineCopy->points().size(), 2u);
    EXPECT_EQ(source->trappingLines().size(), 1u);
}

// ---- Trapping pressure through the engine

constexpr double kR = 8.314462618;  // J/(mol K), CODATA 2018

// Peng and Robinson (1976) for one component, SI units.
double pengRobinsonPressure(double T, double v, double Tc, double Pc, double omega)
{
    const double kappa = 0.37464 + 1.54226 * omega - 0.26992 * omega * omega;
    const double alpha = std::pow(1 + kappa * (1 - std::sqrt(T / Tc)), 2);
    const double a = 0.45724 * kR * kR * Tc * Tc / Pc * alpha;
    const double b = 0.07780 * kR * Tc / Pc;
    return kR * T / (v - b) - a / (v * v + 2 * b * v - b * b);
}

// Methane as tabulated by Reid, Prausnitz and Poling.
constexpr double kMethaneTc = 190.6;  // K
constexpr double kMethanePc = 46.0;   // bar
constexpr double kMethaneOmega = 0.011;
constexpr double kMethaneMw = 16.04;  // g/mol

Dictionary methane()
{
    const Dictionary component{{"name", "C1"},       {"nc", 1},          {"mole", 100.0},
                               {"mw", kMethaneMw},   {"SG", 0.3},        {"Tc", kMethaneTc - 273.15},
                               {"Tb", -161.5},       {"Pc", kMethanePc}, {"Vc", 99.0},
                               {"omega", kMethaneOmega}, {"corr", 0}};
    return Dictionary{{"name", "Methane"}, {"fluidType", 2}, {"components", Array{component}}};
}

TEST(IsochorTrappingPressure, PressureOfTheHomogeneousFluidAtTheBulkVolume)
{
    auto diagram = std::make_shared<CPhaseDiagram>();
    diagram->setThermoModel(methane());
    const struct {
        double T;  // K
        double v;  // m3/mol
        Homogenisation homog;
    } cases[] = {{373.15, 1e-4, Homogenisation::toLiquid},
                 {300, 2e-4, Homogenisation::toVapour},
                 {473.15, 6e-5, Homogenisation::toLiquid}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.T);
        CIsochor isochor;
        isochor.setPhaseDiagram(diagram);
        isochor.setHomog(c.homog);
        isochor.setBulkVolume(c.v);
        const double expected = pengRobinsonPressure(c.T, c.v, kMethaneTc, kMethanePc * 1e5, kMethaneOmega) * 1e-5;
        const double P = isochor.calculateTrappingPressure(c.T);
        EXPECT_NEAR(P, expected, 1e-4 * expected);
        EXPECT_EQ(isochor.Ptrap(), P);
        EXPECT_EQ(isochor.Trap(), c.T);
        EXPECT_NEAR(isochor.trapCelsius(), c.T - 273.15, 1e-9);
        // Methane above its critical temperature has one volume at (T, Ptrap): the bulk volume.
        EXPECT_NEAR(isochor.bulkMolarWeight(), kMethaneMw, 1e-9);
        EXPECT_NEAR(isochor.bulkDensity0(), kMethaneMw / (c.v * 1e6), 1e-5);
        EXPECT_NEAR(isochor.CH4(), 100, 1e-9);
    }
}

TEST(IsochorTrappingPressure, NothingWithoutADiagramOrAnEngine)
{
    CIsochor alone;
    alone.setBulkVolume(1e-4);
    alone.setPtrap(12);
    EXPECT_EQ(alone.calculateTrappingPressure(373.15), 0);
    EXPECT_EQ(alone.Ptrap(), 12);
    EXPECT_EQ(alone.Trap(), 0);

    // A gamma-model fluid has no engine.
    auto diagram = std::make_shared<CPhaseDiagram>();
    diagram->setThermoModel(Dictionary{{"fluidType", 3}, {"name", "Gamma"}});
    CIsochor isochor;
    isochor.setPhaseDiagram(diagram);
    isochor.setBulkVolume(1e-4);
    EXPECT_EQ(isochor.calculateTrappingPressure(373.15), 0);
    EXPECT_EQ(isochor.Trap(), 0);
}

} // namespace
