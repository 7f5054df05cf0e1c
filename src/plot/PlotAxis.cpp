#include "plot/PlotAxis.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdint>
#include <limits>

namespace quorvel {

DecadeRange decadesEnclosing(float min, float max)
{
    const float lo = min > 0 ? static_cast<float>(std::floor(std::log10(static_cast<double>(min)))) : -2.0f;
    const float hi = max > 0 ? static_cast<float>(std::ceil(std::log10(static_cast<double>(max)))) : -1.0f;
    return {lo, hi};
}

AxisCoefficients axisCoefficients(float lo, float hi, float origin, float length)
{
    if (!(hi - lo != 0.0f) || !std::isfinite(hi - lo)) {
        lo -= 0.5f;
        hi = lo + 1.0f;
    }
    const float a = length / (hi - lo);
    const float b = origin - (lo * length) / (hi - lo);
    return {a, b};
}

float valueFromView(float view, AxisCoefficients c, float fallback)
{
    if (c.a == 0.0f || !std::isfinite(c.a))
        return fallback;
    return (view - c.b) / c.a;
}

std::optional<float> linearTickStep(float lo, float hi, int n)
{
    const float raw = (hi - lo) / static_cast<float>(n - 1);
    if (n <= 1 || !(raw > 0.0f) || !std::isfinite(raw))
        return std::nullopt;
    const float p = static_cast<float>(std::pow(10.0, std::floor(std::log10(static_cast<double>(raw)))));
    for (const float multiplier : {10.0f, 8.0f, 5.0f, 4.0f, 2.0f, 1.0f})
        if (multiplier * p <= raw)
            return multiplier * p;
    return 0.1f * p;
}

std::optional<float> logTickStep(float lo, float hi, int n)
{
    if (n <= 1)
        return std::nullopt;
    const float step = (hi - lo) / static_cast<float>(n - 1);
    if (std::isnan(step))
        return std::nullopt;
    return step <= 1.0f ? 1.0f : step;
}

float firstTick(float lo, float step)
{
    float first = std::floor(lo / step) * step;
    if (first < lo)
        first += step;
    return first;
}

std::vector<float> tickValues(float first, float step, float hi)
{
    std::vector<float> ticks;
    if (!(step > 0.0f) || !std::isfinite(first))
        return ticks;
    float v = first;
    while (v <= hi && static_cast<int>(ticks.size()) < kMaxTicks) {
        ticks.push_back(v);
        const float next = v + step;
        if (next == v)
            return ticks; // the step is lost in single precision
        v = next;
    }
    // A last tick pushed just past hi by rounding is still drawn.
    if (static_cast<int>(ticks.size()) < kMaxTicks && std::fabs(v - hi) < 0.001f * std::fabs(hi))
        ticks.push_back(v);
    return ticks;
}

std::optional<float> labelStep(float step, float a, float room)
{
    if (!(a > 0.0f) || !std::isfinite(a) || !(step > 0.0f))
        return std::nullopt;
    while (a * step < room && std::isfinite(step))
        step *= 2.0f;
    return step;
}

namespace {
template <class... Args>
std::string printed(const char* format, Args... args)
{
    std::string text(static_cast<std::size_t>(std::max(0, std::snprintf(nullptr, 0, format, args...))), '\0');
    std::snprintf(text.data(), text.size() + 1, format, args...);
    return text;
}
} // namespace

std::string tickLabelText(float value, bool logarithmic, int digits)
{
    if (logarithmic)
        return printed("%g", std::pow(10.0, static_cast<double>(value)));
    std::string label = printed("%.*f", digits, static_cast<double>(value));
    if (label.starts_with('-') && label.find_first_not_of("0.", 1) == std::string::npos)
        label.erase(0, 1); // "-0.000"
    return label;
}

namespace {
// trunc toward zero into a 32-bit integer, saturating outside its range.
std::int32_t truncToInt(float value)
{
    if (std::isnan(value))
        return 0;
    const double t = std::trunc(static_cast<double>(value));
    if (t >= static_cast<double>(std::numeric_limits<std::int32_t>::max()))
        return std::numeric_limits<std::int32_t>::max();
    if (t <= static_cast<double>(std::numeric_limits<std::int32_t>::min()))
        return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(t);
}
} // namespace

float widenedLowerBound(float value, float step)
{
    const std::int32_t divisor = truncToInt(step);
    if (divisor == 0)
        return value;
    return static_cast<float>(std::int64_t{truncToInt(value)} / divisor - 1) * step;
}

float widenedUpperBound(float value, float step)
{
    const std::int32_t divisor = truncToInt(step);
    if (divisor == 0)
        return value;
    return static_cast<float>(std::int64_t{truncToInt(value)} / divisor + 1) * step;
}

} // namespace quorvel
