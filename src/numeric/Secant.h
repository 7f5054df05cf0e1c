#pragma once

#include "numeric/Solver.h"

namespace quorvel {

// Relaxed secant method.
class Secant : public Solver {
public:
    Secant() = default;

    void set_initial_values(double first, double second);
    // The first try of each iteration takes this fraction of the secant step; the halving
    // of a failed try ends at the minimum.
    void set_relaxation(double value) { relaxation = value; }
    void set_minimum_relaxation(double value) { minimum_relaxation = value; }
    // A try whose |f| grows with the same sign fails (status growing_residual).
    void set_monotonic_check(bool checking) { monotonic_check = checking; }

    // The root; ask good() afterwards.
    double solve();

private:
    void display_iteration() const;

    double relaxation = 1;
    double minimum_relaxation = 0.01;
    double f1 = 0;
    bool monotonic_check = false;
};

}  // namespace quorvel
