#include "thermo/Antoine.h"

#include <algorithm>
#include <cmath>

namespace quorvel {

namespace {
constexpr double pascal_per_mmhg = 101325.0 / 760.0;
constexpr double celsius_zero = 273.15;
}  // namespace

void Antoine::set_constants(double a_, double b_, double c_)
{
    a = a_;
    b = b_;
    c = c_;
}

double Antoine::Psat(double T)
{
    const double t = T - celsius_zero;
    if (c + t < 0)
        return 1e-20;
    // Clamped so that far outside its range the correlation stays finite and positive.
    const double y = std::clamp(std::log(10.0) * (a - b / (c + t)), -100.0, 500.0);
    return std::exp(y) * pascal_per_mmhg;
}

double Antoine::Tsat(double P)
{
    const double t = b / (a - std::log10(P / pascal_per_mmhg)) - c;
    return t + celsius_zero;
}

}  // namespace quorvel
