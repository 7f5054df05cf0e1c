#include "numeric/Degree3.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <random>
#include <vector>

using namespace quorvel;

namespace {

struct Roots {
    int n = 0;
    std::array<double, 3> values{};

    std::vector<double> sorted() const
    {
        std::vector<double> v(values.begin(), values.begin() + n);
        std::sort(v.begin(), v.end());
        return v;
    }
};

Roots solve(const std::array<double, 4>& c)
{
    Roots r;
    degree3(c, r.n, r.values);
    return r;
}

// Coefficients of k (x - r0)(x - r1)(x - r2) in ascending powers.
std::array<double, 4> from_roots(double r0, double r1, double r2, double k = 1)
{
    return {-k * r0 * r1 * r2, k * (r0 * r1 + r0 * r2 + r1 * r2), -k * (r0 + r1 + r2), k};
}

struct CubicCase {
    const char* name;
    std::array<double, 4> c;
    std::vector<double> roots;  // sorted, with multiplicity
    double first;               // expected roots[0] (NAN: not checked)
};

const CubicCase cubic_cases[] = {
    {"1, 2, 3: largest first", {-6, 11, -6, 1}, {1, 2, 3}, 3},
    {"triple root 1", {-1, 3, -3, 1}, {1, 1, 1}, 1},
    {"2, 2, 5: double root first", {-20, 24, -9, 1}, {2, 2, 5}, 2},
    {"x^3 + x + 1: one real root", {1, 1, 0, 1}, {-0.68232780382801932}, NAN},
    {"x^3 - 1: one real root", {-1, 0, 0, 1}, {1}, 1},
    {"x^3: three zeros", {0, 0, 0, 1}, {0, 0, 0}, 0},
    {"0, 1, 2: largest first", {0, 2, -3, 1}, {0, 1, 2}, 2},
    {"0, 1, 3", {0, 3, -4, 1}, {0, 1, 3}, 3},
    {"-1, -2, -3: smallest first", {6, 11, 6, 1}, {-3, -2, -1}, -3},
    {"double root at 1, simple at -2", {2, -3, 0, 1}, {-2, 1, 1}, NAN},
    {"leading coefficient -2", {12, -22, 12, -2}, {1, 2, 3}, NAN},
    {"-2, 0, 2: symmetric about a zero root", {0, -4, 0, 1}, {-2, 0, 2}, -2},
    {"-5, 0, 5, leading coefficient -2.5", {0, 62.5, 0, -2.5}, {-5, 0, 5}, NAN},
};

}  // namespace

TEST(Degree3, KnownCubics)
{
    for (const CubicCase& c : cubic_cases) {
        const Roots r = solve(c.c);
        ASSERT_EQ(r.n, int(c.roots.size())) << c.name;
        const std::vector<double> got = r.sorted();
        for (int i = 0; i < r.n; ++i)
            EXPECT_NEAR(got[i], c.roots[i], 1e-7) << c.name << ", root " << i;
        if (!std::isnan(c.first)) {
            EXPECT_NEAR(r.values[0], c.first, 1e-7) << c.name << ", first root";
        }
    }
}

TEST(Degree3, ScalingTheCoefficientsKeepsTheRoots)
{
    for (const CubicCase& c : cubic_cases) {
        const Roots reference = solve(c.c);
        for (double factor : {-3.0, 1e-8, 7e9}) {
            const std::array<double, 4> scaled{c.c[0] * factor, c.c[1] * factor, c.c[2] * factor, c.c[3] * factor};
            const Roots r = solve(scaled);
            ASSERT_EQ(r.n, reference.n) << c.name << " x " << factor;
            const std::vector<double> a = reference.sorted(), b = r.sorted();
            for (int i = 0; i < r.n; ++i)
                EXPECT_NEAR(a[i], b[i], 1e-7 * (1 + std::fabs(a[i]))) << c.name << " x " << factor;
        }
    }
}

TEST(Degree3, WidelySpreadRootsKeepTheirRelativeAccuracy)
{
    // Compressibility-factor cubics mix roots of very different sizes: each root, even
    // the smallest, must come out with a small relative error.
    struct Spread {
        double r0, r1, r2;
    };
    const Spread spreads[] = {
        {1e-6, 1, 1e6},  {0.003, 0.05, 0.9}, {-1e-5, 2e-3, 0.8}, {0.0123, 0.0124, 1},
        {1e-4, 1e-4, 3}, {-7, 1e-9, 4},      {0.2, 0.3, 0.31},
    };
    for (const Spread& s : spreads) {
        const Roots r = solve(from_roots(s.r0, s.r1, s.r2));
        ASSERT_EQ(r.n, 3) << s.r0 << " " << s.r1 << " " << s.r2;
        std::vector<double> expected{s.r0, s.r1, s.r2};
        std::sort(expected.begin(), expected.end());
        const std::vector<double> got = r.sorted();
        for (int i = 0; i < 3; ++i)
            EXPECT_NEAR(got[i], expected[i], 1e-6 * std::fabs(expected[i]) + 1e-12)
                << s.r0 << " " << s.r1 << " " << s.r2 << ", root " << i;
    }
}

TEST(Degree3, RandomCubicsSatisfyTheirEquation)
{
    std::mt19937 generator(3);
    std::uniform_real_distribution<double> coefficient(-10, 10);
    for (int trial = 0; trial < 2000; ++trial) {
        const std::array<double, 4> c{coefficient(generator), coefficient(generator), coefficient(generator),
                                      coefficient(generator)};
        const Roots r = solve(c);
        ASSERT_TRUE(r.n == 1 || r.n == 3);
        for (int i = 0; i < r.n; ++i) {
            const double x = r.values[i];
            const double value = c[0] + x * (c[1] + x * (c[2] + x * c[3]));
            const double size = std::fabs(c[0]) + std::fabs(c[1] * x) + std::fabs(c[2] * x * x) +
                                std::fabs(c[3] * x * x * x);
            EXPECT_LT(std::fabs(value), 1e-9 * size) << "trial " << trial << ", root " << i;
        }
        // The number of real roots agrees with the sign of the discriminant.
        const double a = c[3], b = c[2], cc = c[1], d = c[0];
        const double discriminant =
            18 * a * b * cc * d - 4 * b * b * b * d + b * b * cc * cc - 4 * a * cc * cc * cc - 27 * a * a * d * d;
        const double scale = std::pow(std::fabs(a) + std::fabs(b) + std::fabs(cc) + std::fabs(d), 4);
        if (std::fabs(discriminant) > 1e-9 * scale) {
            EXPECT_EQ(r.n, discriminant > 0 ? 3 : 1) << "trial " << trial;
        }
    }
}
