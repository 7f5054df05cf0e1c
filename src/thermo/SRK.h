#pragma once

#include "thermo/ClaCubic0.h"

namespace quorvel {

// Soave-Redlich-Kwong equation of state on component data stored by the caller.
class SRK : public ClaCubic0 {
public:
    explicit SRK(phase_kind type);

    void read_component_data(short i, const std::string& name) override;
};

}  // namespace quorvel
