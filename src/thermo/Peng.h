#pragma once

#include "thermo/ClaCubic0.h"

namespace quorvel {

// Sets the constants of the Peng-Robinson equation on a phase model (also used by Montel).
void set_peng_robinson_constants(ClaCubic0& phase);

// Peng-Robinson equation of state on component data stored by the caller.
class Peng : public ClaCubic0 {
public:
    explicit Peng(phase_kind type);

    void read_component_data(short i, const std::string& name) override;
};

}  // namespace quorvel
