// Predictor steps of Quenta along isopleths (fixed vapour fraction) and isochores (fixed
// molar volume): the converged solution is differentiated along the curve with the
// equilibrium Jacobian and extrapolated one step in temperature, or in pressure where the
// curve is steep (|dP/dT| >= 1e5 Pa/K).

#include "thermo/FluidPhase.h"
#include "thermo/Quenta.h"

#include <algorithm>
#include <cmath>

namespace quorvel {

namespace {

constexpr double steep_slope = 1e5;  // Pa/K: step in pressure above it
constexpr double pascal_per_bar = 1e5;

}  // namespace

bool Quenta::calculate_derivatives(std::span<double> dU, Quantity code1, Quantity code2)
{
    const int N = variable_count;
    if (!has_phase_models() || N == 0)
        return false;
    std::fill(derivative_rhs.begin(), derivative_rhs.end(), 0.0);
    derivative_rhs[N - 2] = 1;
    if (jacobian.rows() != N)
        jacobian = allocate(N, N);
    fill_in_the_Jacobian_matrix(jacobian);
    set_constraint(jacobian, code1, SpecificationRow::first);
    set_constraint(jacobian, code2, SpecificationRow::second);
    return solve_newton_step(jacobian, derivative_rhs, dU) == LinearSystemOutcome::solved && std::all_of(dU.begin(), dU.begin() + N, [](double d) { return std::isfinite(d); });
}

void Quenta::set_constraint(Matrix& J, Quantity code, SpecificationRow which)
{
    const int row = which == SpecificationRow::first ? variable_count - 2 : variable_count - 1;
    switch (code) {
    case temperature_quantity:
        J[row][0] = 1;
        break;
    case pressure_quantity:
        J[row][1] = 1;
        break;
    case vapour_amount_quantity:
        J[row][3] = 1;
        break;
    case molar_volume_quantity:
        write_molar_volume_row(J, row);
        break;
    case volumetric_fraction_quantity:
        write_volumetric_fraction_row(J, row);
        break;
    default:
        break;
    }
}

bool Quenta::derivatives_along(Quantity code1, Quantity code2)
{
    return calculate_derivatives(derivatives, code1, code2);
}

// No usable derivatives: no start values either, and the solve that follows must not
// run from the previous ones.
bool Quenta::prediction_failed()
{
    failure_code = equilibrium_failure::solve_failed;
    predictor.prediction_failed = true;
    return false;
}

void Quenta::extrapolate_compositions(double step)
{
    const int n = component_count;
    for (int i = 0; i < n; ++i) {
        estimated_liquid_composition[i] = saved_liquid_composition[i] + derivatives[4 + i] * step;
        estimated_vapour_composition[i] = saved_vapour_composition[i] + derivatives[4 + n + i] * step;
    }
}

bool Quenta::estimated_compositions_within(double low, double high) const
{
    const auto within = [low, high](double v) { return v >= low && v <= high; };
    return std::all_of(estimated_liquid_composition.begin(), estimated_liquid_composition.end(), within)
           && std::all_of(estimated_vapour_composition.begin(), estimated_vapour_composition.end(), within);
}

bool Quenta::estimateNextIsoplethPoint(double factor, double dT, double dP)
{
    // The halving below ends only for a finite factor, and a prediction needs finite steps.
    if (!std::isfinite(factor) || !std::isfinite(dT) || !std::isfinite(dP))
        return prediction_failed();
    if (step_counter == 0)
        predictor.reset();
    predictor.prediction_failed = false;
    double& stepT = predictor.isopleth_dT;
    double& stepP = predictor.isopleth_dP;
    double f = factor;

    for (;;) {
        if (type_of_problem == problem_type::fixed_T_and_Fv) {
            if (!derivatives_along(temperature_quantity, vapour_amount_quantity))
                return prediction_failed();
            path_slope = derivatives[1];
        } else if (type_of_problem == problem_type::fixed_P_and_Fv) {
            if (!derivatives_along(pressure_quantity, vapour_amount_quantity))
                return prediction_failed();
            path_slope = 1 / derivatives[0];
        } else {
            return prediction_failed();
        }

        if (step_counter == 0) {
            stepT = dT;
            stepP = path_slope * stepT;
        }
        ++step_counter;

        if (std::fabs(path_slope) >= steep_slope) {
            if (type_of_problem == problem_type::fixed_T_and_Fv) {
                set_type_of_problem(problem_type::fixed_P_and_Fv);
                if (!derivatives_along(pressure_quantity, vapour_amount_quantity))
                    return prediction_failed();
                stepP = path_slope * stepT > 0 ? dP : -dP;  // keep the direction of travel
            }
            const double step = f * stepP;
            set_the_pressure((saved_pressure + step) / pascal_per_bar);
            estimated_pressure = saved_pressure + step;
            estimated_temperature = saved_temperature + derivatives[0] * step;
            extrapolate_compositions(step);
        } else {
            if (type_of_problem == problem_type::fixed_P_and_Fv) {
                set_type_of_problem(problem_type::fixed_T_and_Fv);
                if (!derivatives_along(temperature_quantity, vapour_amount_quantity))
                    return prediction_failed();
                stepT = path_slope * stepP > 0 ? dT : -dT;
            }
            const double step = f * stepT;
            set_the_temperature(saved_temperature + step);
            estimated_pressure = saved_pressure + path_slope * step;
            extrapolate_compositions(step);
        }

        if (estimated_pressure >= 0) {
            for (auto* estimate : {&estimated_liquid_composition, &estimated_vapour_composition}) {
                for (double& v : *estimate) {
                    if (v > -1e-15 && v < 0)
                        v = 0;
                    else if (v > 1 && v < 1.000000000000001)
                        v = 1;
                }
            }
            if (estimated_compositions_within(0, 1))
                return true;
        }
        f /= 2;
        if (f < 0.01)
            return true;  // the last prediction stands; the solve decides
    }
}

bool Quenta::estimateNextIsochorPoint(double factor, double dT)
{
    if (!std::isfinite(factor) || !std::isfinite(dT))
        return prediction_failed();
    if (step_counter == 0)
        predictor.reset();
    else
        predictor.previous_slope = path_slope;
    predictor.prediction_failed = false;
    failure_code = equilibrium_failure::none;
    if (!has_phase_models())
        return prediction_failed();

    double& stepT = predictor.isochore_dT;
    double& stepP = predictor.isochore_dP;
    double f = factor;
    double temperature_step = 10;  // K
    double pressure_step = 1e6;    // Pa

    for (;;) {
        for (FluidPhase* phase : {liquid, vapour}) {
            phase->temperature(saved_temperature);
            phase->pressure(saved_pressure / pascal_per_bar);
        }
        liquid->composition(saved_liquid_composition);
        vapour->composition(saved_vapour_composition);
        liquid->calculate_molar_volume();
        vapour->calculate_molar_volume();

        double liquid_slope = 0;  // dnL/dT
        double vapour_slope = 0;  // dnV/dT
        if (type_of_problem == problem_type::fixed_T_and_v) {
            if (!derivatives_along(temperature_quantity, molar_volume_quantity))
                return prediction_failed();
            path_slope = derivatives[1];
            liquid_slope = derivatives[2];
            vapour_slope = derivatives[3];
        } else if (type_of_problem == problem_type::fixed_P_and_v) {
            if (!derivatives_along(pressure_quantity, molar_volume_quantity))
                return prediction_failed();
            path_slope = 1 / derivatives[0];
            liquid_slope = 1 / derivatives[2];
            vapour_slope = 1 / derivatives[3];
        } else {
            return prediction_failed();
        }

        if (step_counter == 0) {
            isochore_reversed = false;
            stepP = path_slope * dT;
            predictor.previous_slope = path_slope;
            stepT = dT;
            // The phase that vanishes at the start must grow in the requested direction, else
            // that direction leaves the two-phase region at once: go the other way. The other
            // phase's amount may fall steeply near a critical point; it says nothing here.
            const double vanishing_slope = vapour_moles < liquid_moles ? vapour_slope : liquid_slope;
            if (vanishing_slope * dT < 0) {
                stepT = -dT;
                stepP = -path_slope;
                isochore_reversed = true;
                temperature_step = 1;
                pressure_step = 1e5;
            }
        }
        ++step_counter;
        if (path_slope * predictor.previous_slope < 0 && isochore_reversed) {
            stepT = -stepT;
            if (++predictor.reversals > 3)
                failure_code = equilibrium_failure::solve_failed;
        }

        if (std::fabs(path_slope) >= steep_slope) {
            if (type_of_problem == problem_type::fixed_T_and_v) {
                set_type_of_problem(problem_type::fixed_P_and_v);
                if (!derivatives_along(pressure_quantity, molar_volume_quantity))
                    return prediction_failed();
                stepP = path_slope * stepT > 0 ? pressure_step : -pressure_step;
            }
            const double step = f * stepP;
            set_the_pressure((saved_pressure + step) / pascal_per_bar);
            estimated_temperature = saved_temperature + derivatives[0] * step;
            estimated_pressure = saved_pressure + step;
            extrapolate_compositions(step);
            liquid_moles = saved_liquid_moles + derivatives[2] * step;
            vapour_moles = saved_vapour_moles + derivatives[3] * step;
        } else {
            if (type_of_problem == problem_type::fixed_P_and_v) {
                set_type_of_problem(problem_type::fixed_T_and_v);
                if (!derivatives_along(temperature_quantity, molar_volume_quantity))
                    return prediction_failed();
                stepT = path_slope * stepP > 0 ? temperature_step : -temperature_step;
            }
            const double step = f * stepT;
            set_the_temperature(saved_temperature + step);
            estimated_temperature = saved_temperature + step;
            estimated_pressure = saved_pressure + path_slope * step;
            extrapolate_compositions(step);
            liquid_moles = saved_liquid_moles + derivatives[2] * step;
            vapour_moles = saved_vapour_moles + derivatives[3] * step;
        }

        const auto amount_outside = [](double amount) { return amount < -1e-5 || amount > 1.00001; };
        if (estimated_pressure < 0 || amount_outside(liquid_moles) || amount_outside(vapour_moles)) {
            f /= 2;
            if (f < 1e-5)
                return true;
            continue;
        }
        if (estimated_compositions_within(-1e-10, 1.0000000001))
            return true;
        f /= 2;
        if (f < 1e-4)
            return true;  // the last prediction stands; the solve decides
    }
}

}  // namespace quorvel
