// Scans the homogenisation temperature of an inclusion in 1 K steps across the envelope of
// four alpha-beta fluids, to liquid on the bubble branch and to vapour on the dew branch,
// and counts the isochores whose two-phase part was traced upwards from Th (reversed)
// although the fluid is one phase just above Th at the inclusion's molar volume (false
// reversals), and those traced downwards although it splits in two just above Th (missed
// reversals). Usage: scan_isochore_reversals [--list]
#include "calc/CIsochor.h"
#include "calc/CPhaseDiagram.h"
#include "calc/CalculationInterface.h"
#include "thermo/PhaseStability.h"

#include <QApplication>

#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

using namespace quorvel;

struct Fluid {
    double alpha, beta;
};
constexpr Fluid kFluids[] = {{0.5, 0.2}, {0.7, 0.1}, {0.8, 0.3}, {0.9, 0.4}};

constexpr double kCelsiusOffset = 273.15;
constexpr double kProbeAbove = 0.5;  // K above Th where the fluid must be one phase

FluidRecord recordOf(const Fluid& fluid)
{
    return FluidRecord{{"name", QString::asprintf("AB %.1f %.1f", fluid.alpha, fluid.beta)},
                       {"fluidType", code_number(FluidType::alphaBeta)},
                       {"alpha", fluid.alpha},
                       {"beta", fluid.beta},
                       {"CO2", 0.0},
                       {"N2", 0.0},
                       {"H2S", 0.0}};
}

// Whether the feed at the inclusion's molar volume is one phase at T (degrees Celsius).
bool onePhaseAt(CalculationInterface& ci, const CIsochor& isochor, double T)
{
    ClaCubic0& model = isochor.homog() == Homogenisation::toLiquid ? *ci.liquidModel() : *ci.vapourModel();
    const int n = ci.getNumberOfComponents();
    std::vector<double> z(n);
    for (int i = 0; i < n; ++i) {
        z[i] = ci.getIsoplethComposition(i);
        model.composition_of_component(static_cast<short>(i), z[i]);
    }
    model.volume(isochor.bulkVolume());
    model.temperature(T + kCelsiusOffset);
    model.calculate_pressure();
    const double P = model.pressurePa();
    if (!(P > 0))
        return false;
    PhaseStability stability(*ci.liquidModel(), *ci.vapourModel());
    return stability.test(z, T + kCelsiusOffset, P, PhaseStability::wilson_k_values(model, T + kCelsiusOffset, P));
}

struct Count {
    int scanned = 0, made = 0, reversed = 0, falseReversals = 0, missedReversals = 0;
};

const char* homogenisationName(Homogenisation homog)
{
    return homog == Homogenisation::toLiquid ? "liquid" : "vapour";
}

void scanBranch(const Fluid& fluid, const PhaseDiagramPtr& diagram, Homogenisation homog, bool list, Count& count)
{
    const bool toLiquid = homog == Homogenisation::toLiquid;
    const IsoplethPtr& branch = toLiquid ? diagram->liquidIsopleth() : diagram->vapourIsopleth();
    if (!branch)
        return;
    double minT = 1e9, maxT = -1e9;
    for (const auto& point : branch->points())
        if (point->isOrdinary()) {
            minT = std::min(minT, point->T());
            maxT = std::max(maxT, point->T());
        }
    for (double Th = std::ceil(minT); Th <= maxT; Th += 1) {
        ++count.scanned;
        CalculationInterface ci(FluidType::alphaBeta, EquationOfState::pengRobinson);
        IsochorPtr monophasic, biphasic;
        const isochor_result result = ci.calculateIsochors(diagram, nullptr, Th, 0, homog, &monophasic, &biphasic);
        if (result != isochor_result::both_made) {
            if (list)
                std::printf("  no isochore (%d): alpha %.1f beta %.1f Th %.0f C to %s\n", static_cast<int>(result),
                            fluid.alpha, fluid.beta, Th, homogenisationName(homog));
            continue;
        }
        ++count.made;
        const bool reversed = ci.engine()->isochoreReversed();
        count.reversed += reversed;
        if (reversed == onePhaseAt(ci, *monophasic, Th + kProbeAbove)) {
            ++(reversed ? count.falseReversals : count.missedReversals);
            if (list)
                std::printf("  %s reversal: alpha %.1f beta %.1f Th %.0f C to %s\n", reversed ? "false" : "missed",
                            fluid.alpha, fluid.beta, Th, homogenisationName(homog));
        }
        diagram->biphasicIsochors().clear();
        diagram->monophasicIsochors().clear();
    }
}

}  // namespace

int main(int argc, char** argv)
{
    // Where Th meets the dew curve twice the isochore calculation writes to the log window.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const bool list = argc > 1 && std::strcmp(argv[1], "--list") == 0;
    int total = 0;
    for (const Fluid& fluid : kFluids) {
        CalculationInterface ci(FluidType::alphaBeta, EquationOfState::pengRobinson);
        PhaseDiagramPtr diagram;
        ci.calculateImmiscibilityLoop(recordOf(fluid), &diagram);
        if (!diagram) {
            std::printf("alpha %.1f beta %.1f: no envelope\n", fluid.alpha, fluid.beta);
            continue;
        }
        for (const Homogenisation homog : {Homogenisation::toLiquid, Homogenisation::toVapour}) {
            Count count;
            scanBranch(fluid, diagram, homog, list, count);
            std::printf("alpha %.1f beta %.1f to %-6s: %3d Th, %3d isochores, %3d reversed, %3d false and %d missed "
                        "reversals\n",
                        fluid.alpha, fluid.beta, homogenisationName(homog), count.scanned, count.made,
                        count.reversed, count.falseReversals, count.missedReversals);
            total += count.falseReversals + count.missedReversals;
        }
    }
    std::printf("isochores against their direction: %d\n", total);
    return total == 0 ? 0 : 1;
}
