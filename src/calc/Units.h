#pragma once

#include <limits>

namespace quorvel::units {

inline constexpr double kCelsiusOffset = 273.15;  // K at 0 degrees Celsius
inline constexpr double kPascalPerBar = 1e5;
inline constexpr double kBarPerPascal = 1e-5;
inline constexpr double kCubicMetrePerCm3 = 1e-6;
inline constexpr double kBarPerPsi = 0.068948;
inline constexpr double kLbFt3PerGcm3 = 62.4291;
inline constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Temperatures of a kelvin value in the report's other scales.
inline double celsius(double kelvin) { return kelvin - kCelsiusOffset; }
inline double fahrenheit(double kelvin) { return celsius(kelvin) * 1.8 + 32; }
inline double rankine(double kelvin) { return kelvin * 1.8; }

} // namespace quorvel::units
