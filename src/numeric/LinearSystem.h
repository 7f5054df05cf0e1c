#pragma once

#include "numeric/Matrix.h"

#include <span>

namespace quorvel {

enum class LinearSystemOutcome {
    solved,
    singular,  // a pivot too small
    empty,     // fewer than one variable
};

// Solves A x = b for n variables by Gaussian elimination with partial pivoting.
// A and b are overwritten; once solved b holds the solution and x a copy of it. A singular
// matrix is reported on standard output ("Singular matrix").
[[nodiscard]] LinearSystemOutcome solve_the_linear_system(Matrix& A, std::span<double> b, std::span<double> x,
                                                          int n);

// Replaces the n x n matrix A by its inverse (Gauss-Jordan with row exchanges); singular
// when a pivot is too small, A then left partly transformed.
[[nodiscard]] LinearSystemOutcome inverse(Matrix& A, int n);

// Exchanges v[i] and v[j].
void permutation(std::span<double> v, int i, int j);

// Exchanges rows i and j of A in the columns first to n-1.
void permutation(Matrix& A, int n, int i, int j, int first);

// Row i: lower[i] x[i-1] + diagonal[i] x[i] + upper[i] x[i+1] = rhs[i]. No pivoting.
void solve_tridiagonal_system(int n, std::span<const double> diagonal, std::span<const double> upper,
                              std::span<const double> lower, std::span<const double> rhs,
                              std::span<double> x);

// Row i: lower2[i] x[i-2] + lower1[i] x[i-1] + diagonal[i] x[i] + upper1[i] x[i+1]
// + upper2[i] x[i+2] = rhs[i]; upper2 has n-2 entries, the others n. No pivoting.
void solve_pentadiagonal_system(int n, std::span<const double> diagonal, std::span<const double> upper1,
                                std::span<const double> upper2, std::span<const double> lower1,
                                std::span<const double> lower2, std::span<const double> rhs,
                                std::span<double> x);

}  // namespace quorvel
