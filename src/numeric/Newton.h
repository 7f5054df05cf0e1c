#pragma once

#include "numeric/NLESolver.h"
#include "numeric/Progress.h"

#include <functional>
#include <span>
#include <vector>

namespace quorvel {

// Damped Newton iteration with row scaling and per-variable step bounds.
// failure: 0 converged; 1 iteration cap, relaxation below its limit or singular step;
// 2 empty system; 3 small residual but a next step larger than maximum_residue; 4 stopped
// by the progress callback.
class Newton : public NLESolver {
public:
    Newton() = default;

    void purge() override;

    void _setSysEquationToSolve(Equation* object, SystemFunction function, int n);

    void set_maximum_residue(double value) { maximum_residue = value; }
    void set_relaxation_limit(double value) { relaxation_limit = value; }

    // Runs the iteration; the outcome is failure (see good()) and the solution U.
    void solve();

    // Solves J dU = b for the step (J and b may be overwritten), err as
    // solve_the_linear_system; the dense elimination when not set. A system whose Jacobian
    // has a known structure solves it faster.
    using LinearSolver = std::function<void(Matrix& J, std::span<double> b, std::span<double> x, int& err)>;
    LinearSolver linear_solver;
    // Asked before each iteration with the iteration and the cap; no question when not set.
    ProgressCallback progress;
    static constexpr int stopped = 4;
    bool was_stopped() const { return failure == stopped; }
    Vector row_sums;
    // For a Jacobian with a known structure, the columns (ascending) where each row may be
    // non-zero: the row scaling reads those alone. A row not given, or given none, is dense.
    std::vector<std::vector<int>> row_columns;
    double maximum_residue = 1e-8;
    double relaxation_limit = 0.01;
    Vector lower_limit;
    Vector upper_limit;
    std::vector<char> limited;

private:
    void calculate_the_next_vector();
    void calculate_module();
    bool convergence();
    void display_system() const;
    void display_iteration() const;
};

}  // namespace quorvel
