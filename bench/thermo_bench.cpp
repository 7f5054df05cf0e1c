#include "thermo/Peng.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

using quorvel::Peng;

// A liquid Peng-Robinson phase of n components spread from methane-like to a heavy cut,
// with a composition falling off geometrically.
Peng make_liquid(short n)
{
    Peng phase(quorvel::phase_kind::liquid);
    phase.number_of_components(n);
    std::vector<double> x(n);
    double total = 0;
    for (short i = 0; i < n; ++i) {
        const double r = double(i) / (n - 1);
        phase.setCriticalTemperature(i, 190 + 710 * r);
        phase.setCriticalPressure(i, (46 - 34 * r) * 1e5);
        phase.setCriticalVolume(i, (99 + 1500 * r) * 1e-6);
        phase.setAcentricFactor(i, 0.01 + 0.99 * r);
        phase.setMolarWeight(i, 16 + 584 * r);
        x[i] = std::pow(0.9, i);
        total += x[i];
    }
    for (short i = 0; i < n; ++i) {
        phase.add_component(i, "X" + std::to_string(i));
        x[i] /= total;
    }
    phase.composition(x);
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
        benchmark::DoNotOptimize(phase.fugacityDn()[0][0]);
    }
}
BENCHMARK(BM_PengFugacitiesWithDerivatives)->Arg(17)->Arg(40);

}  // namespace

// ---- Two-phase equilibrium of a 17-component fluid -------------------------------------

#include "thermo/Clapeyron.h"
#include "thermo/Montel.h"
#include "thermo/Quenta.h"

#include <memory>

namespace {

// A black oil on the 17 built-in components, with Clapeyron vapour pressures through the
// normal boiling point and the critical point for the ideal-mixture start values.
struct SeventeenComponentFluid {
    quorvel::Montel liquid{quorvel::phase_kind::liquid};
    quorvel::Montel vapour{quorvel::phase_kind::vapour};
    quorvel::Quenta equilibrium{liquid, vapour};

    SeventeenComponentFluid()
    {
        static const char* names[17] = {"N2", "CO2", "H2S", "C1", "C2", "C3", "iC4", "nC4", "iC5",
                                        "nC5", "C6", "C7", "C8", "C9", "C10", "Cn1", "Cn2"};
        static const double z[17] = {0.005, 0.01, 0, 0.40, 0.07, 0.05, 0.01, 0.025, 0.01,
                                     0.013, 0.02, 0.03, 0.03, 0.025, 0.022, 0.15, 0.13};
        static const double boiling_point[17] = {77.35, 194.7, 212.8, 111.6, 184.6, 231.1,
                                                 261.4, 272.7, 301.0, 309.2, 341.9, 371.6,
                                                 398.8, 424.0, 447.3, 530.0, 720.0};
        equilibrium.number_of_components(17);
        for (short i = 0; i < 17; ++i)
            equilibrium.add_component(i, names[i]);
        for (short i = 0; i < 17; ++i) {
            const double Tc = liquid.criticalTemperature()[i];
            const double Pc = liquid.criticalPressure()[i];
            equilibrium.setSatProp(i, Tc, Pc, boiling_point[i]);
            auto psat = std::make_unique<quorvel::Clapeyron>();
            psat->set_constants(boiling_point[i], 101325.0, Tc, Pc);
            equilibrium.setPsatCorrelation(i, std::move(psat));
            equilibrium.composition(i, z[i]);
        }
    }
};

// Flash at 350 K and 100 bar from the ideal-mixture start values.
void BM_SeventeenComponentFlash(benchmark::State& state)
{
    SeventeenComponentFluid fluid;
    quorvel::Quenta& e = fluid.equilibrium;
    for (auto _ : state) {
        if (!e.solveFromIdealMixture(quorvel::problem_type::fixed_T_and_P, 350, 100)) {
            state.SkipWithError("the flash failed");
            break;
        }
        benchmark::DoNotOptimize(e.vapourMoles());
    }
}
BENCHMARK(BM_SeventeenComponentFlash);

// Bubble point at 350 K from the ideal-mixture start values.
void BM_SeventeenComponentBubblePoint(benchmark::State& state)
{
    SeventeenComponentFluid fluid;
    quorvel::Quenta& e = fluid.equilibrium;
    for (auto _ : state) {
        if (!e.solveFromIdealMixture(quorvel::problem_type::fixed_T_and_Fv, 350, 0)) {
            state.SkipWithError("the bubble point failed");
            break;
        }
        benchmark::DoNotOptimize(e.currentPressure());
    }
}
BENCHMARK(BM_SeventeenComponentBubblePoint);

}  // namespace

