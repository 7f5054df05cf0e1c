#include "thermo/Clapeyron.h"

#include <cmath>

namespace quorvel {

void Clapeyron::set_constants(double t1_, double p1_, double t2_, double p2_)
{
    t1 = t1_;
    p1 = p1_;
    t2 = t2_;
    p2 = p2_;
}

double Clapeyron::Psat(double T)
{
    return p2 * std::exp(std::log(p1 / p2) * (1 / T - 1 / t2) / (1 / t1 - 1 / t2));
}

double Clapeyron::Tsat(double P)
{
    return 1 / (1 / t2 + (1 / t1 - 1 / t2) * std::log(P / p2) / std::log(p1 / p2));
}

}  // namespace quorvel
