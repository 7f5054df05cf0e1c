#pragma once

#include "numeric/DiagnosticFolder.h"
#include "numeric/Equation.h"

#include <filesystem>

namespace quorvel {

// Shared part of the one-variable root finders: binding, tolerances, bounds and the
// solver status (0 converged, 1 iteration cap, 2 below lower_bound, 3 above upper_bound,
// 4 evaluation error or, for Muller, no sign change, 5 growing |f| with monotonic_check).
class Solver {
public:
    Solver() = default;

    void _setEquationToSolve(Equation* object, EquationFunction function, void* data = nullptr);
    void set_epsilon(double value) { epsilon = value; }
    void set_maximum_number_of_iterations(int value) { maximum_number_of_iterations = value; }
    void set_bounds(double lower, double upper);

    bool good() const { return status == 0; }

    // f(x) through the bounds and the evaluation-error flag; sets status.
    double calcFunction(double x);

    // True to stop: a step below epsilon (relative for |x0| >= 1), a failed last
    // evaluation or the iteration cap; status tells which.
    bool convergence();

    // Writes n+1 rows of x and f(x) to "solver.txt" and the gnuplot script "solver.gp" in
    // folder; x advances by steps, or by factors when geometric is non-zero. The plot is
    // shown only when show_with_gnuplot is set. Returns the path of the rows, empty when
    // they could not be written.
    std::filesystem::path plot(double from, double to, int n, char geometric,
                               const DiagnosticFolder& folder = DiagnosticFolder(), bool show_with_gnuplot = false);

    Equation* equation_object = nullptr;
    EquationFunction equation_function = nullptr;
    void* equation_data = nullptr;
    double x0 = 0;
    double x1 = 0;
    int iteration = 0;
    int maximum_number_of_iterations = 15;
    short status = 0;
    double epsilon = 1e-9;
    short verbose = 0;
    short bounded = 0;
    double lower_bound = -1e15;
    double upper_bound = 1e15;
};

}  // namespace quorvel
