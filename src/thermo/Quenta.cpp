#include "thermo/Quenta.h"

#include "numeric/LinearSystem.h"
#include "numeric/VectorKernel.h"
#include "thermo/FluidPhase.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace quorvel {

namespace {

constexpr double maximum_temperature_step = 50;   // K
constexpr double maximum_pressure_step = 5e6;     // Pa
constexpr double maximum_fraction_step = 0.3;
constexpr double trivial_distance = 0.01;         // sum |x_i - y_i| of a trivial solution
constexpr int first_composition_variable = 4;     // U = [T, P, nL, nV, x_0.., y_0..]

// A mole fraction inside the band the iteration accepts as it stands.
bool inside_fraction_band(double v)
{
    return v > -1e-5 && v < 1.00001;
}

// A mole fraction moved back into (0, 1) when an iterate overshoots slightly.
double clamped_fraction(double v)
{
    if (v <= -1e-5)
        return 1e-10;
    if (v >= 1.00001)
        return 0.999999999;
    return v;
}

bool far_outside(double v)
{
    return v < -1.5 || v > 1.5;
}

bool amount_out_of_range(double n)
{
    return n < -1e-5 || n > 1.0001;
}

}  // namespace

Quenta::Quenta() = default;

Quenta::Quenta(FluidPhase& a, FluidPhase& b)
    : IdealMixture(a, b)
{
}

Quenta::~Quenta() = default;

void Quenta::number_of_components(short n)
{
    IdealMixture::number_of_components(n);
    variable_count = short(2 * n + 4);
    const int N = variable_count;
    ProgressCallback progress = newton.progressCallback();  // a new size keeps who is asked
    newton = Newton();
    newton.set_progress(std::move(progress));
    newton._setSysEquationToSolve(this, static_cast<SystemFunction>(&Quenta::calculate_vector_function), N);
    initial_variables = allocate(N);
    maximum_steps = allocate(N);
    derivatives = allocate(N);
    derivative_rhs = allocate(N);
    jacobian = Matrix();  // allocated by the first derivative calculation
    newton.set_maximum_residue(1e-3);
    newton.set_epsilon(1e-8);
    newton.set_relaxation_limit(1e-3);
    newton.set_linear_solver(
        [this](Matrix& J, std::span<double> b, std::span<double> x) { return solve_newton_step(J, b, x); });
    newton.set_row_columns(sparse_rows_of_the_jacobian());
    keep_compositions_within_bounds();
}

// The pattern fill_in_the_Jacobian_matrix writes: a material balance row holds nL, nV and
// its component's two mole fractions, the sum of the fractions' row the fractions, and the
// sum of the amounts' row the amounts; the fugacity and specification rows are dense.
std::vector<std::vector<int>> Quenta::sparse_rows_of_the_jacobian() const
{
    const int n = component_count;
    std::vector<std::vector<int>> rows(variable_count);
    for (int i = 0; i < n; ++i)
        rows[i] = {2, 3, first_composition_variable + i, first_composition_variable + n + i};
    for (int j = first_composition_variable; j < first_composition_variable + 2 * n; ++j)
        rows[2 * n].push_back(j);
    rows[2 * n + 1] = {2, 3};
    return rows;
}

// Rows n + first .. n + first + Rows - 1 of J reduced into rows first.. of the reduced
// system. Each row sums three products over the components; several rows side by side keep
// their sums apart, so the additions of one row need not wait on one another.
template <int Rows>
QUORVEL_INLINE_KERNEL void Quenta::reduce_rows(const Matrix& J, std::span<const double> b, int first)
{
    const int n = component_count;
    ReducedStep& r = reduced_step;
    const double* row[Rows];
    double* out[Rows];
    double nL[Rows], nV[Rows], rhs[Rows];
    for (int k = 0; k < Rows; ++k) {
        row[k] = J[n + first + k];
        out[k] = r.matrix[first + k];
        nL[k] = row[k][2];
        nV[k] = row[k][3];
        rhs[k] = b[n + first + k];
    }
    for (int i = 0; i < n; ++i) {
        // Locals: the stores into the reduced rows could alias the coefficients.
        const int eliminated = r.eliminated[i];
        const int kept = r.kept[i];
        const double kept_coefficient = r.kept_coefficient[i];
        const double liquid_coefficient = r.liquid_coefficient[i];
        const double vapour_coefficient = r.vapour_coefficient[i];
        const double balance_rhs = r.balance_rhs[i];
#pragma GCC unroll 4
        for (int k = 0; k < Rows; ++k) {
            const double factor = row[k][eliminated];
            out[k][4 + i] = row[k][kept] - factor * kept_coefficient;
            nL[k] -= factor * liquid_coefficient;
            nV[k] -= factor * vapour_coefficient;
            rhs[k] -= factor * balance_rhs;
        }
    }
    for (int k = 0; k < Rows; ++k) {
        out[k][0] = row[k][0];
        out[k][1] = row[k][1];
        out[k][2] = nL[k];
        out[k][3] = nV[k];
        r.rhs[first + k] = rhs[k];
    }
}

