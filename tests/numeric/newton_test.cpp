#include "numeric/Newton.h"

#include "numeric/support/text_files.h"
#include "support/ends_within.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <functional>
#include <limits>
#include <string>
#include <tuple>
#include <vector>

using namespace quorvel;

namespace {

// A system given by its residuals and Jacobian; counts its evaluations and can be told
// where it cannot be evaluated.
class TestSystem : public Equation {
public:
    using Residuals = std::function<void(std::span<const double>, std::span<double>)>;
    using Jacobian = std::function<void(std::span<const double>, Matrix&)>;
    using Region = std::function<bool(std::span<const double>)>;

    TestSystem(Residuals g, Jacobian j, Region fails = {}) : residuals(g), jacobian(j), fails_at(fails) {}

    void system(std::span<const double> u, std::span<double> g, Matrix& j, bool& failed, Evaluation evaluation, void*)
    {
        ++evaluations;
        if (fails_at && fails_at(u)) {
            failed = true;
            return;
        }
        residuals(u, g);
        if (evaluation == Evaluation::with_jacobian)
            jacobian(u, j);
    }

    void bind(Newton& newton, int n) { newton._setSysEquationToSolve(this, static_cast<SystemFunction>(&TestSystem::system), n); }

    Residuals residuals;
    Jacobian jacobian;
    Region fails_at;
    int evaluations = 0;
};

// G = A u - b.
TestSystem linear_system(std::vector<std::vector<double>> a, std::vector<double> b)
{
    return TestSystem(
        [a, b](std::span<const double> u, std::span<double> g) {
            for (std::size_t i = 0; i < b.size(); ++i) {
                g[i] = -b[i];
                for (std::size_t k = 0; k < b.size(); ++k)
                    g[i] += a[i][k] * u[k];
            }
        },
        [a](std::span<const double>, Matrix& j) {
            for (std::size_t i = 0; i < a.size(); ++i)
                for (std::size_t k = 0; k < a.size(); ++k)
                    j[i][k] = a[i][k];
        });
}

// Intersection of the circle x^2 + y^2 = 4 with the hyperbola x y = 1, scaled per row.
TestSystem circle_and_hyperbola(double row0_scale = 1, double row1_scale = 1)
{
    return TestSystem(
        [=](std::span<const double> u, std::span<double> g) {
            g[0] = row0_scale * (u[0] * u[0] + u[1] * u[1] - 4);
            g[1] = row1_scale * (u[0] * u[1] - 1);
        },
        [=](std::span<const double> u, Matrix& j) {
            j[0][0] = row0_scale * 2 * u[0];
            j[0][1] = row0_scale * 2 * u[1];
            j[1][0] = row1_scale * u[1];
            j[1][1] = row1_scale * u[0];
        });
}

// The intersection with x > y > 0: x^2 = 2 + sqrt(3).
const double circle_x = std::sqrt(2 + std::sqrt(3.0));
const double circle_y = 1 / circle_x;

}  // namespace

TEST(Newton, BindingSetsTheDefaults)
{
    TestSystem system = circle_and_hyperbola();
    Newton newton;
    system.bind(newton, 2);
    EXPECT_EQ(newton.numberOfVariables(), 2);
    EXPECT_EQ(newton.numberOfEquations(), 2);
    EXPECT_EQ(newton.maximumNumberOfIterations(), 25);
    EXPECT_EQ(newton.epsilon(), 1e-11);
    EXPECT_EQ(newton.maximumResidue(), 1e-8);
    EXPECT_EQ(newton.relaxationLimit(), 0.01);
    EXPECT_EQ(newton.maximumSteps(), Vector(2, 1e4));
    EXPECT_EQ(newton.perturbation(), Vector(2, 1e-9));
    EXPECT_EQ(newton.jacobian().rows(), 2);
    EXPECT_EQ(newton.jacobian().columns(), 2);
    EXPECT_EQ(newton.limited(), std::vector<char>(2, 0));
}

