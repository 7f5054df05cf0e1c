#include "numeric/Degree3.h"
#include "numeric/LinearSystem.h"
#include "numeric/Newton.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
#include <random>

using namespace quorvel;

namespace {

void BM_degree3(benchmark::State& state)
{
    // A compressibility-factor cubic with three real roots and one with a single root.
    const std::array<std::array<double, 4>, 2> cubics{{{-2.4e-4, 0.0372, -0.957, 1}, {1, 1, 0, 1}}};
    std::array<double, 3> roots{};
    int n = 0;
    std::size_t i = 0;
    for (auto _ : state) {
        degree3(cubics[i++ & 1], n, roots);
        benchmark::DoNotOptimize(roots);
        benchmark::DoNotOptimize(n);
    }
}
BENCHMARK(BM_degree3);

void BM_solve_the_linear_system(benchmark::State& state)
{
    const int n = int(state.range(0));
    std::mt19937 generator(5);
    std::uniform_real_distribution<double> value(-1, 1);
    Matrix a(n, n);
    Vector b(n), x(n);
    for (int i = 0; i < n; ++i) {
        b[i] = value(generator);
        for (int j = 0; j < n; ++j)
            a[i][j] = value(generator);
    }
    for (auto _ : state) {
        state.PauseTiming();
        Matrix work = a;
        Vector rhs = b;
        state.ResumeTiming();
        benchmark::DoNotOptimize(solve_the_linear_system(work, rhs, x, n));
        benchmark::DoNotOptimize(x.data());
    }
}
BENCHMARK(BM_solve_the_linear_system)->Arg(40)->Arg(44);

// The intersection of a circle and a hyperbola.
class CircleAndHyperbola : public Equation {
public:
    void system(std::span<const double> u, std::span<double> g, Matrix& j, bool&, Evaluation evaluation, void*)
    {
        g[0] = u[0] * u[0] + u[1] * u[1] - 4;
        g[1] = u[0] * u[1] - 1;
        if (evaluation != Evaluation::with_jacobian)
            return;
        j[0][0] = 2 * u[0];
        j[0][1] = 2 * u[1];
        j[1][0] = u[1];
        j[1][1] = u[0];
    }
};

void BM_Newton_solve(benchmark::State& state)
{
    CircleAndHyperbola equations;
    Newton newton;
    newton._setSysEquationToSolve(&equations, static_cast<SystemFunction>(&CircleAndHyperbola::system), 2);
    const std::array<double, 2> start{2, 0.3};
    for (auto _ : state) {
        newton.set_initial_values(start);
        newton.solve();
        benchmark::DoNotOptimize(newton.solution().data());
    }
    if (!newton.good())
        state.SkipWithError("Newton did not converge");
}
BENCHMARK(BM_Newton_solve);

}  // namespace
