#include "numeric/Muller.h"

#include <cstdio>
#include <utility>

namespace quorvel {

void Muller::set_initial_values(double first, double second)
{
    x0 = first;
    x1 = second;
}

double Muller::solve()
{
    iteration = 0;
    double fA = calcFunction(x0);
    if (status_ != SolverStatus::converged)
        return 0;
    if (fA == 0)
        return x0;
    double fB = calcFunction(x1);
    if (status_ != SolverStatus::converged)
        return 0;
    if (fB == 0)
        return x1;
    if (fA * fB > 0) {
        if (verbose)
            std::printf("Initialization error\n");
        status_ = SolverStatus::evaluation_failed;
        return 0;
    }

    double m = 0, fm = 0, x = 0, fx = 0;
    // Bisects the bracket (x0, x1) and interpolates through its ends and its midpoint.
    // True when an evaluation failed or hit an exact zero, which end the solve.
    auto bisect_and_interpolate = [&]() {
        m = (x0 + x1) / 2;
        fm = calcFunction(m);
        if (status_ != SolverStatus::converged || fm == 0) {
            x = m;
            fx = fm;
            return true;
        }
        if (fm * fB < 0) {  // keep the sign change between x0 and m
            std::swap(x0, x1);
            std::swap(fA, fB);
        }
        const double D = (fB - fA) * fB - 2 * fm * (fm - fA);
        if (D > 0) {
            x = x0 + (x1 - x0) * fA * D / (2 * (fA - fB) * (fB - fm) * (fm - fA));
            fx = calcFunction(x);
            return status_ != SolverStatus::converged || fx == 0;
        }
        x = m;
        fx = fm;
        return false;
    };

    if (bisect_and_interpolate())
        return x;
    for (;;) {
        display_iteration();
        if (fA * fx > 0) {
            x0 = x;
            fA = fx;
            x1 = m;
            fB = fm;
        } else {
            x1 = x;
            fB = fx;
        }
        if (bisect_and_interpolate())
            break;
        if (convergence())
            break;
    }
    display_iteration();
    return x;
}

void Muller::display_iteration() const
{
    if (verbose)
        std::printf("%d\t%lg\t%lg\n", iteration, x0, x1);
}

}  // namespace quorvel
