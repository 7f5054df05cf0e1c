#include "thermo/Peng.h"

#include <cstdio>

namespace quorvel {

void set_peng_robinson_constants(ClaCubic0& phase)
{
    phase.omega_a = 0.45724;
    phase.omega_b = 0.0778;
    phase.critical_compressibility = 1.0 / 3.0;
    phase.lambda = 0.6931471805599453;
    phase.m0 = 0.37464;
    phase.m1 = 1.54226;
    phase.m2 = -0.26992;
    phase.delta1 = 0.41421356237309515;  // sqrt(2) - 1
    phase.delta2 = -1 / phase.delta1;
}

Peng::Peng(phase_kind type)
{
    phase_type = type;
    set_peng_robinson_constants(*this);
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
