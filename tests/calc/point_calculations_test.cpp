// Point calculations of the calculation interface: trapping pressure, saturation, flash,
// bulk density and stock-tank properties, checked against textbook formulas and balances.
#include "calc/CalculationInterface.h"
#include "support/TestFluids.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numeric>
#include <string>

namespace quorvel {
namespace {

using namespace test;

std::unique_ptr<CalculationInterface> loaded(const std::vector<ComponentData>& fluid)
{
    auto ci = std::make_unique<CalculationInterface>(FluidType::componentList, EquationOfState::pengRobinson);
    ci->setThermodynamicModel(fluidRecord(2, fluid));
    return ci;
}

TEST(TrappingPressure, OneComponentFluidFollowsTheClosedFormPengRobinsonPressure)
{
    const std::vector<ComponentData> methane = {withMole(kC1, 100)};
    const auto textbook = textbookMixture(methane);
    CalculationInterface ci(FluidType::componentList, EquationOfState::pengRobinson);
    ASSERT_TRUE(ci.setModelFluid(FluidType::componentList, fluidRecord(2, methane)));
    const struct Case {
        Homogenisation homog;
        double T, v;  // K, m3/mol
    } cases[] = {{Homogenisation::toLiquid, 300, 1e-4},
                 {Homogenisation::toLiquid, 150, 5e-5},
                 {Homogenisation::toVapour, 250, 2e-4},
                 {Homogenisation::toVapour, 400, 1e-3},
                 {Homogenisation::toLiquid, 190, 3.5e-5}};
    for (const Case& c : cases) {
        SCOPED_TRACE("T " + std::to_string(c.T) + ", v " + std::to_string(c.v));
        ci.setHomog(c.homog);
        ci.setBulkVolume(c.v);
        const double P = ci.calculateTrappingPressure(c.T);
        EXPECT_EQ(ci.getCurrentPhase(), c.homog == Homogenisation::toLiquid
                                       ? static_cast<FluidPhase*>(ci.liquidModel())
                                       : static_cast<FluidPhase*>(ci.vapourModel()));
        EXPECT_NEAR(P, textbook.pressure(c.T, c.v, {1.0}) * 1e-5, 1e-10 * std::fabs(P));
    }
}

struct SaturationCase {
    const char* what;
    std::vector<ComponentData> fluid;
    double T;  // degrees Celsius
    bool bubble;
};

TEST(Saturation, AgreesWithTheTextbookSolver)
{
    const std::vector<ComponentData> lpg = {withMole(kC3, 60), withMole(knC4, 40)};
    const SaturationCase cases[] = {
        {"binary bubble point at 50 C", binary(), 50, true},
        {"binary bubble point at 150 C", binary(), 150, true},
        {"propane-butane bubble point", lpg, 60, true},
        {"propane-butane dew point", lpg, 60, false},
        {"nine components, bubble point at 80 C", nineComponentOil(), 80, true},
        {"nine components, bubble point at 20 C", nineComponentOil(), 20, true},
        {"Riazi-Daubert heavy end, bubble point at 100 C", riaziDaubertOil(), 100, true},
        {"Riazi-Daubert heavy end, bubble point at 80 C", riaziDaubertOil(), 80, true},
    };
    for (const SaturationCase& c : cases) {
        SCOPED_TRACE(c.what);
        const auto textbook = textbookMixture(c.fluid);
        const double T = c.T + 273.15;
        const auto expected = c.bubble ? textbook.bubblePressure(T, moleFractions(c.fluid))
                                       : textbook.dewPressure(T, moleFractions(c.fluid));
        ASSERT_TRUE(expected.has_value());
        auto ci = loaded(c.fluid);
        const double P =
            ci->calculateSaturation(c.T, c.bubble ? SaturationKind::bubblePoint : SaturationKind::dewPoint);
        EXPECT_NEAR(P, *expected * 1e-5, 1e-6 * P);
    }
}

TEST(Saturation, NoSaturationPointGivesExactlyTheFailureValue)
{
    // Both components far above their critical temperatures.
    auto ci = loaded({withMole(kN2, 50), withMole(kC1, 50)});
    EXPECT_EQ(ci->calculateSaturation(300, SaturationKind::bubblePoint), -10000);
    EXPECT_EQ(ci->calculateSaturation(300, SaturationKind::dewPoint), -10000);
}

// Flash of the nine-component oil below its bubble point.
class Flash : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(ci.setModelFluid(FluidType::componentList, fluidRecord(2, fluid)));
        feed = ci.engine()->feedComposition();
        const double bubble = ci.calculateSaturation(T - 273.15, SaturationKind::bubblePoint);
        ASSERT_GT(bubble, 0);
        P = bubble / 2;
    }

