#include "thermo/QuadraMix.h"

#include "numeric/VectorKernel.h"
#include "thermo/RowSums.h"

#include <algorithm>

namespace quorvel {

namespace {

// Stores k at (i, j) and (j, i); true when that changed the matrix.
bool store_symmetric(Matrix& m, short i, short j, double k)
{
    if (m[i][j] == k && m[j][i] == k)
        return false;
    m[j][i] = k;
    m[i][j] = k;
    return true;
}

}  // namespace

void QuadraMix::number_of_components(short n)
{
    kaij_ = Matrix(n, n);
    kbij_ = Matrix(n, n);
    ++revision;
}

void QuadraMix::set_binary_interaction_kaij(short i, short j, double k)
{
    if (store_symmetric(kaij_, i, j, k))
        ++revision;
}

void QuadraMix::set_binary_interaction_kbij(short i, short j, double k)
{
    if (store_symmetric(kbij_, i, j, k))
        ++revision;
}

// a = sum_ij x_i x_j a_ij is sum_i x_i (da/dn_i) / 2 with da/dn_i = 2 sum_j x_j a_ij (a_ij
// symmetric): one pass of row sums gives the mixture's parameters and their derivatives.
void QuadraMix::calculate_mixing_parameters()
{
    mix_by_row_sums();
}

QUORVEL_VECTOR_KERNEL
void QuadraMix::mix_by_row_sums()
{
    const short n = component_count;
    const double* x = mole_fraction.data();
    SumsOverRows& s = sums_over_rows;
    if (int(s.a.size()) != n)
        for (auto* v : {&s.a, &s.b, &s.a_dt})
            v->assign(n, 0.0);
    // sum_j x_j a_ij for every i at once, adding row j's x_j a_ji = x_j a_ij in the order of
    // j: the same sums as along each row, in a loop along memory over i.
    weighted_row_sums(s.a.data(), a_ij, x, n);
    weighted_row_sums(s.b.data(), b_ij, x, n);
    weighted_row_sums(s.a_dt.data(), a_ij_dt, x, n);
    // Local sums: the members could alias the arrays in the compiler's eyes.
    double a_sum = 0, a_dt_sum = 0, b_sum = 0, c_sum = 0, c_dt_sum = 0;
    for (short i = 0; i < n; ++i) {
        c_sum += x[i] * shift[i];
        c_dt_sum += x[i] * shift_slope[i];
        a_dn[i] = 2 * s.a[i];
        b_dn[i] = 2 * s.b[i];
        a_dt_dn[i] = 2 * s.a_dt[i];
        a_sum += x[i] * s.a[i];
        b_sum += x[i] * s.b[i];
        a_dt_sum += x[i] * s.a_dt[i];
    }
    a_mix = a_sum;
    a_mix_dt = a_dt_sum;
    b_mix = b_sum;
    c_mix = c_sum;
    c_mix_dt = c_dt_sum;
    const double b = b_mix;
    const double a = a_mix;
    const double b2 = b * b;
    a_over_b = a / b;
    a_dt_over_b = a_mix_dt / b;
    for (short i = 0; i < n; ++i) {
        a_over_b_dn[i] = a_dn[i] / b - a * b_dn[i] / b2;
        a_dt_over_b_dn[i] = a_dt_dn[i] / b - a_mix_dt * b_dn[i] / b2;
    }
    if (composition_derivatives)
        calculate_second_derivatives();
}

// d2(a/b)/dn_i dn_j, whole rows along memory. Each term is written symmetric in i and j (the
// product b_dn_i b_dn_j taken first), so the matrix is symmetric to the bit. The second
// derivatives of a and b are 2 a_ij and 2 b_ij.
QUORVEL_VECTOR_KERNEL
void QuadraMix::calculate_second_derivatives()
{
    const short n = component_count;
    const double a = a_mix;
    const double b = b_mix;
    // Second derivatives enter only the Jacobians: products with 1/b^k are exact enough.
    const double inv_b = 1 / b;
    const double inv_b2 = 1 / (b * b);
    const double curvature = 2 * a / (b * b * b);
    for (short i = 0; i < n; ++i) {
        const double a_dn_i = a_dn[i];
        const double b_dn_i = b_dn[i];
        const double* a_row = a_ij[i];
        const double* b_row = b_ij[i];
        double* row = a_over_b_dn2[i];
        for (short j = 0; j < n; ++j)
            row[j] = 2 * a_row[j] * inv_b - (a_dn_i * b_dn[j] + a_dn[j] * b_dn_i) * inv_b2
                     + curvature * (b_dn_i * b_dn[j]) - a * (2 * b_row[j]) * inv_b2;
    }
}

}  // namespace quorvel
