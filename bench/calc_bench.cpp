#include "calc/CAlphaBetaModelInterface.h"
#include "calc/CPhaseDiagram.h"
#include "calc/CalculationInterface.h"

#include "platform/KeyedArchiver.h"
#include "platform/KeyedUnarchiver.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <span>
#include <string>

namespace {

using namespace quorvel;

// A live oil of n components (record units): eight light components (below nine components
// only methane and the next n - 2 alkanes), then single carbon numbers from C7 up, with
// properties growing smoothly with the carbon number and a composition falling off
// geometrically.
FluidRecord makeOil(int n)
{
    struct Light {
        const char* name;
        int nc;
        double mole, mw, SG, Tc, Pc, Vc, omega;
    };
    static constexpr Light light[] = {
        {"N2", -1, 0.5, 28.01, 0, -147.0, 33.9, 89, 0.040},    {"CO2", -2, 2, 44.01, 0, 31.1, 73.8, 94, 0.225},
        {"C1", 1, 35, 16.04, 0.3, -82.6, 46.0, 99, 0.011},     {"C2", 2, 8, 30.07, 0.356, 32.3, 48.8, 148, 0.099},
        {"C3", 3, 6, 44.1, 0.507, 96.7, 42.5, 203, 0.153},     {"nC4", 4, 5, 58.12, 0.584, 152.1, 38.0, 255, 0.199},
        {"nC5", 5, 4, 72.15, 0.631, 196.6, 33.7, 304, 0.251},  {"C6", 6, 4, 86.18, 0.664, 234.4, 30.1, 370, 0.299},
    };
    const int lightCount = n < 9 ? std::clamp(n - 1, 1, 6) : static_cast<int>(std::size(light));
    const int firstLight = n < 9 ? 2 : 0;  // methane
    Array components;
    double remaining = 100;
    for (const Light& c : std::span(light).subspan(firstLight, lightCount)) {
        components.append(ComponentRecord{{"name", c.name}, {"nc", c.nc},   {"mole", c.mole}, {"mw", c.mw},
                                          {"SG", c.SG},     {"Tc", c.Tc},   {"Pc", c.Pc},     {"Vc", c.Vc},
                                          {"omega", c.omega}});
        remaining -= c.mole;
    }
    const int heavy = n - lightCount;
    const double ratio = 0.85;
    const double first = remaining * (1 - ratio) / (1 - std::pow(ratio, heavy));
    for (int k = 0; k < heavy; ++k) {
        const int carbon = 7 + k;
        components.append(ComponentRecord{{"name", QString("C%1").arg(carbon)},
                                          {"nc", carbon},
                                          {"mole", first * std::pow(ratio, k)},
                                          {"mw", 14.0 * carbon + 2},
                                          {"SG", 0.72 + 0.005 * k},
                                          {"Tc", 270.0 + 300 * (1 - std::exp(-0.06 * k))},
                                          {"Pc", 29.0 * std::pow(7.0 / carbon, 0.9)},
                                          {"Vc", 400.0 + 58 * k},
                                          {"omega", std::min(0.33 + 0.04 * k, 2.0)}});
    }
    return FluidRecord{{"fluidType", 2}, {"components", components}};
}

// A loaded oil of n components.
struct LoadedOil {
    explicit LoadedOil(int n) { ci.setModelFluid(FluidType::componentList, makeOil(n)); }
    CalculationInterface ci{FluidType::componentList, EquationOfState::pengRobinson};
};

// One flash of an n-component oil at 100 degrees Celsius and 100 bar, inside its envelope.
// Counter: the Newton iterations of the equilibrium solve.
void BM_OilFlashOfComponents(benchmark::State& state)
{
    LoadedOil fluid(static_cast<int>(state.range(0)));
    Oil& oil = *fluid.ci.engine();
    for (auto _ : state) {
        oil.calculateFlash(373.15, 100);
        if (oil.failureCode() != equilibrium_failure::none) {
            state.SkipWithError("no two-phase flash");
            break;
        }
        benchmark::DoNotOptimize(oil.molarGasFraction());
    }
    state.counters["newton_iterations"] = oil.solver().iterations();
}
BENCHMARK(BM_OilFlashOfComponents)->Arg(5)->Arg(10)->Arg(20)->Arg(40)->Unit(benchmark::kMicrosecond);

// Stock-tank properties of a large fluid as the fluid model editor works them out when the
// fluid is selected: a new calculation loaded with the record, its stock tank, and its bubble
// point at 100 degrees Celsius.
void BM_StockTankOfComponents(benchmark::State& state)
{
    const FluidRecord record = makeOil(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        CalculationInterface ci(FluidType::componentList, EquationOfState::pengRobinson);
        ci.setModelFluid(FluidType::componentList, record);
        ci.calculateGOR();
        benchmark::DoNotOptimize(ci.getGOR());
        benchmark::DoNotOptimize(ci.calculateSaturation(100, SaturationKind::bubblePoint));
    }
}
BENCHMARK(BM_StockTankOfComponents)->Arg(100)->Arg(300)->Arg(600)->Unit(benchmark::kMillisecond);

// Loading a fluid and solving its bubble point at 100 degrees Celsius.
void BM_LoadAndSaturation(benchmark::State& state)
{
    const FluidRecord record = makeOil(static_cast<int>(state.range(0)));
    CalculationInterface ci(FluidType::componentList, EquationOfState::pengRobinson);
    for (auto _ : state) {
        ci.setModelFluid(FluidType::componentList, record);
        const double P = ci.calculateSaturation(100, SaturationKind::bubblePoint);
        if (P == kSaturationFailure) {
            state.SkipWithError("no bubble point");
            break;
        }
        benchmark::DoNotOptimize(P);
    }
}
BENCHMARK(BM_LoadAndSaturation)->Arg(20)->Arg(40)->Unit(benchmark::kMillisecond);

// Stock-tank properties of the alpha-beta model fluid.
void BM_GasOilRatioOfTheAlphaBetaFluid(benchmark::State& state)
{
    CalculationInterface ci(FluidType::alphaBeta, EquationOfState::pengRobinson);
    ci.setAlpha(0.7);
    ci.setBeta(0.1);
    ci.finalize();
    for (auto _ : state) {
        ci.calculateGOR();
        benchmark::DoNotOptimize(ci.getGOR());
    }
}
BENCHMARK(BM_GasOilRatioOfTheAlphaBetaFluid)->Unit(benchmark::kMicrosecond);

// The whole alpha-beta curve of an inclusion homogenising to liquid at 100 degrees Celsius
// with a 10 % bubble at 20 degrees Celsius, as the user waits for it: first point, then
// every further point until the curve ends. Counters: the points of the curve, the turns
// (points and retries) and the isochore walks of the engine's alpha searches.
void BM_AlphaBetaCurve(benchmark::State& state)
{
    int points = 0, turns = 0, walks = 0;
    for (auto _ : state) {
        CAlphaBetaModelInterface model;
        model.setInputParameters(100, 20, 10, 0, 0, 0, Homogenisation::toLiquid);
        double alpha = 0, beta = 0, P = 0;
        if (model.firstAlphaBeta(&alpha, &beta, &P) != equilibrium_failure::none) {
            state.SkipWithError("no first point");
            break;
        }
        points = 1;
        turns = 1;
        for (auto code = AlphaBetaStep::pointFound; code != AlphaBetaStep::curveEnd && turns < 1000; ++turns) {
            code = model.nextAlphaBeta(&alpha, &beta, &P);
            points += code == AlphaBetaStep::pointFound;
        }
        walks = model.engine()->isochoreWalks();
        benchmark::DoNotOptimize(alpha);
    }
    state.counters["points"] = points;
    state.counters["turns"] = turns;
    state.counters["isochoreWalks"] = walks;
}
BENCHMARK(BM_AlphaBetaCurve)->Unit(benchmark::kMillisecond);

// One row of grid3.txt: the vapour fraction at 20 degrees Celsius of the model inclusion
// homogenising at 100 degrees Celsius, for one (alpha, beta).
void BM_VapourFractionGridRow(benchmark::State& state)
{
    CAlphaBetaModelInterface model;
    for (auto _ : state) {
        const QByteArray row = model.fvGridRow(0.9, 0.3);
        if (row.isEmpty()) {
            state.SkipWithError("no vapour fraction");
            break;
        }
        benchmark::DoNotOptimize(row);
    }
}
BENCHMARK(BM_VapourFractionGridRow)->Unit(benchmark::kMicrosecond);

} // namespace