    static std::vector<double> moles(const FluidRecord& record)
    {
        std::vector<double> result;
        for (const Value& c : record.arrayValue("components"))
            result.push_back(c.toDictionary().doubleValue("mole") / 100);
        return result;
    }

    std::vector<ComponentData> fluid = nineComponentOil();
    CalculationInterface ci{FluidType::componentList, EquationOfState::pengRobinson};
    std::vector<double> feed;  // as loaded
    double T = 353.15;
    double P = 0;
};

TEST_F(Flash, PhasesSumToOneHundredAndBalanceTheFeed)
{
    FluidRecord liquid, vapour;
    ASSERT_EQ(ci.calculateFlash(T, P, liquid, vapour), FlashOutcome::twoPhases);
    const std::vector<double> x = moles(liquid), y = moles(vapour), z = moleFractions(fluid);
    ASSERT_EQ(x.size(), 9u);
    ASSERT_EQ(y.size(), 9u);
    EXPECT_NEAR(std::accumulate(x.begin(), x.end(), 0.0), 1, 1e-10);
    EXPECT_NEAR(std::accumulate(y.begin(), y.end(), 0.0), 1, 1e-10);
    // Liquid amount by least squares on z - y = L (x - y); the balance must then hold exactly.
    double num = 0, den = 0;
    for (int i = 0; i < 9; ++i) {
        num += (z[i] - y[i]) * (x[i] - y[i]);
        den += (x[i] - y[i]) * (x[i] - y[i]);
    }
    const double L = num / den;
    EXPECT_GT(L, 0.05);
    EXPECT_LT(L, 0.95);
    for (int i = 0; i < 9; ++i)
        EXPECT_NEAR(L * x[i] + (1 - L) * y[i], z[i], 1e-9) << fluid[i].name;
    EXPECT_NEAR(1 - L, ci.engine()->molarGasFraction(), 1e-9);
    // The methane goes to the gas, the decane stays in the oil.
    EXPECT_GT(y[2], x[2]);
    EXPECT_LT(y[8], x[8]);
}

TEST_F(Flash, FlashedPhaseRecordKeysAndUnits)
{
    FluidRecord liquid{{"name", "old"}, {"fluidType", 4}, {"EOSkept", "yes"},
                       {"components", Array{ComponentRecord{{"name", "gone"}}}}};
    ASSERT_EQ(ci.calculateFlash(T, P, liquid, std::nullopt), FlashOutcome::twoPhases);
    EXPECT_EQ(liquid.stringValue("name"), "Flash");
    EXPECT_EQ(liquid.value("comment"), Value(""));
    EXPECT_TRUE(liquid.value("fluidType").isInt());
    EXPECT_EQ(liquid.intValue("fluidType"), 2);
    EXPECT_EQ(liquid.stringValue("EOSkept"), "yes");  // other keys are left alone
    EXPECT_FALSE(liquid.contains("EOS"));
    const Array components = liquid.arrayValue("components");
    ASSERT_EQ(components.size(), 9);
    const QStringList keys = {"SG", "Pc", "Tb", "Tc", "Vc", "corr", "mole", "mw", "name", "nc", "omega"};
    for (int i = 0; i < 9; ++i) {
        const ComponentRecord c = components.at(i).toDictionary();
        const ComponentData& in = fluid[i];
        SCOPED_TRACE(in.name);
        QStringList sorted = keys;
        sorted.sort();
        EXPECT_EQ(c.keys(), sorted);
        EXPECT_EQ(c.stringValue("name"), in.name);
        EXPECT_NEAR(c.doubleValue("Tc"), in.Tc, 1e-12);   // back in degrees Celsius
        EXPECT_NEAR(c.doubleValue("Pc"), in.Pc, 1e-12);   // back in bar
        EXPECT_DOUBLE_EQ(c.doubleValue("Vc"), in.Vc);     // cm3/mol as loaded
        EXPECT_DOUBLE_EQ(c.doubleValue("omega"), in.omega);
        EXPECT_DOUBLE_EQ(c.doubleValue("mw"), in.mw);
        EXPECT_DOUBLE_EQ(c.doubleValue("SG"), in.SG);
        EXPECT_TRUE(c.value("nc").isInt());
        EXPECT_EQ(c.intValue("nc"), in.nc);
        EXPECT_TRUE(c.value("corr").isInt());
        EXPECT_EQ(c.intValue("corr"), in.corr);
        EXPECT_NEAR(c.doubleValue("Tb"), ci.engine()->boilingTemperature()[i] - 273.15, 1e-12);
        EXPECT_DOUBLE_EQ(c.doubleValue("mole"), ci.engine()->flashLiquidComposition()[i] * 100);
    }
}

