#pragma once

#include "thermo/ICubic.h"

namespace quorvel {

// One-fluid quadratic mixing rule with binary interaction coefficients on a and on b.
class QuadraMix : public ICubic {
public:
    QuadraMix() = default;

    // Sizes kaij and kbij only (not the lower levels).
    void number_of_components(short n) override;
    void calculate_mixing_parameters() override;

    // Store k at (i, j) and (j, i).
    void set_binary_interaction_kaij(short i, short j, double k);
    void set_binary_interaction_kbij(short i, short j, double k);

    Matrix kaij;
    Matrix kbij;
};

}  // namespace quorvel
