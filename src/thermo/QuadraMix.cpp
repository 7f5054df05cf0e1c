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
    const std::vector<double>& x = mole_fraction;
    a_mix = a_mix_dt = a_mix_dt2 = b_mix = c_mix = c_mix_dt = 0;
    for (short i = 0; i < n; ++i) {
        a_dn[i] = b_dn[i] = a_dt_dn[i] = 0;
        c_mix += x[i] * shift[i];
        c_mix_dt += x[i] * shift_slope[i];
        for (short j = 0; j < n; ++j) {
            const double xx = x[i] * x[j];
            b_mix += xx * b_ij[i][j];
            b_dn2[i][j] = 2 * b_ij[i][j];
            b_dn[i] += 2 * x[j] * b_ij[i][j];
            a_mix += xx * a_ij[i][j];
            a_dn[i] += 2 * x[j] * a_ij[i][j];
            a_dn2[i][j] = 2 * a_ij[i][j];
            a_dt_dn[i] += 2 * x[j] * a_ij_dt[i][j];
            a_mix_dt += xx * a_ij_dt[i][j];
            a_mix_dt2 += xx * a_ij_dt2[i][j];
        }
    }
    const double b = b_mix;
    a_over_b = a_mix / b;
    a_dt_over_b = a_mix_dt / b;
    for (short i = 0; i < n; ++i) {
        a_over_b_dn[i] = a_dn[i] / b - a_mix * b_dn[i] / (b * b);
        a_dt_over_b_dn[i] = a_dt_dn[i] / b - a_mix_dt * b_dn[i] / (b * b);
        for (short j = 0; j < n; ++j)
            a_over_b_dn2[i][j] = a_dn2[i][j] / b - (a_dn[i] * b_dn[j] + a_dn[j] * b_dn[i]) / (b * b)
                                 + 2 * a_mix * b_dn[i] * b_dn[j] / (b * b * b)
                                 - a_mix * b_dn2[i][j] / (b * b);
    }
}

}  // namespace quorvel
