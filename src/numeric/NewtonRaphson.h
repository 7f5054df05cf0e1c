#pragma once

#include "numeric/DiagnosticFolder.h"
#include "numeric/Equation.h"
#include "numeric/SolverStatus.h"

#include <filesystem>

namespace quorvel {

// f(x) and f'(x) of one variable; on failure the function sets evaluation_error.
using DerivativeFunction = void (Equation::*)(double x, double& f, double& df);

// One-variable Newton-Raphson with relaxation, bounds and a bisection fallback.
class NewtonRaphson {
public:
    NewtonRaphson() = default;

    void _setEquationToSolve(Equation* object, DerivativeFunction function);
    void set_epsilon(double value) { epsilon_ = value; }
    void set_maximum_number_of_iterations(int value) { maximum_number_of_iterations = value; }
    void set_bounds(double lower, double upper);
    void set_initial_value(double x) { x0 = x; }
    // The first try of each iteration takes this fraction of the Newton step.
    void set_relaxation(double value) { relaxation = value; }
    // A try whose |f| grows or whose f' changes sign fails (status growing_residual or
    // convexity_changed).
    void set_monotonic_check(bool checking) { monotonic_check = checking; }
    // Prints each failure on standard output.
    void set_verbose(bool printing) { verbose = printing; }

    [[nodiscard]] bool good() const { return status_ == SolverStatus::converged; }
    [[nodiscard]] SolverStatus status() const { return status_; }
    [[nodiscard]] int iterations() const { return iteration; }
    // The ends of the bracket the iterates have found: x of the smallest positive f and of
    // the largest non-positive f (0 while none is known).
    [[nodiscard]] double positiveEnd() const { return x_positive; }
    [[nodiscard]] double negativeEnd() const { return x_negative; }

    // The root; ask good() afterwards.
    double solve();

    // Writes n+1 rows "x f" from `from` to `to` into the file "nr" in folder; returns its
    // path, empty when it could not be written.
    std::filesystem::path plot(double from, double to, int n, const DiagnosticFolder& folder = DiagnosticFolder());

    // Prints the analytical and the central-difference derivative at x (step h).
    void check_derivatives(double x, double h);

private:
    SolverStatus evaluate(double x, double& f, double& df);
    void update_bracket(double x, double f);
    bool converged(double previous, double next) const;
    double bisect();

    Equation* equation_object = nullptr;
    DerivativeFunction equation_function = nullptr;
    double x0 = 0;
    double x1 = 0;
    double f0 = 0;
    double f1 = 0;
    double df0 = 0;
    double df1 = 0;
    double x_positive = 0;       // x of the smallest positive f found
    double f_positive = 1e100;
    double x_negative = 0;       // x of the largest non-positive f found
    double f_negative = -1e100;
    int iteration = 0;
    int maximum_number_of_iterations = 15;
    SolverStatus status_ = SolverStatus::converged;
    double epsilon_ = 1e-9;
    bool verbose = false;
    bool bounded = false;
    double lower_bound = -1e15;
    double upper_bound = 1e15;
    double relaxation = 1;
    bool monotonic_check = false;
};

}  // namespace quorvel
