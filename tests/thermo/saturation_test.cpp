#include "thermo/Peng.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace quorvel {
namespace {

struct PureComponent {
    const char* name;
    double tc;          // K
    double pc;          // bar
    double omega;
    double mw;          // g/mol
    double vc;          // cm3/mol
    double boiling_t;   // K, normal boiling point (1.01325 bar)
};

// Textbook critical data and normal boiling points (Poling, Prausnitz and O'Connell).
const PureComponent methane = {"C1", 190.56, 45.99, 0.011, 16.043, 98.6, 111.66};
const PureComponent propane = {"C3", 369.83, 42.48, 0.152, 44.097, 200.0, 231.02};
const PureComponent decane = {"nC10", 617.7, 21.10, 0.490, 142.285, 624.0, 447.30};

// A liquid and a vapour model of one pure component, and the Peng-Robinson vapour pressure
// found by bisection on ln(phi_L) - ln(phi_V).
class PureSaturation {
public:
    explicit PureSaturation(const PureComponent& c)
        : liquid(phase_kind::liquid)
        , vapour(phase_kind::vapour)
    {
        for (Peng* phase : {&liquid, &vapour}) {
            phase->number_of_components(1);
            phase->setCriticalTemperature(0, c.tc);
            phase->setCriticalPressure(0, c.pc * 1e5);
            phase->setCriticalVolume(0, c.vc * 1e-6);
            phase->setAcentricFactor(0, c.omega);
            phase->setMolarWeight(0, c.mw);
            phase->add_component(0, c.name);
        }
        pc = c.pc * 1e5;
    }

    // Positive below the vapour pressure (the vapour is the stable phase), negative above.
    double fugacity_gap(double T, double P)
    {
        liquid.set_the_phase_as(phase_kind::liquid);
        vapour.set_the_phase_as(phase_kind::vapour);
        for (Peng* phase : {&liquid, &vapour}) {
            phase->temperature(T);
            phase->setPressurePa(P);
            phase->describe();
        }
        if (liquid.compressibilityFactor() == vapour.compressibilityFactor())  // one root only
            return liquid.eosVolume() < liquid.pseudoCriticalVolume() ? -1 : 1;
        return liquid.lnPhi()[0] - vapour.lnPhi()[0];
    }

    // Bisection on ln P between 1 Pa and the critical pressure.
    double vapour_pressure(double T)
    {
        double lo = std::log(1.0), hi = std::log(pc);
        for (int k = 0; k < 200 && hi - lo > 1e-14; ++k) {
            const double mid = (lo + hi) / 2;
            (fugacity_gap(T, std::exp(mid)) > 0 ? lo : hi) = mid;
        }
        const double P = std::exp((lo + hi) / 2);
        fugacity_gap(T, P);  // leave both phases at the saturation state
        return P;
    }

    Peng liquid;
    Peng vapour;
    double pc = 0;
};

struct SaturationCase {
    const PureComponent* component;
    double T;            // K
    double measured_p;   // bar
    double tolerance;    // relative
    const char* source;
};

class PengRobinsonVapourPressure : public testing::TestWithParam<SaturationCase> {};

TEST_P(PengRobinsonVapourPressure, EqualFugacitiesAtAMeasuredVapourPressure)
{
    const SaturationCase& c = GetParam();
    PureSaturation pure(*c.component);
    const double P = pure.vapour_pressure(c.T);

    // Two distinct roots with equal fugacities.
    EXPECT_LT(pure.liquid.compressibilityFactor(), 0.5 * pure.vapour.compressibilityFactor());
    EXPECT_NEAR(pure.liquid.fugacities()[0], pure.vapour.fugacities()[0], 1e-9 * pure.vapour.fugacities()[0]);
    EXPECT_EQ(code_number(pure.liquid.phase_type), 2);
    EXPECT_EQ(code_number(pure.vapour.phase_type), 1);

    EXPECT_NEAR(P / 1e5, c.measured_p, c.tolerance * c.measured_p) << c.source;
}

// Peng-Robinson reproduces the vapour pressures of these hydrocarbons within 2 %: at Tr = 0.7,
// where the acentric factor defines the measured vapour pressure (Psat = Pc 10^-(1 + omega)),
// and at the normal boiling points (1.01325 bar).
INSTANTIATE_TEST_SUITE_P(
    Hydrocarbons, PengRobinsonVapourPressure,
    testing::Values(
        SaturationCase{&methane, 0.7 * methane.tc, methane.pc * std::pow(10, -1 - methane.omega), 0.02, "Tr 0.7"},
        SaturationCase{&propane, 0.7 * propane.tc, propane.pc * std::pow(10, -1 - propane.omega), 0.02, "Tr 0.7"},
        SaturationCase{&decane, 0.7 * decane.tc, decane.pc * std::pow(10, -1 - decane.omega), 0.02, "Tr 0.7"},
        SaturationCase{&methane, methane.boiling_t, 1.01325, 0.02, "normal boiling point"},
        SaturationCase{&propane, propane.boiling_t, 1.01325, 0.02, "normal boiling point"},
        SaturationCase{&decane, decane.boiling_t, 1.01325, 0.02, "normal boiling point"}),
    [](const testing::TestParamInfo<SaturationCase>& info) {
        return std::string(info.param.component->name) + (info.index < 3 ? "AtTr07" : "AtBoilingPoint");
    });

// Just above Tc there is no saturation: a single root, the same for both phase types.
TEST(PengRobinsonSupercritical, OneRootForBothPhaseTypes)
{
    PureSaturation pure(propane);
    for (const double P : {5e5, 40e5, 80e5}) {
        pure.fugacity_gap(1.02 * propane.tc, P);
        EXPECT_EQ(pure.liquid.compressibilityFactor(), pure.vapour.compressibilityFactor()) << P;
        EXPECT_EQ(pure.liquid.fugacities()[0], pure.vapour.fugacities()[0]) << P;
    }
}

}  // namespace
}  // namespace quorvel
