#pragma once

#include "thermo/ClaCubic0.h"

namespace quorvel {

// Peng-Robinson equation of state on component data stored by the caller.
class Peng : public ClaCubic0 {
public:
    explicit Peng(short type);

    void read_component_data(short i, const std::string& name) override;
};

}  // namespace quorvel
