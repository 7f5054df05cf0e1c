#include "thermo/Peng.h"

#include <cstdio>

namespace quorvel {

Peng::Peng(short type)
{
    phase_type = type;
    omega_a = 0.45724;
    omega_b = 0.0778;
    critical_compressibility = 1.0 / 3.0;
    lambda = 0.6931471805599453;
    m0 = 0.37464;
    m1 = 1.54226;
    m2 = -0.26992;
    delta1 = 0.41421356237309515;
    delta2 = -1 / delta1;
}

void Peng::read_component_data(short i, const std::string& name)
{
    set_classic_parameters(i);
    if (slope[i] < 0)
        std::fprintf(stderr, "Slope %f of component %d (%s) below 0 (omega = %lf)\n", slope[i], i,
                     name.c_str(), acentric_factor[i]);
    if (i == component_count - 1)
        read_BIP();
}

}  // namespace quorvel