TEST_F(Flash, FlashedLiquidLoadsAsANewFluid)
{
    FluidRecord liquid;
    ASSERT_EQ(ci.calculateFlash(T, P, liquid, std::nullopt), FlashOutcome::twoPhases);
    const std::vector<double> x = ci.engine()->flashLiquidComposition();
    CalculationInterface again(fluidTypeOf(liquid), EquationOfState::pengRobinson);
    ASSERT_TRUE(again.setModelFluid(FluidType::componentList, liquid));
    for (int i = 0; i < 9; ++i) {
        EXPECT_NEAR(again.getIsoplethComposition(i), x[i], 1e-15);
        EXPECT_NEAR(again.liquidModel()->criticalTemperature()[i], ci.liquidModel()->criticalTemperature()[i], 1e-12);
        EXPECT_NEAR(again.liquidModel()->criticalPressure()[i], ci.liquidModel()->criticalPressure()[i], 1e-6);
        EXPECT_DOUBLE_EQ(again.liquidModel()->criticalVolume()[i], ci.liquidModel()->criticalVolume()[i]);
    }
    // The flashed liquid sits at its own bubble point at the flash conditions.
    EXPECT_NEAR(again.calculateSaturation(T - 273.15, SaturationKind::bubblePoint), P, 1e-6 * P);
}

TEST_F(Flash, OnePhaseFlashWritesNothingAndKeepsTheFeed)
{
    FluidRecord liquid{{"name", "mine"}}, vapour{{"comment", "untouched"}};
    testing::internal::CaptureStderr();
    EXPECT_EQ(ci.calculateFlash(T, 1000, liquid, vapour), FlashOutcome::onePhase);  // one liquid phase
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(liquid.keys(), QStringList{"name"});
    EXPECT_EQ(liquid.stringValue("name"), "mine");
    EXPECT_EQ(vapour.keys(), QStringList{"comment"});
    EXPECT_EQ(ci.engine()->feedComposition(), feed);
}

TEST_F(Flash, LongLivedInterfaceGetsItsFeedBack)
{
    // Without records the flash only runs the engine; the next calculation sees the feed.
    const double bubbleBefore = ci.calculateSaturation(T - 273.15, SaturationKind::bubblePoint);
    EXPECT_EQ(ci.calculateFlash(T, P, std::nullopt, std::nullopt), FlashOutcome::twoPhases);
    EXPECT_EQ(ci.engine()->feedComposition(), feed);
    EXPECT_NEAR(ci.calculateSaturation(T - 273.15, SaturationKind::bubblePoint), bubbleBefore, 1e-9 * bubbleBefore);
}

