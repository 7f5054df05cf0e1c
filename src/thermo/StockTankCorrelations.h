#pragma once

#include "thermo/FluidType.h"

#include <array>
#include <limits>

namespace quorvel {

// Liquid-density correlations and stock-tank conversions used beside the
// equation of state. Temperatures in K, pressures in bar, densities in g/cm3.

// Marks a property that could not be computed.
inline constexpr double kUnavailable = std::numeric_limits<double>::quiet_NaN();

inline constexpr double kStockTankTemperature = 288.7;  // K
inline constexpr double kStockTankPressure = 1.0;       // bar

// API gravity of a density in g/cm3; unavailable for a density that is not positive.
double apiGravity(double density);

// API gravity estimated from the molar weight (g/mol) of a stock-tank oil.
double apiFromMolarWeight(double molarWeight);

// Standing-Katz pseudo-liquid density with pressure and temperature corrections.
// rho7: C7+ density in lb/ft3; masses: C1, C2, C3, C4, C5, C6 and C7+ per mole of
// mixture (g). Returns 0 where the method gives no density: no propane-plus part, a
// C7+ part without a positive density, or a pressure-corrected density below zero.
double getDensityByStandingKatz(double T, double P, double rho7,
                                const std::array<double, 7>& masses);

// Alani-Kennedy constants a, b of a named light component at t (degrees R);
// false for a name outside the table (a C7+ component).
bool alaniKennedyLightComponent(const char* name, double t, double& a, double& b);

// Alani-Kennedy constants of the C7+ part from its molar weight and specific gravity.
void alaniKennedyHeavyFraction(double M7, double SG7, double t, double& a, double& b);

// Smallest root of the Alani-Kennedy volume cubic (ft3/lb-mol) at t (degrees R), p (psia).
double alaniKennedyVolume(double a, double b, double t, double p);

// Montel volume-shift factor of a species identifier.
double montelShiftFactor(int speciesIdentifier);

// The molar-weight term h (cm3/mol) of the Dorvane translation of alpha-beta and
// component fluids. Its two published branches (85 to 142 and 156 to 640 g/mol) are
// joined by a straight line and held at their end values outside 85 to 640 g/mol, so
// that the translated volume never jumps with the oil's molar weight.
double dorvaneMolarWeightTerm(double Mx);

// Dorvane volume translation (cm3/mol). Mx: molar weight of the composition;
// B: co-volume of the liquid model (cm3/mol); M: molar weight given by the caller.
// Unavailable for a model-fluid type that has no translation.
double dorvaneTranslation(FluidType modelFluidType, double Mx, double B, double M);

// How the feed came out of the stock-tank calculation: not yet classified, one phase that
// is liquid-like or gas-like, or two phases.
enum class StockTankState { None, Liquid, Gas, TwoPhases };

// What became of a volume translation of a stock-tank oil.
enum class TranslationOutcome {
    applied,
    undefined,            // no translation for the fluid, or no co-volume to build it on
    non_positive_volume,  // the translated volume would not be positive: not applied
};

struct TranslatedVolume
{
    double volume = kUnavailable;  // cm3/mol; unavailable unless applied
    TranslationOutcome outcome = TranslationOutcome::undefined;
};

// A liquid molar volume V translated by c (both cm3/mol): V - c when that is positive.
[[nodiscard]] TranslatedVolume translateVolume(double V, double c);

} // namespace quorvel
