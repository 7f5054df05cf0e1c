#pragma once

#include "numeric/Matrix.h"
#include "numeric/Newton.h"
#include "thermo/IdealMixture.h"
#include "thermo/PredictorState.h"

#include <array>
#include <span>

namespace quorvel {

// Rigorous two-phase equilibrium: 2n+4 equations in the variables
// U = [T, P, nL, nV, x_0..x_n-1, y_0..y_n-1] solved by a damped Newton iteration with an
// analytic Jacobian:
//   nL x_i + nV y_i = feed_i,  fV_i = fL_i,  sum(x_i - y_i) = 0,  nL + nV = feed,
// and two specification equations chosen by the type of problem.
// Also traces isopleths and isochores by predictor steps from the derivatives of the
// converged solution along the curve.
class Quenta : public IdealMixture {
public:
    // The constrained quantities (VLE.h) by their names, as Quenta::temperature_quantity.
    using enum Quantity;

    Quenta();
    Quenta(FluidPhase& a, FluidPhase& b);
    ~Quenta() override;

    void number_of_components(short n) override;
    void set_type_of_problem(problem_type t) override;
    void set_initialization_flag(initialization flag) override;
    void initialize() override;
    void calculateVLE() override;

    // Solves the problem of the given type (problem_type) from ideal-mixture start values.
    // The two fixed quantities come in the order of the type's digits, in the units of
    // their setters: T in K, P in bar, molar or volumetric vapour fraction, molar volume in
    // m3/mol. True when the solve converged; its outcome is also in failure_code.
    bool solveFromIdealMixture(problem_type type, double first, double second);

    // The system handed to newton.
    void calculate_vector_function(std::span<const double> U, std::span<double> G, Matrix& J, bool& failed,
                                   Evaluation evaluation, void* data);
    // Jacobian of the 2n+2 equilibrium rows from the phases' last evaluation; the two
    // specification rows are left 0.
    void fill_in_the_Jacobian_matrix(Matrix& J);
    bool the_calculated_vector_is_not_good();
    bool is_it_the_trivial_solution() const;
    // The present component (feed fraction above 0) of lowest critical temperature.
    void searchMostVolatileComponent();

    // Derivatives of all variables with respect to quantity code1 along the curve where
    // quantity code2 stays fixed. False when the system is singular or its solution not finite.
    bool calculate_derivatives(std::span<double> dU, Quantity code1, Quantity code2);
    // The Newton step J x = b of the equilibrium system: each component's material balance
    // gives one of its two mole-fraction steps from the other (the one of the larger
    // coefficient goes), which leaves a dense system of n + 4 unknowns instead of 2n + 4.
    // Falls back to the dense elimination of the whole system when a balance row is empty.
    [[nodiscard]] LinearSystemOutcome solve_newton_step(Matrix& J, std::span<double> b, std::span<double> x);
    std::vector<std::vector<int>> sparse_rows_of_the_jacobian() const;
    // The two specification rows of the Jacobian: 2n+2 and 2n+3.
    enum class SpecificationRow { first, second };
    // Jacobian row of one specified quantity.
    void set_constraint(Matrix& J, Quantity code, SpecificationRow which);

    // Start values of the next point of an isopleth (types 13 and 23) or an isochore
    // (types 14 and 24) from the saved state. False when no prediction could be made (a step
    // or factor that is not a finite number, another type of problem, or a singular
    // derivative system): failure_code is then 1 and the next
    // calculateVLE fails without solving, unless a type of problem or an initialization
    // flag is set first.
    bool estimateNextIsoplethPoint(double factor, double dT, double dP);
    bool estimateNextIsochorPoint(double factor, double dT);

    // The number of variables and equations, 2n+4.
    [[nodiscard]] short variableCount() const { return variable_count; }
    // dP/dT of the current curve at the saved point, Pa/K.
    [[nodiscard]] double pathSlope() const { return path_slope; }
    [[nodiscard]] int mostVolatileComponent() const { return most_volatile_component; }
    // The isochore started against the requested direction.
    [[nodiscard]] bool isochoreReversed() const { return isochore_reversed; }
    void setIsochoreReversed(bool reversed) { isochore_reversed = reversed; }
    // The Newton solver of the equilibrium system and its last solve.
    [[nodiscard]] const Newton& solver() const { return newton; }

protected:
    // Sets the fixed value of one constrained quantity with its setter.
    void specify(Quantity quantity, double value);

    Newton newton;
    Vector derivatives;  // of the variables along the curve of the last predictor step

private:
    short variable_count = 0;
    std::array<double, 5> first_constraint{};
    std::array<double, 5> second_constraint{};
    Vector initial_variables;
    Vector maximum_steps;
    Vector derivative_rhs;
    Matrix jacobian;
    double path_slope = 0;
    int most_volatile_component = 0;
    bool isochore_reversed = false;
    PredictorState predictor;

    // Work space of solve_newton_step.
    struct ReducedStep {
        Matrix matrix;
        std::vector<double> rhs, solution;
        std::vector<int> eliminated, kept;  // columns of each component's two mole fractions
        // Each balance row divided by its eliminated coefficient: the kept fraction's, nL's
        // and nV's coefficients and the right-hand side.
        std::vector<double> kept_coefficient, liquid_coefficient, vapour_coefficient, balance_rhs;
    };
    ReducedStep reduced_step;
    template <int Rows>
    void reduce_rows(const Matrix& J, std::span<const double> b, int first);
    void take_start_values_from_estimates();
    void keep_compositions_within_bounds();
    void write_specification_row(Matrix& J, int row, const std::array<double, 5>& weights);
    void write_molar_volume_row(Matrix& J, int row);
    void write_volumetric_fraction_row(Matrix& J, int row);
    bool derivatives_along(Quantity code1, Quantity code2);
    bool prediction_failed();
    bool estimated_compositions_within(double low, double high) const;
    void extrapolate_compositions(double step);
};

}  // namespace quorvel
