#include "numeric/Secant.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace quorvel {

namespace {

// The relaxed tries of an iteration end at minimum_relaxation, and in any case at this
// factor: below a minimum of 0 or less the halving would go on until the try lands back on
// the last point, which then passes for a converged step.
constexpr double smallest_relaxation = 1e-12;

}  // namespace

void Secant::set_initial_values(double first, double second)
{
    x0 = first;
    x1 = second;
}

double Secant::solve()
{
    iteration = 0;
    double f0 = calcFunction(x0);
    if (status_ != SolverStatus::converged)
        return 0;
    f1 = calcFunction(x1);
    if (status_ != SolverStatus::converged)
        return 0;

    double x2 = x1;
    for (;;) {
        display_iteration();
        // Relaxed secant step, halved until the point can be evaluated (and, with
        // monotonic_check, until |f| no longer grows with the same sign).
        double r = relaxation;
        double f2 = 0;
        do {
            x2 = (r * f1 * x0 - x1 * (f0 - (1 - r) * f1)) / (f1 - f0);
            f2 = calcFunction(x2);
            r /= 2;
            if (monotonic_check && iteration > 1 && std::fabs(f2) > std::fabs(f1) && f1 * f2 > 0) {
                status_ = SolverStatus::growing_residual;
                if (verbose)
                    std::printf("Increase of the module of the function %lg > %lg\n", f2, f1);
            }
        } while (status_ != SolverStatus::converged && r > std::max(minimum_relaxation, smallest_relaxation) && std::isfinite(r));

        x0 = x1;
        f0 = f1;
        x1 = x2;
        f1 = f2;
        if (convergence())
            break;
    }
    display_iteration();
    return x2;
}

void Secant::display_iteration() const
{
    if (verbose)
        std::printf("%4d\t%12lg\t%12lg\t%12lg\n", iteration, x0, x1, f1);
}

}  // namespace quorvel