QUORVEL_VECTOR_KERNEL
LinearSystemOutcome Quenta::solve_newton_step(Matrix& J, std::span<double> b, std::span<double> x)
{
    const int n = component_count;
    const int m = n + 4;  // T, P, nL, nV and one mole fraction per component
    ReducedStep& r = reduced_step;
    if (r.matrix.rows() != m) {
        r.matrix = Matrix(m, m);
        r.rhs.assign(m, 0.0);
        r.solution.assign(m, 0.0);
        r.eliminated.assign(n, 0);
        r.kept.assign(n, 0);
        for (auto* v : {&r.kept_coefficient, &r.liquid_coefficient, &r.vapour_coefficient, &r.balance_rhs})
            v->assign(n, 0.0);
    }
    // Material balance row i: J[i][2] dnL + J[i][3] dnV + J[i][x_i] dx_i + J[i][y_i] dy_i = b_i.
    for (int i = 0; i < n; ++i) {
        const int liquid = first_composition_variable + i;
        const int vapour = first_composition_variable + n + i;
        const double* balance = J[i];
        const bool drop_liquid = std::fabs(balance[liquid]) >= std::fabs(balance[vapour]);
        r.eliminated[i] = drop_liquid ? liquid : vapour;
        r.kept[i] = drop_liquid ? vapour : liquid;
        const double pivot = balance[r.eliminated[i]];
        if (pivot == 0) {
            Matrix whole = J;  // the elimination overwrites its matrix; J keeps its pattern
            return solve_the_linear_system(whole, b, x, variable_count);
        }
        r.kept_coefficient[i] = balance[r.kept[i]] / pivot;
        r.liquid_coefficient[i] = balance[2] / pivot;
        r.vapour_coefficient[i] = balance[3] / pivot;
        r.balance_rhs[i] = b[i] / pivot;
    }
    // Every other row with the eliminated steps replaced: columns T, P, nL, nV, then the kept
    // mole fraction of each component.
    int k = 0;
    for (; k + 4 <= m; k += 4)
        reduce_rows<4>(J, b, k);
    for (; k < m; ++k)
        reduce_rows<1>(J, b, k);
    if (const LinearSystemOutcome outcome = solve_the_linear_system(r.matrix, r.rhs, r.solution, m);
        outcome != LinearSystemOutcome::solved)
        return outcome;
    std::copy_n(r.solution.begin(), 4, x.begin());
    for (int i = 0; i < n; ++i)
        x[r.kept[i]] = r.solution[4 + i];
    for (int i = 0; i < n; ++i)
        x[r.eliminated[i]] = r.balance_rhs[i] - r.kept_coefficient[i] * x[r.kept[i]]
                             - r.liquid_coefficient[i] * x[2] - r.vapour_coefficient[i] * x[3];
    std::copy_n(x.begin(), variable_count, b.begin());
    return LinearSystemOutcome::solved;
}

// A step that would take a mole fraction out of [0, 1] goes only part of the way to the
// bound. A heavy component's vapour fraction may be a few millionths at the solution and
// far less at the start: an unbounded step easily overshoots it below -1e-5, where the
// evaluation can only clamp it and the iteration stalls on a residual it no longer controls.
void Quenta::keep_compositions_within_bounds()
{
    const int end = first_composition_variable + 2 * component_count;
    for (int i = first_composition_variable; i < end; ++i)
        newton.limit_variable(i, 0, 1);
}