TEST(Newton, LinearSystemConvergesInTwoPasses)
{
    TestSystem system = linear_system({{3, 1, 0}, {1, 4, 1}, {0, 2, 5}}, {5, 12, 19});  // solution (1, 2, 3)
    Newton newton;
    system.bind(newton, 3);
    newton.set_initial_values(std::vector<double>{0, 0, 0});
    newton.solve();
    ASSERT_TRUE(newton.good());
    EXPECT_EQ(newton.iterations(), 2);
    EXPECT_EQ(system.evaluations, 2);
    EXPECT_NEAR(newton.solution()[0], 1, 1e-14);
    EXPECT_NEAR(newton.solution()[1], 2, 1e-14);
    EXPECT_NEAR(newton.solution()[2], 3, 1e-14);
}

TEST(Newton, NonlinearSystemWithAnalyticalAndNumericalJacobians)
{
    struct Case {
        const char* name;
        double row0_scale, row1_scale;
        char numerical;
    };
    const Case cases[] = {
        {"analytical", 1, 1, 0},
        {"numerical", 1, 1, 1},
        {"rows scaled 1e8 and 1e-8", 1e8, 1e-8, 0},
        {"rows scaled, numerical", 1e8, 1e-8, 1},
    };
    int unscaled_iterations = 0;
    for (const Case& c : cases) {
        TestSystem system = circle_and_hyperbola(c.row0_scale, c.row1_scale);
        Newton newton;
        system.bind(newton, 2);
        newton.set_numerical_jacobian(c.numerical);
        if (c.numerical)
            newton.set_perturbation(std::vector<double>{1e-6, 1e-6});
        newton.set_initial_values(std::vector<double>{2, 0.3});
        newton.solve();
        ASSERT_TRUE(newton.good()) << c.name << " failure " << code_number(newton.outcome());
        EXPECT_NEAR(newton.solution()[0], circle_x, 1e-10) << c.name;
        EXPECT_NEAR(newton.solution()[1], circle_y, 1e-10) << c.name;
        // Each row is scaled by its own magnitude, so the scale of an equation does not matter.
        if (c.row0_scale == 1 && !c.numerical) {
            unscaled_iterations = newton.iterations();
        } else if (!c.numerical) {
            EXPECT_EQ(newton.iterations(), unscaled_iterations) << c.name;
        }
    }
}

// A tridiagonal nonlinear system solved with dense rows and with each row's columns given:
// the same iterates to the bit. Leaving out a non-zero column of a row changes the scaling
// and shows.
TEST(Newton, RowColumnsScaleAsDenseRowsDo)
{
    const int n = 6;
    auto residuals = [](std::span<const double> u, std::span<double> g) {
        for (int i = 0; i < n; ++i)
            g[i] = 3 * u[i] + u[i] * u[i] * u[i] - (i > 0 ? u[i - 1] : 0) - (i < n - 1 ? 2 * u[i + 1] : 0) - 1 - i;
    };
    auto jacobian = [](std::span<const double> u, Matrix& j) {
        for (int i = 0; i < n; ++i) {
            j[i][i] = 3 + 3 * u[i] * u[i];
            if (i > 0)
                j[i][i - 1] = -1;
            if (i < n - 1)
                j[i][i + 1] = -2;
        }
    };
    const auto run = [&](std::vector<std::vector<int>> columns) {
        TestSystem system(residuals, jacobian);
        Newton newton;
        system.bind(newton, n);
        newton.set_row_columns(std::move(columns));
        newton.set_initial_values(std::vector<double>(n, 0.0));
        newton.solve();
        return std::tuple{newton.good(), newton.solution(), newton.rowSums()};
    };
    std::vector<std::vector<int>> pattern(n);
    for (int i = 0; i < n; ++i)
        for (int k = std::max(0, i - 1); k <= std::min(n - 1, i + 1); ++k)
            pattern[i].push_back(k);
    const auto dense = run({});
    ASSERT_TRUE(std::get<0>(dense));
    EXPECT_EQ(run(pattern), dense);
    pattern[2] = {2};  // the row's neighbours left out
    EXPECT_NE(run(pattern), dense);
}