TEST(BulkDensity, LiquidModelDensityOfTheWholeFeed)
{
    const std::vector<ComponentData> fluid = nineComponentOil();
    auto ci = loaded(fluid);
    const double T = 353.15, P = 400;
    ASSERT_TRUE(ci->calculateBulkDensity(T, P, PhaseModel::liquid));
    const Oil& oil = *ci->engine();
    double M = 0;
    for (const ComponentData& c : fluid)
        M += c.mole / 100 * c.mw;
    EXPECT_NEAR(oil.bulkMolarWeight(), M, 1e-12);
    // Density from the textbook volume: the volume whose pressure is P, by bisection.
    const auto textbook = textbookMixture(fluid);
    double lo = 9.7e-5, hi = 3e-4;  // just above the co-volume, and a gas-like volume
    ASSERT_GT(textbook.pressure(T, lo, moleFractions(fluid)), P * 1e5);
    ASSERT_LT(textbook.pressure(T, hi, moleFractions(fluid)), P * 1e5);
    for (int k = 0; k < 200; ++k) {
        const double mid = (lo + hi) / 2;
        (textbook.pressure(T, mid, moleFractions(fluid)) > P * 1e5 ? lo : hi) = mid;
    }
    EXPECT_NEAR(oil.bulkDensity(), M / ((lo + hi) / 2 * 1e6), 1e-9);
}

TEST(StockTank, ResultsInTheFieldsInTheOrderOfTheMethods)
{
    const std::vector<ComponentData> fluid = nineComponentOil();
    auto ci = loaded(fluid);
    ASSERT_TRUE(ci->calculateGOR());
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(ci->getGOR()[k], ci->engine()->gasOilRatios()[k]) << k;
        EXPECT_EQ(ci->getAPI()[k], ci->engine()->apiGravities()[k]) << k;
        EXPECT_GT(ci->getGOR()[k], 10) << k;
    }
    EXPECT_DOUBLE_EQ(ci->getCH4(), 35);
    // Only the decane counts as C7+.
    EXPECT_DOUBLE_EQ(ci->getStockTankC7plus(), 35.5);
    EXPECT_DOUBLE_EQ(ci->getC7plus(), 35.5);
    EXPECT_DOUBLE_EQ(ci->getMwC7plus(), kC10.mw);
    EXPECT_DOUBLE_EQ(ci->getSGC7plus(), kC10.SG);
}

// Peng-Robinson without volume translation makes a heavy cut of low critical pressure far too
// light: the co-volume 0.0778 R Tc / Pc of the oil's Cn2 is 950 cm3/mol, against 540 cm3/mol
// from its molar weight and specific gravity. The tank oil's untranslated density, and the API
// gravity above 100 that comes of it, are what the equation gives: the tank phases are in
// equilibrium by the textbook fugacities, and the liquid volume is the textbook's at 1 bar.
TEST(StockTank, UntranslatedOilDensityIsTheTextbookPengRobinsonLiquid)
{
    const std::vector<ComponentData> fluid = riaziDaubertOil();
    auto ci = loaded(fluid);
    ASSERT_TRUE(ci->calculateGOR());
    const Oil& oil = *ci->engine();
    const std::vector<double> x = oil.liquidModel()->moleFraction();
    const std::vector<double> y = oil.vapourModel()->moleFraction();
    const double T = 288.7, P = 1e5;  // the tank: K, Pa

    const auto textbook = textbookMixture(fluid);
    const std::vector<double> lnPhiL = textbook.lnPhi(x, T, P, textbook::Root::liquid);
    const std::vector<double> lnPhiV = textbook.lnPhi(y, T, P, textbook::Root::vapour);
    for (int i = 0; i < textbook.size(); ++i) {
        if (fluid[i].mole == 0)
            continue;
        SCOPED_TRACE(fluid[i].name);
        EXPECT_NEAR(std::log(x[i]) + lnPhiL[i], std::log(y[i]) + lnPhiV[i], 1e-6);
    }

    // The liquid root by bisection between a volume above the pressure and one below it.
    double lo = 2.85e-4, hi = 3.1e-4;  // m3/mol
    ASSERT_GT(textbook.pressure(T, lo, x), P);
    ASSERT_LT(textbook.pressure(T, hi, x), P);
    for (int k = 0; k < 200; ++k) {
        const double mid = (lo + hi) / 2;
        (textbook.pressure(T, mid, x) > P ? lo : hi) = mid;
    }
    double M = 0;
    for (int i = 0; i < textbook.size(); ++i)
        M += x[i] * fluid[i].mw;
    const double v = (lo + hi) / 2;
    EXPECT_LT(P * v / (textbook::R * T), 0.02) << "a liquid's compressibility factor";
    const double density = M / (v * 1e6);  // g/cm3
    EXPECT_NEAR(oil.liquidDensity(), density, 1e-6 * density);
    EXPECT_LT(density, 0.6) << "lighter than any of the oil's cuts";
    EXPECT_GT(ci->getAPI()[0], 100);
}

