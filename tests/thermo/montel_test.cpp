#include "thermo/Montel.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

namespace quorvel {
namespace {

constexpr double R = 8.31451198983133;

const char* const model_names[17] = {"N2", "CO2", "H2S", "C1", "C2", "C3", "iC4", "nC4", "iC5",
                                     "nC5", "C6", "C7", "C8", "C9", "C10", "Cn1", "Cn2"};

std::unique_ptr<Montel> make_montel(phase_kind type)
{
    auto phase = std::make_unique<Montel>(type);
    phase->number_of_components(17);
    for (short i = 0; i < 17; ++i)
        phase->add_component(i, model_names[i]);
    return phase;
}

TEST(Montel, ReadsItsBuiltInDataInSiUnits)
{
    auto phase = make_montel(phase_kind::liquid);
    EXPECT_EQ(code_number(phase->phase_type), 2);
    // A Peng-Robinson equation.
    EXPECT_EQ(phase->omegaA(), 0.45724);
    EXPECT_EQ(phase->omegaB(), 0.0778);
    EXPECT_EQ(phase->slopeM0(), 0.37464);
    EXPECT_EQ(phase->slopeM1(), 1.54226);
    EXPECT_EQ(phase->slopeM2(), -0.26992);
    EXPECT_DOUBLE_EQ(phase->eosDelta1(), std::sqrt(2.0) - 1);
    EXPECT_DOUBLE_EQ(phase->eosDelta2(), -(1 + std::sqrt(2.0)));
    EXPECT_DOUBLE_EQ(phase->criticalCompressibility(), 1.0 / 3.0);
    EXPECT_DOUBLE_EQ(phase->lambdaConstant(), std::log(2.0));
    EXPECT_DOUBLE_EQ(phase->criticalPressure()[0], 33.94e5);
    EXPECT_DOUBLE_EQ(phase->criticalVolume()[3], 9.92e-5);
    EXPECT_EQ(phase->criticalTemperature()[14], 631);
    EXPECT_EQ(phase->acentricFactor()[4], 0.0908);
    EXPECT_EQ(phase->molarWeight()[8], 71.95);
    // Heavy cuts from their defaults.
    EXPECT_EQ(phase->criticalTemperature()[15], 713);
    EXPECT_EQ(phase->criticalPressure()[16], 1300000);
    EXPECT_EQ(phase->criticalVolume()[15], 0.00104);
    EXPECT_EQ(phase->molarWeight()[16], 440);
    EXPECT_EQ(phase->acentricFactor()[16], 0.8);
    for (short i = 0; i < 17; ++i) {
        const double w = phase->acentricFactor()[i];
        EXPECT_DOUBLE_EQ(phase->slopeInUse()[i], 0.37464 + 1.54226 * w - 0.26992 * w * w);
        EXPECT_DOUBLE_EQ(phase->bPure()[i], 0.0778 * R * phase->criticalTemperature()[i] / phase->criticalPressure()[i]);
        EXPECT_EQ(phase->shiftConstant()[i], 0);
    }
}

TEST(Montel, HeavyCutDataTakeEffectWhenTheCutIsReadAgain)
{
    Montel phase(phase_kind::vapour);
    Montel::HeavyCutData cn1 = phase.firstHeavyCut();
    cn1.tc = 700;
    phase.setFirstHeavyCut(cn1);  // before the components are read
    phase.number_of_components(17);
    for (short i = 0; i < 17; ++i)
        phase.add_component(i, model_names[i]);
    EXPECT_EQ(phase.criticalTemperature()[15], 700);

    cn1.tc = 720;
    phase.setFirstHeavyCut(cn1);
    Montel::HeavyCutData cn2 = phase.secondHeavyCut();
    cn2.mw = 500;
    phase.setSecondHeavyCut(cn2);
    EXPECT_EQ(phase.criticalTemperature()[15], 700);
    phase.read_component_data(15, "Cn1");
    phase.read_component_data(16, "Cn2");
    EXPECT_EQ(phase.criticalTemperature()[15], 720);
    EXPECT_EQ(phase.molarWeight()[16], 500);
}

TEST(Montel, ComponentWithAnotherNameGetsNoData)
{
    Montel phase(phase_kind::vapour);
    phase.number_of_components(2);
    phase.add_component(0, "C1");  // position 0 is N2
    phase.add_component(1, "CO2");
    EXPECT_EQ(phase.criticalTemperature()[0], 0);
    EXPECT_EQ(phase.molarWeight()[0], 0);
    EXPECT_EQ(phase.criticalTemperature()[1], 304.2);
}

// The built-in table is stored when the last component is read; every calculation then
// applies the generalised correlation, as for any classic cubic, so that the model fluid
// and its components written out as a table calculate alike. A coefficient stored by a
// caller does not survive the next calculation.
TEST(Montel, StoresItsTableThenCalculatesWithTheGeneralisedCorrelation)
{
    auto phase = make_montel(phase_kind::liquid);
    struct Pair {
        short i, j;
        double k;
    };
    const Pair table[] = {{0, 1, -0.02}, {0, 2, 0.18}, {0, 3, 0.04}, {1, 3, 0.1}, {2, 5, 0.08},
                          {3, 10, 0.03}, {3, 15, 0.05}, {3, 16, 0.07}, {4, 14, 0.02}, {5, 16, 0.03},
                          {6, 7, 0}, {3, 4, 0}, {15, 16, 0}};
    for (const Pair& p : table) {
        EXPECT_EQ(phase->kaij()[p.i][p.j], p.k) << p.i << ", " << p.j;
        EXPECT_EQ(phase->kaij()[p.j][p.i], p.k) << p.i << ", " << p.j;
    }

    // The correlation written out: gases and cuts above 160 g/mol get none.
    const auto generalised = [&](short i, short j) {
        const double mw_limit = 160;
        if (i <= 2 || j <= 2 || phase->molarWeight()[i] > mw_limit || phase->molarWeight()[j] > mw_limit)
            return 0.0;
        const double tc_i = phase->criticalTemperature()[i], tc_j = phase->criticalTemperature()[j];
        const double zc_i = phase->criticalPressure()[i] * phase->criticalVolume()[i] / (R * tc_i);
        const double zc_j = phase->criticalPressure()[j] * phase->criticalVolume()[j] / (R * tc_j);
        return 1 - std::pow(2 * std::sqrt(tc_i * tc_j) / (tc_i + tc_j), (zc_i + zc_j) / 2);
    };
    std::vector<double> x(17, 0.02);
    x[3] = 0.5;
    x[15] = 0.1;
    x[16] = 0.08;
    phase->set_binary_interaction_kaij(3, 4, 0.5);
    for (double T : {350.0, 450.0}) {
        SCOPED_TRACE(T);
        phase->temperature(T);
        phase->pressure(200);
        phase->composition(x);
        phase->describe();
        for (short i = 0; i < 17; ++i)
            for (short j = 0; j < i; ++j) {
                const double k = generalised(i, j);
                EXPECT_NEAR(phase->kaij()[i][j], k, 1e-15) << i << ", " << j;
                EXPECT_EQ(phase->kaij()[j][i], phase->kaij()[i][j]) << i << ", " << j;
                const double a = (1 - k) * std::sqrt(phase->aIj()[i][i] * phase->aIj()[j][j]);
                EXPECT_NEAR(phase->aIj()[i][j], a, 1e-13 * a) << i << ", " << j;
            }
        EXPECT_GT(phase->kaij()[4][3], 0) << "methane-ethane takes the correlation";
        EXPECT_FALSE(phase->volumeFailure());
        EXPECT_GT(phase->phaseDensity(), 0.4);
        EXPECT_LT(phase->phaseDensity(), 0.9);
    }

    // Asked to, it calculates with its own table, whatever a caller stored.
    phase->setCalculatesWithBuiltinTable(true);
    phase->set_binary_interaction_kaij(3, 4, 0.5);
    phase->describe();
    for (const Pair& p : table) {
        EXPECT_EQ(phase->kaij()[p.i][p.j], p.k) << p.i << ", " << p.j;
        const double a = (1 - p.k) * std::sqrt(phase->aIj()[p.i][p.i] * phase->aIj()[p.j][p.j]);
        EXPECT_NEAR(phase->aIj()[p.i][p.j], a, 1e-13 * a) << p.i << ", " << p.j;
    }
}

}  // namespace
}  // namespace quorvel
