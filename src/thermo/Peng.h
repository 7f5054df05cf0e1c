#pragma once

#include "thermo/ClaCubic0.h"

namespace quorvel {

// The constants of the Peng-Robinson equation (also used by Montel).
inline constexpr ClassicCubicConstants peng_robinson_constants = {
    .omega_a = 0.45724,
    .omega_b = 0.0778,
    .critical_compressibility = 1.0 / 3.0,
    .lambda = 0.6931471805599453,
    .m0 = 0.37464,
    .m1 = 1.54226,
    .m2 = -0.26992,
    .delta1 = 0.41421356237309515,  // sqrt(2) - 1
    .delta2 = -1 / 0.41421356237309515,
};

// Peng-Robinson equation of state on component data stored by the caller.
class Peng : public ClaCubic0 {
public:
    explicit Peng(phase_kind type);

    void read_component_data(short i, const std::string& name) override;
};

}  // namespace quorvel
