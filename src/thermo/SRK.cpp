#include "thermo/SRK.h"

namespace quorvel {

namespace {

constexpr ClassicCubicConstants srk_constants = {
    .omega_a = 0.427480234,
    .omega_b = 0.08664035,  // (2^(1/3) - 1) / 3
    .critical_compressibility = 1.0 / 3.0,
    .lambda = 0.6931471805599453,
    .m0 = 0.48,
    .m1 = 1.574,
    .m2 = -0.176,
    .delta1 = 0,
    .delta2 = -1,
};

}  // namespace

SRK::SRK(phase_kind type)
{
    phase_type = type;
    set_equation_constants(srk_constants);
}

void SRK::read_component_data(short i, const std::string&)
{
    set_classic_parameters(i);
    if (i == component_count - 1)
        read_BIP();
}

}  // namespace quorvel
