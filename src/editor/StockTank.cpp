#include "editor/StockTank.h"

#include "calc/CalculationInterface.h"

namespace quorvel {

namespace {

class EngineStockTank : public StockTankCalculation
{
public:
    EngineStockTank(FluidType interfaceType, EquationOfState eos, const FluidRecord& fluid)
        : mInterface(interfaceType, eos)
    {
        mInterface.setModelFluid(fluidTypeOf(fluid), fluid);
    }

    StockTankResult calculateGOR(const ProgressCallback& progress) override
    {
        StockTankResult result;
        mInterface.setStockTankProgress(progress);
        mInterface.calculateGOR();
        result.stopped = mInterface.stockTankStopped();
        if (result.stopped)
            return result;
        mInterface.logTranslationNote();
        const Oil* oil = mInterface.engine();
        result.c7plus = mInterface.getStockTankC7plus();
        result.mwC7plus = mInterface.getMwC7plus();
        result.sgC7plus = mInterface.getSGC7plus();
        if (!oil || !mInterface.isLoaded()) {
            result.failed = true;
            return result;
        }
        result.bulkMw = oil->bulkMolarWeight();
        result.state = oil->stockTankState();
        result.failed = oil->failureCode() != equilibrium_failure::none;
        result.gor = oil->gasOilRatios()[0];
        result.api = {oil->apiGravities()[0], oil->apiGravities()[1], oil->apiGravities()[2], oil->apiGravities()[3], oil->apiMontel(),
                      oil->apiByMolarWeight()};
        return result;
    }

    double calculateSaturation(double T, SaturationKind kind) override
    {
        return mInterface.calculateSaturation(T, kind);
    }

private:
    CalculationInterface mInterface;
};

}  // namespace

StockTankCalculationFactory engineStockTankCalculation()
{
    return [](FluidType interfaceType, EquationOfState eos,
              const FluidRecord& fluid) -> std::unique_ptr<StockTankCalculation> {
        return std::make_unique<EngineStockTank>(interfaceType, eos, fluid);
    };
}

}  // namespace quorvel
