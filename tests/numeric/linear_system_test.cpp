#include "numeric/LinearSystem.h"
#include "numeric/Matrix.h"

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <random>
#include <string>
#include <vector>

using namespace quorvel;

namespace {

Matrix matrix_of(std::initializer_list<std::initializer_list<double>> rows)
{
    Matrix m(int(rows.size()), int(rows.begin()->size()));
    int i = 0;
    for (const auto& row : rows) {
        int j = 0;
        for (double value : row)
            m[i][j++] = value;
        ++i;
    }
    return m;
}

Matrix product(const Matrix& a, const Matrix& b)
{
    Matrix c(a.rows(), b.columns());
    for (int i = 0; i < a.rows(); ++i)
        for (int j = 0; j < b.columns(); ++j)
            for (int k = 0; k < a.columns(); ++k)
                c[i][j] += a[i][k] * b[k][j];
    return c;
}

Matrix random_matrix(int n, std::mt19937& generator)
{
    std::uniform_real_distribution<double> value(-1, 1);
    Matrix m(n, n);
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j)
            m[i][j] = value(generator);
    return m;
}

}  // namespace

TEST(Allocate, GivesZeroFilledVectorsAndMatrices)
{
    const Vector v = allocate(4);
    EXPECT_EQ(v, Vector(4, 0.0));

    const Matrix m = allocate(3, 2);
    ASSERT_EQ(m.rows(), 3);
    ASSERT_EQ(m.columns(), 2);
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 2; ++j)
            EXPECT_EQ(m[i][j], 0.0);
}

TEST(SolveTheLinearSystem, OneByOneAndEmptySystems)
{
    Matrix a = matrix_of({{4}});
    Vector b{2}, x{-1};
    EXPECT_EQ(solve_the_linear_system(a, b, x, 1), LinearSystemOutcome::solved);
    EXPECT_DOUBLE_EQ(x[0], 0.5);
    EXPECT_DOUBLE_EQ(b[0], 0.5);  // b holds the solution too

    Vector untouched{7};
    EXPECT_EQ(solve_the_linear_system(a, b, untouched, 0), LinearSystemOutcome::empty);
    EXPECT_EQ(untouched[0], 7);
}

TEST(SolveTheLinearSystem, SingularMatrixIsReportedOnStandardOutput)
{
    struct Case {
        const char* name;
        Matrix a;
    };
    const Case cases[] = {
        {"zero column", matrix_of({{0, 1, 2}, {0, 3, 4}, {0, 5, 6}})},
        {"dependent rows", matrix_of({{1, 2}, {2, 4}})},
        {"tiny pivot", matrix_of({{1e-26}})},
    };
    for (const Case& c : cases) {
        Matrix a = c.a;
        const int n = a.rows();
        Vector b(n, 1.0), x(n, 42.0);
        testing::internal::CaptureStdout();
        const LinearSystemOutcome outcome = solve_the_linear_system(a, b, x, n);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "Singular matrix\n") << c.name;
        EXPECT_EQ(outcome, LinearSystemOutcome::singular) << c.name;
        EXPECT_EQ(x, Vector(n, 42.0)) << c.name << ": x is left untouched";
    }
}

TEST(SolveTheLinearSystem, TieOfPivotsTakesTheUpperRow)
{
    // Both rows share the pivot magnitude 2; taking the upper row leaves it in place,
    // which shows in the reduced matrix: its row 0 is the first row divided by 2.
    Matrix a = matrix_of({{2, 4}, {-2, 1}});
    Vector b{6, 3}, x(2);
    ASSERT_EQ(solve_the_linear_system(a, b, x, 2), LinearSystemOutcome::solved);
    EXPECT_DOUBLE_EQ(a[0][1], 2.0);
    EXPECT_NEAR(x[0], -0.6, 1e-15);
    EXPECT_NEAR(x[1], 1.8, 1e-15);
}