namespace phase_diagram_archive_bench {

using namespace quorvel;

constexpr int kComponents = 20;
constexpr int kBranchPoints = 500;      // per branch: about 1,000 envelope points in all
constexpr int kIsochors = 20;           // two-phase and one-phase part each
constexpr int kIsochorPoints = 25;      // per part
const QString kRootKey = QStringLiteral("phaseDiagrams");

std::vector<double> fractions(double shift)
{
    std::vector<double> z(kComponents);
    for (int i = 0; i < kComponents; ++i)
        z[i] = (1 + i + shift) / (kComponents * (kComponents + 1) / 2.0 + kComponents * shift);
    return z;
}

IsoplethPtr makeBranch(Homogenisation homog, double Tstart, double Tend)
{
    auto branch = std::make_shared<CIsopleth>();
    branch->setHomog(homog);
    branch->setN(kComponents);
    branch->setXref(fractions(0));
    for (int k = 0; k < kBranchPoints; ++k) {
        const double T = Tstart + (Tend - Tstart) * k / (kBranchPoints - 1);
        auto point = std::make_shared<CIsoplethPoint>();
        point->setT(T);
        point->setP(1 + 200 * std::sin(T / 200));
        point->setLiquidVolume(1e-4 + T * 1e-7);
        point->setVapourVolume(1e-3 - T * 1e-6);
        point->setLiquidDensity(0.7 - T * 1e-4);
        point->setVapourDensity(0.1 + T * 1e-4);
        point->setN(kComponents);
        point->setOtherz(fractions(k * 1e-3));
        branch->points().push_back(point);
    }
    return branch;
}

void addIsochorPair(const PhaseDiagramPtr& diagram, double Th)
{
    auto biphasic = std::make_shared<CIsochor>();
    auto monophasic = std::make_shared<CIsochor>();
    for (int k = 0; k < kIsochorPoints; ++k) {
        auto point = std::make_shared<CBiphasicIsochorPoint>();
        point->setT(Th - 4 * k);
        point->setP(100 - 3 * k);
        point->setFv(k * 0.5);
        point->setOtherV(2e-4);
        point->setN(kComponents);
        point->setOtherz(fractions(k * 1e-2));
        biphasic->points().push_back(point);
        auto onePhase = std::make_shared<CIsochorPoint>();
        onePhase->setT(Th + 20 * k);
        onePhase->setP(100 + 25 * k);
        monophasic->points().push_back(onePhase);
    }
    for (const auto& isochor : {biphasic, monophasic}) {
        isochor->setTh(Th);
        isochor->setHomog(Homogenisation::toLiquid);
        isochor->setName(QStringLiteral("Oil : Th = %1").arg(Th));
        isochor->setPhaseDiagram(diagram);
    }
    biphasic->setIsBiphasic(true);
    biphasic->setSister(monophasic);
    monophasic->setSister(biphasic);
    auto line = std::make_shared<CTrappingLine>();
    line->attachToIsochor(monophasic, Th + 50);
    diagram->biphasicIsochors().push_back(biphasic);
    diagram->monophasicIsochors().push_back(monophasic);
}

PhaseDiagramPtr makeDiagram()
{
    auto diagram = std::make_shared<CPhaseDiagram>();
    Array components;
    for (int i = 0; i < kComponents; ++i)
        components.append(Dictionary{{"name", QStringLiteral("C%1").arg(i + 1)}, {"nc", i + 1}, {"mole", 5.0}});
    diagram->setThermoModel(Dictionary{{"name", "Oil"}, {"fluidType", 2}, {"components", components}});
    diagram->setNameByDefault();
    diagram->setLiquidIsopleth(makeBranch(Homogenisation::toLiquid, -50, 350));
    diagram->setVapourIsopleth(makeBranch(Homogenisation::toVapour, 500, 351));
    for (int i = 0; i < kIsochors; ++i)
        addIsochorPair(diagram, 60 + 5 * i);
    return diagram;
}

QByteArray archive(const PhaseDiagramPtr& diagram)
{
    return KeyedArchiver::archivedDataWithRootKeys({{kRootKey, Array{diagram}}});
}

void BM_ArchivePhaseDiagram(benchmark::State& state)
{
    const PhaseDiagramPtr diagram = makeDiagram();
    qint64 bytes = 0;
    for (auto _ : state) {
        const QByteArray data = archive(diagram);
        bytes = data.size();
        benchmark::DoNotOptimize(data.constData());
    }
    state.counters["bytes"] = double(bytes);
}
BENCHMARK(BM_ArchivePhaseDiagram)->Unit(benchmark::kMillisecond);

void BM_UnarchivePhaseDiagram(benchmark::State& state)
{
    const QByteArray data = archive(makeDiagram());
    registerPhaseDiagramClasses();
    for (auto _ : state) {
        const std::optional<Dictionary> roots = KeyedUnarchiver::unarchivedRootKeys(data, {kRootKey});
        if (!roots || roots->arrayValue(kRootKey).isEmpty()) {
            state.SkipWithError("the archive could not be read");
            break;
        }
        benchmark::DoNotOptimize(roots->arrayValue(kRootKey).at(0).identity());
    }
}
BENCHMARK(BM_UnarchivePhaseDiagram)->Unit(benchmark::kMillisecond);

} // namespace phase_diagram_archive_bench

