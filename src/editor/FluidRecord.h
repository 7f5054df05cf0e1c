#pragma once
// The fluid record as the fluid model editor writes it (its keys in calc/FluidRecordKeys.h): the records
// the editor creates, the naming of new components and the units the editor shows besides the
// stored ones (temperatures in degrees Celsius, pressures in bar, Vc in cm3/mol).

#include "calc/FluidRecordKeys.h"
#include "characterisation/MeasuredPoint.h"
#include "platform/Value.h"
#include "thermo/CorrelationCodes.h"

#include <QString>

#include <array>

namespace quorvel {

using FluidRecord = Dictionary;
using ComponentRecord = Dictionary;

// The methods of the stock-tank API gravities, in the order of their keys "API0" .. "API5".
enum class ApiMethod {
    untranslatedEos,
    standingKatz,
    alaniKennedy,
    tovikDorvaneTranslation,
    montelTranslation,
    tovikDorvaneMolarWeight
};
inline constexpr std::array kApiMethods{ApiMethod::untranslatedEos,   ApiMethod::standingKatz,
                                        ApiMethod::alaniKennedy,      ApiMethod::tovikDorvaneTranslation,
                                        ApiMethod::montelTranslation, ApiMethod::tovikDorvaneMolarWeight};

namespace fluidkey {
// "API0" .. "API5"
QString apiMethod(ApiMethod method);
}  // namespace fluidkey

// Shown, never stored, for a fluid without "Tsat".
inline constexpr double kDefaultTsat = 100;  // degrees Celsius

// A new fluid "New" of one component "C1", at 100 mole percent when it is the first fluid.
FluidRecord makeNewFluid(bool firstFluid);
// A component-list copy of the fluid (components copied one level, no computed key).
FluidRecord duplicateFluid(const FluidRecord& source);
// The name of a component added after one with species identifier nc (none: nc 0).
QString nextComponentName(int nc);
// A name typed for a component: upper-cased whole when it starts with a lower-case "c".
QString typedComponentName(const QString& name);
// Whether the correlation code takes the key ("mw", "SG" or "Tb") as an input.
bool correlationReadsKey(CorrelationCode code, const QString& key);

// Units the editor shows besides the stored ones.
namespace units {
inline constexpr double kKelvinOffset = 273.15;
inline constexpr double kRankinePerKelvin = 1.8;
inline constexpr double kBarPerPsia = 0.068948;
inline constexpr double kLbFt3PerGCm3 = 0.062428;  // density g/cm3 to lb/ft3
inline constexpr double kCm3PerLitre = 1000;

inline double kelvinOfCelsius(double t) { return t + kKelvinOffset; }
inline double celsiusOfKelvin(double k) { return k - kKelvinOffset; }
inline double rankineOfCelsius(double t) { return (t + kKelvinOffset) * kRankinePerKelvin; }
inline double celsiusOfRankine(double r) { return r / kRankinePerKelvin - kKelvinOffset; }
inline double fahrenheitOfCelsius(double t) { return t * 1.8 + 32; }
inline double celsiusOfFahrenheit(double f) { return (f - 32) / 1.8; }
inline double psiaOfBar(double p) { return p / kBarPerPsia; }
inline double barOfPsia(double p) { return p * kBarPerPsia; }
// Vc in ft3/lb from cm3/mol and the molar weight in g/mol, and back.
inline double ft3PerLbOfVc(double vc, double mw) { return vc / kCm3PerLitre / mw / kLbFt3PerGCm3; }
inline double vcOfFt3PerLb(double v, double mw) { return v * kLbFt3PerGCm3 * mw * kCm3PerLitre; }
}  // namespace units

}  // namespace quorvel