// ---- Petroleum fluid on the alpha-beta model ---------------------------------------------

#include "thermo/Oil1.h"

namespace {

using quorvel::Homogenisation;

// The alpha-beta fluid (alpha 0.7, beta 0.1) on its own Montel pair.
struct AlphaBetaFluid {
    quorvel::Montel liquid{quorvel::phase_kind::liquid};
    quorvel::Montel vapour{quorvel::phase_kind::vapour};
    quorvel::Oil1 oil{liquid, vapour};
    AlphaBetaFluid() { oil.setDistributionParameters(0.7, 0.1, 0, 0, 0); }
};

// 100 degrees C and 200 bar: one phase, so the flash walks the whole pressure ladder.
void BM_OilFlashWithPressureLadder(benchmark::State& state)
{
    AlphaBetaFluid fluid;
    for (auto _ : state) {
        fluid.oil.calculateFlash(373.15, 200);
        benchmark::DoNotOptimize(fluid.oil.failureCode());
    }
}
BENCHMARK(BM_OilFlashWithPressureLadder)->Unit(benchmark::kMillisecond);

// A two-phase flash with the formation volume factors (two stock-tank separations).
void BM_OilFlashTwoPhase(benchmark::State& state)
{
    AlphaBetaFluid fluid;
    for (auto _ : state) {
        fluid.oil.calculateFlash(373.15, 50);
        fluid.oil.calculateFormationVolumeFactors();
        benchmark::DoNotOptimize(fluid.oil.oilFormationVolumeFactor());
    }
}
BENCHMARK(BM_OilFlashTwoPhase)->Unit(benchmark::kMicrosecond);

void BM_OilBubblePressure(benchmark::State& state)
{
    AlphaBetaFluid fluid;
    for (auto _ : state) {
        fluid.oil.calculateBubblePressure(373.15);
        benchmark::DoNotOptimize(fluid.oil.currentPressure());
    }
}
BENCHMARK(BM_OilBubblePressure)->Unit(benchmark::kMicrosecond);

void BM_OilGasOilRatio(benchmark::State& state)
{
    AlphaBetaFluid fluid;
    for (auto _ : state) {
        fluid.oil.calculateGOR();
        benchmark::DoNotOptimize(fluid.oil.gasOilRatios()[0]);
    }
}
BENCHMARK(BM_OilGasOilRatio)->Unit(benchmark::kMicrosecond);

// Homogenisation at 100 degrees C, isochore down to 20 degrees C.
void BM_Oil1VapourFraction(benchmark::State& state)
{
    AlphaBetaFluid fluid;
    double fv = 0, ph = 0, p = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(fluid.oil.calculateFv(0.7, 0.1, 0, 0, 0, 373.15, 293.15, fv, ph, p));
        benchmark::DoNotOptimize(fv);
    }
}
BENCHMARK(BM_Oil1VapourFraction)->Unit(benchmark::kMillisecond);

// findAlpha from the table start for an inclusion made by calculateFv (Th, Fv at 20 degrees
// C). Counter "walks": isochore walks (the isochore part of calculateFv) per search, which
// give the start of the two-phase point at T when no other start converges.
void findAlphaBenchmark(benchmark::State& state, Homogenisation type, double alpha, double Th)
{
    AlphaBetaFluid direct;
    direct.oil.setInclusionType(type);
    double fv = 0, ph = 0, p = 0;
    benchmark::DoNotOptimize(direct.oil.calculateFv(alpha, 0, 0, 0, 0, Th, 293.15, fv, ph, p));
    for (auto _ : state) {
        AlphaBetaFluid fluid;
        double start = 0;
        benchmark::DoNotOptimize(fluid.oil.estimateInitial(type, Th, fv, start));
        fluid.oil.setDistributionParameters(start, 0, 0, 0, 0);
        fluid.oil.forgetSaturationStates();
        fluid.oil.findAlpha(Th, 293.15, fv, 1e-8, type);
        benchmark::DoNotOptimize(fluid.oil.getAlpha());
        state.counters["secant_iterations"] = fluid.oil.alphaSearchIterations();
        state.counters["walks"] = fluid.oil.isochoreWalks();
    }
}
void BM_Oil1FindAlphaBubble(benchmark::State& state)
{
    findAlphaBenchmark(state, Homogenisation::toLiquid, 0.7, 373.15);
}
void BM_Oil1FindAlphaDew(benchmark::State& state)
{
    findAlphaBenchmark(state, Homogenisation::toVapour, 0.55, 450);
}
BENCHMARK(BM_Oil1FindAlphaBubble)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Oil1FindAlphaDew)->Unit(benchmark::kMillisecond);

}  // namespace

