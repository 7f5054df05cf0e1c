#pragma once
// What the phase-diagram document asks of the calculation layer: the phase envelope of
// a fluid and the isochores of an inclusion on a diagram, each run to completion in one
// call. The calculation interface is the calculator of the application; tests script
// their own.

#include "calc/CalculationInterface.h"
#include "calc/CPhaseDiagram.h"

#include <functional>
#include <memory>

namespace quorvel {

class PhaseDiagramCalculator
{
public:
    virtual ~PhaseDiagramCalculator() = default;

    // The envelope of the fluid into a new diagram (null when none was traced).
    virtual EnvelopeTrace calculateImmiscibilityLoop(const FluidRecord& fluid, PhaseDiagramPtr* diagram) = 0;
    // The two isochores of an inclusion homogenising at Th (degrees Celsius) as homog says,
    // added to the diagram: both_made, else nothing added.
    virtual isochor_result calculateIsochors(const PhaseDiagramPtr& diagram, const InclusionRecord* inclusion,
                                             double Th, double Ph, Homogenisation homog, IsochorPtr* monophasic,
                                             IsochorPtr* biphasic) = 0;

    using Factory = std::function<std::unique_ptr<PhaseDiagramCalculator>(FluidType fluidType, EquationOfState eos)>;
    // A calculator for one fluid type and equation of state; the calculation interface by default.
    static std::unique_ptr<PhaseDiagramCalculator> make(FluidType fluidType, EquationOfState eos);
    static void setFactory(Factory factory);  // none: back to the calculation interface
};

}  // namespace quorvel