namespace phase_envelope_bench {

using namespace quorvel;

// The nine-component gas condensate of the engine tests (record units).
FluidRecord nineComponentCondensate()
{
    struct Data {
        const char* name;
        int nc;
        double mole, mw, Tc, Pc, Vc, omega;
    };
    static constexpr Data data[] = {
        {"N2", -1, 1, 28.01, -147.0, 33.94, 89, 0.040},    {"CO2", -2, 2, 44.01, 31.05, 73.76, 94, 0.225},
        {"C1", 1, 60, 16.04, -82.55, 46.0, 99.2, 0.011},   {"C2", 2, 8, 30.07, 32.25, 48.8, 148, 0.099},
        {"C3", 3, 5, 44.10, 96.65, 42.5, 203, 0.153},      {"nC4", 4, 4, 58.12, 152.05, 38.0, 255, 0.199},
        {"nC5", 5, 3, 72.15, 196.55, 33.7, 304, 0.251},    {"nC6", 6, 3, 86.18, 234.35, 30.1, 370, 0.299},
        {"nC10", 10, 14, 142.29, 344.55, 21.1, 603, 0.489},
    };
    Array components;
    for (const Data& c : data)
        components.append(ComponentRecord{{"name", c.name}, {"nc", c.nc}, {"mole", c.mole}, {"mw", c.mw},
                                          {"Tc", c.Tc},     {"Pc", c.Pc}, {"Vc", c.Vc},     {"omega", c.omega}});
    return FluidRecord{{"name", "condensate"}, {"fluidType", code_number(FluidType::componentList)}, {"components", components}};
}

FluidRecord alphaBetaFluid()
{
    return FluidRecord{{"name", "AB 0.7 0.1"}, {"fluidType", code_number(FluidType::alphaBeta)}, {"alpha", 0.7}, {"beta", 0.1},
                       {"CO2", 0.0},           {"N2", 0.0},                    {"H2S", 0.0}};
}

std::size_t pointCount(const PhaseDiagramPtr& diagram)
{
    std::size_t n = 0;
    for (const auto& branch : {diagram->liquidIsopleth(), diagram->vapourIsopleth()})
        n += branch ? branch->points().size() : 0;
    return n;
}

PhaseDiagramPtr envelopeOf(const FluidRecord& record)
{
    CalculationInterface ci(fluidTypeOf(record), EquationOfState::pengRobinson);
    PhaseDiagramPtr diagram;
    ci.calculateImmiscibilityLoop(record, &diagram);
    return diagram;
}

// The whole envelope, both branches and any segment that completes them, as the
// phase-diagram document asks for it. Counter: the envelope's points.
void BM_PhaseEnvelope(benchmark::State& state, const FluidRecord& record)
{
    std::size_t points = 0;
    for (auto _ : state) {
        const PhaseDiagramPtr diagram = envelopeOf(record);
        if (!diagram) {
            state.SkipWithError("no envelope");
            break;
        }
        points = pointCount(diagram);
    }
    state.counters["points"] = static_cast<double>(points);
}
BENCHMARK_CAPTURE(BM_PhaseEnvelope, nineComponentCondensate, nineComponentCondensate())
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PhaseEnvelope, alphaBeta_0_7_0_1, alphaBetaFluid())->Unit(benchmark::kMillisecond);

