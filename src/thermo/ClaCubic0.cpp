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
    for (auto* v : {&log_slope_a_ii, &curvature_a_ii, &diagonal_a, &diagonal_b})
        v->assign(n, 0.0);
}

void ClaCubic0::read_BIP()
{
    if (correlation_inputs_changed())
        calculate_generalised_kaij();
    else if (interaction_revision() == revision_of_generalised_kaij)
        return;  // no coefficient has changed since they were stored
    for (short i = 0; i < component_count; ++i) {
        const double* generalised = generalised_kaij[i];
        for (short j = 0; j < i; ++j)
            set_binary_interaction_kaij(i, j, generalised[j]);
    }
    revision_of_generalised_kaij = interaction_revision();
}

bool ClaCubic0::correlation_inputs_changed() const
{
    const CorrelationInputs& last = correlation_inputs;
    return last.names_revision != names_revision() || last.critical_temperature != critical_temperature
           || last.critical_pressure != critical_pressure || last.critical_volume != critical_volume
           || last.molar_weight != molar_weight;
}

void ClaCubic0::calculate_generalised_kaij()
{
    correlation_inputs = {names_revision(), critical_temperature, critical_pressure, critical_volume,
                          molar_weight};
    generalised_kaij = Matrix(component_count, component_count);
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
            generalised_kaij[i][j] = k;
        }
    }
}

void ClaCubic0::set_equation_constants(const ClassicCubicConstants& c)
{
    omega_a = c.omega_a;
    omega_b = c.omega_b;
    critical_compressibility = c.critical_compressibility;
    lambda = c.lambda;
    m0 = c.m0;
    m1 = c.m1;
    m2 = c.m2;
    delta1 = c.delta1;
    delta2 = c.delta2;
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
    apply_interaction_coefficients();
    if (pure_parameters_current())
        return;
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

        const double ka = 1 - kaij()[i][i];
        a_ij[i][i] = a_critical[i] * alpha * ka;
        a_ij_dt[i][i] = a_critical[i] * alpha_dt * ka;
        a_ij_dt2[i][i] = a_critical[i] * alpha_dt2 * ka;
        b_ij[i][i] = b_pure[i] * (1 - kbij()[i][i]);
        a_over_b_ij[i][i] = a_ij[i][i] / b_ij[i][i];
        a_ij_dt_over_b_ij[i][i] = a_ij_dt[i][i] / b_ij[i][i];
        shift[i] = shift_constant[i] + shift_slope[i] * T;
    }
    if (cross_parameters_current())
        return;
    remember_cross_parameter_inputs();
    for (short i = 0; i < n; ++i) {
        diagonal_a[i] = a_ij[i][i];
        diagonal_b[i] = b_ij[i][i];
        log_slope_a_ii[i] = a_ij_dt[i][i] / a_ij[i][i];
        curvature_a_ii[i] = (a_ij_dt2[i][i] - a_ij_dt[i][i] * log_slope_a_ii[i]) / a_ij[i][i];
    }
    for (short i = 0; i < n; ++i)
        calculate_cross_parameters(i);
}

// The pure parameters depend on the temperature, the model's constants, the component
// data and the interaction coefficients alone: when none of them changed since the last
// calculation they are the ones it left (a solve at fixed temperature asks for them at
// every evaluation).
bool ClaCubic0::pure_parameters_current()
{
    std::vector<double>& key = pure_parameter_inputs_scratch;
    key.assign({temperature_k, omega_a, omega_b, m0, m1, m2, double(interaction_revision())});
    for (const std::vector<double>* data : {&critical_temperature, &critical_pressure, &acentric_factor,
                                            &given_slope, &shift_constant, &shift_slope})
        key.insert(key.end(), data->begin(), data->end());
    key.insert(key.end(), slope_is_given.begin(), slope_is_given.end());
    if (key == pure_parameter_inputs)
        return true;
    std::swap(key, pure_parameter_inputs);
    return false;
}

// The pairs depend on the diagonal terms and the interaction coefficients alone: at an
// unchanged temperature and unchanged data they are the ones of the last calculation.
bool ClaCubic0::cross_parameters_current() const
{
    const short n = component_count;
    const CrossParameterInputs& last = cross_parameter_inputs;
    if (n == 0 || last.diagonal.size() != 4 * std::size_t(n) || last.interaction_revision != interaction_revision())
        return false;
    for (short i = 0; i < n; ++i)
        if (last.diagonal[4 * i] != a_ij[i][i] || last.diagonal[4 * i + 1] != a_ij_dt[i][i]
            || last.diagonal[4 * i + 2] != a_ij_dt2[i][i] || last.diagonal[4 * i + 3] != b_ij[i][i])
            return false;
    return true;
}

void ClaCubic0::remember_cross_parameter_inputs()
{
    CrossParameterInputs& last = cross_parameter_inputs;
    last.diagonal.resize(4 * std::size_t(component_count));
    for (short i = 0; i < component_count; ++i) {
        last.diagonal[4 * i] = a_ij[i][i];
        last.diagonal[4 * i + 1] = a_ij_dt[i][i];
        last.diagonal[4 * i + 2] = a_ij_dt2[i][i];
        last.diagonal[4 * i + 3] = b_ij[i][i];
    }
    last.interaction_revision = interaction_revision();
}

// a_ij and its derivatives for every j other than i, along row i: the pair terms are
// symmetric in i and j to the bit, and writing whole rows keeps the loop along memory.
void ClaCubic0::calculate_cross_parameters(short i)
{
    const double* ka = kaij()[i];
    const double* kb = kbij()[i];
    const double a_ii = a_ij[i][i];
    const double b_ii = b_ij[i][i];
    double* a_row = a_ij[i];
    double* a_dt_row = a_ij_dt[i];
    double* a_dt2_row = a_ij_dt2[i];
    double* b_row = b_ij[i];
    double* a_over_b_row = a_over_b_ij[i];
    double* a_dt_over_b_row = a_ij_dt_over_b_ij[i];
    const auto pair = [&](short j) {
        const double log_slope_sum = log_slope_a_ii[i] + log_slope_a_ii[j];
        const double a = (1 - ka[j]) * std::sqrt(a_ii * diagonal_a[j]);
        const double a_dt = a * log_slope_sum / 2;
        const double a_dt2 = a_dt * log_slope_sum / 2 + a * (curvature_a_ii[i] + curvature_a_ii[j]) / 2;
        const double b = (b_ii + diagonal_b[j]) * (1 - kb[j]) / 2;
        a_row[j] = a;
        a_dt_row[j] = a_dt;
        a_dt2_row[j] = a_dt2;
        b_row[j] = b;
        a_over_b_row[j] = a / b;
        a_dt_over_b_row[j] = a_dt / b;
    };
    for (short j = 0; j < i; ++j)
        pair(j);
    for (short j = i + 1; j < component_count; ++j)
        pair(j);
}

}  // namespace quorvel
