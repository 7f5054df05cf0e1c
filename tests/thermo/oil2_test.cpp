// User-composition fluid: vapour-pressure correlations by component name.
#include "thermo/Oil2.h"
#include "thermo/Peng.h"
#include "thermo/PsatCorr.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace quorvel {
namespace {

TEST(Oil2Names, AntoineEntryOfEachName)
{
    const struct { const char* name; int entry; } cases[] = {
        {"N2", 0}, {"CO2", 0}, {"H2S", 0},
        {"C1", 1}, {"CH4", 1}, {"C2", 2}, {"C3", 3}, {"iC4", 4}, {"nC4", 4}, {"C4", 4},
        {"iC5", 5}, {"nC5", 5}, {"C5", 5}, {"C6", 6}, {"C7", 7}, {"C8", 8}, {"C9", 9}, {"C10", 10},
        {"C7+", 12}, {"Cn1", 12}, {"Cn2", 16},
        {"C11", 12}, {"C24", 12}, {"C25", 16}, {"C30", 16}, {"C45", 16},
        {"c1", 12}, {"X", 12}, {"", 12}, {"F 30", 16}, {"F-40", 12}, {"nC6", 12}};
    for (const auto& c : cases)
        EXPECT_EQ(antoineEntryForName(c.name), c.entry) << '"' << c.name << '"';
}

TEST(Oil2Names, BoilingPointsAndMethane)
{
    Peng liquidModel(phase_kind::liquid), vapourModel(phase_kind::vapour);
    Oil2 oil(liquidModel, vapourModel);
    const char* names[] = {"N2", "CH4", "C4", "C5", "C1", "C20"};
    oil.number_of_components(6);
    for (short i = 0; i < 6; ++i) {
        for (Peng* phase : {&liquidModel, &vapourModel}) {
            phase->setCriticalTemperature(i, 300);
            phase->setCriticalPressure(i, 4e6);
        }
        // A boiling temperature that adding the component replaces.
        oil.setSatProp(i, oil.criticalTemperature()[i], oil.criticalPressure()[i], 1);
        oil.add_component(i, names[i]);
    }
    const double z[] = {0.1, 0.3, 0.2, 0.2, 0.15, 0.05};
    for (short i = 0; i < 6; ++i)
        oil.composition(i, z[i]);

    EXPECT_DOUBLE_EQ(oil.boilingTemperature()[0], 75);
    EXPECT_NEAR(oil.boilingTemperature()[1], 111.7, 0.3);  // methane
    EXPECT_NEAR(oil.boilingTemperature()[2], 272.7, 1.0);  // n-butane
    EXPECT_NEAR(oil.boilingTemperature()[3], 309.2, 1.0);  // n-pentane
    EXPECT_EQ(oil.boilingTemperature()[1], oil.boilingTemperature()[4]);
    EXPECT_GT(oil.boilingTemperature()[5], 450);
    // The first of "CH4" and "C1".
    EXPECT_DOUBLE_EQ(oil.getCH4(), 0.3);
    EXPECT_EQ(oil.criticalTemperature()[0], 0.0);  // written by the caller only
}

TEST(Oil2Names, ComponentWithoutANameIsRefusedWithAMessage)
{
    for (const char* name : {static_cast<const char*>(nullptr), ""}) {
        SCOPED_TRACE(name ? "empty name" : "null name");
        Peng liquidModel(phase_kind::liquid), vapourModel(phase_kind::vapour);
        Oil2 oil(liquidModel, vapourModel);
        oil.number_of_components(2);
        const struct {
            double Tc, Pc, omega, M;  // K, Pa, -, g/mol
        } data[] = {{190.6, 46e5, 0.011, 16.04}, {617.7, 21.1e5, 0.489, 142.3}};
        for (short i = 0; i < 2; ++i) {
            for (Peng* phase : {&liquidModel, &vapourModel}) {
                phase->setCriticalTemperature(i, data[i].Tc);
                phase->setCriticalPressure(i, data[i].Pc);
                phase->setAcentricFactor(i, data[i].omega);
                phase->setMolarWeight(i, data[i].M);
            }
            oil.setSatProp(i, data[i].Tc, data[i].Pc, 300);
        }

        testing::internal::CaptureStderr();
        oil.add_component(0, "C1");
        oil.add_component(1, name);
        const std::string messages = testing::internal::GetCapturedStderr();
        EXPECT_NE(messages.find("Component 1 has no name"), std::string::npos) << messages;
        EXPECT_NE(oil.psatCorrelation()[0], nullptr);
        EXPECT_EQ(oil.psatCorrelation()[1], nullptr);
        EXPECT_TRUE(oil.componentName()[1].empty());
        EXPECT_TRUE(liquidModel.componentName()[1].empty());

        // Without the component's vapour pressure there are no start values.
        oil.composition(0, 0.5);
        oil.composition(1, 0.5);
        EXPECT_FALSE(oil.solveFromIdealMixture(problem_type::fixed_T_and_Fv, 300, 0));
        EXPECT_EQ(oil.failureCode(), equilibrium_failure::solve_failed);
    }
}

// A live oil typed in by a user, on Peng-Robinson phase models.
struct UserOil {
    struct Entry {
        const char* name;
        double Tc, Pc, omega, M, Vc, sg, z;  // K, bar, -, g/mol, cm3/mol, -, mole fraction
    };
    static constexpr Entry kEntries[] = {
        {"N2", 126.2, 33.94, 0.04, 28.01, 89, 0, 0.005},   {"CO2", 304.2, 73.76, 0.225, 44.01, 94, 0, 0.02},
        {"C1", 190.6, 46, 0.011, 16.04, 99, 0, 0.35},       {"C2", 305.4, 48.8, 0.099, 30.07, 148, 0, 0.08},
        {"C3", 369.8, 42.5, 0.153, 44.1, 203, 0.507, 0.06}, {"nC4", 425.2, 38, 0.199, 58.12, 255, 0.584, 0.05},
        {"nC5", 469.7, 33.7, 0.251, 72.15, 304, 0.631, 0.04}, {"C6", 507.5, 30.1, 0.299, 86.18, 370, 0.664, 0.04},
        {"C10", 617.7, 21.1, 0.489, 142.3, 603, 0.73, 0.2}, {"C20", 768, 11.1, 0.907, 282.5, 1200, 0.82, 0.155}};
    static constexpr short n = std::size(kEntries);