// The engine's search for a dew point the vapour branch missed, from the first bubble point:
// what the second dew segment costs beyond the branches.
void BM_SecondDewSearch(benchmark::State& state, const FluidRecord& record)
{
    CalculationInterface ci(fluidTypeOf(record), EquationOfState::pengRobinson);
    ci.setThermodynamicModel(record);
    double T0 = 0, P0 = 0;
    if (ci.firstIsoplethPoint(&T0, &P0) != equilibrium_failure::none) {
        state.SkipWithError("no bubble point");
        return;
    }
    std::vector<double> y0;
    for (int i = 0; i < ci.getNumberOfComponents(); ++i)
        y0.push_back(ci.getVapourComposition(i));
    for (auto _ : state) {
        const Oil::FurtherDewPoint found =
            ci.engine()->otherGasIsoplethPoint(Oil::DewSearch::notFound, T0, P0, y0.data());
        benchmark::DoNotOptimize(found.T);
    }
}
BENCHMARK_CAPTURE(BM_SecondDewSearch, nineComponentCondensate, nineComponentCondensate())
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SecondDewSearch, alphaBeta_0_7_0_1, alphaBetaFluid())->Unit(benchmark::kMillisecond);

// Both isochores of one inclusion homogenising to liquid at 60 degrees Celsius on the
// condensate's envelope, and one trapping pressure on the one-phase isochore.
void BM_Isochors(benchmark::State& state)
{
    const PhaseDiagramPtr diagram = envelopeOf(nineComponentCondensate());
    std::size_t points = 0;
    for (auto _ : state) {
        CalculationInterface ci(FluidType::componentList, EquationOfState::pengRobinson);
        IsochorPtr monophasic, biphasic;
        if (ci.calculateIsochors(diagram, nullptr, 60, 0, Homogenisation::toLiquid, &monophasic, &biphasic)
            != isochor_result::both_made) {
            state.SkipWithError("no isochores");
            break;
        }
        points = monophasic->points().size() + biphasic->points().size();
        diagram->biphasicIsochors().clear();
        diagram->monophasicIsochors().clear();
    }
    state.counters["points"] = static_cast<double>(points);
}
BENCHMARK(BM_Isochors)->Unit(benchmark::kMillisecond);

void BM_TrappingPressure(benchmark::State& state)
{
    const PhaseDiagramPtr diagram = envelopeOf(nineComponentCondensate());
    CalculationInterface ci(FluidType::componentList, EquationOfState::pengRobinson);
    IsochorPtr monophasic, biphasic;
    if (!diagram
        || ci.calculateIsochors(diagram, nullptr, 60, 0, Homogenisation::toLiquid, &monophasic, &biphasic)
               != isochor_result::both_made) {
        state.SkipWithError("no isochores");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(monophasic->calculateTrappingPressure(200 + 273.15));
}
BENCHMARK(BM_TrappingPressure)->Unit(benchmark::kMicrosecond);

} // namespace phase_envelope_bench
