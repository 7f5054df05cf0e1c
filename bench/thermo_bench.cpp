#include "thermo/Peng.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <string>

namespace {

using quorvel::Peng;

// A liquid Peng-Robinson phase of n components spread from methane-like to a heavy cut,
// with a composition falling off geometrically.
Peng make_liquid(short n)
{
    Peng phase(2);
    phase.number_of_components(n);
    double total = 0;
    for (short i = 0; i < n; ++i) {
        const double r = double(i) / (n - 1);
        phase.critical_temperature[i] = 190 + 710 * r;
        phase.critical_pressure[i] = (46 - 34 * r) * 1e5;
        phase.critical_volume[i] = (99 + 1500 * r) * 1e-6;
        phase.acentric_factor[i] = 0.01 + 0.99 * r;
        phase.molar_weight[i] = 16 + 584 * r;
        phase.mole_fraction[i] = std::pow(0.9, i);
        total += phase.mole_fraction[i];
    }
    for (short i = 0; i < n; ++i) {
        phase.add_component(i, "X" + std::to_string(i));
        phase.mole_fraction[i] /= total;
    }
    phase.temperature(350);
    phase.pressure(200);
    return phase;
}

// Volume, fugacities and their temperature, pressure and amount derivatives at one state.
void BM_PengFugacitiesWithDerivatives(benchmark::State& state)
{
    Peng phase = make_liquid(short(state.range(0)));
    for (auto _ : state) {
        phase.describe();
        benchmark::DoNotOptimize(phase.fugacity_dn[0][0]);
    }
}
BENCHMARK(BM_PengFugacitiesWithDerivatives)->Arg(17)->Arg(40);

}  // namespace