void Quenta::set_type_of_problem(problem_type t)
{
    IdealMixture::set_type_of_problem(t);
    first_constraint.fill(0);
    second_constraint.fill(0);
    const int first = code_number(first_quantity(t));
    const int second = code_number(second_quantity(t));
    if (first >= 1 && first <= 5)
        first_constraint[first - 1] = 1;
    if (second >= 1 && second <= 5)
        second_constraint[second - 1] = 1;
    predictor.prediction_failed = false;
}

void Quenta::set_initialization_flag(initialization flag)
{
    IdealMixture::set_initialization_flag(flag);
    predictor.prediction_failed = false;
}

void Quenta::take_start_values_from_estimates()
{
    take_specified_conditions();
    if (fixes_vapour_fraction())
        vaporization_ratio(specified_vapour_moles);
    take_estimated_state();
}

void Quenta::initialize()
{
    failure_code = equilibrium_failure::none;
    if (initialization_flag == initialization::from_ideal_mixture)
        IdealMixture::calculateVLE();
    else if (initialization_flag == initialization::from_estimates)
        take_start_values_from_estimates();
    // any other flag continues from the current state

    searchMostVolatileComponent();

    const int n = component_count;
    initial_variables[0] = current_temperature;
    initial_variables[1] = current_pressure;
    initial_variables[2] = liquid_moles;
    initial_variables[3] = vapour_moles;
    std::copy_n(liquid_composition.begin(), n, initial_variables.begin() + 4);
    std::copy_n(vapour_composition.begin(), n, initial_variables.begin() + 4 + n);
    newton.set_initial_values(initial_variables);

    maximum_steps[0] = maximum_temperature_step;
    maximum_steps[1] = maximum_pressure_step;
    maximum_steps[2] = maximum_steps[3] = total_feed_moles / 2;
    std::fill(maximum_steps.begin() + 4, maximum_steps.end(), maximum_fraction_step);
    newton.set_dUmax(maximum_steps);
}

void Quenta::calculateVLE()
{
    if (predictor.prediction_failed || !has_phase_models() || component_count < 1) {
        predictor.prediction_failed = false;
        failure_code = equilibrium_failure::solve_failed;
        return;
    }
    initialize();
    if (failure_code != equilibrium_failure::none)
        return;  // the ideal-mixture estimate failed
    newton.solve();
    if (!newton.good() && failure_code == equilibrium_failure::none)
        failure_code = equilibrium_failure::solve_failed;
    estimate_next_state();
}

bool Quenta::solveFromIdealMixture(problem_type type, double first, double second)
{
    set_type_of_problem(type);
    specify(first_quantity(type), first);
    specify(second_quantity(type), second);
    set_initialization_flag(initialization::from_ideal_mixture);
    calculateVLE();
    return failure_code == equilibrium_failure::none;
}

void Quenta::specify(Quantity quantity, double value)
{
    switch (quantity) {
    case temperature_quantity:
        set_the_temperature(value);
        break;
    case pressure_quantity:
        set_the_pressure(value);
        break;
    case vapour_amount_quantity:
        set_the_vaporization_ratio(value);
        break;
    case molar_volume_quantity:
        set_the_volume(value);
        break;
    case volumetric_fraction_quantity:
        set_the_vaporization_ratio1(value);
        break;
    default:
        break;
    }
}

