#pragma once
// The measured saturation point of a fluid record: "Texp", "Pexp" (bar) and "hexp". The
// alpha-beta fit keeps "Texp" in kelvin, every other writer in degrees Celsius, and
// "TexpUnit" says which; a record without it (saved before the key existed) holds kelvin
// only when the fit made it, which its "fvcal" tells.

#include "calc/FluidRecordKeys.h"
#include "platform/Value.h"

namespace quorvel {

// "TexpUnit" codes, those of the editor's temperature unit pop-ups.
inline constexpr int kTexpKelvin = 0;
inline constexpr int kTexpCelsius = 1;

// The record's "Texp" in degrees Celsius.
double measuredTemperatureCelsius(const Dictionary& fluid);

// "Texp" with its unit.
void setMeasuredTemperatureCelsius(Dictionary fluid, double celsius);
void setMeasuredTemperatureKelvin(Dictionary fluid, double kelvin);

}  // namespace quorvel