TEST(Newton, StepIsShrunkAsAWholeToTheMaximumSteps)
{
    TestSystem system = linear_system({{1, 0}, {0, 1}}, {10, 2});  // raw first step (10, 2)
    Newton newton;
    system.bind(newton, 2);
    newton.set_initial_values(std::vector<double>{0, 0});
    newton.set_dUmax(std::vector<double>{1, 1});
    newton.set_maximum_number_of_iterations(1);  // stop right after the first step
    newton.solve();
    EXPECT_EQ(code_number(newton.outcome()), 1);
    EXPECT_DOUBLE_EQ(newton.solution()[0], 1.0);
    EXPECT_DOUBLE_EQ(newton.solution()[1], 0.2);

    // With room to move, the capped steps still lead to the solution.
    newton.set_maximum_number_of_iterations(25);
    newton.set_initial_values(std::vector<double>{0, 0});
    newton.solve();
    ASSERT_TRUE(newton.good());
    EXPECT_NEAR(newton.solution()[0], 10, 1e-12);
    EXPECT_NEAR(newton.solution()[1], 2, 1e-12);
}

TEST(Newton, FailureCodes)
{
    struct Case {
        const char* name;
        std::function<TestSystem()> make;
        std::function<void(Newton&)> adjust;
        int n;
        std::vector<double> start;
        int failure;
        int evaluations;  // -1: not checked
        const char* stdout_text;
        const char* stderr_text;
    };
    const Case cases[] = {
        {"start vector cannot be evaluated",
         [] {
             TestSystem s = circle_and_hyperbola();
             s.fails_at = [](std::span<const double>) { return true; };
             return s;
         },
         [](Newton&) {}, 2, {2, 0.3}, 1, 1, "", ""},
        {"singular step", [] { return linear_system({{1, 1}, {2, 2}}, {1, 2}); }, [](Newton&) {}, 2, {0.5, 0.5}, 1, 1,
         "Singular matrix\n", "The system is degenerated.\n"},
        {"empty system", [] { return linear_system({}, {}); }, [](Newton&) {}, 0, {}, 2, 1, "",
         "The system is degenerated.\n"},
        {"small residual, large next step", [] { return linear_system({{1}}, {5}); },
         [](Newton& newton) { newton.set_epsilon(1); }, 1, {0}, 3, 1, "", ""},
        {"iteration cap", [] { return circle_and_hyperbola(); },
         [](Newton& newton) { newton.set_maximum_number_of_iterations(2); }, 2, {2, 0.3}, 1, -1, "", ""},
    };
    for (const Case& c : cases) {
        TestSystem system = c.make();
        Newton newton;
        system.bind(newton, c.n);
        c.adjust(newton);
        newton.set_initial_values(c.start);
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        newton.solve();
        EXPECT_EQ(testing::internal::GetCapturedStdout(), c.stdout_text) << c.name;
        EXPECT_EQ(testing::internal::GetCapturedStderr(), c.stderr_text) << c.name;
        EXPECT_FALSE(newton.good()) << c.name;
        EXPECT_EQ(code_number(newton.outcome()), c.failure) << c.name;
        if (c.evaluations >= 0) {
            EXPECT_EQ(system.evaluations, c.evaluations) << c.name;
        }
    }
}

TEST(Newton, FailedEvaluationsHalveTheRelaxation)
{
    // Solution (1, 2, 3) from 0; points with a first coordinate above 0.01 cannot be
    // evaluated, so the first step is halved until it falls below the relaxation limit.
    TestSystem system = linear_system({{3, 1, 0}, {1, 4, 1}, {0, 2, 5}}, {5, 12, 19});
    system.fails_at = [](std::span<const double> u) { return u[0] > 0.01; };
    Newton newton;
    system.bind(newton, 3);
    newton.set_initial_values(std::vector<double>{0, 0, 0});
    newton.solve();
    EXPECT_EQ(code_number(newton.outcome()), 1);
    // The start vector, then factors 1, 1/2, ..., 1/64 of the step to (1, 2, 3).
    EXPECT_EQ(system.evaluations, 1 + 7);
    EXPECT_NEAR(newton.solution()[0], 1.0 / 64, 1e-15);
}