void Quenta::calculate_vector_function(std::span<const double> U, std::span<double> G, Matrix& J, bool& failed,
                                       Evaluation evaluation, void*)
{
    failed = false;
    const int n = component_count;
    current_temperature = U[0];
    current_pressure = U[1];
    liquid_moles = U[2];
    vapour_moles = U[3];
    std::copy_n(U.begin() + 4, n, liquid_composition.begin());
    std::copy_n(U.begin() + 4 + n, n, vapour_composition.begin());

    if (the_calculated_vector_is_not_good()) {
        failed = true;
        return;
    }

    apply_conditions();
    vapour->describe();
    liquid->describe();

    const double vL = liquid->molarVolume();
    const double vV = vapour->molarVolume();
    current_volume = liquid_moles * vL + vapour_moles * vV;
    volumetric_vaporization_ratio = vapour_moles * vV / current_volume;

    double difference_sum = 0;
    for (int i = 0; i < n; ++i) {
        const double x = liquid_composition[i];
        const double y = vapour_composition[i];
        G[i] = liquid_moles * x + vapour_moles * y - feed_moles[i];
        G[n + i] = vapour->fugacities()[i] - liquid->fugacities()[i];
        difference_sum += x - y;
    }
    G[2 * n] = difference_sum;
    G[2 * n + 1] = vapour_moles + liquid_moles - total_feed_moles;

    const std::array<double, 5> residuals = {
        current_temperature - specified_temperature,
        current_pressure - specified_pressure,
        vapour_moles - specified_vapour_moles,
        (current_volume - specified_volume) * total_feed_moles,
        volumetric_vaporization_ratio - specified_volumetric_ratio,
    };
    G[2 * n + 2] = G[2 * n + 3] = 0;
    for (int k = 0; k < 5; ++k) {
        G[2 * n + 2] += first_constraint[k] * residuals[k];
        G[2 * n + 3] += second_constraint[k] * residuals[k];
    }

    // A state outside the equation of state's domain is a failed evaluation.
    if (!std::all_of(G.begin(), G.begin() + variable_count, [](double g) { return std::isfinite(g); })) {
        failed = true;
        return;
    }

    if (evaluation == Evaluation::with_jacobian) {
        fill_in_the_Jacobian_matrix(J);
        write_specification_row(J, 2 * n + 2, first_constraint);
        write_specification_row(J, 2 * n + 3, second_constraint);
    }
}

// Only the entries of the system's pattern are written, and the two specification rows
// cleared: every other entry is zero from the matrix's allocation and stays so, for nothing
// else writes into it (row scaling keeps zeros, and the steps are solved on copies).
QUORVEL_VECTOR_KERNEL
void Quenta::fill_in_the_Jacobian_matrix(Matrix& J)
{
    const int n = component_count;
    std::fill_n(J[2 * n + 2], 2 * std::size_t(variable_count), 0.0);
    const Matrix& liquid_f_dn = liquid->fugacityDn();
    const Matrix& vapour_f_dn = vapour->fugacityDn();
    for (int i = 0; i < n; ++i) {
        J[i][2] = liquid->moleFraction()[i];
        J[i][3] = vapour->moleFraction()[i];
        J[i][4 + i] = liquid->totalMoles();
        J[i][4 + n + i] = vapour->totalMoles();

        J[n + i][0] = vapour->fugacityDt()[i] - liquid->fugacityDt()[i];
        J[n + i][1] = vapour->fugacityDp()[i] - liquid->fugacityDp()[i];
        for (int j = 0; j < n; ++j) {
            J[n + i][4 + j] = -liquid_f_dn[i][j];
            J[n + i][4 + n + j] = vapour_f_dn[i][j];
        }

        J[2 * n][4 + i] = 1;
        J[2 * n][4 + n + i] = -1;
    }
    J[2 * n + 1][2] = 1;
    J[2 * n + 1][3] = 1;
}

void Quenta::write_specification_row(Matrix& J, int row, const std::array<double, 5>& weights)
{
    const auto weight = [&weights](Quantity q) { return weights[code_number(q) - 1]; };
    J[row][0] = weight(temperature_quantity);
    J[row][1] = weight(pressure_quantity);
    J[row][3] = weight(vapour_amount_quantity);
    if (weight(molar_volume_quantity) != 0)
        write_molar_volume_row(J, row);
    if (weight(volumetric_fraction_quantity) != 0)
        write_volumetric_fraction_row(J, row);
}

// Derivatives of nL vL + nV vV.
void Quenta::write_molar_volume_row(Matrix& J, int row)
{
    const int n = component_count;
    const double nL = liquid_moles;
    const double nV = vapour_moles;
    J[row][0] = nV * vapour->dvDt() + nL * liquid->dvDt();
    J[row][1] = nV * vapour->dvDp() + nL * liquid->dvDp();
    J[row][2] = liquid->molarVolume();
    J[row][3] = vapour->molarVolume();
    for (int i = 0; i < n; ++i) {
        J[row][4 + i] = nL * liquid->partialMolarVolume()[i];
        J[row][4 + n + i] = nV * vapour->partialMolarVolume()[i];
    }
}

