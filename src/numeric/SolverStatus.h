#pragma once

namespace quorvel {

// How the last solve of a one-variable root finder ended.
enum class SolverStatus : short {
    converged = 0,
    iteration_cap = 1,
    below_lower_bound = 2,
    above_upper_bound = 3,
    evaluation_failed = 4,  // for Muller also start values without a sign change between them
    growing_residual = 5,   // |f| grew (with the same sign) under the monotonic check
    convexity_changed = 6,  // NewtonRaphson: f' changed sign under the monotonic check
};

[[nodiscard]] constexpr int code_number(SolverStatus status) { return static_cast<int>(status); }

}  // namespace quorvel