TEST(Newton, AnyRelaxationLimitEndsAStartThatCannotBeEvaluated)
{
    // A limit the halving never passes (0, negative, not a number) still ends the solve at
    // the first failed evaluation.
    for (const double limit : {0.0, -1.0, std::numeric_limits<double>::quiet_NaN()}) {
        EXPECT_TRUE(test::ends_within(20, [limit] {
            TestSystem system = circle_and_hyperbola();
            system.fails_at = [](std::span<const double>) { return true; };
            Newton newton;
            system.bind(newton, 2);
            newton.set_relaxation_limit(limit);
            newton.set_initial_values(std::vector<double>{2, 0.3});
            newton.solve();
            return code_number(newton.outcome()) == 1 && system.evaluations == 1;
        })) << "relaxation limit " << limit;
    }
}

TEST(Newton, RebindingToAnotherObjectOrSizeGetsItsOwnArrays)
{
    TestSystem small = linear_system({{2, 0}, {0, 4}}, {2, 8});                      // (1, 2)
    TestSystem large = linear_system({{1, 0, 0}, {0, 1, 0}, {0, 0, 2}}, {4, 5, 12});  // (4, 5, 6)
    Newton newton;
    small.bind(newton, 2);
    newton.set_initial_values(std::vector<double>{0, 0});
    newton.solve();
    ASSERT_TRUE(newton.good());

    // The same member function on another object and size.
    large.bind(newton, 3);
    ASSERT_EQ(newton.numberOfVariables(), 3);
    ASSERT_EQ(newton.solution().size(), 3u);
    ASSERT_EQ(newton.jacobian().rows(), 3);
    ASSERT_EQ(newton.limited().size(), 3u);
    newton.set_initial_values(std::vector<double>{0, 0, 0});
    newton.solve();
    ASSERT_TRUE(newton.good());
    EXPECT_NEAR(newton.solution()[2], 6, 1e-14);
    EXPECT_EQ(large.evaluations, 2);

    // Binding the same system again keeps the tolerances set after the first binding.
    newton.set_epsilon(1e-6);
    large.bind(newton, 3);
    EXPECT_EQ(newton.epsilon(), 1e-6);
}

TEST(Newton, RebindingTheSameFunctionFollowsTheObjectAndTheSize)
{
    // G_i = U_i - target (i + 1), of any size.
    class Scaled : public Equation {
    public:
        explicit Scaled(double t) : target(t) {}
        void system(std::span<const double> u, std::span<double> g, Matrix& j, bool&, Evaluation evaluation, void*)
        {
            ++evaluations;
            for (std::size_t i = 0; i < g.size(); ++i) {
                g[i] = u[i] - target * double(i + 1);
                if (evaluation == Evaluation::with_jacobian)
                    j[int(i)][int(i)] = 1;
            }
        }
        double target;
        int evaluations = 0;
    };
    struct Case {
        const char* name;
        bool other_object;
        int second_size;
    };
    const Case cases[] = {{"another object, same size", true, 2}, {"same object, another size", false, 4}};
    for (const Case& c : cases) {
        Scaled first(1), second(3);
        Newton newton;
        newton._setSysEquationToSolve(&first, static_cast<SystemFunction>(&Scaled::system), 2);
        newton.set_initial_values(std::vector<double>{0, 0});
        newton.solve();
        ASSERT_TRUE(newton.good()) << c.name;

        Scaled& rebound = c.other_object ? second : first;
        rebound.evaluations = 0;
        newton._setSysEquationToSolve(&rebound, static_cast<SystemFunction>(&Scaled::system), c.second_size);
        newton.set_initial_values(std::vector<double>(c.second_size, 0.0));
        newton.solve();
        ASSERT_TRUE(newton.good()) << c.name;
        EXPECT_GT(rebound.evaluations, 0) << c.name;
        ASSERT_EQ(newton.solution().size(), std::size_t(c.second_size)) << c.name;
        for (int i = 0; i < c.second_size; ++i)
            EXPECT_NEAR(newton.solution()[i], rebound.target * (i + 1), 1e-12) << c.name << ", U" << i;
    }
}

