#include "characterisation/MeasuredPoint.h"

#include "characterisation/ComponentRecord.h"

namespace quorvel {

double measuredTemperatureCelsius(const Dictionary& fluid)
{
    const double Texp = fluid.doubleValue(measuredkey::texp);
    const bool kelvin = fluid.contains(measuredkey::texpUnit) ? fluid.intValue(measuredkey::texpUnit) == kTexpKelvin
                                                              : fluid.contains(measuredkey::fvcal);
    return kelvin ? kelvinToCelsius(Texp) : Texp;
}

void setMeasuredTemperatureCelsius(Dictionary fluid, double celsius)
{
    fluid.setValue(measuredkey::texp, celsius);
    fluid.setValue(measuredkey::texpUnit, kTexpCelsius);
}

void setMeasuredTemperatureKelvin(Dictionary fluid, double kelvin)
{
    fluid.setValue(measuredkey::texp, kelvin);
    fluid.setValue(measuredkey::texpUnit, kTexpKelvin);
}

}  // namespace quorvel
