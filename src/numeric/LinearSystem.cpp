#include "numeric/LinearSystem.h"

#include "numeric/VectorKernel.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numeric>
#include <utility>
#include <vector>

namespace quorvel {

namespace {

constexpr double singular_pivot = 1.02e-25;
constexpr double singular_inverse_pivot = 1.2e-20;

// Row of the largest |A[p][k]| for p >= k; the first row wins a tie.
QUORVEL_INLINE_KERNEL int pivot_row(const Matrix& A, int n, int k)
{
    int best = k;
    double largest = std::fabs(A[k][k]);
    for (int p = k + 1; p < n; ++p) {
        const double magnitude = std::fabs(A[p][k]);
        if (magnitude > largest) {
            best = p;
            largest = magnitude;
        }
    }
    return best;
}

// Brings row p, of the largest pivot of column k, to row k, exchanging columns from on.
// False, with the message, when the pivot is too small.
QUORVEL_INLINE_KERNEL bool take_pivot(Matrix& A, std::span<double> b, int n, int p, int k, int from)
{
    if (!(std::fabs(A[p][k]) > singular_pivot)) {
        std::printf("Singular matrix\n");
        return false;
    }
    permutation(A, n, p, k, from);
    permutation(b, p, k);
    return true;
}

QUORVEL_INLINE_KERNEL void divide_pivot_row(Matrix& A, std::span<double> b, int n, int k)
{
    double* row = A[k];
    const double inverse_pivot = 1 / row[k];  // one division, then products
    for (int j = k + 1; j < n; ++j)
        row[j] *= inverse_pivot;
    b[k] *= inverse_pivot;
}

// row[j] -= factor * pivot_row[j] for j from first on; nothing for a zero factor, which the
// sparse equilibrium Jacobians have plenty of.
QUORVEL_INLINE_KERNEL void subtract(double* row, const double* pivot_row, double factor, int first, int n)
{
    if (factor == 0)
        return;
    for (int j = first; j < n; ++j)
        row[j] -= factor * pivot_row[j];
}

// The elimination works on panels of up to four columns: the steps of a panel's columns are
// applied to the rows below in one pass, each element getting the subtractions of the steps
// in their order, so the result is that of one step after another with the rows read and
// written a quarter as often. A row's factor of a step stays in the step's column and moves
// with the row.
constexpr int panel_width = 4;
constexpr int smallest_paneled_system = 24;

// Which of a panel's steps change the rows below: a step whose pivot row is empty right of
// its column (the row of a fixed variable) changes only their right-hand sides.
struct PanelSteps {
    bool has_entries[panel_width] = {};
};

QUORVEL_INLINE_KERNEL bool has_entries_right_of(const double* row, int column, int n)
{
    for (int j = column + 1; j < n; ++j)
        if (row[j] != 0)
            return true;
    return false;
}

// A row below gets two or four steps at once. The row and the pivot rows are distinct rows,
// so no store changes what is read: the loops vectorise without checks.
QUORVEL_INLINE_KERNEL void subtract_four(double* __restrict row, const double* __restrict p0,
                                         const double* __restrict p1, const double* __restrict p2,
                                         const double* __restrict p3, const double* factors, int first, int n)
{
    const double f0 = factors[0], f1 = factors[1], f2 = factors[2], f3 = factors[3];
    for (int j = first; j < n; ++j)
        row[j] = (((row[j] - f0 * p0[j]) - f1 * p1[j]) - f2 * p2[j]) - f3 * p3[j];
}

QUORVEL_INLINE_KERNEL void subtract_two(double* __restrict row, const double* __restrict p0,
                                        const double* __restrict p1, const double* factors, int first, int n)
{
    const double f0 = factors[0], f1 = factors[1];
    for (int j = first; j < n; ++j)
        row[j] = (row[j] - f0 * p0[j]) - f1 * p1[j];
}

// Applies to row, from column first on, the steps k .. k + count - 1 whose factors (the
// row's entries in their columns) are not zero, in their order; b_row likewise.
QUORVEL_INLINE_KERNEL void apply_steps(double* row, double& b_row, const Matrix& A, std::span<const double> b,
                                       const PanelSteps& steps, int k, int count, int first, int n)
{
    const double* pivots[panel_width];
    double factors[panel_width];
    int terms = 0;
    for (int s = k; s < k + count; ++s) {
        if (row[s] == 0)
            continue;
        b_row -= b[s] * row[s];
        if (!steps.has_entries[s - k])
            continue;
        pivots[terms] = A[s];
        factors[terms++] = row[s];
    }
    if (terms == 4)
        subtract_four(row, pivots[0], pivots[1], pivots[2], pivots[3], factors, first, n);
    else if (terms == 2)
        subtract_two(row, pivots[0], pivots[1], factors, first, n);
    else {
        for (int t = 0; t < terms; ++t)
            subtract(row, pivots[t], factors[t], first, n);
    }
}

// The common case of apply_steps, a full panel of steps with pivot rows that have entries
// and a row with all four factors, without the bookkeeping. False, having done nothing,
// otherwise.
QUORVEL_INLINE_KERNEL bool apply_four_steps(double* row, double& b_row, const Matrix& A, std::span<const double> b,
                                            int k, int first, int n)
{
    const double factors[panel_width] = {row[k], row[k + 1], row[k + 2], row[k + 3]};
    if (factors[0] == 0 || factors[1] == 0 || factors[2] == 0 || factors[3] == 0)
        return false;
    b_row = (((b_row - b[k] * factors[0]) - b[k + 1] * factors[1]) - b[k + 2] * factors[2]) - b[k + 3] * factors[3];
    subtract_four(row, A[k], A[k + 1], A[k + 2], A[k + 3], factors, first, n);
    return true;
}

// Column c from row c down gets the steps k .. k + Steps - 1 of its panel; returns the row of
// its largest magnitude then (the first row wins a tie). A zero factor or a zero pivot-row
// entry subtracts nothing, so every product is taken: no branch in the update.
template <int Steps>
QUORVEL_INLINE_KERNEL int update_column_and_find_pivot(Matrix& A, int n, int k, int c)
{
    double pivot_entries[Steps + 1];
    for (int s = 0; s < Steps; ++s)
        pivot_entries[s] = A[k + s][c];
    const auto update = [&](double* row) {
        double value = row[c];
        for (int s = 0; s < Steps; ++s)
            value -= row[k + s] * pivot_entries[s];
        row[c] = value;
        return std::fabs(value);
    };
    int best = c;
    double largest = update(A[c]);
    for (int i = c + 1; i < n; ++i) {
        const double magnitude = update(A[i]);
        if (magnitude > largest) {
            best = i;
            largest = magnitude;
        }
    }
    return best;
}

QUORVEL_INLINE_KERNEL int update_column_and_find_pivot(Matrix& A, int n, int k, int c)
{
    static_assert(panel_width == 4, "one case per number of earlier steps in a panel");
    switch (c - k) {
    case 0:
        return update_column_and_find_pivot<0>(A, n, k, c);
    case 1:
        return update_column_and_find_pivot<1>(A, n, k, c);
    case 2:
        return update_column_and_find_pivot<2>(A, n, k, c);
    default:
        return update_column_and_find_pivot<panel_width - 1>(A, n, k, c);
    }
}

// The steps of columns k .. k + width - 1. Each column is brought up to date below the
// panel's earlier pivots before its pivot is chosen; the pivot row gets the earlier steps
// before it is divided; the rows below the panel get all its steps at the end.
QUORVEL_INLINE_KERNEL bool eliminate_panel(Matrix& A, std::span<double> b, int n, int k, int width)
{
    PanelSteps steps;
    for (int c = k; c < k + width; ++c) {
        const int p = update_column_and_find_pivot(A, n, k, c);
        if (!take_pivot(A, b, n, p, c, k))
            return false;
        apply_steps(A[c], b[c], A, b, steps, k, c - k, c + 1, n);
        divide_pivot_row(A, b, n, c);
        steps.has_entries[c - k] = has_entries_right_of(A[c], c, n);
    }
    const bool full_panel = width == panel_width && std::all_of(std::begin(steps.has_entries),
                                                                 std::end(steps.has_entries),
                                                                 [](bool has) { return has; });
    for (int i = k + width; i < n; ++i)
        if (!full_panel || !apply_four_steps(A[i], b[i], A, b, k, k + width, n))
            apply_steps(A[i], b[i], A, b, steps, k, width, k + width, n);
    return true;
}

// One step of a small system: the pivot of column k, then its subtraction from the rows
// below, whose right-hand sides follow.
QUORVEL_INLINE_KERNEL bool eliminate_column(Matrix& A, std::span<double> b, int n, int k)
{
    if (!take_pivot(A, b, n, pivot_row(A, n, k), k, k))
        return false;
    divide_pivot_row(A, b, n, k);
    for (int i = k + 1; i < n; ++i) {
        double* row = A[i];
        const double factor = row[k];
        if (factor == 0)
            continue;
        subtract(row, A[k], factor, k + 1, n);
        b[i] -= b[k] * factor;
    }
    return true;
}

}  // namespace

QUORVEL_VECTOR_KERNEL
LinearSystemOutcome solve_the_linear_system(Matrix& A, std::span<double> b, std::span<double> x, int n)
{
    if (n < 1)
        return LinearSystemOutcome::empty;
    // Panels pay off on large systems; a small one is eliminated a column at a time.
    if (n < smallest_paneled_system) {
        for (int k = 0; k < n; ++k)
            if (!eliminate_column(A, b, n, k))
                return LinearSystemOutcome::singular;
    } else {
        for (int k = 0; k < n; k += panel_width)
            if (!eliminate_panel(A, b, n, k, std::min(panel_width, n - k)))
                return LinearSystemOutcome::singular;
    }
    // Back substitution by columns: once x_j is known it leaves every row above, whose
    // subtractions are then independent of one another instead of one chain per row.
    for (int j = n - 1; j > 0; --j) {
        const double x_j = b[j];
        for (int i = 0; i < j; ++i)
            b[i] -= x_j * A[i][j];
    }
    for (int i = 0; i < n; ++i)
        x[i] = b[i];
    return LinearSystemOutcome::solved;
}

LinearSystemOutcome inverse(Matrix& A, int n)
{
    std::vector<int> record(n > 0 ? n : 0);
    std::iota(record.begin(), record.end(), 0);

    for (int k = 0; k < n; ++k) {
        const int p = pivot_row(A, n, k);
        // The last column needs no exchange, but its pivot is tested like the others.
        if (!(std::fabs(A[p][k]) > singular_inverse_pivot))
            return LinearSystemOutcome::singular;
        if (p != k) {
            permutation(A, n, p, k, 0);
            std::swap(record[p], record[k]);
        }

        const double pivot = A[k][k];
        for (int j = 0; j < n; ++j)
            A[k][j] /= pivot;
        for (int i = 0; i < n; ++i) {
            if (i == k)
                continue;
            for (int j = 0; j < n; ++j)
                if (j != k)
                    A[i][j] -= A[i][k] * A[k][j];
        }
        for (int i = 0; i < n; ++i)
            A[i][k] = -A[i][k] / pivot;
        A[k][k] = -A[k][k];
    }

    // Undo the row exchanges as column exchanges.
    for (int i = 0; i < n; ++i) {
        int j = i;
        while (record[j] != i)
            ++j;
        if (j != i) {
            record[j] = record[i];
            for (int row = 0; row < n; ++row)
                std::swap(A[row][i], A[row][j]);
        }
    }
    return LinearSystemOutcome::solved;
}

void permutation(std::span<double> v, int i, int j)
{
    if (i != j)
        std::swap(v[i], v[j]);
}

void permutation(Matrix& A, int n, int i, int j, int first)
{
    if (i == j)
        return;
    for (int column = first; column < n; ++column)
        std::swap(A[i][column], A[j][column]);
}

void solve_tridiagonal_system(int n, std::span<const double> diagonal, std::span<const double> upper,
                              std::span<const double> lower, std::span<const double> rhs,
                              std::span<double> x)
{
    if (n < 1)
        return;
    std::vector<double> g(n), r(n);
    g[0] = n > 1 ? upper[0] / diagonal[0] : 0;
    r[0] = rhs[0] / diagonal[0];
    for (int i = 1; i < n; ++i) {
        const double d = diagonal[i] - lower[i] * g[i - 1];
        g[i] = i < n - 1 ? upper[i] / d : 0;
        r[i] = (rhs[i] - lower[i] * r[i - 1]) / d;
    }
    x[n - 1] = r[n - 1];
    for (int i = n - 2; i >= 0; --i)
        x[i] = r[i] - g[i] * x[i + 1];
}

void solve_pentadiagonal_system(int n, std::span<const double> diagonal, std::span<const double> upper1,
                                std::span<const double> upper2, std::span<const double> lower1,
                                std::span<const double> lower2, std::span<const double> rhs,
                                std::span<double> x)
{
    if (n < 1)
        return;
    std::vector<double> d(diagonal.begin(), diagonal.begin() + n);
    std::vector<double> u1(upper1.begin(), upper1.begin() + n);
    std::vector<double> l1(lower1.begin(), lower1.begin() + n);
    std::vector<double> r(rhs.begin(), rhs.begin() + n);
    std::vector<double> u2(n, 0.0);
    for (int j = 0; j < n - 2; ++j)
        u2[j] = upper2[j];

    // Remove the second lower diagonal with the row above.
    for (int j = 2; j < n; ++j) {
        const double m = lower2[j] / l1[j - 1];
        l1[j] -= d[j - 1] * m;
        d[j] -= u1[j - 1] * m;
        u1[j] -= u2[j - 1] * m;
        r[j] -= r[j - 1] * m;
    }

    std::vector<double> p(n), q(n), s(n);
    p[0] = u1[0] / d[0];
    q[0] = u2[0] / d[0];
    s[0] = r[0] / d[0];
    for (int j = 1; j < n; ++j) {
        const double pivot = d[j] - l1[j] * p[j - 1];
        p[j] = (u1[j] - l1[j] * q[j - 1]) / pivot;
        q[j] = u2[j] / pivot;
        s[j] = (r[j] - l1[j] * s[j - 1]) / pivot;
    }

    x[n - 1] = s[n - 1];
    if (n > 1)
        x[n - 2] = s[n - 2] - p[n - 2] * x[n - 1];
    for (int i = n - 3; i >= 0; --i)
        x[i] = s[i] - p[i] * x[i + 1] - q[i] * x[i + 2];
}

}  // namespace quorvel