// Derivatives of nV vV / (nV vV + nL vL).
void Quenta::write_volumetric_fraction_row(Matrix& J, int row)
{
    const int n = component_count;
    const double nL = liquid_moles;
    const double nV = vapour_moles;
    const double vL = liquid->molarVolume();
    const double vV = vapour->molarVolume();
    const double W = nV * vV + nL * vL;
    const double W2 = W * W;
    const double vapour_volume = nV * vV;
    J[row][0] = (nV * vapour->dvDt() * W - vapour_volume * (nV * vapour->dvDt() + nL * liquid->dvDt())) / W2;
    J[row][1] = (nV * vapour->dvDp() * W - vapour_volume * (nV * vapour->dvDp() + nL * liquid->dvDp())) / W2;
    J[row][2] = -vapour_volume * vL / W2;
    J[row][3] = (vV * W - nV * vV * vV) / W2;
    for (int i = 0; i < n; ++i) {
        J[row][4 + i] = -vapour_volume * nL * liquid->partialMolarVolume()[i] / W2;
        const double vapour_partial = nV * vapour->partialMolarVolume()[i];
        J[row][4 + n + i] = (vapour_partial * W - vapour_partial * vapour_volume) / W2;
    }
}

bool Quenta::the_calculated_vector_is_not_good()
{
    const int n = component_count;
    const bool finite = std::isfinite(current_temperature) && std::isfinite(current_pressure)
                        && std::isfinite(liquid_moles) && std::isfinite(vapour_moles)
                        && std::all_of(liquid_composition.begin(), liquid_composition.end(),
                                       [](double v) { return std::isfinite(v); })
                        && std::all_of(vapour_composition.begin(), vapour_composition.end(),
                                       [](double v) { return std::isfinite(v); });
    if (!finite)
        return true;

    for (int i = 0; i < n; ++i) {
        double& x = liquid_composition[i];
        double& y = vapour_composition[i];
        if (inside_fraction_band(x) && inside_fraction_band(y))
            continue;
        if (far_outside(x) || far_outside(y))
            return true;
        x = clamped_fraction(x);
        y = clamped_fraction(y);
    }

    if (current_temperature <= 0 || current_pressure <= 0)
        return true;
    if (amount_out_of_range(vapour_moles) || amount_out_of_range(liquid_moles))
        return true;

    // A model put in another role (set_the_phase_as) gets its role back; the iterate is retried.
    if (!liquid_liquid && (vapour->phase_type != phase_kind::vapour || liquid->phase_type != phase_kind::liquid)) {
        vapour->set_the_phase_as(phase_kind::vapour);
        liquid->set_the_phase_as(phase_kind::liquid);
        return true;
    }
    if (liquid_liquid && (vapour->phase_type != phase_kind::liquid || liquid->phase_type != phase_kind::liquid)) {
        vapour->set_the_phase_as(phase_kind::liquid);
        liquid->set_the_phase_as(phase_kind::liquid);
        return true;
    }

    if (is_it_the_trivial_solution())
        return true;
    // The vapour must be at least as rich in the most volatile component as the liquid.
    return liquid_composition[most_volatile_component] > vapour_composition[most_volatile_component];
}

bool Quenta::is_it_the_trivial_solution() const
{
    double distance = 0;
    for (int i = 0; i < component_count; ++i)
        distance += std::fabs(liquid_composition[i] - vapour_composition[i]);
    return distance < trivial_distance;
}

void Quenta::searchMostVolatileComponent()
{
    most_volatile_component = 0;
    bool found = false;
    for (int i = 0; i < component_count; ++i) {
        if (feed_composition[i] <= 0)
            continue;
        if (!found || critical_temperature[i] < critical_temperature[most_volatile_component]) {
            most_volatile_component = i;
            found = true;
        }
    }
}

}  // namespace quorvel
