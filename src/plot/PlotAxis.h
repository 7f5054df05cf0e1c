#pragma once
// Single-precision arithmetic of a plot axis: decade exponents of a logarithmic axis,
// the data-to-view coefficients, nice tick steps, the tick values, the spacing of tick
// labels and the widening of default ranges. Every loop here ends, whatever the input.

#include <optional>
#include <string>
#include <vector>

namespace quorvel {

// Exponents of the whole decades that enclose [min, max]: floor(log10(min)) and
// ceil(log10(max)), -2 and -1 for a bound of 0 or below.
struct DecadeRange {
    float lo;
    float hi;
};
DecadeRange decadesEnclosing(float min, float max);

// view = a * value + b, mapping [lo, hi] onto [origin, origin + length]. An empty range
// is mapped as the unit range centred on it, so that a and b stay finite.
struct AxisCoefficients {
    float a;
    float b;
};
AxisCoefficients axisCoefficients(float lo, float hi, float origin, float length);

// value = (view - b) / a; the lower bound `fallback` when a is 0 or not finite.
float valueFromView(float view, AxisCoefficients c, float fallback);

// Step for about n ticks over [lo, hi]: the first of 10p, 8p, 5p, 4p, 2p, p (p the power
// of ten below the raw step) not above the raw step, else 0.1p. None when no usable
// step exists (empty or reversed range, n of 1 or below).
std::optional<float> linearTickStep(float lo, float hi, int n);
// In decades: (hi - lo) / (n - 1), at least 1. None when n is 1 or below.
std::optional<float> logTickStep(float lo, float hi, int n);
// floor(lo / step) * step, moved up one step when that lies below lo.
float firstTick(float lo, float step);

// Tick values first, first + step, ... while <= hi (summed in single precision), plus the
// value the loop stopped at when it lies within 0.001 of hi relative to hi. The list is
// bounded (kMaxTicks) and stops when adding the step no longer changes the value.
constexpr int kMaxTicks = 1000;
std::vector<float> tickValues(float first, float step, float hi);

// The tick step doubled while ticks that far apart are closer than `room` view units
// (a * step < room). None when the axis has no positive scale.
std::optional<float> labelStep(float step, float a, float room);

// The text of a tick label: on a linear axis the value with `digits` decimals ("%.*f"),
// on a logarithmic axis 10 to the power of the value ("%g": 0.1, 1, 1000, 1e+06). A value
// summed to just below zero is labelled as zero, without a minus sign.
std::string tickLabelText(float value, bool logarithmic, int digits);

// Default-range widening of adjustXYRange: the lower bound a whole step below
// trunc(value) div trunc(step), the upper bound a step above. A step whose integer part
// is 0 leaves the value as given.
float widenedLowerBound(float value, float step);
float widenedUpperBound(float value, float step);

} // namespace quorvel