TEST(Newton, NumericalJacobianMatchesTheAnalyticalOne)
{
    TestSystem system = circle_and_hyperbola(3, -0.5);
    Newton newton;
    system.bind(newton, 2);
    newton.set_perturbation(std::vector<double>{1e-6, 1e-6});
    Vector u{1.3, -0.7}, g(2), g_numerical(2);
    Matrix analytical(2, 2), numerical(2, 2);
    bool failed = true;
    newton.calculate(u, g, analytical, failed, Evaluation::with_jacobian);
    ASSERT_FALSE(failed);
    newton.calculate_numerical(u, g_numerical, numerical, failed);
    ASSERT_FALSE(failed);
    EXPECT_EQ(u, (Vector{1.3, -0.7}));
    EXPECT_EQ(g_numerical, g);
    for (int i = 0; i < 2; ++i)
        for (int j = 0; j < 2; ++j)
            EXPECT_NEAR(numerical[i][j], analytical[i][j], 1e-8) << i << " " << j;
}

TEST(Newton, NumericalJacobianFailsWhenAnyPerturbedEvaluationFails)
{
    // Points with a first coordinate below 1 cannot be evaluated: at u0 = 1 only the
    // backward difference of the first column fails; the later evaluations succeed.
    TestSystem system = circle_and_hyperbola();
    system.fails_at = [](std::span<const double> u) { return u[0] < 1; };
    Newton newton;
    system.bind(newton, 2);
    Vector u{1, 0.5}, g(2);
    Matrix j(2, 2);
    bool failed = false;
    newton.calculate_numerical(u, g, j, failed);
    EXPECT_TRUE(failed);
    EXPECT_EQ(u, (Vector{1, 0.5}));

    // So a Newton solve started there fails at its start vector.
    newton.set_numerical_jacobian(true);
    newton.set_initial_values(u);
    newton.solve();
    EXPECT_EQ(code_number(newton.outcome()), 1);
}

TEST(Newton, BoundsOfLimitedVariablesAreApproachedByNineTenths)
{
    TestSystem system = linear_system({{1, 0}, {0, 1}}, {10, 2});
    Newton newton;
    system.bind(newton, 2);
    newton.limit_variable(0, -100, 5);
    newton.set_maximum_number_of_iterations(1);
    newton.set_initial_values(std::vector<double>{0, 0});
    newton.solve();
    EXPECT_DOUBLE_EQ(newton.solution()[0], 0.9 * 5);
    EXPECT_DOUBLE_EQ(newton.solution()[1], 2);
}

TEST(NLESolver, MapTabulatesTheResidualsWithoutStartingGnuplot)
{
    TestSystem system = linear_system({{1, 1}, {1, -1}}, {0, 0});
    Newton newton;
    system.bind(newton, 2);
    const test::ScratchFolder folder;
    const auto written = newton.map(0, 1, -1, 1, 0, 2, 2, 2, NLESolver::MapFormat::igor_text, "_test", DiagnosticFolder(folder.path()));  // the first count becomes 3

    ASSERT_EQ(written, folder.path() / "mapcrit_test");
    const std::string expected =
        "IGOR\nWAVES x0_test x1_test res_test f_test\nBEGIN\n"
        "-1.000000\t0.000000\t2.000000\t1.000000\n"
        "-1.000000\t2.000000\t2.000000\t1.000000\n"
        "0.000000\t0.000000\t0.000000\t0.000000\n"
        "0.000000\t2.000000\t0.000000\t2.000000\n"
        "1.000000\t0.000000\t2.000000\t1.000000\n"
        "1.000000\t2.000000\t2.000000\t3.000000\n"
        "END\n";
    EXPECT_EQ(test::read_text_file(written), expected);
}

TEST(NLESolver, MapForGnuplotWritesPlainRowsAndTheScript)
{
    TestSystem system = linear_system({{1, 1}, {1, -1}}, {0, 0});
    Newton newton;
    system.bind(newton, 2);
    const test::ScratchFolder folder;
    newton.map(0, 1, 0, 1, 0, 1, 3, 2, NLESolver::MapFormat::gnuplot, "_gp", DiagnosticFolder(folder.path()));  // not shown: gnuplot is only started on request

    const std::string data = test::read_text_file(folder.path() / "mapcrit_gp");
    const std::string script = test::read_text_file(folder.path() / "g60.gp");

    EXPECT_EQ(data.find("IGOR"), std::string::npos);
    EXPECT_EQ(std::count(data.begin(), data.end(), '\n'), 3 * 2);
    EXPECT_EQ(data.rfind("1.000000\t1.000000\t2.000000\t2.000000\n"), data.size() - 36);
    EXPECT_NE(script.find("splot 'mapcrit_gp'"), std::string::npos) << script;
}

