#include "thermo/Oil1.h"

#include "thermo/FluidPhase.h"
#include "thermo/Montel.h"
#include "thermo/PetroleumVapourPressures.h"
#include "thermo/PsatCorr.h"

#include <algorithm>
#include <cmath>

namespace quorvel {

namespace {

struct ModelComponentData {
    const char* name;
    int antoineEntry;  // 0 for the gases (Clapeyron line)
    double tc;         // K, of the ideal-mixture part
    double pc;         // Pa
    int speciesIdentifier;
};

constexpr ModelComponentData kComponents[kModelComponentCount] = {
    {"N2", 0, 126.2, 3390000, -1},
    {"CO2", 0, 304.21, 7382500, -2},
    {"H2S", 0, 373.2, 8820000, -3},
    {"C1", 1, 190.6, 4500000, 1},
    {"C2", 2, 305.4, 4800000, 2},
    {"C3", 3, 369.8, 4246000, 3},
    {"iC4", 4, 408.2, 3648000, 1004},
    {"nC4", 4, 425.3, 3800000, 4},
    {"iC5", 5, 464.7, 3472000, 1005},
    {"nC5", 5, 469.6, 3374000, 5},
    {"C6", 6, 513, 3200000, 6},
    {"C7", 7, 551, 3000000, 7},
    {"C8", 8, 583, 2850000, 8},
    {"C9", 9, 609, 2650000, 9},
    {"C10", 10, 631, 2480000, 10},
    {"Cn1", 12, 713, 2000000, 2001},
    {"Cn2", 16, 903, 1300000, 2002},
};

constexpr int kCn1First = 11, kCn1Last = 25, kCn2First = 26, kCn2Last = 499;

bool isSoundComposition(const std::array<double, kModelComponentCount>& z)
{
    return std::all_of(z.begin(), z.end(), [](double x) { return std::isfinite(x) && x >= 0; });
}

} // namespace

Oil1::Oil1(FluidPhase& liquidModel, FluidPhase& vapourModel)
    : Oil(liquidModel, vapourModel), alpha_solver(std::make_unique<Secant>())
{
    alpha_solver->_setEquationToSolve(this, static_cast<EquationFunction>(&Oil1::logVolumeRatio));
    alpha_solver->set_epsilon(1e-8);
    alpha_solver->set_maximum_number_of_iterations(20);

    setModelFluidType(FluidType::alphaBeta);
    number_of_components(kModelComponentCount);
    for (short i = 0; i < kModelComponentCount; ++i) {
        setCarbonIndex(i, kComponents[i].speciesIdentifier);
        add_component(i, kComponents[i].name);
    }
    // A consistent fluid until the caller sets its parameters: alpha 0, pure methane.
    updateDistribution();
}

Oil1::~Oil1() = default;

void Oil1::read_component_data(short i, const char*)
{
    if (i < 0 || i >= kModelComponentCount)
        return;
    const auto& c = kComponents[i];
    double tb = 0;
    if (c.antoineEntry == 0) {
        const auto gas = static_cast<PetroleumGas>(i);
        psat_correlation[i] = makeClapeyron(gas);
        tb = gasSaturationData(gas).tb;
    } else {
        psat_correlation[i] = makeAntoine(c.antoineEntry);
    }
    boiling_temperature[i] = psat_correlation[i]->Tsat(101325);
    setSatProp(i, c.tc, c.pc, c.antoineEntry == 0 ? tb : boiling_temperature[i]);
}

int Oil1::methaneIndex() const { return kC1; }

bool Oil1::setDistributionParameters(double a, double b, double co2, double n2, double h2s)
{
    if (!isSoundComposition(regroupDistribution(alphaBetaDistribution(a, b), n2, co2, h2s))) {
        failure_code = equilibrium_failure::unsound_distribution;
        return false;
    }
    alpha = a;
    beta = b;
    co2_fraction = co2;
    n2_fraction = n2;
    h2s_fraction = h2s;
    updateDistribution();
    return true;
}

void Oil1::updateDistribution()
{
    const auto d = alphaBetaDistribution(alpha, beta);
    distribution_size = static_cast<short>(d.size);
    distribution = d.fraction;
    regroupe();

    pushHeavyCut(kCn1, heavyCutProperties(alpha, kCn1First, kCn1Last));
    pushHeavyCut(kCn2, heavyCutProperties(alpha, kCn2First, kCn2Last));

    for (short i = 0; i < kModelComponentCount; ++i) {
        composition(i, model_composition[i]);
        specific_gravity[i] = calculateSpecificGravity(i, liquid->molarWeight()[i]);
    }
}

void Oil1::regroupe()
{
    CarbonNumberDistribution d;
    d.size = distribution_size;
    d.fraction = distribution;
    model_composition = regroupDistribution(d, n2_fraction, co2_fraction, h2s_fraction);
}

// Writes the cut into both phase models and lets each read the component again.
void Oil1::pushHeavyCut(int index, const HeavyCut& cut)
{
    for (FluidPhase* phase : {liquid, vapour}) {
        phase->setMolarWeight(static_cast<short>(index), cut.mw);
        auto* montel = dynamic_cast<Montel*>(phase);
        if (!montel)
            continue;
        const Montel::HeavyCutData data = {
            .tc = cut.tc, .pc = cut.pc, .omega = cut.omega, .vc = cut.vc, .mw = cut.mw, .shift = cut.shift};
        if (index == kCn1)
            montel->setFirstHeavyCut(data);
        else
            montel->setSecondHeavyCut(data);
        montel->read_component_data(static_cast<short>(index), kComponents[index].name);
    }
}

void Oil1::calcCoupe(short first, short last, double& tc, double& pc, double& vc, double& omega,
                     double& mw, double& shift) const
{
    const HeavyCut cut = heavyCutProperties(alpha, first, last);
    tc = cut.tc;
    pc = cut.pc;
    vc = cut.vc;
    omega = cut.omega;
    mw = cut.mw;
    shift = cut.shift;
}

double Oil1::calculateSpecificGravity(int i, double mw) const { return modelSpecificGravity(i, mw); }

} // namespace quorvel