TEST(SolveTheLinearSystem, SolvesRandomSystemsToRounding)
{
    std::mt19937 generator(7);
    for (int n : {2, 5, 12, 40}) {
        const Matrix a = random_matrix(n, generator);
        Vector expected(n);
        for (int i = 0; i < n; ++i)
            expected[i] = i - n / 2.0;
        Vector b(n, 0.0);
        for (int i = 0; i < n; ++i)
            for (int j = 0; j < n; ++j)
                b[i] += a[i][j] * expected[j];

        Matrix work = a;
        Vector x(n);
        ASSERT_EQ(solve_the_linear_system(work, b, x, n), LinearSystemOutcome::solved) << n;
        for (int i = 0; i < n; ++i)
            EXPECT_NEAR(x[i], expected[i], 1e-9 * n) << "n = " << n << ", i = " << i;
    }
}

TEST(Inverse, TimesTheMatrixGivesTheIdentity)
{
    std::mt19937 generator(11);
    std::vector<Matrix> cases = {
        matrix_of({{0, 1}, {1, 0}}),                          // needs a row exchange
        matrix_of({{0, 0, 1}, {1, 0, 0}, {0, 1, 0}}),         // a cyclic permutation
        matrix_of({{1e-3, 2, 3}, {4, 5, 6}, {7, 8, 10}}),     // small leading pivot
        matrix_of({{5}}),
    };
    for (int n : {4, 9, 20})
        cases.push_back(random_matrix(n, generator));

    for (const Matrix& a : cases) {
        const int n = a.rows();
        Matrix inv = a;
        ASSERT_EQ(inverse(inv, n), LinearSystemOutcome::solved) << "n = " << n;
        const Matrix identity = product(inv, a);
        for (int i = 0; i < n; ++i)
            for (int j = 0; j < n; ++j)
                EXPECT_NEAR(identity[i][j], i == j ? 1.0 : 0.0, 1e-12 * n) << "n = " << n;
    }
}

TEST(Inverse, ExchangeMatrixIsItsOwnInverse)
{
    Matrix a = matrix_of({{0, 1}, {1, 0}});
    ASSERT_EQ(inverse(a, 2), LinearSystemOutcome::solved);
    EXPECT_EQ(a[0][0], 0.0);
    EXPECT_EQ(a[0][1], 1.0);
    EXPECT_EQ(a[1][0], 1.0);
    EXPECT_EQ(a[1][1], 0.0);
}

TEST(Inverse, RejectsSmallPivotsInEveryColumn)
{
    struct Case {
        const char* name;
        Matrix a;
    };
    const Case cases[] = {
        {"first column zero", matrix_of({{0, 1}, {0, 2}})},
        {"dependent rows (zero last pivot)", matrix_of({{1, 2}, {2, 4}})},
        {"last column zero", matrix_of({{1, 2, 0}, {3, 4, 0}, {5, 7, 0}})},
        {"zero 1x1", matrix_of({{0}})},
    };
    for (const Case& c : cases) {
        Matrix a = c.a;
        EXPECT_EQ(inverse(a, a.rows()), LinearSystemOutcome::singular) << c.name;
    }
}

TEST(Permutation, ExchangesEntriesAndRowsFromAColumnOn)
{
    Vector v{1, 2, 3};
    permutation(v, 0, 2);
    EXPECT_EQ(v, (Vector{3, 2, 1}));
    permutation(v, 1, 1);
    EXPECT_EQ(v, (Vector{3, 2, 1}));

    Matrix a = matrix_of({{1, 2, 3}, {4, 5, 6}});
    permutation(a, 3, 0, 1, 1);
    EXPECT_EQ(a[0][0], 1.0);
    EXPECT_EQ(a[0][1], 5.0);
    EXPECT_EQ(a[0][2], 6.0);
    EXPECT_EQ(a[1][0], 4.0);
    EXPECT_EQ(a[1][1], 2.0);
    EXPECT_EQ(a[1][2], 3.0);
}

