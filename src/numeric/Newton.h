#pragma once

#include "numeric/LinearSystem.h"
#include "numeric/NLESolver.h"
#include "numeric/Progress.h"

#include <functional>
#include <span>
#include <utility>
#include <vector>

namespace quorvel {

// Damped Newton iteration with row scaling and per-variable step bounds.
// The outcome (see NLESolver::Outcome): failed at the iteration cap, with the relaxation
// below its limit or on a singular step; large_final_step for a small residual but a next
// step larger than maximum_residue; stopped by the progress callback.
class Newton : public NLESolver {
public:
    Newton() = default;

    void purge() override;

    void _setSysEquationToSolve(Equation* object, SystemFunction function, int n);

    void set_maximum_residue(double value) { maximum_residue = value; }
    void set_relaxation_limit(double value) { relaxation_limit = value; }

    // Runs the iteration; the outcome is outcome() (see good()) and the solution U.
    void solve();

    // Solves J dU = b for the step (J and b may be overwritten), as solve_the_linear_system;
    // the dense elimination when not set. A system whose Jacobian has a known structure
    // solves it faster.
    using LinearSolver = std::function<LinearSystemOutcome(Matrix& J, std::span<double> b, std::span<double> x)>;
    void set_linear_solver(LinearSolver solver) { linear_solver = std::move(solver); }
    // Asked before each iteration with the iteration and the cap; no question when not set.
    void set_progress(ProgressCallback callback) { progress = std::move(callback); }
    [[nodiscard]] const ProgressCallback& progressCallback() const { return progress; }
    [[nodiscard]] bool was_stopped() const { return outcome_ == Outcome::stopped; }
    // For a Jacobian with a known structure, the columns (ascending) where each row may be
    // non-zero: the row scaling reads those alone. A row not given, or given none, is dense.
    void set_row_columns(std::vector<std::vector<int>> columns) { row_columns = std::move(columns); }
    // Variable i stays within [lower, upper]: a step beyond a bound goes nine tenths of the
    // way to it.
    void limit_variable(int i, double lower, double upper)
    {
        limited_[i] = 1;
        lower_limit[i] = lower;
        upper_limit[i] = upper;
    }

    [[nodiscard]] double maximumResidue() const { return maximum_residue; }
    [[nodiscard]] double relaxationLimit() const { return relaxation_limit; }
    // The sums of |J_ij| and |G_i| of each row at the last iterate, before its scaling.
    [[nodiscard]] const Vector& rowSums() const { return row_sums; }
    // 1 for each variable kept within its limits.
    [[nodiscard]] const std::vector<char>& limited() const { return limited_; }

private:
    void calculate_the_next_vector();
    void calculate_module();
    bool convergence();
    void display_system() const;
    void display_iteration() const;

    LinearSolver linear_solver;
    ProgressCallback progress;
    Vector row_sums;
    std::vector<std::vector<int>> row_columns;
    double maximum_residue = 1e-8;
    double relaxation_limit = 0.01;
    Vector lower_limit;
    Vector upper_limit;
    std::vector<char> limited_;
};

}  // namespace quorvel
