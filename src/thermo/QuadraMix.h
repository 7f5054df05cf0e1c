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

    const Matrix& kaij() const { return kaij_; }
    const Matrix& kbij() const { return kbij_; }

protected:
    // Counts the changes of the coefficients: what was worked out of them is current while
    // the count is the one it was worked out at.
    unsigned long interaction_revision() const { return revision; }

private:
    // The body of calculate_mixing_parameters, which as a virtual function cannot have
    // processor-specific forms.
    void mix_by_row_sums();
    void calculate_second_derivatives();

    // Scratch of calculate_mixing_parameters: sum_j x_j m_ij of each parameter matrix m.
    struct SumsOverRows {
        std::vector<double> a, b, a_dt;
    };
    SumsOverRows sums_over_rows;
    Matrix kaij_;
    Matrix kbij_;
    unsigned long revision = 0;
};

}  // namespace quorvel
