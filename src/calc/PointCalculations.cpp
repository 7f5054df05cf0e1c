#include "calc/CalculationInterface.h"
#include "calc/FeedKeeper.h"
#include "calc/FluidRecordKeys.h"
#include "calc/Units.h"

#include <QString>

#include <cmath>
#include <limits>

namespace quorvel {

using namespace units;

double CalculationInterface::calculateTrappingPressure(double T)
{
    if (!isEngineReady())
        return kNaN;
    currentPhase = homogenisesToLiquid() ? liquidPhase.get() : vapourPhase.get();
    for (short i = 0; i < oil->componentCount(); ++i)
        currentPhase->composition_of_component(i, oil->feedComposition()[i]);
    currentPhase->volume(bulkVolume);
    currentPhase->temperature(T);
    currentPhase->calculate_pressure();
    return currentPhase->pressurePa() * kBarPerPascal;
}

double CalculationInterface::calculateSaturation(double T, SaturationKind kind)
{
    if (!isEngineReady())
        return kSaturationFailure;
    const equilibrium_failure outcome = oil->solve(problem_type::fixed_T_and_Fv, T + kCelsiusOffset,
                                                   saturationVapourFraction(kind), Oil::Start::from_ideal_mixture);
    return outcome == equilibrium_failure::none ? oil->currentPressure() * kBarPerPascal : kSaturationFailure;
}

Oil::FlashResult CalculationInterface::runFlash(double T, double P)
{
    const FeedKeeper keeper(*oil);
    Oil::FlashResult result = oil->flash(T, P);
    if (result.twoPhases()) {
        flashedLiquid = result.liquid_composition;
        flashedVapour = result.vapour_composition;
    }
    return result;
}

FlashOutcome CalculationInterface::calculateFlash(double T, double P, std::optional<FluidRecord> liquid,
                                                  std::optional<FluidRecord> vapour)
{
    if (!isEngineReady())
        return FlashOutcome::failed;
    if (const Oil::FlashResult result = runFlash(T, P); !result.twoPhases())
        return result.failure == equilibrium_failure::one_phase ? FlashOutcome::onePhase : FlashOutcome::failed;
    if (liquid)
        recuperateFlashedFluid(*liquid, phase_kind::liquid);
    if (vapour)
        recuperateFlashedFluid(*vapour, phase_kind::vapour);
    return FlashOutcome::twoPhases;
}

// The alpha-beta model fluid's critical data are not the loaded ones: its phase models hold
// the Montel data of its distribution (the heavy cuts included), which the flash used, while
// the fluid's own arrays keep the fixed points of its vapour-pressure table.
CalculationInterface::ComponentData CalculationInterface::flashedComponentData(int i) const
{
    if (fluidType == FluidType::alphaBeta)
        return {liquidPhase->criticalTemperature()[i], liquidPhase->criticalPressure()[i],
                liquidPhase->criticalVolume()[i] / kCubicMetrePerCm3, liquidPhase->acentricFactor()[i],
                liquidPhase->molarWeight()[i]};
    return {oil->criticalTemperature()[i], oil->criticalPressure()[i], oil->criticalVolumeCm3()[i],
            oil->acentricFactor()[i], oil->componentMolarWeight()[i]};
}

void CalculationInterface::recuperateFlashedFluid(FluidRecord record, phase_kind phase)
{
    const std::vector<double>& x = phase == phase_kind::liquid ? flashedLiquid : flashedVapour;
    const short n = isEngineReady() ? oil->componentCount() : 0;
    if (n == 0 || static_cast<int>(x.size()) != n)
        return;  // no flash to take the phase from

    record.setValue(fluidkey::name, QStringLiteral("Flash"));
    record.setValue(fluidkey::comment, QString());
    record.setValue(fluidkey::fluidType, code_number(FluidType::componentList));
    Array components;
    record.setValue(fluidkey::components, components);
    for (short i = 0; i < n; ++i) {
        const ComponentData data = flashedComponentData(i);
        ComponentRecord component;
        component.setValue(componentkey::name, QString::fromStdString(oil->componentName()[i]));
        component.setValue(componentkey::tc, data.Tc - kCelsiusOffset);
        component.setValue(componentkey::tb, oil->boilingTemperature()[i] - kCelsiusOffset);
        component.setValue(componentkey::pc, data.Pc * kBarPerPascal);
        component.setValue(componentkey::vc, data.Vc);
        component.setValue(componentkey::omega, data.omega);
        component.setValue(componentkey::mw, data.mw);
        component.setValue(componentkey::sg, oil->specificGravity()[i]);
        component.setValue(componentkey::nc, oil->carbonNumber()[i]);
        component.setValue(componentkey::corr, code_number(oil->correlationCodes()[i]));
        component.setValue(componentkey::mole, x[i] * 100);
        components.append(component);
    }
}

bool CalculationInterface::calculateBulkDensity(double T, double P, PhaseModel model)
{
    if (!oil)
        return false;
    if (!loaded) {
        oil->clearBulkResults();
        return false;
    }
    oil->calculateBulkDensity(T, P, model);
    return std::isfinite(oil->bulkDensity());
}

const Oil::StockTank& CalculationInterface::runStockTank()
{
    oil->clearStockTankResults();
    stockTankWasStopped = false;
    if (stockTankProgress)
        oil->setSolveProgress([this](int done, int steps) {
            stockTankWasStopped = stockTankWasStopped || !stockTankProgress(done, steps);
            return !stockTankWasStopped;
        });
    stockTankResults = oil->stockTank();
    oil->setSolveProgress(nullptr);
    return *stockTankResults;
}

void CalculationInterface::clearStockTankFields()
{
    GOR.fill(kNaN);
    API.fill(kNaN);
    CH4 = C7plus = mwC7plus = SGC7plus = kNaN;
    stockTankResults.reset();
}

bool CalculationInterface::calculateGOR()
{
    if (!isEngineReady()) {
        clearStockTankFields();
        return false;
    }
    const Oil::StockTank& tank = runStockTank();
    GOR = tank.gor;
    API = tank.api;
    CH4 = oil->getCH4() * 100;
    C7plus = tank.feed_c7plus_fraction * 100;
    mwC7plus = tank.feed_c7plus_molar_weight;
    SGC7plus = tank.feed_c7plus_specific_gravity;
    return tank.failure == equilibrium_failure::none;
}

} // namespace quorvel
