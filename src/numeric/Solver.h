#pragma once

#include "numeric/DiagnosticFolder.h"
#include "numeric/Equation.h"
#include "numeric/SolverStatus.h"

#include <filesystem>

namespace quorvel {

// Shared part of the one-variable root finders: binding, tolerances, bounds and the
// status of the last solve.
class Solver {
public:
    Solver() = default;

    void _setEquationToSolve(Equation* object, EquationFunction function, void* data = nullptr);
    void set_epsilon(double value) { epsilon_ = value; }
    void set_maximum_number_of_iterations(int value) { maximum_number_of_iterations = value; }
    void set_bounds(double lower, double upper);
    // Prints each iteration on standard output.
    void set_verbose(bool printing) { verbose = printing; }

    [[nodiscard]] bool good() const { return status_ == SolverStatus::converged; }
    [[nodiscard]] SolverStatus status() const { return status_; }
    [[nodiscard]] int iterations() const { return iteration; }
    [[nodiscard]] int maximumNumberOfIterations() const { return maximum_number_of_iterations; }
    // The last two points of the iteration: the newer is the estimate of the root.
    [[nodiscard]] double previousEstimate() const { return x0; }
    [[nodiscard]] double estimate() const { return x1; }

    // Writes n+1 rows of x and f(x) to "solver.txt" and the gnuplot script "solver.gp" in
    // folder; x advances by steps, or by factors when geometric. The plot is shown only
    // when show_with_gnuplot is set. Returns the path of the rows, empty when they could
    // not be written.
    std::filesystem::path plot(double from, double to, int n, bool geometric,
                               const DiagnosticFolder& folder = DiagnosticFolder(), bool show_with_gnuplot = false);

protected:
    // f(x) through the bounds and the evaluation-error flag; sets the status.
    double calcFunction(double x);

    // True to stop: a step below epsilon (relative for |x0| >= 1), a failed last
    // evaluation or the iteration cap; the status tells which.
    bool convergence();

    double x0 = 0;
    double x1 = 0;
    int iteration = 0;
    int maximum_number_of_iterations = 15;
    SolverStatus status_ = SolverStatus::converged;
    bool verbose = false;

private:
    Equation* equation_object = nullptr;
    EquationFunction equation_function = nullptr;
    void* equation_data = nullptr;
    double epsilon_ = 1e-9;
    bool bounded = false;
    double lower_bound = -1e15;
    double upper_bound = 1e15;
};

}  // namespace quorvel
