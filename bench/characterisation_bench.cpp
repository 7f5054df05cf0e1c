#include "characterisation/AlphaBetaDistribution.h"
#include "characterisation/AlphaBetaFits.h"
#include "characterisation/CarbonNumberTables.h"
#include "characterisation/Correlations.h"
#include "characterisation/FluidTestChain.h"
#include "characterisation/Lumping.h"
#include "characterisation/SplittingMethods.h"

#include <benchmark/benchmark.h>

#include <array>
#include <utility>
#include <vector>

namespace {

using namespace quorvel;

// N2, CO2, H2S, C1 .. C6 and the 40 single carbon numbers C7 .. C46 with the molar
// weight, gravity and boiling point of the Riazi-Al-Sahhaf table.
Dictionary fluidWith40HeavyComponents()
{
    Array components;
    for (const char* name : {"N2", "CO2", "H2S", "C1", "C2", "C3", "nC4", "nC5", "C6"}) {
        Dictionary component{{"mole", 2.0}};
        setComponentName(name, component, CorrelationCode::jianzhong0);
        components.append(component);
    }
    for (int n = 7; n <= 46; ++n) {
        Dictionary component{{"mole", 2.0},
                             {"mw", getRiaziAlSahhafMolarWeight(n)},
                             {"SG", getRiaziAlSahhafSG(n)},
                             {"Tb", getRiaziAlSahhafTb(n) - 273.15}};
        setComponentName(QStringLiteral("C%1").arg(n), component, CorrelationCode::jianzhong0);
        components.append(component);
    }
    return Dictionary{{"name", "Forty cuts"}, {"components", components}};
}

// One whole-fluid correlation by a set code, on a fresh copy of the fluid each time.
void BM_ApplyFluidCorrelationSet(benchmark::State& state)
{
    const CorrelationCode code = correlationCodeFromNumber(int(state.range(0)));
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

// ---- Alpha-beta fits (the regressions print their iterations on standard output) ----

// A black oil with gases, C1 .. C6, one C7+ and its measured bubble point (degrees Celsius, bar).
Dictionary blackOil()
{
    Array components;
    const std::pair<const char*, double> light[] = {{"N2", 0.5}, {"CO2", 1.5}, {"C1", 38}, {"C2", 8},
                                                     {"C3", 6},   {"nC4", 4},   {"nC5", 3}, {"C6", 3}};
    for (const auto& [name, mole] : light) {
        Dictionary component{{"mole", mole}};
        setComponentName(name, component, CorrelationCode::jianzhong0);
        components.append(component);
    }
    Dictionary heavy{{"mole", 36.0}, {"mw", 220.0}, {"SG", 0.86}};
    setComponentName("C7+", heavy, CorrelationCode::jianzhong0);
    components.append(heavy);
    return Dictionary{{"name", "Oil A"}, {"components", components}, {"C7+", 36.0}, {"mwC7+", 220.0},
                      {"SGC7+", 0.86},   {"Texp", 100.0},          {"Pexp", 200.0}, {"hexp", 1}};
}

void BM_QuickAlphaBetaFit(benchmark::State& state)
{
    const MontelComposition target = simplifiedMontelComposition(0.88, 0.3, 0.03);
    for (auto _ : state) {
        double alpha = 0, beta = 0;
        benchmark::DoNotOptimize(applyMontelFitting(target.C1, target.C7plus, alpha, beta, 0.01, 0.02, 0));
    }
}
BENCHMARK(BM_QuickAlphaBetaFit)->Unit(benchmark::kMicrosecond);

void BM_AlphaBetaSplitRegression(benchmark::State& state)
{
    const MontelComposition m = simplifiedMontelComposition(0.88, 0.3, 0.03);
    std::vector<double> z(kMontelSplitEntries);
    for (auto _ : state) {
        int count = kMontelSplitEntries;
        double alpha = 0, beta = 0, C7plus = 0;
        benchmark::DoNotOptimize(applyMontelSplittingAlgorithm(z, count, m.C1, m.C2, m.C3, m.C4, m.C5, m.C6,
                                                               m.C7plus, 0.01, 0.02, 0, alpha, beta, C7plus));
    }
}
BENCHMARK(BM_AlphaBetaSplitRegression)->Unit(benchmark::kMicrosecond);

// Fit of alpha and beta to the composition and the bubble point of (0.9, 0.45) at 100 °C,
// counting its saturation solves.
void BM_MontelModelExFit(benchmark::State& state)
{
    const std::array<double, 7> g{0.344678, 0.0669504, 0.0620272, 0.0446581, 0.0539814, 0.0391673, 0.350538};
    int solves = 0;
    for (auto _ : state) {
        double alpha = 0, beta = 0, unused = 0, Pcal = 0, Fv = 0;
        solves = applyMontelSplittingAlgorithmEx(g[0], g[1], g[2], g[3], g[4], g[5], g[6], 0.011, 0.023, 0.004,
                                                 373.15, 170.862, SaturationKind::bubblePoint, alpha, beta, unused,
                                                 Pcal, Fv)
                     .saturationSolves;
    }
    state.counters["saturation_solves"] = solves;
}
BENCHMARK(BM_MontelModelExFit)->Unit(benchmark::kMillisecond);

// The test chain with the quick fit (0) and with Tovik's estimate (1).
void BM_DoTestFluid(benchmark::State& state)
{
    const Dictionary source = blackOil();
    const TestStart start = state.range(0) != 0 ? TestStart::tovikEstimate : TestStart::quickFit;
    for (auto _ : state)
        benchmark::DoNotOptimize(doTestFluid(source, correlationCodeFromNumber(103), start));
}
BENCHMARK(BM_DoTestFluid)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
