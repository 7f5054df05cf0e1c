#include "numeric/Gnuplot.h"
#include "numeric/Muller.h"
#include "numeric/NewtonRaphson.h"
#include "numeric/Secant.h"

#include "numeric/support/text_files.h"
#include "support/ends_within.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <limits>
#include <string>
#include <vector>

using namespace quorvel;

namespace {

// f(x) given as a function; records every point it is evaluated at and fails (raising
// evaluation_error) where told to.
class TestEquation : public Equation {
public:
    explicit TestEquation(std::function<double(double)> f, std::function<bool(double)> fails = {})
        : function(std::move(f)), fails_at(std::move(fails))
    {
    }

    double value(double x, void*)
    {
        points.push_back(x);
        if (fails_at && fails_at(x)) {
            evaluation_error = true;
            return 0;
        }
        return function(x);
    }

    void value_and_derivative(double x, double& f, double& df)
    {
        points.push_back(x);
        const double h = 1e-6;
        f = function(x);
        df = (function(x + h) - function(x - h)) / (2 * h);
    }

    template <class S>
    void bind(S& solver)
    {
        solver._setEquationToSolve(this, static_cast<EquationFunction>(&TestEquation::value));
    }

    std::function<double(double)> function;
    std::function<bool(double)> fails_at;
    std::vector<double> points;
};

double square_minus_two(double x) { return x * x - 2; }

}  // namespace

TEST(Secant, SquareRootOfTwoInFiveIterations)
{
    TestEquation equation(square_minus_two);
    Secant secant;
    equation.bind(secant);
    secant.set_initial_values(1, 2);
    const double root = secant.solve();
    EXPECT_TRUE(secant.good());
    EXPECT_EQ(root, 1.4142135623730951);
    EXPECT_EQ(secant.iterations(), 5);
}

TEST(Secant, ToleranceIsRelativeAboveOneAndAbsoluteBelow)
{
    struct Case {
        double root;
        double start0, start1;
    };
    const Case cases[] = {{1000, 900, 950}, {0.001, 0.002, 0.003}, {-2000, -1500, -1800}};
    for (const Case& c : cases) {
        // A slow, curved function so that the last step is measurable.
        TestEquation equation([&](double x) { return std::atan((x - c.root) / std::fabs(c.root)); });
        Secant secant;
        equation.bind(secant);
        secant.set_initial_values(c.start0, c.start1);
        const double root = secant.solve();
        ASSERT_TRUE(secant.good()) << c.root;
        const double scale = std::max(1.0, std::fabs(c.root));
        EXPECT_LT(std::fabs(secant.estimate() - secant.previousEstimate()), 1e-9 * scale) << c.root;
        EXPECT_NEAR(root, c.root, 1e-6 * scale) << c.root;
    }
}

TEST(Secant, FailedEvaluationsAndBounds)
{
    struct Case {
        const char* name;
        std::function<bool(double)> fails;
        double lower, upper;  // bounds when lower < upper
        double start0, start1;
        SolverStatus status;
        double result;  // NAN: not checked
    };
    const Case cases[] = {
        {"first start value cannot be evaluated", [](double x) { return x == 1; }, 0, 0, 1, 2,
         SolverStatus::evaluation_failed, 0},
        {"second start value cannot be evaluated", [](double x) { return x == 2; }, 0, 0, 1, 2,
         SolverStatus::evaluation_failed, 0},
        {"start value below the bounds", {}, 1.1, 5, 1, 2, SolverStatus::below_lower_bound, 0},
        {"start value above the bounds", {}, 0, 1.9, 1, 2, SolverStatus::above_upper_bound, 0},
    };
    for (const Case& c : cases) {
        TestEquation equation(square_minus_two, c.fails);
        Secant secant;
        equation.bind(secant);
        if (c.lower < c.upper)
            secant.set_bounds(c.lower, c.upper);
        secant.set_initial_values(c.start0, c.start1);
        const double result = secant.solve();
        EXPECT_EQ(secant.status(), c.status) << c.name;
        EXPECT_FALSE(secant.good()) << c.name;
        EXPECT_EQ(result, c.result) << c.name;
        EXPECT_FALSE(equation.evaluation_error) << c.name << ": the flag is cleared";
    }
}

