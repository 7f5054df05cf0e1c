#include "characterisation/CarbonNumberTables.h"
#include "characterisation/Correlations.h"
#include "characterisation/Lumping.h"
#include "characterisation/SplittingMethods.h"

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

// The fluid with its stored C7+ keys (mole percent), as a measured fluid has them.
Dictionary fluidWithStoredC7plus()
{
    Dictionary fluid = fluidWith40HeavyComponents();
    const CompositionSummary summary = analyseFluidComposition(fluid);
    fluid.setValue("C7+", summary.zC7plus * 100);
    fluid.setValue("mwC7+", summary.mwC7plus);
    fluid.setValue("SGC7+", summary.SGC7plus);
    return fluid;
}

using SplitDriver = Dictionary (*)(const Dictionary&, int, bool, bool);
constexpr SplitDriver kSplitDrivers[] = {getAhmedSplittedFluid, getAlMeshariSplittedFluid, getKatzSplittedFluid,
                                         getPedersenSplittedFluid, getLohrenzSplittedFluid};
constexpr const char* kSplitNames[] = {"Ahmed", "AlMeshari", "Katz", "Pedersen", "Lohrenz"};

// One split of the 40-cut fluid to C44 and the plus fraction C45+, with matching.
void BM_SplitFluid(benchmark::State& state)
{
    const Dictionary fluid = fluidWithStoredC7plus();
    const SplitDriver split = kSplitDrivers[state.range(0)];
    state.SetLabel(kSplitNames[state.range(0)]);
    for (auto _ : state)
        benchmark::DoNotOptimize(split(fluid, 44, false, true));
}
BENCHMARK(BM_SplitFluid)->DenseRange(0, 4)->Unit(benchmark::kMicrosecond);

using LumpBuilder = Dictionary (*)(const Dictionary&);
constexpr LumpBuilder kLumpBuilders[] = {lumpFluidC7plus, lumpFluidCn1Cn2, lumpFluidC7C8C9C10Cn1Cn2,
                                         lumpFluidPedersen};
constexpr const char* kLumpNames[] = {"C7plus", "Cn1Cn2", "C7C8C9C10Cn1Cn2", "Pedersen"};

void BM_LumpFluid(benchmark::State& state)
{
    const Dictionary fluid = fluidWithStoredC7plus();
    const LumpBuilder lump = kLumpBuilders[state.range(0)];
    state.SetLabel(kLumpNames[state.range(0)]);
    for (auto _ : state)
        benchmark::DoNotOptimize(lump(fluid));
}
BENCHMARK(BM_LumpFluid)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);

}  // namespace
