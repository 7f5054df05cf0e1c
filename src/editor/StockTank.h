#pragma once
// The stock-tank and saturation calculation of one fluid, as the editor needs it: a
// calculation loaded with a fluid record answers its stock-tank results and its
// saturation pressures. The default runs the calculation interface; tests script it.

#include "editor/FluidRecord.h"
#include "numeric/Progress.h"
#include "thermo/StockTankCorrelations.h"
#include "thermo/VLE.h"

#include <array>
#include <functional>
#include <memory>

namespace quorvel {

struct StockTankResult
{
    double bulkMw = 0;    // g/mol
    double c7plus = 0;    // mole percent
    double mwC7plus = 0;  // g/mol
    double sgC7plus = 0;
    StockTankState state = StockTankState::None;
    bool failed = false;  // the tank flash found no two-phase solution
    bool stopped = false;  // the progress answered to stop: the values mean nothing
    double gor = 0;       // Stdm3/Stdm3, equation of state without volume translation
    // By ApiMethod, in its order.
    std::array<double, kApiMethods.size()> api{};

    [[nodiscard]] double apiGravity(ApiMethod method) const { return api[static_cast<std::size_t>(method)]; }
};

class StockTankCalculation
{
public:
    virtual ~StockTankCalculation() = default;
    // Asks progress between the steps of the calculation.
    virtual StockTankResult calculateGOR(const ProgressCallback& progress) = 0;
    // Bar at T (degrees Celsius); kSaturationFailure on failure.
    virtual double calculateSaturation(double T, SaturationKind kind) = 0;
};

// Makes the calculation of a record: interface type (1 alpha-beta, else 2), EOS code, the record.
using StockTankCalculationFactory =
    std::function<std::unique_ptr<StockTankCalculation>(FluidType interfaceType, EquationOfState eos,
                                                        const FluidRecord& fluid)>;

// The calculation interface and its engine.
StockTankCalculationFactory engineStockTankCalculation();

}  // namespace quorvel