TEST(Secant, BoundedSearchCreepsTowardsTheBoundWithoutPassingIt)
{
    // The root 2 lies beyond the upper bound 1.
    TestEquation equation([](double x) { return x - 2; });
    Secant secant;
    equation.bind(secant);
    secant.set_bounds(0, 1);
    secant.set_initial_values(0.5, 0.6);
    secant.solve();
    EXPECT_EQ(secant.status(), SolverStatus::above_upper_bound);
    EXPECT_FALSE(secant.good());
    for (double x : equation.points)
        EXPECT_LE(x, 1.0);
}

TEST(Secant, NeverReportsSuccessAfterAFailedEvaluation)
{
    // With a loose tolerance, the last (smallest) relaxed try of the first iteration is
    // a step short enough to pass the test; it must still not count as a root.
    struct Case {
        const char* name;
        std::function<bool(double)> fails;
        double upper;
        SolverStatus status;
    };
    const Case cases[] = {
        {"evaluation error", [](double x) { return x > 1.11; }, 1e15, SolverStatus::evaluation_failed},
        {"above the bound", {}, 1.11, SolverStatus::above_upper_bound},
    };
    for (const Case& c : cases) {
        TestEquation equation([](double x) { return x - 2; }, c.fails);
        Secant secant;
        equation.bind(secant);
        if (c.upper < 1e15)
            secant.set_bounds(0, c.upper);
        secant.set_epsilon(0.1);
        secant.set_initial_values(1, 1.1);
        secant.solve();
        EXPECT_LT(std::fabs(secant.estimate() - secant.previousEstimate()), 0.1) << c.name << ": the step itself is small";
        EXPECT_EQ(secant.status(), c.status) << c.name;
        EXPECT_FALSE(secant.good()) << c.name;
    }
}

TEST(Secant, SevenRelaxedTriesPerIteration)
{
    // Every point but the start values fails: one iteration tries the factors 1 to 1/64.
    TestEquation equation(square_minus_two, [](double x) { return x != 1 && x != 2; });
    Secant secant;
    equation.bind(secant);
    secant.set_initial_values(1, 2);
    secant.solve();
    EXPECT_EQ(secant.status(), SolverStatus::evaluation_failed);
    EXPECT_EQ(equation.points.size(), 2u + 7u);
}

TEST(Secant, RelaxationSettingsThatTheHalvingNeverPassesStillEndTheTries)
{
    // Every point but the start values fails, so each iteration halves to the end; with a
    // minimum of 0 or below that end would only come where the step vanishes into the last
    // point, which would then pass for a converged step.
    struct Case {
        const char* name;
        double relaxation;
        double minimum_relaxation;
    };
    const Case cases[] = {{"negative minimum", 1, -1}, {"infinite relaxation", std::numeric_limits<double>::infinity(), 0.01}};
    for (const Case& c : cases) {
        EXPECT_TRUE(test::ends_within(20, [&] {
            TestEquation equation(square_minus_two, [](double x) { return x != 1 && x != 2; });
            Secant secant;
            equation.bind(secant);
            secant.set_relaxation(c.relaxation);
            secant.set_minimum_relaxation(c.minimum_relaxation);
            secant.set_initial_values(1, 2);
            secant.solve();
            return secant.status() == SolverStatus::evaluation_failed && equation.points.size() <= 2u + 40u;
        })) << c.name;
    }
}

TEST(Muller, SquareRootOfTwoInFourIterations)
{
    TestEquation equation(square_minus_two);
    Muller muller;
    equation.bind(muller);
    muller.set_initial_values(1, 2);
    const double root = muller.solve();
    EXPECT_TRUE(muller.good());
    EXPECT_NEAR(root, std::sqrt(2.0), 1e-15);
    EXPECT_EQ(muller.iterations(), 4);
    EXPECT_EQ(muller.maximumNumberOfIterations(), 60);
}

