#pragma once
// What the characterisation functions share about a component record: the units its
// keys hold, the factors between those and the units of the published correlations,
// and the outcome of a correlation applied to a record.

#include "calc/FluidRecordKeys.h"
#include "platform/Value.h"
#include "thermo/CorrelationCodes.h"

#include <initializer_list>

namespace quorvel {

// Records hold degrees Celsius, bar, cm3/mol and g/mol; the correlations work in
// kelvin or degrees Rankine, psia and ft3/lb.
inline constexpr double kKelvinOffset = 273.15;         // K = degrees C + 273.15
inline constexpr double kRankinePerKelvin = 1.8;        // degrees R = 1.8 K
inline constexpr double kBarPerPsia = 0.068948;
inline constexpr double kCubicMetrePerKgPerFt3PerLb = 0.062428;
inline constexpr double kSpecificToMolarVolume = 1000;  // (m3/kg) x (g/mol) x 1000 = cm3/mol

inline double kelvinToCelsius(double kelvin) { return kelvin - kKelvinOffset; }
inline double celsiusToKelvin(double celsius) { return celsius + kKelvinOffset; }

// What a correlation did to the record it was given.
enum class CorrelationStatus {
    Applied,        // its outputs and "corr" are written
    OutOfRange,     // the component's carbon number lies outside the correlation's range
    InvalidResult,  // an input molar weight or gravity is not positive, a solve failed, a
                    // result is not finite, or a temperature, pressure, volume, molar
                    // weight or gravity is not positive
    UnknownCode,    // not a correlation code
};

// The correlation code the record stores under "corr" (jianzhong0 when it stores none).
[[nodiscard]] inline CorrelationCode correlationCodeOf(const Dictionary& component)
{
    return correlationCodeFromNumber(component.intValue(componentkey::corr));
}

// A short English reason for a status that left the record unchanged.
QString describeStatus(CorrelationStatus status);

// One output of a correlation, in record units.
struct RecordValue
{
    QString key;  // of componentkey
    double value;
};

// Writes the values in order, then "corr" = code, when every value is acceptable for its
// key (finite; "Tc" and "Tb" above absolute zero; "Pc", "Vc", "mw" and "SG" positive);
// otherwise writes nothing and answers InvalidResult.
CorrelationStatus writeCorrelationResult(Dictionary component, std::initializer_list<RecordValue> values,
                                         CorrelationCode code);

}  // namespace quorvel
