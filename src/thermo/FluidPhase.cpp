#include "thermo/FluidPhase.h"

namespace quorvel {

FluidPhase::FluidPhase(short, phase_kind type)
{
    phase_type = type;
}

void FluidPhase::number_of_components(short n)
{
    Phase::number_of_components(n);
    partial_molar_volume.assign(n, 0.0);
}

void FluidPhase::describe()
{
    calculate_molar_volume();
    calculate_fugacities();
}

void FluidPhase::calculate_fixed_parameters() {}

void FluidPhase::calculate_pressure() {}

void FluidPhase::calculate_fugacities() {}

}  // namespace quorvel
