#include "characterisation/CarbonNumberTables.h"
#include "characterisation/Correlations.h"

#include <benchmark/benchmark.h>

namespace {

using namespace quorvel;

// N2, CO2, H2S, C1 .. C6 and the 40 single carbon numbers C7 .. C46 with the molar
// weight, gravity and boiling point of the Riazi-Al-Sahhaf table.
Dictionary fluidWith40HeavyComponents()
{
    Array components;
    for (const char* name : {"N2", "CO2", "H2S", "C1", "C2", "C3", "nC4", "nC5", "C6"}) {
        Dictionary component{{"mole", 2.0}};
        setComponentName(name, component, 0);
        components.append(component);
    }
    for (int n = 7; n <= 46; ++n) {
        Dictionary component{{"mole", 2.0},
                             {"mw", getRiaziAlSahhafMolarWeight(n)},
                             {"SG", getRiaziAlSahhafSG(n)},
                             {"Tb", getRiaziAlSahhafTb(n) - 273.15}};
        setComponentName(QStringLiteral("C%1").arg(n), component, 0);
        components.append(component);
    }
    return Dictionary{{"name", "Forty cuts"}, {"components", components}};
}

// One whole-fluid correlation by a set code, on a fresh copy of the fluid each time.
void BM_ApplyFluidCorrelationSet(benchmark::State& state)
{
    const int code = int(state.range(0));
    const Dictionary source = fluidWith40HeavyComponents();
    for (auto _ : state) {
        state.PauseTiming();
        const Dictionary fluid = source.deepCopy();
        state.ResumeTiming();
        benchmark::DoNotOptimize(applyFluidCorrelation(fluid, code));
    }
}
BENCHMARK(BM_ApplyFluidCorrelationSet)->DenseRange(101, 117)->Unit(benchmark::kMicrosecond);

}  // namespace
