// The trapping pressure of an isochore: the one record operation that runs the engine.
#include "calc/CIsochor.h"

#include "calc/CPhaseDiagram.h"
#include "calc/CalculationInterface.h"
#include "calc/FluidRecordKeys.h"

#include <cmath>

namespace quorvel {

double CIsochor::calculateTrappingPressure(double T)
{
    const std::shared_ptr<CPhaseDiagram> diagram = phaseDiagram();
    if (!diagram)
        return 0;
    const FluidRecord& model = diagram->thermoModel();
    CalculationInterface calculation(fluidTypeOf(model), EquationOfState::pengRobinson);
    calculation.setThermodynamicModel(model);
    calculation.setHomog(mHomog);
    calculation.setBulkVolume(mBulkVolume);
    calculation.setTh(T);
    const double P = calculation.calculateTrappingPressure(T);
    if (!std::isfinite(P) || !calculation.engine())
        return 0;  // no engine for this fluid, or no pressure at this volume: nothing calculated

    mTrap = T;
    mPtrap = P;
    calculation.setTh(T);
    calculation.setPh(mPtrap);
    calculation.calculateGOR();
    calculation.calculateBulkDensity(mTrap, mPtrap, calculation.homogeneousPhaseModel());
    mGOR = calculation.getGOR()[0];
    mAPI = calculation.getAPI()[0];
    mCH4 = calculation.getCH4();
    mBulkMolarWeight = calculation.engine()->bulkMolarWeight();
    mBulkDensity0 = calculation.engine()->bulkDensity();
    mBulkDensity1 = calculation.engine()->bulkDensityStandingKatz();
    return mPtrap;
}

} // namespace quorvel
