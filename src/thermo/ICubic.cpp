#include "thermo/ICubic.h"

#include "numeric/Degree3.h"
#include "numeric/VectorKernel.h"
#include "thermo/RowSums.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace quorvel {

namespace {
constexpr double R = gas_constant;
constexpr double not_a_number = std::numeric_limits<double>::quiet_NaN();
}  // namespace

ICubic::ICubic()
    : FluidPhase(0, phase_kind::unset)
{
}

void ICubic::number_of_components(short n)
{
    for (auto* v : {&a_dn, &b_dn, &a_dt_dn, &a_dt_over_b_dn, &a_over_b_dn, &eos_partial_molar_volume,
                    &shift_constant, &shift_slope, &shift, &excess_term, &excess_term_dt, &ln_gamma,
                    &ln_gamma_dt, &ln_phi, &mean_term_dn})
        v->assign(n, 0.0);
    for (auto* m : {&a_over_b_dn2, &a_ij, &b_ij, &a_over_b_ij, &a_ij_dt,
                    &a_ij_dt_over_b_ij, &a_ij_dt2})
        *m = Matrix(n, n);
}

void ICubic::calculate_parameters_of_pure_components() {}

void ICubic::calculate_mixing_parameters() {}

double ICubic::equation(double T, void*)
{
    temperature(T);
    calculate_parameters_of_pure_components();
    calculate_mixing_parameters();
    return a_mix / (b_mix * T) - R * omega_a / omega_b;
}

void ICubic::describe()
{
    calculate_parameters_of_pure_components();
    calculate_mixing_parameters();
    if (resolve_cubic_equation_in_Z())
        calculate_fugacities();
    mixture_molar_weight = calculate_molar_weight();
    density = mixture_molar_weight * 1e-6 / molar_volume;  // g/cm3
}

void ICubic::calculate_molar_volume()
{
    calculate_parameters_of_pure_components();
    calculate_mixing_parameters();
    resolve_cubic_equation_in_Z();
    mixture_molar_weight = calculate_molar_weight();
    density = mixture_molar_weight * 0.001 / molar_volume;  // kg/m3
}

ICubic::PressureSlopes ICubic::pressure_slopes(double v_e) const
{
    const double RT = R * temperature_k;
    const double b = b_mix;
    const double v1 = v_e - delta1 * b;
    const double v2 = v_e - delta2 * b;
    const double D = v1 * v2;
    const double repulsive = RT / ((v_e - b) * (v_e - b));
    return {
        -repulsive + (a_mix / D) * (1 / v1 + 1 / v2),
        -1 / D,
        repulsive - (a_mix / D) * (delta1 / v1 + delta2 / v2),
    };
}

bool ICubic::resolve_cubic_equation_in_Z()
{
    const double T = temperature_k;
    const double P = pressure_pa;
    // The equation has roots of any sign; only a positive pressure gives a phase.
    if (!(P > 0)) {
        report_volume_failure();
        return false;
    }
    const double A = a_mix * P / (R * R * T * T);
    const double B = b_mix * P / (R * T);
    const double sum = delta1 + delta2;
    const double product = delta1 * delta2;
    const std::array<double, 4> c = {
        -product * B * B * (1 + B) - A * B,
        A + sum * B + (product + sum) * B * B,
        -1 - (sum + 1) * B,
        1,
    };
    std::array<double, 3> roots{};
    int root_count = 0;
    degree3(c, root_count, roots);

    std::array<double, 3> kept{};
    int kept_count = 0;
    for (int k = 0; k < root_count; ++k)
        if (roots[k] > B)
            kept[kept_count++] = roots[k];

    pseudo_critical_volume = critical_compressibility * b_mix / omega_b;
    if (kept_count == 0) {
        report_volume_failure();
        return false;
    }
    if (kept_count == 1) {
        // The one root serves whatever the phase type: the type is the model's role, given
        // by its creator, and no state may change it for the calculations that follow.
        compressibility_factor = kept[0];
    } else if (phase_type == phase_kind::vapour) {
        compressibility_factor = *std::max_element(kept.begin(), kept.begin() + kept_count);
    } else if (phase_type == phase_kind::liquid) {
        compressibility_factor = *std::min_element(kept.begin(), kept.begin() + kept_count);
    }
    const double v_e = compressibility_factor * R * T / P;
    if (!std::isfinite(v_e)) {
        report_volume_failure();
        return false;
    }
    volume_failure = false;

    const PressureSlopes slopes = pressure_slopes(v_e);
    dp_dv = slopes.dp_dv;
    dv_dt = -(R / (v_e - b_mix) + a_mix_dt * slopes.dp_da) / dp_dv;
    dv_dp = 1 / dp_dv;
    for (short i = 0; i < component_count; ++i) {
        eos_partial_molar_volume[i] = -(a_dn[i] * slopes.dp_da + b_dn[i] * slopes.dp_db) / dp_dv;
        partial_molar_volume[i] = eos_partial_molar_volume[i] - shift[i];
    }
    eos_volume = v_e;
    eos_dv_dt = dv_dt;
    eos_dv_dp = dv_dp;
    molar_volume = v_e - c_mix;
    dv_dt = eos_dv_dt - c_mix_dt;
    return true;
}