// ---- Flash of the nine-component condensate over a grid ------------------------------------

#include "../tests/thermo/support/petroleum_fluid.h"

namespace {

// The 100 x 100 grid, 250-450 K and 10-200 bar, one Oil::calculateFlash per point.
void BM_OilFlashGrid(benchmark::State& state)
{
    quorvel::test::PetroleumFluid fluid(quorvel::test::nine_components);
    for (auto _ : state) {
        int twoPhase = 0;
        for (int a = 0; a < 100; ++a)
            for (int b = 0; b < 100; ++b) {
                fluid.oil.calculateFlash(250 + 200.0 * a / 99, 10 + 190.0 * b / 99);
                twoPhase += fluid.oil.failureCode() == quorvel::equilibrium_failure::none;
            }
        state.counters["two_phase_points"] = twoPhase;
    }
}
BENCHMARK(BM_OilFlashGrid)->Unit(benchmark::kMillisecond)->Iterations(1);

// One point on each side of the bubble curve at 300 K (about 203 bar): two phases at 190 bar,
// one phase at 210 bar.
void BM_OilFlashNearBubbleCurve(benchmark::State& state)
{
    quorvel::test::PetroleumFluid fluid(quorvel::test::nine_components);
    const double P = double(state.range(0));
    for (auto _ : state) {
        fluid.oil.calculateFlash(300, P);
        benchmark::DoNotOptimize(fluid.oil.failureCode());
    }
}
BENCHMARK(BM_OilFlashNearBubbleCurve)->Arg(190)->Arg(210)->Unit(benchmark::kMicrosecond);

// 0.01 bar inside the envelope next to its critical point (about 451 K, 204 bar), where the
// phases differ little and the trial phases of the stability test start the flash.
void BM_OilFlashNearCriticalPoint(benchmark::State& state)
{
    quorvel::test::PetroleumFluid fluid(quorvel::test::nine_components);
    for (auto _ : state) {
        fluid.oil.calculateFlash(450, 204.59);
        benchmark::DoNotOptimize(fluid.oil.failureCode());
    }
    state.counters["two_phase"] = fluid.oil.failureCode() == quorvel::equilibrium_failure::none;
}
BENCHMARK(BM_OilFlashNearCriticalPoint)->Unit(benchmark::kMicrosecond);

}  // namespace

namespace {

// The two halves of a one-phase point's flash at 300 K: the equilibrium solve from the ideal
// mixture, which fails there, and the tangent-plane test that then judges the feed.
void BM_OilIdealMixtureStartNearBubbleCurve(benchmark::State& state)
{
    quorvel::test::PetroleumFluid fluid(quorvel::test::nine_components);
    const double P = double(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(fluid.oil.solveFromIdealMixture(quorvel::problem_type::fixed_T_and_P, 300, P));
    state.counters["newton_iterations"] = fluid.oil.solver().iterations();
}
BENCHMARK(BM_OilIdealMixtureStartNearBubbleCurve)->Arg(190)->Arg(210)->Unit(benchmark::kMicrosecond);

void BM_OilStabilityTestNearBubbleCurve(benchmark::State& state)
{
    quorvel::test::PetroleumFluid fluid(quorvel::test::nine_components);
    auto& liquid = fluid.liquid;
    quorvel::PhaseStability test(fluid.liquid, fluid.vapour);
    const double P = double(state.range(0)) * 1e5;
    const std::vector<double> z = fluid.oil.feedComposition();
    for (auto _ : state)
        benchmark::DoNotOptimize(test.test(z, 300, P, quorvel::PhaseStability::wilson_k_values(liquid, 300, P)));
}
BENCHMARK(BM_OilStabilityTestNearBubbleCurve)->Arg(190)->Arg(210)->Unit(benchmark::kMicrosecond);

}  // namespace
