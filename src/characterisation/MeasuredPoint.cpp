#include "characterisation/MeasuredPoint.h"

#include "characterisation/ComponentRecord.h"

namespace quorvel {

double measuredTemperatureCelsius(const Dictionary& fluid)
{
    const double Texp = fluid.doubleValue(fluidkey::texp);
    const bool kelvin = fluid.contains(fluidkey::texpUnit) ? fluid.intValue(fluidkey::texpUnit) == kTexpKelvin
                                                              : fluid.contains(fluidkey::fvcal);
    return kelvin ? kelvinToCelsius(Texp) : Texp;
}

void setMeasuredTemperatureCelsius(Dictionary fluid, double celsius)
{
    fluid.setValue(fluidkey::texp, celsius);
    fluid.setValue(fluidkey::texpUnit, kTexpCelsius);
}

void setMeasuredTemperatureKelvin(Dictionary fluid, double kelvin)
{
    fluid.setValue(fluidkey::texp, kelvin);
    fluid.setValue(fluidkey::texpUnit, kTexpKelvin);
}

}  // namespace quorvel
