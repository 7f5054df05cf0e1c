#include "characterisation/FluidTestChain.h"

#include "calc/CalculationInterface.h"
#include "calc/FluidRecordKeys.h"
#include "characterisation/AlphaBetaFits.h"
#include "characterisation/CharacterisationLog.h"
#include "characterisation/Correlations.h"
#include "characterisation/Lumping.h"
#include "characterisation/MeasuredPoint.h"
#include "characterisation/SplittingMethods.h"

#include <cmath>

namespace quorvel {

namespace {

constexpr int kTestSplitLastCarbonNumber = 44;

double saturationPressureOf(const Dictionary& fluid, EquationOfState eos, double Texp, SaturationKind kind)
{
    CalculationInterface calculation(FluidType::componentList, eos);
    if (!calculation.setModelFluid(FluidType::componentList, fluid))
        return kSaturationFailure;
    return calculation.calculateSaturation(Texp, kind);
}

void copyFitKeys(const Dictionary& fitted, Dictionary result)
{
    using namespace fluidkey;
    for (const QString& key : {alpha, beta, N2, CO2, H2S, C1, C2, C3, C4, C5, C6})
        result.setValue(key, fitted.value(key));
}

}  // namespace

Dictionary doTestFluid(const Dictionary& source, CorrelationCode correlationCode, TestStart start)
{
    bool fitted = false;
    const Dictionary fittedFluid = start == TestStart::tovikEstimate ? getTovikFluid(source, &fitted)
                                                                     : getMontelFittedFluid(source, &fitted);
    const Dictionary split = getAhmedSplittedFluid(fittedFluid, kTestSplitLastCarbonNumber, false, true);
    applyFluidCorrelation(split, correlationCode);
    Dictionary result = lumpFluidC7C8C9C10Cn1Cn2(split);

    const QString name = source.stringValue(fluidkey::name);
    result.setValue(fluidkey::name, QStringLiteral("%1 - test1").arg(name));
    result.setValue(fluidkey::comment, QStringLiteral("Built from %1").arg(name));
    result.setValue(fluidkey::fluidType, code_number(FluidType::componentList));
    if (source.contains(fluidkey::eos))
        result.setValue(fluidkey::eos, source.value(fluidkey::eos));
    if (!source.contains(fluidkey::texp))
        return result;

    const double Texp = measuredTemperatureCelsius(source);
    const double Pexp = source.doubleValue(fluidkey::pexp);
    const int storedKind = source.intValue(fluidkey::hexp);  // the result keeps the number as read
    if (!fitted)
        writeCharacterisationLog(
            QStringLiteral("Test of %1: the alpha-beta fit failed; no saturation pressure is computed.\n").arg(name));
    const EquationOfState eos = getEOSCode(source.value(fluidkey::eos));
    const double Pcal =
        fitted ? saturationPressureOf(result, eos, Texp, saturationKindFromNumber(storedKind)) : kSaturationFailure;
    const bool computed = Pcal != kSaturationFailure;
    const double ardp = (Pcal - Pexp) / Pexp;
    const bool deviationKnown = computed && Pexp > 0;

    copyFitKeys(fittedFluid, result);
    setMeasuredTemperatureCelsius(result, Texp);
    result.setValue(fluidkey::pexp, Pexp);
    result.setValue(fluidkey::hexp, storedKind);
    result.setValue(fluidkey::ardp, deviationKnown ? Value(ardp) : Value::notANumber());
    result.setValue(fluidkey::aadp, deviationKnown ? Value(std::fabs(ardp)) : Value::notANumber());
    result.setValue(fluidkey::pcal, computed ? Value(Pcal) : Value::notANumber());
    return result;
}

}  // namespace quorvel
