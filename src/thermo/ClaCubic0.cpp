#include "thermo/ClaCubic0.h"

#include <cmath>

namespace quorvel {

namespace {
constexpr double R = gas_constant;

// Components left out of the generalised correlation.
bool is_inorganic(const std::string& name)
{
    return name == "CO2" || name == "N2" || name == "H2S" || name == "H2O";
}
}  // namespace

void ClaCubic0::number_of_components(short n)
{
    FluidPhase::number_of_components(n);
    ICubic::number_of_components(n);
    QuadraMix::number_of_components(n);
    for (auto* v : {&critical_temperature, &critical_pressure, &critical_volume, &acentric_factor,
                    &slope, &a_critical, &b_pure, &given_slope})
        v->assign(n, 0.0);
    slope_is_given.assign(n, 0);
}

void ClaCubic0::read_BIP()
{
    for (short i = 0; i < component_count; ++i) {
        for (short j = 0; j < i; ++j) {
            double k = 0;
            if (!is_inorganic(component_name[i]) && !is_inorganic(component_name[j])
                && molar_weight[i] <= 160 && molar_weight[j] <= 160) {
                const double tc_i = critical_temperature[i];
                const double tc_j = critical_temperature[j];
                const double zc_i = critical_pressure[i] * critical_volume[i] / (R * tc_i);
                const double zc_j = critical_pressure[j] * critical_volume[j] / (R * tc_j);
                k = 1 - std::pow(2 * std::sqrt(tc_i * tc_j) / (tc_i + tc_j), (zc_i + zc_j) / 2);
            }
            set_binary_interaction_kaij(i, j, k);
        }
    }
}

double ClaCubic0::polynomial_slope(short i) const
{
    const double w = acentric_factor[i];
    return m0 + m1 * w + m2 * w * w;
}

void ClaCubic0::set_classic_parameters(short i)
{
    const double tc = critical_temperature[i];
    const double pc = critical_pressure[i];
    slope[i] = polynomial_slope(i);
    a_critical[i] = omega_a * R * R * tc * tc / pc;
    b_pure[i] = omega_b * R * tc / pc;
    shift_constant[i] = 0;
    shift_slope[i] = 0;
}

void ClaCubic0::calculate_parameters_of_pure_components()
{
    read_BIP();
    const short n = component_count;
    const double T = temperature_k;
    for (short i = 0; i < n; ++i) {
        const double tc = critical_temperature[i];
        const double pc = critical_pressure[i];
        const double m = slope_is_given[i] != 0 ? given_slope[i] : polynomial_slope(i);
        slope[i] = m;
        a_critical[i] = omega_a * R * R * tc * tc / pc;
        b_pure[i] = omega_b * R * tc / pc;

        // Soave alpha function and its first two temperature derivatives.
        const double root = std::sqrt(T * tc);
        const double s = 1 + m * (1 - std::sqrt(T / tc));
        const double alpha = s * s;
        const double alpha_dt = -m * s / root;
        const double alpha_dt2 = m * s * (1 / T - alpha_dt / (s * s)) / (2 * root);

        const double ka = 1 - kaij[i][i];
        a_ij[i][i] = a_critical[i] * alpha * ka;
        a_ij_dt[i][i] = a_critical[i] * alpha_dt * ka;
        a_ij_dt2[i][i] = a_critical[i] * alpha_dt2 * ka;
        b_ij[i][i] = b_pure[i] * (1 - kbij[i][i]);
        a_over_b_ij[i][i] = a_ij[i][i] / b_ij[i][i];
        a_ij_dt_over_b_ij[i][i] = a_ij_dt[i][i] / b_ij[i][i];
        shift[i] = shift_constant[i] + shift_slope[i] * T;
    }
    for (short i = 0; i < n; ++i) {
        const double log_slope_i = a_ij_dt[i][i] / a_ij[i][i];
        const double curvature_i = (a_ij_dt2[i][i] - a_ij_dt[i][i] * log_slope_i) / a_ij[i][i];
        for (short j = i + 1; j < n; ++j) {
            const double log_slope_j = a_ij_dt[j][j] / a_ij[j][j];
            const double curvature_j = (a_ij_dt2[j][j] - a_ij_dt[j][j] * log_slope_j) / a_ij[j][j];
            const double a = (1 - kaij[i][j]) * std::sqrt(a_ij[i][i] * a_ij[j][j]);
            const double a_dt = a * (log_slope_i + log_slope_j) / 2;
            const double a_dt2 = a_dt * (log_slope_i + log_slope_j) / 2 + a * (curvature_i + curvature_j) / 2;
            const double b = (b_ij[i][i] + b_ij[j][j]) * (1 - kbij[i][j]) / 2;
            a_ij[i][j] = a_ij[j][i] = a;
            a_ij_dt[i][j] = a_ij_dt[j][i] = a_dt;
            a_ij_dt2[i][j] = a_ij_dt2[j][i] = a_dt2;
            b_ij[i][j] = b_ij[j][i] = b;
            a_over_b_ij[i][j] = a_over_b_ij[j][i] = a / b;
            a_ij_dt_over_b_ij[i][j] = a_ij_dt_over_b_ij[j][i] = a_dt / b;
        }
    }
}

}  // namespace quorvel
