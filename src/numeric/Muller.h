#pragma once

#include "numeric/Solver.h"

namespace quorvel {

// Bracketing root finder: bisection combined with inverse quadratic interpolation.
// The two start values must bracket a sign change.
class Muller : public Solver {
public:
    Muller() { maximum_number_of_iterations = 60; }

    void set_initial_values(double first, double second);

    // The root; ask good() afterwards.
    double solve();

private:
    void display_iteration() const;
};

}  // namespace quorvel
