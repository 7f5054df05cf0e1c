#include "numeric/Newton.h"

#include "numeric/LinearSystem.h"
#include "numeric/VectorKernel.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace quorvel {

namespace {

// The halving of the relaxation factor ends at relaxation_limit, and in any case here: a
// limit of 0, a negative one or not a number would never be reached.
constexpr double smallest_relaxation = 1e-12;

// Sums of |v[j]| kept in four lanes by j mod 4, so that the additions need not wait on one
// another: the dense rows of a large system are otherwise bound by the adder's latency. A
// sparse row summed over its non-zero columns has the same bits as summed densely: its
// zeros add nothing to their lanes.
struct LaneSums {
    double lane[4] = {0, 0, 0, 0};
    double total() const { return (lane[0] + lane[1]) + (lane[2] + lane[3]); }
};

QUORVEL_INLINE_KERNEL double absolute_sum(const double* v, int n)
{
    LaneSums sums;
    int j = 0;
    for (; j + 4 <= n; j += 4)
        for (int k = 0; k < 4; ++k)
            sums.lane[k] += std::fabs(v[j + k]);
    // The last few, j being a multiple of four, with fixed lanes: the lanes stay in registers.
    const int rest = n - j;
    if (rest > 0)
        sums.lane[0] += std::fabs(v[j]);
    if (rest > 1)
        sums.lane[1] += std::fabs(v[j + 1]);
    if (rest > 2)
        sums.lane[2] += std::fabs(v[j + 2]);
    return sums.total();
}

QUORVEL_INLINE_KERNEL double absolute_sum(const double* v, const std::vector<int>& columns)
{
    LaneSums sums;
    for (int j : columns)
        sums.lane[j & 3] += std::fabs(v[j]);
    return sums.total();
}

// The outcome of a linear solve that did not solve.
NLESolver::Outcome outcome_of_linear_solve(LinearSystemOutcome outcome)
{
    return outcome == LinearSystemOutcome::empty ? NLESolver::Outcome::empty_system : NLESolver::Outcome::failed;
}

}  // namespace

void Newton::purge()
{
    NLESolver::purge();
    row_sums.clear();
    lower_limit.clear();
    upper_limit.clear();
    limited_.clear();
}

void Newton::_setSysEquationToSolve(Equation* object, SystemFunction function, int n)
{
    if (is_bound_to(object, function, n))
        return;
    NLESolver::_setSysEquationToSolve(object, function, n);
    maximum_residue = 1e-8;
    relaxation_limit = 0.01;
    row_sums.assign(number_of_variables, 0.0);
    lower_limit.assign(number_of_variables, 0.0);
    upper_limit.assign(number_of_variables, 0.0);
    limited_.assign(number_of_variables, 0);
}

void Newton::solve()
{
    modG = 1e15;
    modG0 = 1e15;
    std::fill(dU.begin(), dU.end(), 0.0);
    iteration = 0;
    for (;;) {
        if (progress && !progress(iteration, maximum_number_of_iterations)) {
            outcome_ = Outcome::stopped;
            return;
        }
        if (verbose == Verbosity::iterations_and_systems && iteration > 0)
            display_system();
        if (verbose != Verbosity::silent)
            display_iteration();

        calculate_the_next_vector();
        if (good()) {
            for (double& g : G)
                g = -g;
            const LinearSystemOutcome step = linear_solver ? linear_solver(J, G, dU)
                                                           : solve_the_linear_system(J, G, dU, number_of_variables);
            if (step != LinearSystemOutcome::solved) {
                outcome_ = outcome_of_linear_solve(step);
                std::fprintf(stderr, "The system is degenerated.\n");
            }
        }
        if (convergence())
            break;
    }
}

void Newton::calculate_the_next_vector()
{
    outcome_ = Outcome::converged;
    U0 = U;

    // Shrink the whole step so that no variable moves by more than its own maximum.
    double scale = 1;
    for (int i = 0; i < number_of_variables; ++i)
        scale = std::max(scale, std::fabs(dU[i] / dUmax[i]));
    for (double& step : dU)
        step /= scale;

    double relaxation = 1;
    bool rejected = false;
    for (;;) {
        if (rejected) {
            // A start vector that cannot be evaluated is not worth relaxing.
            if (iteration == 0)
                relaxation = relaxation_limit;
            relaxation /= 2;
            if (!(relaxation >= std::max(relaxation_limit, smallest_relaxation))) {
                outcome_ = Outcome::failed;
                return;
            }
        }
        for (int i = 0; i < number_of_variables; ++i) {
            U[i] = U0[i] + relaxation * dU[i];
            if (!limited_[i])
                continue;
            if (U[i] > upper_limit[i])
                U[i] = U0[i] + 0.9 * relaxation * (upper_limit[i] - U0[i]);
            else if (U[i] < lower_limit[i])
                U[i] = U0[i] + 0.9 * relaxation * (lower_limit[i] - U0[i]);
        }

        bool failed = false;
        if (numerical_jacobian)
            calculate_numerical(U, G, J, failed);
        else
            calculate(U, G, J, failed, Evaluation::with_jacobian);
        if (!failed)
            calculate_module();
        rejected = failed || modG0 < modG;
        if (!rejected)
            break;
    }
    modG0 = modG;
}

QUORVEL_VECTOR_KERNEL
void Newton::calculate_module()
{
    const int n = number_of_variables;  // a local: the rows' stores could alias the member
    double module = 0;
    for (int i = 0; i < number_of_equations; ++i) {
        double* row = J[i];
        const bool sparse = i < int(row_columns.size()) && !row_columns[i].empty();
        const double sum = std::fabs(G[i]) + (sparse ? absolute_sum(row, row_columns[i]) : absolute_sum(row, n));
        row_sums[i] = sum;
        const double weight = sum > 0 ? 1 / sum : 1;
        if (sparse)
            for (int j : row_columns[i])
                row[j] *= weight;
        else
            for (int j = 0; j < n; ++j)
                row[j] *= weight;
        G[i] *= weight;
        module += std::fabs(G[i]);
    }
    modG = module;
}

bool Newton::convergence()
{
    ++iteration;
    if (!good()) {
        if (verbose != Verbosity::silent)
            std::printf("No convergence : calculation failure. modG %12lg  modG0 %12lg\n", modG, modG0);
        return true;
    }
    if (iteration > maximum_number_of_iterations) {
        outcome_ = Outcome::failed;
        if (verbose != Verbosity::silent)
            std::printf("No convergence, itermax = %d", maximum_number_of_iterations);
        return true;
    }
    if (modG0 <= epsilon_) {
        double sum = 0;
        for (int i = 0; i < number_of_variables; ++i)
            sum += std::fabs(dU[i] / dUmax[i]);
        if (sum <= maximum_residue) {
            if (verbose != Verbosity::silent)
                display_iteration();
            return true;
        }
        outcome_ = Outcome::large_final_step;
        if (verbose != Verbosity::silent)
            std::printf("Sum of residues too large\n");
        return true;
    }
    return false;
}

void Newton::display_system() const
{
    for (int i = 0; i < number_of_equations; ++i) {
        for (int j = 0; j < number_of_variables; ++j)
            std::printf("%lg  ", J[i][j]);
        std::printf("\n");
    }
    for (double g : G)
        std::printf("%lg  ", g);
    std::printf("\n");
}

void Newton::display_iteration() const
{
    std::printf("%3d\t\tmodG %12lg\t\t", iteration, modG);
    for (int i = 0; i < number_of_variables; ++i)
        std::printf("U%1d %12lg\t\t\t", i, U[i]);
    std::printf("\n");
}

}  // namespace quorvel