TEST(Muller, FindsRootsOfTableFunctions)
{
    struct Case {
        const char* name;
        std::function<double(double)> f;
        double from, to, root;
    };
    const Case cases[] = {
        {"cubic", [](double x) { return x * x * x - x - 1; }, 1, 2, 1.3247179572447460},
        {"exponential", [](double x) { return std::exp(x) - 10; }, 0, 5, std::log(10.0)},
        {"reversed bracket", square_minus_two, 2, 0, std::sqrt(2.0)},
        {"steep", [](double x) { return std::tanh(50 * (x - 0.3)); }, 0, 1, 0.3},
        {"large root", [](double x) { return x * x - 1e6 - 1; }, 0, 5000, std::sqrt(1e6 + 1)},
    };
    for (const Case& c : cases) {
        TestEquation equation(c.f);
        Muller muller;
        equation.bind(muller);
        muller.set_epsilon(1e-12);
        muller.set_initial_values(c.from, c.to);
        const double root = muller.solve();
        EXPECT_TRUE(muller.good()) << c.name << " status " << code_number(muller.status());
        EXPECT_NEAR(root, c.root, 1e-9 * std::max(1.0, std::fabs(c.root))) << c.name;
    }
}

TEST(Muller, ExactZeroEndsWithSuccess)
{
    struct Case {
        const char* name;
        std::function<double(double)> f;
        double from, to, root;
    };
    const Case cases[] = {
        {"at the midpoint", [](double x) { return x - 0.5; }, 0, 1, 0.5},
        {"at an interpolated point", [](double x) { return x - 0.25; }, 0, 1, 0.25},
        {"at the first start value", [](double x) { return x; }, 0, 1, 0},
        {"at the second start value", [](double x) { return x - 1; }, 0, 1, 1},
    };
    for (const Case& c : cases) {
        TestEquation equation(c.f);
        Muller muller;
        equation.bind(muller);
        muller.set_initial_values(c.from, c.to);
        const double root = muller.solve();
        EXPECT_TRUE(muller.good()) << c.name << " status " << code_number(muller.status());
        EXPECT_EQ(root, c.root) << c.name;
        EXPECT_LT(equation.points.size(), 6u) << c.name;
    }
}

TEST(Muller, StartValuesMustBeEvaluatedAndBracketARoot)
{
    struct Case {
        const char* name;
        std::function<double(double)> f;
        std::function<bool(double)> fails;
        std::size_t evaluations;
    };
    const Case cases[] = {
        {"same sign", square_minus_two, {}, 2},
        {"double root without sign change", [](double x) { return (x - 0.5) * (x - 0.5) + 1e-3; }, {}, 2},
        {"first start value fails", square_minus_two, [](double x) { return x == 1; }, 1},
        {"second start value fails", square_minus_two, [](double x) { return x == 2; }, 2},
    };
    for (const Case& c : cases) {
        TestEquation equation(c.f, c.fails);
        Muller muller;
        equation.bind(muller);
        const double from = c.fails ? 1 : 0;
        muller.set_initial_values(from, from == 1 ? 2 : 1);
        const double result = muller.solve();
        EXPECT_EQ(muller.status(), SolverStatus::evaluation_failed) << c.name;
        EXPECT_EQ(result, 0) << c.name;
        EXPECT_EQ(equation.points.size(), c.evaluations) << c.name;
    }
}

TEST(Muller, FailedEvaluationInsideTheBracketEndsTheSolve)
{
    // Evaluating the midpoint 1.5 fails; its value must not be taken for a zero.
    TestEquation equation(square_minus_two, [](double x) { return x == 1.5; });
    Muller muller;
    equation.bind(muller);
    muller.set_initial_values(1, 2);
    muller.solve();
    EXPECT_EQ(muller.status(), SolverStatus::evaluation_failed);
    EXPECT_FALSE(muller.good());
}

