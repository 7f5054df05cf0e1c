#include "app/PhaseDiagramCalculator.h"

namespace quorvel {

namespace {

class InterfaceCalculator : public PhaseDiagramCalculator
{
public:
    InterfaceCalculator(FluidType fluidType, EquationOfState eos) : interface(fluidType, eos) {}

    EnvelopeTrace calculateImmiscibilityLoop(const FluidRecord& fluid, PhaseDiagramPtr* diagram) override
    {
        return interface.calculateImmiscibilityLoop(fluid, diagram);
    }
    isochor_result calculateIsochors(const PhaseDiagramPtr& diagram, const InclusionRecord* inclusion, double Th,
                                     double Ph, Homogenisation homog, IsochorPtr* monophasic,
                                     IsochorPtr* biphasic) override
    {
        return interface.calculateIsochors(diagram, inclusion, Th, Ph, homog, monophasic, biphasic);
    }

private:
    CalculationInterface interface;
};

PhaseDiagramCalculator::Factory& installedFactory()
{
    static PhaseDiagramCalculator::Factory factory;
    return factory;
}

}  // namespace

std::unique_ptr<PhaseDiagramCalculator> PhaseDiagramCalculator::make(FluidType fluidType, EquationOfState eos)
{
    if (installedFactory())
        return installedFactory()(fluidType, eos);
    return std::make_unique<InterfaceCalculator>(fluidType, eos);
}

void PhaseDiagramCalculator::setFactory(Factory factory)
{
    installedFactory() = std::move(factory);
}

}  // namespace quorvel
