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
    calculation.bulkVolume = mBulkVolume;
    calculation.setTh(T);
    const double P = calculation.calculateTrappingPressure(T);
    if (!std::isfinite(P) || !calculation.oil)
        return 0;  // no engine for this fluid, or no pressure at this volume: nothing calculated

    mTrap = T;
    mPtrap = P;
    calculation.setTh(T);
    calculation.setPh(mPtrap);
    calculation.calculateGOR();
    calculation.calculateBulkDensity(mTrap, mPtrap, calculation.homogenisesToLiquid());
    mGOR = calculation.GOR[0];
    mAPI = calculation.API[0];
    mCH4 = calculation.CH4;
    mBulkMolarWeight = calculation.oil->bulkMolarWeight();
    mBulkDensity0 = calculation.oil->bulkDensity();
    mBulkDensity1 = calculation.oil->bulkDensityStandingKatz();
    return mPtrap;
}

} // namespace quorvel