void ICubic::report_volume_failure()
{
    volume_failure = true;
    compressibility_factor = not_a_number;
    eos_volume = molar_volume = not_a_number;
    eos_dv_dt = eos_dv_dp = dv_dt = dv_dp = dp_dv = not_a_number;
    std::fill(partial_molar_volume.begin(), partial_molar_volume.end(), not_a_number);
    std::fill(eos_partial_molar_volume.begin(), eos_partial_molar_volume.end(), not_a_number);
    for (auto* v : {&ln_phi, &fugacity, &fugacity_dt, &fugacity_dp})
        std::fill(v->begin(), v->end(), not_a_number);
    fugacity_dn.fill(not_a_number);
}

double ICubic::aMixDt2() const
{
    double sum = 0;
    for (short i = 0; i < component_count; ++i)
        for (short j = 0; j < component_count; ++j)
            sum += mole_fraction[i] * mole_fraction[j] * a_ij_dt2[i][j];
    return sum;
}

void ICubic::calculate_pressure()
{
    calculate_parameters_of_pure_components();
    calculate_mixing_parameters();
    const double RT = R * temperature_k;
    const double v_e = molar_volume + c_mix;
    const double P = RT / (v_e - b_mix) - a_mix / ((v_e - delta1 * b_mix) * (v_e - delta2 * b_mix));
    pressure_pa = P;
    eos_volume = v_e;
    compressibility_factor = P * v_e / RT;
    dp_dv = pressure_slopes(v_e).dp_dv;
}

void ICubic::calculate_fugacities()
{
    fugacities_with_derivatives();
}

