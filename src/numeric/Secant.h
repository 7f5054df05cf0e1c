#pragma once

#include "numeric/Solver.h"

namespace quorvel {

// Relaxed secant method.
class Secant : public Solver {
public:
    Secant() = default;

    void set_initial_values(double first, double second);

    // The root; ask good() afterwards.
    double solve();

    void display_iteration() const;

    double relaxation = 1;
    double minimum_relaxation = 0.01;
    double f1 = 0;
    short monotonic_check = 0;
};

}  // namespace quorvel