// A suffix is the caller's text: it may name neither another folder nor gnuplot commands,
// and it must make valid Igor wave names.
TEST(NLESolver, MapSuffixNeverLeavesTheFolderNorReachesTheScriptAsIs)
{
    TestSystem system = linear_system({{1, 1}, {1, -1}}, {0, 0});
    Newton newton;
    system.bind(newton, 2);
    const test::ScratchFolder folder;
    const DiagnosticFolder diagnostics(folder.path() / "maps");
    std::filesystem::create_directory(diagnostics.path());
    const char* hostile = "/../x' ; system \"touch pwned\" #";
    const std::string safe = "____x____system__touch_pwned___";

    for (const NLESolver::MapFormat format : {NLESolver::MapFormat::gnuplot, NLESolver::MapFormat::igor_text})
        ASSERT_EQ(newton.map(0, 1, 0, 1, 0, 1, 3, 2, format, hostile, diagnostics), diagnostics.path() / ("mapcrit" + safe));

    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder.path()))
        names.push_back(std::filesystem::relative(entry.path(), folder.path()).string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"maps", "maps/g60.gp", "maps/mapcrit" + safe}));
    EXPECT_NE(test::read_text_file(diagnostics.path() / "g60.gp").find("splot 'mapcrit" + safe + "' using"),
              std::string::npos);
    EXPECT_EQ(test::read_text_file(diagnostics.path() / ("mapcrit" + safe)).find("IGOR\nWAVES x0" + safe + " x1" + safe),
              0u);
}

// Without a folder of the caller's, each diagnostic gets a fresh temporary one.
TEST(NLESolver, MapWithoutAFolderWritesIntoAFreshTemporaryOne)
{
    TestSystem system = linear_system({{1, 1}, {1, -1}}, {0, 0});
    Newton newton;
    system.bind(newton, 2);
    const auto first = newton.map(0, 1, 0, 1, 0, 1, 3, 2, NLESolver::MapFormat::igor_text, "");
    const auto second = newton.map(0, 1, 0, 1, 0, 1, 3, 2, NLESolver::MapFormat::igor_text, "");
    ASSERT_FALSE(first.empty());
    ASSERT_FALSE(second.empty());
    EXPECT_NE(first.parent_path(), second.parent_path());
    EXPECT_EQ(first.parent_path().parent_path(), std::filesystem::temp_directory_path());
    EXPECT_NE(test::read_text_file(first).find("END\n"), std::string::npos);
    for (const auto& written : {first, second})
        std::filesystem::remove_all(written.parent_path());
}

TEST(NLESolver, CheckDerivativesWritesBothJacobians)
{
    TestSystem system = circle_and_hyperbola();
    Newton newton;
    system.bind(newton, 2);
    std::FILE* file = std::tmpfile();
    ASSERT_NE(file, nullptr);
    newton.check_derivatives(file, std::vector<double>{1, 2}, std::vector<double>{1e-6, 1e-6});
    std::rewind(file);
    std::string text;
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, file))
        text += buffer;
    std::fclose(file);

    // Rows of the Jacobian at (1, 2): (2, 4) and (2, 1), analytical then numerical.
    const std::size_t numerical = text.find("Numerical \n\n");
    ASSERT_EQ(text.find("Analytical \n\n"), 0u);
    ASSERT_NE(numerical, std::string::npos);
    double a = 0, b = 0, c = 0, d = 0;
    ASSERT_EQ(std::sscanf(text.c_str() + numerical + 12, "%lf %lf %lf %lf", &a, &b, &c, &d), 4);
    EXPECT_NEAR(a, 2, 1e-6);
    EXPECT_NEAR(b, 4, 1e-6);
    EXPECT_NEAR(c, 2, 1e-6);
    EXPECT_NEAR(d, 1, 1e-6);
    EXPECT_NE(text.find(" 2.000000e+00   4.000000e+00  \n"), std::string::npos) << text;
}
