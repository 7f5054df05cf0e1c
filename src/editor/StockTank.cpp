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
        result.bulkMw = oil->bulk_molar_weight;
        result.state = StockTankState(oil->stock_tank_state);
        result.failed = oil->failureCode() != equilibrium_failure::none;
        result.gor = oil->gor[0];
        result.api = {oil->api[0], oil->api[1], oil->api[2], oil->api[3], oil->api_montel,
                      oil->api_from_molar_weight};
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
