#include "thermo/IdealMixture.h"

#include "thermo/PsatCorr.h"

#include <algorithm>

namespace quorvel {

namespace {

constexpr int maximum_iterations = 50;
constexpr int bracket_attempts = 10;

// The ideal-mixture estimate takes the vapour molar volume as 10 times the liquid's.
constexpr double estimate_volume_ratio = 10;

}  // namespace

IdealMixture::IdealMixture()
{
    IdealMixture::reset_to_zero();
}

IdealMixture::IdealMixture(FluidPhase& a, FluidPhase& b)
    : VLE(a, b)
{
    IdealMixture::reset_to_zero();
}

IdealMixture::~IdealMixture() = default;

void IdealMixture::reset_to_zero()
{
    psat_correlation.clear();
    solver = Muller();
}

void IdealMixture::number_of_components(short n)
{
    VLE::number_of_components(n);
    const std::size_t size = n > 0 ? std::size_t(n) : 0;
    psat_correlation.clear();
    psat_correlation.resize(size);
    for (auto* array : {&k_value, &boiling_temperature, &critical_temperature, &critical_pressure})
        array->assign(size, 0.0);
}

void IdealMixture::setSatProp(short i, double Tc, double Pc, double Tb)
{
    critical_temperature[i] = Tc;
    critical_pressure[i] = Pc;
    boiling_temperature[i] = Tb;
}

void IdealMixture::setPsatCorrelation(short i, std::unique_ptr<PsatCorr> correlation)
{
    psat_correlation[i] = std::move(correlation);
}

double IdealMixture::Psat(short i, double T) const
{
    return psat_correlation[i] ? psat_correlation[i]->Psat(T) : 0;
}

double IdealMixture::Tsat(short i, double P) const
{
    return psat_correlation[i] ? psat_correlation[i]->Tsat(P) : 0;
}

double IdealMixture::split_at(double f)
{
    double sum = 0;
    for (short i = 0; i < component_count; ++i) {
        const double K = k_value[i];
        const double x = feed_composition[i] / (1 - f + K * f);
        const double y = K * x;
        liquid_composition[i] = x;
        vapour_composition[i] = y;
        sum += x - y;
    }
    return sum;
}

double IdealMixture::equation1(double f, void*)
{
    return split_at(f);
}

double IdealMixture::equation2(double P, void*)
{
    for (short i = 0; i < component_count; ++i)
        k_value[i] = Psat(i, specified_temperature) / P;
    return split_at(specified_vapour_moles);
}

double IdealMixture::equation3(double T, void*)
{
    for (short i = 0; i < component_count; ++i)
        k_value[i] = Psat(i, T) / specified_pressure;
    return split_at(specified_vapour_moles);
}

bool IdealMixture::has_all_correlations() const
{
    return std::all_of(psat_correlation.begin(), psat_correlation.end(),
                       [](const std::unique_ptr<PsatCorr>& correlation) { return correlation != nullptr; });
}

void IdealMixture::calculate_with_fixed_P_and_T()
{
    if (!has_all_correlations()) {
        failure_code = equilibrium_failure::solve_failed;
        return;
    }
    solver._setEquationToSolve(this, static_cast<EquationFunction>(&IdealMixture::equation1));
    for (short i = 0; i < component_count; ++i)
        k_value[i] = Psat(i, specified_temperature) / specified_pressure;
    solver.set_epsilon(1e-3);
    solver.set_maximum_number_of_iterations(maximum_iterations);

    solver.set_initial_values(0, 1);
    double root = solver.solve();
    if (!solver.good()) {
        solver.set_initial_values(0, 0.1);
        root = solver.solve();
        if (!solver.good())
            failure_code = equilibrium_failure::solve_failed;
    }
    vapour_moles = total_feed_moles * root;
    liquid_moles = total_feed_moles - vapour_moles;
    molar_vaporization_ratio = vapour_moles / total_feed_moles;
}

double IdealMixture::search_between(EquationFunction equation, double epsilon, double low, double high)
{
    solver._setEquationToSolve(this, equation);
    solver.set_epsilon(epsilon);
    solver.set_maximum_number_of_iterations(maximum_iterations);
    double root = 0;
    for (int attempt = 0; attempt < bracket_attempts; ++attempt) {
        failure_code = equilibrium_failure::none;
        solver.set_initial_values(low, high);
        root = solver.solve();
        low *= 0.9;
        high *= 1.1;
        if (solver.good())
            break;
        failure_code = equilibrium_failure::solve_failed;
    }
    return root;
}

void IdealMixture::calculate_with_fixed_T_and_Fv()
{
    if (!has_all_correlations()) {
        failure_code = equilibrium_failure::solve_failed;
        return;
    }
    double low = 1e10;
    double high = 0;
    for (short i = 0; i < component_count; ++i) {
        const double p = Psat(i, specified_temperature);
        if (p < low && p > 1e-50)
            low = p;
        if (p > high)
            high = p;
    }
    current_pressure = search_between(static_cast<EquationFunction>(&IdealMixture::equation2), 1e-6, low, high);
}

void IdealMixture::calculate_with_fixed_P_and_Fv()
{
    if (!has_all_correlations()) {
        failure_code = equilibrium_failure::solve_failed;
        return;
    }
    double low = 1e10;
    double high = 0;
    for (short i = 0; i < component_count; ++i) {
        const double t = Tsat(i, specified_pressure);
        if (t < low)
            low = t;
        if (t > high)
            high = t;
    }
    current_temperature = search_between(static_cast<EquationFunction>(&IdealMixture::equation3), 1e-3, low, high);
}

void IdealMixture::calculateVLE()
{
    VLE::initialize();
    switch (type_of_problem) {
    case problem_type::fixed_T_and_P:
    case problem_type::fixed_P_and_T:
        calculate_with_fixed_P_and_T();
        break;
    case problem_type::fixed_T_and_Fv:
    case problem_type::fixed_Fv_and_T:
        calculate_with_fixed_T_and_Fv();
        break;
    case problem_type::fixed_P_and_Fv:
    case problem_type::fixed_Fv_and_P:
        calculate_with_fixed_P_and_Fv();
        break;
    case problem_type::fixed_T_and_volumetric_Fv:
    case problem_type::fixed_volumetric_Fv_and_T:
        specified_vapour_moles = molar_fraction_of_volumetric(specified_volumetric_ratio, estimate_volume_ratio);
        calculate_with_fixed_T_and_Fv();
        break;
    case problem_type::fixed_P_and_volumetric_Fv:
    case problem_type::fixed_volumetric_Fv_and_P:
        specified_vapour_moles = molar_fraction_of_volumetric(specified_volumetric_ratio, estimate_volume_ratio);
        calculate_with_fixed_P_and_Fv();
        break;
    case problem_type::fixed_T_and_v:
    case problem_type::fixed_P_and_v:
    case problem_type::fixed_v_and_T:
    case problem_type::fixed_v_and_P:
        break;
    default:
        return;
    }
    estimate_next_state();
}

}  // namespace quorvel