QUORVEL_VECTOR_KERNEL
void ICubic::fugacities_with_derivatives()
{
    const short n = component_count;
    const std::vector<double>& x = mole_fraction;
    const double T = temperature_k;
    const double P = pressure_pa;
    const double RT = R * T;
    const double b = b_mix;
    const double v = eos_volume;
    const double Z = P * v / RT;
    const double v1 = v - delta1 * b;
    const double v2 = v - delta2 * b;
    const double L = std::log(v1 / v2) / (delta1 - delta2);
    const double scale = lambda / RT;

    // Excess functions implied by the mixing rule.
    double sum_a_over_b = 0;
    double sum_a_over_b_dt = 0;
    for (short i = 0; i < n; ++i) {
        sum_a_over_b += x[i] * a_over_b_ij[i][i];
        sum_a_over_b_dt += x[i] * (a_ij_dt_over_b_ij[i][i] - a_over_b_ij[i][i] / T);
    }
    excess_gibbs = (sum_a_over_b - a_over_b) * scale;
    excess_gibbs_dt = scale * (sum_a_over_b_dt - (a_dt_over_b - a_over_b / T));
    for (short i = 0; i < n; ++i) {
        excess_term[i] = (a_over_b_ij[i][i] - a_over_b_dn[i]) * scale;
        excess_term_dt[i] = (a_over_b_dn[i] / T - a_dt_over_b_dn[i] + a_ij_dt_over_b_ij[i][i]
                             - a_over_b_ij[i][i] / T) * scale;
    }

    // Activity terms.
    double mean_term = 0;
    double mean_term_dt = 0;
    for (short k = 0; k < n; ++k) {
        mean_term += x[k] * excess_term[k];
        mean_term_dt += x[k] * excess_term_dt[k];
    }
    for (short i = 0; i < n; ++i) {
        ln_gamma[i] = excess_gibbs + excess_term[i] - mean_term;
        ln_gamma_dt[i] = excess_gibbs_dt + excess_term_dt[i] - mean_term_dt;
    }
    // sum_k x_k d(excess_term_k)/dn_j, by rows so that the inner loop runs along memory; the
    // composition derivatives of the excess and activity terms are worked out with the
    // fugacities' below.
    double* __restrict mean_dn = mean_term_dn.data();  // apart from the matrices: no checks
    if (composition_derivatives)
        weighted_row_sums(mean_dn, a_over_b_dn2, x.data(), n);
    else
        std::fill_n(mean_dn, n, 0.0);
    for (short j = 0; j < n; ++j)
        mean_dn[j] *= -scale;

    // Fugacities and their derivatives.
    const double dL_dv = (1 / v1 - 1 / v2) / (delta1 - delta2);
    const double dL_db = (-delta1 / v1 + delta2 / v2) / (delta1 - delta2);
    const double repulsive_dn = (Z - 1) / b;
    const double attractive_dn = L / lambda;
    const double ln_residual_volume = std::log(P * (v - b) / RT);
    const double* __restrict partial_volume = eos_partial_molar_volume.data();
    const double* __restrict b_derivative = b_dn.data();
    for (short i = 0; i < n; ++i) {
        const double a_ii = a_ij[i][i];
        const double b_ii = b_ij[i][i];
        const double bb = b_dn[i] / b - 1;
        const double alpha = a_ii / (b_ii * RT) - ln_gamma[i] / lambda;
        ln_phi[i] = bb * (Z - 1) - ln_residual_volume + alpha * L - shift[i] * P / RT;
        const double phi_p = P * std::exp(ln_phi[i]);
        fugacity[i] = x[i] * phi_p;

        // Partial derivatives of ln phi_i with T, P, v_e and b held in turn.
        const double at_T = bb * (-Z / T) + 1 / T - a_ii / (b_ii * R * T * T) * L
                            - shift_slope[i] * P / RT + shift[i] * P / (R * T * T);
        const double at_P = bb * v / RT - 1 / P - shift[i] / RT;
        const double at_v = bb * P / RT - 1 / (v - b) + alpha * dL_dv;
        const double at_b = -(b_dn[i] / (b * b)) * (Z - 1) + 1 / (v - b) + alpha * dL_db;

        const double dln_phi_dt = at_T + eos_dv_dt * at_v
                                  + (a_ij_dt[i][i] / (b_ii * RT) - ln_gamma_dt[i] / lambda) * L;
        const double dln_phi_dp = at_P + eos_dv_dp * at_v;
        fugacity_dt[i] = fugacity[i] * dln_phi_dt;
        fugacity_dp[i] = fugacity[i] * (1 / P + dln_phi_dp);
        if (!composition_derivatives)
            continue;
        const double f = fugacity[i];
        const double* __restrict b_row = b_ij[i];  // d2b/dn_i dn_j = 2 b_ij
        const double* __restrict a_over_b_row = a_over_b_dn2[i];
        double* __restrict row = fugacity_dn[i];
        for (short j = 0; j < n; ++j) {
            const double excess_dn = -a_over_b_row[j] * scale;
            const double ln_gamma_dn = excess_dn - mean_dn[j];
            row[j] = f * (partial_volume[j] * at_v + b_derivative[j] * at_b + 2 * b_row[j] * repulsive_dn
                          - ln_gamma_dn * attractive_dn);
        }
        row[i] += phi_p;
    }
}

}  // namespace quorvel
