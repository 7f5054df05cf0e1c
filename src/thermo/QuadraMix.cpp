#include "thermo/QuadraMix.h"

namespace quorvel {

void QuadraMix::number_of_components(short n)
{
    kaij = Matrix(n, n);
    kbij = Matrix(n, n);
}

void QuadraMix::set_binary_interaction_kaij(short i, short j, double k)
{
    kaij[j][i] = k;
    kaij[i][j] = k;
}

void QuadraMix::set_binary_interaction_kbij(short i, short j, double k)
{
    kbij[j][i] = k;
    kbij[i][j] = k;
}

void QuadraMix::calculate_mixing_parameters()
{
    const short n = component_count;
    const double* x = mole_fraction.data();
    a_mix = a_mix_dt = a_mix_dt2 = b_mix = c_mix = c_mix_dt = 0;
    for (short i = 0; i < n; ++i) {
        c_mix += x[i] * shift[i];
        c_mix_dt += x[i] * shift_slope[i];
        // Row sums sum_j x_j q_ij of the four pair parameters.
        const double* a_row = a_ij[i];
        const double* b_row = b_ij[i];
        const double* a_dt_row = a_ij_dt[i];
        const double* a_dt2_row = a_ij_dt2[i];
        double a_sum = 0, b_sum = 0, a_dt_sum = 0, a_dt2_sum = 0;
        for (short j = 0; j < n; ++j) {
            a_sum += x[j] * a_row[j];
            b_sum += x[j] * b_row[j];
            a_dt_sum += x[j] * a_dt_row[j];
            a_dt2_sum += x[j] * a_dt2_row[j];
        }
        a_dn[i] = 2 * a_sum;
        b_dn[i] = 2 * b_sum;
        a_dt_dn[i] = 2 * a_dt_sum;
        a_mix += x[i] * a_sum;
        b_mix += x[i] * b_sum;
        a_mix_dt += x[i] * a_dt_sum;
        a_mix_dt2 += x[i] * a_dt2_sum;
        double* a_dn2_row = a_dn2[i];
        double* b_dn2_row = b_dn2[i];
        for (short j = 0; j < n; ++j) {
            a_dn2_row[j] = 2 * a_row[j];
            b_dn2_row[j] = 2 * b_row[j];
        }
    }
    const double b = b_mix;
    const double a = a_mix;
    a_over_b = a / b;
    a_dt_over_b = a_mix_dt / b;
    // Multiplications by the inverse powers of b in the n x n loop.
    const double inv_b = 1 / b;
    const double inv_b2 = inv_b * inv_b;
    for (short i = 0; i < n; ++i) {
        a_over_b_dn[i] = a_dn[i] * inv_b - a * b_dn[i] * inv_b2;
        a_dt_over_b_dn[i] = a_dt_dn[i] * inv_b - a_mix_dt * b_dn[i] * inv_b2;
        const double a_dn_i = a_dn[i];
        const double b_dn_i = b_dn[i];
        const double cross_b = 2 * a * b_dn_i * inv_b2 * inv_b;
        const double* a_dn2_row = a_dn2[i];
        const double* b_dn2_row = b_dn2[i];
        double* row = a_over_b_dn2[i];
        for (short j = 0; j < n; ++j)
            row[j] = a_dn2_row[j] * inv_b - (a_dn_i * b_dn[j] + a_dn[j] * b_dn_i) * inv_b2
                     + cross_b * b_dn[j] - a * b_dn2_row[j] * inv_b2;
    }
}

}  // namespace quorvel