TEST(BandedSystems, AgreeWithTheDenseSolver)
{
    for (int n : {1, 2, 3, 6, 15}) {
        Vector diagonal(n), upper1(n), upper2(n > 2 ? n - 2 : 0), lower1(n), lower2(n), rhs(n);
        for (int i = 0; i < n; ++i) {
            diagonal[i] = 10 + i;
            upper1[i] = i < n - 1 ? 1.5 - 0.1 * i : 0;
            lower1[i] = i > 0 ? -2 + 0.2 * i : 0;
            lower2[i] = i > 1 ? 0.5 + 0.05 * i : 0;
            rhs[i] = std::sin(i + 1.0);
        }
        for (int i = 0; i < n - 2; ++i)
            upper2[i] = 0.7 - 0.03 * i;

        // Tridiagonal against the dense solver.
        Matrix dense(n, n);
        for (int i = 0; i < n; ++i) {
            dense[i][i] = diagonal[i];
            if (i + 1 < n)
                dense[i][i + 1] = upper1[i];
            if (i > 0)
                dense[i][i - 1] = lower1[i];
        }
        Vector b = rhs, expected(n), x(n);
        ASSERT_EQ(solve_the_linear_system(dense, b, expected, n), LinearSystemOutcome::solved);
        solve_tridiagonal_system(n, diagonal, upper1, lower1, rhs, x);
        for (int i = 0; i < n; ++i)
            EXPECT_NEAR(x[i], expected[i], 1e-13) << "tridiagonal n = " << n;

        // Pentadiagonal against the dense solver.
        Matrix dense5(n, n);
        for (int i = 0; i < n; ++i) {
            dense5[i][i] = diagonal[i];
            if (i + 1 < n)
                dense5[i][i + 1] = upper1[i];
            if (i + 2 < n)
                dense5[i][i + 2] = upper2[i];
            if (i > 0)
                dense5[i][i - 1] = lower1[i];
            if (i > 1)
                dense5[i][i - 2] = lower2[i];
        }
        b = rhs;
        ASSERT_EQ(solve_the_linear_system(dense5, b, expected, n), LinearSystemOutcome::solved);
        const Vector diagonal_before = diagonal, rhs_before = rhs;
        solve_pentadiagonal_system(n, diagonal, upper1, upper2, lower1, lower2, rhs, x);
        for (int i = 0; i < n; ++i)
            EXPECT_NEAR(x[i], expected[i], 1e-13) << "pentadiagonal n = " << n;
        EXPECT_EQ(diagonal, diagonal_before);
        EXPECT_EQ(rhs, rhs_before);
    }
}

// A new matrix reads zeros however large; a copy owns its values; a moved-from matrix is empty.
TEST(Matrix, ZeroFilledCopiedByValueAndEmptiedByAMove)
{
    for (int n : {0, 1, 3, 1500}) {
        Matrix m(n, n + 1);
        double sum = 0;
        for (int i = 0; i < n; ++i)
            for (int j = 0; j <= n; ++j)
                sum += std::fabs(m[i][j]);
        EXPECT_EQ(sum, 0) << n;
        EXPECT_EQ(m.empty(), n == 0) << n;
    }
    Matrix a = matrix_of({{1, 2}, {3, 4}});
    Matrix copy = a;
    copy[0][1] = 9;
    EXPECT_EQ(a[0][1], 2);
    copy = a;
    EXPECT_EQ(copy[0][1], 2);
    Matrix moved = std::move(a);
    EXPECT_EQ(moved[1][0], 3);
    EXPECT_TRUE(a.empty());  // NOLINT(bugprone-use-after-move): the moved-from state is the point
    EXPECT_EQ(a.rows(), 0);
    a = std::move(moved);
    EXPECT_EQ(a[1][1], 4);
    EXPECT_TRUE(moved.empty());  // NOLINT(bugprone-use-after-move)
}