TEST(StockTank, MethaneOfEachKindOfFluid)
{
    auto lpg = loaded({withMole(kC3, 60), withMole(knC4, 40)});
    lpg->calculateGOR();
    EXPECT_EQ(lpg->getCH4(), 0);  // no component named CH4 or C1
    EXPECT_EQ(lpg->getCH4(), 0);

    CalculationInterface model(FluidType::alphaBeta, EquationOfState::pengRobinson);
    model.setAlpha(0.7);
    model.setBeta(0.1);
    model.finalize();
    ASSERT_TRUE(model.calculateGOR());
    EXPECT_DOUBLE_EQ(model.getCH4(), model.engine()->feedComposition()[3] * 100);
    EXPECT_GT(model.getCH4(), 10);
}

TEST(StockTank, NothingLeftOverFromTheCalculationBefore)
{
    auto ci = loaded(nineComponentOil());
    ASSERT_TRUE(ci->calculateGOR());

    // A dead oil: no gas at stock-tank conditions, a gas-oil ratio of 0 and its own API.
    ci->setThermodynamicModel(fluidRecord(2, {withMole(kC10, 100)}));
    EXPECT_FALSE(ci->calculateGOR());
    for (int k = 0; k < 4; ++k)
        EXPECT_EQ(ci->getGOR()[k], 0) << k;
    EXPECT_TRUE(std::isfinite(ci->getAPI()[0]));
    EXPECT_TRUE(std::isfinite(ci->getAPI()[1]));

    // A gas: no tank liquid, so no correlation density; those values are not-a-number, not
    // the dead oil's.
    ci->setThermodynamicModel(fluidRecord(2, {withMole(kN2, 10), withMole(kC1, 90)}));
    EXPECT_FALSE(ci->calculateGOR());
    EXPECT_TRUE(std::isnan(ci->getAPI()[1]));
    EXPECT_TRUE(std::isnan(ci->getAPI()[2]));
    EXPECT_TRUE(std::isnan(ci->engine()->liquidDensityStandingKatz()));
    EXPECT_TRUE(std::isnan(ci->engine()->apiStandingKatzRange()[0]));
    EXPECT_DOUBLE_EQ(ci->getCH4(), 90);
}

bool sameNumber(double a, double b) { return a == b || (std::isnan(a) && std::isnan(b)); }

// The progress is asked between Newton iterations: always answering to go on changes no value;
// answering to stop on the first question ends the calculation there, and the next one runs
// as if nothing had happened.
TEST(StockTank, ProgressIsAskedAndCanStopTheCalculation)
{
    auto plain = loaded(nineComponentOil());
    ASSERT_TRUE(plain->calculateGOR());

    auto watched = loaded(nineComponentOil());
    int asked = 0;
    bool answer = true;
    watched->setStockTankProgress([&](int done, int steps) {
        ++asked;
        EXPECT_GE(done, 0);
        EXPECT_LE(done, steps);
        return answer;
    });
    ASSERT_TRUE(watched->calculateGOR());
    EXPECT_FALSE(watched->stockTankStopped());
    EXPECT_GT(asked, 1);
    for (int k = 0; k < 4; ++k) {
        EXPECT_TRUE(sameNumber(watched->getGOR()[k], plain->getGOR()[k])) << k;
        EXPECT_TRUE(sameNumber(watched->getAPI()[k], plain->getAPI()[k])) << k;
    }

    asked = 0;
    answer = false;
    EXPECT_FALSE(watched->calculateGOR());
    EXPECT_TRUE(watched->stockTankStopped());
    EXPECT_EQ(asked, 1) << "nothing more is solved once told to stop";

    watched->setStockTankProgress(nullptr);
    ASSERT_TRUE(watched->calculateGOR());
    EXPECT_FALSE(watched->stockTankStopped());
    EXPECT_TRUE(sameNumber(watched->getGOR()[0], plain->getGOR()[0]));
}

} // namespace
} // namespace quorvel