TEST(Solver, NotANumberIsAFailedEvaluation)
{
    TestEquation equation([](double x) { return x < 1.2 ? std::numeric_limits<double>::quiet_NaN() : x - 1.5; });
    Secant secant;
    equation.bind(secant);
    secant.set_initial_values(1, 2);
    secant.solve();
    EXPECT_EQ(secant.status(), SolverStatus::evaluation_failed);
}

TEST(Solver, PlotWritesTheCurveAndTheScriptWithoutStartingGnuplot)
{
    TestEquation equation([](double x) { return x * x; });
    Secant secant;
    equation.bind(secant);
    const test::ScratchFolder folder;
    const auto written = secant.plot(1, 16, 4, true, DiagnosticFolder(folder.path()));  // geometric: 1, 2, 4, 8, 16

    EXPECT_EQ(written, folder.path() / "solver.txt");
    const std::string data = test::read_text_file(folder.path() / "solver.txt");
    const std::string script = test::read_text_file(folder.path() / "solver.gp");

    std::string expected;
    char line[64];
    for (double x : {1.0, 2.0, 4.0, 8.0, 16.0}) {
        std::snprintf(line, sizeof line, "%12lg\t%12lg\n", x, x * x);
        expected += line;
    }
    EXPECT_EQ(data, expected);
    EXPECT_NE(script.find("Solver - Curve check"), std::string::npos);
    // gnuplot runs in the folder: the script names its data without one.
    EXPECT_NE(script.find("plot 'solver.txt'"), std::string::npos);
}

TEST(Gnuplot, AbsentProgramIsReportedPlainly)
{
    // No gnuplot on an empty search path: the script is not shown and the user is told.
    const test::ScratchFolder folder;
    const char* held = std::getenv("PATH");
    const std::string path = held ? held : "";
    setenv("PATH", folder.path().c_str(), 1);
    testing::internal::CaptureStderr();
    const bool shown = run_gnuplot(folder.path() / "solver.gp");
    const std::string message = testing::internal::GetCapturedStderr();
    setenv("PATH", path.c_str(), 1);

    EXPECT_FALSE(shown);
    EXPECT_EQ(message, "gnuplot is not installed: " + folder.file("solver.gp") + " was written but is not shown.\n");
}

TEST(NewtonRaphson, PlotWritesIntoTheGivenFolder)
{
    TestEquation equation(square_minus_two);
    NewtonRaphson solver;
    solver._setEquationToSolve(&equation, static_cast<DerivativeFunction>(&TestEquation::value_and_derivative));
    const test::ScratchFolder folder;
    EXPECT_EQ(solver.plot(0, 2, 2, DiagnosticFolder(folder.path())), folder.path() / "nr");
    EXPECT_EQ(test::read_text_file(folder.path() / "nr"), "0 -2\n1 -1\n2 2\n");
}

TEST(NewtonRaphson, ConvergesAndFallsBackToBisection)
{
    TestEquation equation(square_minus_two);
    NewtonRaphson solver;
    solver._setEquationToSolve(&equation, static_cast<DerivativeFunction>(&TestEquation::value_and_derivative));
    solver.set_initial_value(1);
    double root = solver.solve();
    EXPECT_TRUE(solver.good());
    EXPECT_NEAR(root, std::sqrt(2.0), 1e-9);

    // From 1.5 the Newton steps on atan(x) diverge; the bracket found by the first two
    // points (f > 0 at 1.5, f < 0 at the next iterate) finishes the solve by bisection.
    TestEquation diverging([](double x) { return std::atan(x); });
    solver._setEquationToSolve(&diverging, static_cast<DerivativeFunction>(&TestEquation::value_and_derivative));
    solver.set_initial_value(1.5);
    root = solver.solve();
    EXPECT_TRUE(solver.good());
    EXPECT_NEAR(root, 0, 1e-8);
    EXPECT_NE(solver.positiveEnd(), 0);
    EXPECT_NE(solver.negativeEnd(), 0);
}