    Peng liquidModel{phase_kind::liquid};
    Peng vapourModel{phase_kind::vapour};
    Oil2 oil{liquidModel, vapourModel};

    explicit UserOil(bool withSpecificGravities)
    {
        oil.number_of_components(n);
        for (short i = 0; i < n; ++i) {
            const Entry& e = kEntries[i];
            for (Peng* phase : {&liquidModel, &vapourModel}) {
                phase->setCriticalTemperature(i, e.Tc);
                phase->setCriticalPressure(i, e.Pc * 1e5);
                phase->setAcentricFactor(i, e.omega);
                phase->setMolarWeight(i, e.M);
                phase->setCriticalVolume(i, e.Vc * 1e-6);
            }
            oil.setSatProp(i, e.Tc, e.Pc * 1e5, 300);
            oil.setSpecificGravity(i, withSpecificGravities ? e.sg : 0);
            oil.add_component(i, e.name);
        }
        for (short i = 0; i < n; ++i)
            oil.composition(i, kEntries[i].z);
    }
};

TEST(Oil2StockTank, GasOilRatioAndApiByTheFourMethods)
{
    UserOil fluid(true);
    // A component fluid, as loading a fluid record tells the engine; the fourth method's
    // volume translation depends on it.
    fluid.oil.setModelFluidType(FluidType::componentList);
    fluid.oil.calculateGOR();
    const Oil& oil = fluid.oil;
    ASSERT_EQ(oil.stockTankState(), StockTankState::TwoPhases);
    for (int k = 0; k < 4; ++k) {
        EXPECT_GT(oil.gasOilRatios()[k], 50) << k;
        EXPECT_LT(oil.gasOilRatios()[k], 300) << k;
    }
    // The correlations give a stock-tank oil near 0.75 g/cm3 (API 45 to 60).
    for (int k : {1, 2}) {
        EXPECT_GT(oil.apiGravities()[k], 45) << k;
        EXPECT_LT(oil.apiGravities()[k], 60) << k;
    }
}

TEST(Oil2StockTank, HeavyEndWithoutSpecificGravityGivesNoStandingKatzDensity)
{
    // Without the specific gravities of C10 and C20 the Standing-Katz method has no C7+
    // density: its density, oil volume and API gravity are unavailable, not a gas-like
    // liquid of 0.03 g/cm3.
    UserOil fluid(false);
    fluid.oil.calculateGOR();
    const Oil& oil = fluid.oil;
    ASSERT_EQ(oil.stockTankState(), StockTankState::TwoPhases);
    EXPECT_EQ(oil.liquidDensityStandingKatz(), 0.0);
    EXPECT_TRUE(std::isnan(oil.apiGravities()[1]));
    EXPECT_TRUE(std::isnan(oil.gasOilRatios()[1]));
    EXPECT_TRUE(std::isfinite(oil.apiGravities()[0]));  // the equation of state still answers
}

} // namespace
} // namespace quorvel
