#include "thermo/Peng.h"

#include <cstdio>

namespace quorvel {

Peng::Peng(phase_kind type)
{
    phase_type = type;
    set_equation_constants(peng_robinson_constants);
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
