#include "numeric/Fitting.h"

#include "numeric/support/text_files.h"
#include "support/ends_within.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>
#include <vector>

using namespace quorvel;

namespace {

const std::vector<double> x_data{0.5, 1, 2, 3, 4, 5, 6};
const std::vector<double> noise{0.013, -0.021, 0.008, 0.017, -0.011, -0.004, 0.019};

// Y = P0 + P1 X + a, Z = P0 X - P1 (a: the point's additional value, if any).
class LineModel : public Equation {
public:
    void model(std::span<const double> x, std::span<const double> p, double& y, double& z,
               std::span<const double> additional, bool& failed)
    {
        ++calls;
        if (fails) {
            failed = true;
            return;
        }
        last_parameters.assign(p.begin(), p.end());
        y = p[0] + p[1] * x[0] + (additional.empty() ? 0 : additional[0]);
        z = p[0] * x[0] - p[1];
    }

    void bind(Fitting& fitting) { fitting._setModelToFit(this, static_cast<ModelFunction>(&LineModel::model)); }

    int calls = 0;
    bool fails = false;
    std::vector<double> last_parameters;
};

// Runs a regression of the line model with its report in a file of its own folder, read
// back afterwards.
struct LineFit {
    LineModel model;
    Fitting fitting;
    test::ScratchFolder folder;
    std::string report;

    LineFit(short type, int points, double sd_x, double sd_y, double sd_z, std::vector<double> y_values = {})
    {
        fitting.number_of_points(points);
        fitting.number_of_independent_variables(1);
        fitting.number_of_dependent_variables(type == 0 || type == 2 ? 2 : 1);
        fitting.number_of_parameters(2);
        fitting.number_of_additional_parameters(0);
        model.bind(fitting);
        testing::internal::CaptureStdout();
        fitting.allocate_memory();
        allocation_line = testing::internal::GetCapturedStdout();

        std::vector<double> x(x_data.begin(), x_data.begin() + points);
        if (y_values.empty())
            for (int i = 0; i < points; ++i)
                y_values.push_back(1 + 2 * x[i] + noise[i]);
        std::vector<double> z;
        for (int i = 0; i < points; ++i)
            z.push_back(x[i] - 2 - noise[points - 1 - i]);
        fitting.read_Xm(0, x);
        fitting.read_Ym(y_values);
        fitting.read_Zm(z);
        fitting.read_sdX(0, std::vector<double>(points, sd_x));
        fitting.read_sdY(std::vector<double>(points, sd_y));
        fitting.read_sdZ(std::vector<double>(points, sd_z));
        fitting.set_type_of_regression(static_cast<Fitting::Regression>(type));
        fitting.set_initial_parameters(std::vector<double>{0.9, 0.6});
        fitting.set_parameters_pertubation(std::vector<double>{1e-6, 1e-6});
        fitting.set_variables_pertubation(std::vector<double>{1e-6});
        fitting.set_history_detail(Fitting::History::iterations);
    }

    Fitting::Status run()
    {
        const std::string path = folder.file("fitting_report.txt");
        EXPECT_TRUE(fitting.set_history(path));
        const Fitting::Status status = fitting.regres();
        std::fflush(nullptr);
        report = test::read_text_file(path);
        return status;
    }

    bool reported(const std::string& text) const { return report.find(text) != std::string::npos; }

    std::string allocation_line;
};

}  // namespace

TEST(Fitting, StraightLineByLeastSquaresEndsInTheSecondIteration)
{
    LineFit fit(3, 7, 1e-8, 1e-8, 1e-6);
    EXPECT_EQ(fit.allocation_line, "nn 7 no 0 \n");
    ASSERT_EQ(fit.run(), Fitting::Status::converged);
    EXPECT_EQ(fit.fitting.iteration(), 2);

    // Ordinary least squares, written out.
    const int n = 7;
    double sx = 0, sy = 0, sxx = 0, sxy = 0;
    for (int i = 0; i < n; ++i) {
        const double y = 1 + 2 * x_data[i] + noise[i];
        sx += x_data[i];
        sy += y;
        sxx += x_data[i] * x_data[i];
        sxy += x_data[i] * y;
    }
    const double slope = (n * sxy - sx * sy) / (n * sxx - sx * sx);
    const double intercept = (sy - slope * sx) / n;
    EXPECT_NEAR(fit.fitting.P()[0], intercept, 1e-9);
    EXPECT_NEAR(fit.fitting.P()[1], slope, 1e-9);
    // The model's last evaluation was at the estimates.
    EXPECT_EQ(fit.model.last_parameters, fit.fitting.P());

    EXPECT_TRUE(fit.reported("\nRegression summary\n\n"));
    EXPECT_TRUE(fit.reported("Estimated variance of the fit : "));
    EXPECT_TRUE(fit.fitting.standard_deviation()[0] > 0 && fit.fitting.standard_deviation()[1] > 0);
    EXPECT_NEAR(fit.fitting.correlation()[0][1], fit.fitting.correlation()[1][0], 1e-12);
    EXPECT_NEAR(fit.fitting.correlation()[0][0], 1, 1e-12);
}

TEST(Fitting, StraightLineWithErrorsInBothVariables)
{
    const double sd_x = 0.05, sd_y = 0.1;
    LineFit fit(1, 7, sd_x, sd_y, 1);
    fit.fitting.set_relative_tolerance(1e-10);
    ASSERT_EQ(fit.run(), Fitting::Status::converged);

    // Deming regression with the variance ratio delta = varY / varX.
    const int n = 7;
    const double delta = (sd_y * sd_y) / (sd_x * sd_x);
    double mx = 0, my = 0;
    for (int i = 0; i < n; ++i) {
        mx += x_data[i] / n;
        my += (1 + 2 * x_data[i] + noise[i]) / n;
    }
    double sxx = 0, syy = 0, sxy = 0;
    for (int i = 0; i < n; ++i) {
        const double dx = x_data[i] - mx, dy = 1 + 2 * x_data[i] + noise[i] - my;
        sxx += dx * dx;
        syy += dy * dy;
        sxy += dx * dy;
    }
    const double slope =
        (syy - delta * sxx + std::sqrt((syy - delta * sxx) * (syy - delta * sxx) + 4 * delta * sxy * sxy)) /
        (2 * sxy);
    const double intercept = my - slope * mx;
    EXPECT_NEAR(fit.fitting.P()[1], slope, 1e-7);
    EXPECT_NEAR(fit.fitting.P()[0], intercept, 1e-7);

    // The estimated true values lie on the fitted line, on the normal to it that the
    // variances define: (X - Xm) / varX = -slope (Y - Ym) / varY.
    for (int i = 0; i < n; ++i) {
        const double X = fit.fitting.X()[i][0];
        const double Y = fit.fitting.P()[0] + fit.fitting.P()[1] * X;
        const double Ym = 1 + 2 * x_data[i] + noise[i];
        EXPECT_NEAR((X - x_data[i]) / (sd_x * sd_x), -fit.fitting.P()[1] * (Y - Ym) / (sd_y * sd_y), 1e-4) << i;
    }
}

TEST(Fitting, EveryRegressionTypeEndsAtAStationaryPoint)
{
    for (short type : {0, 1, 2, 3}) {
        LineFit fit(type, 7, 0.05, 0.1, 0.2);
        for (int i = 0; i < 7; ++i)
            fit.fitting.read_additional_parameters(i, 0.0);  // without extra values
        ASSERT_EQ(fit.run(), Fitting::Status::converged) << "type " << type;

        // Sum of squares as a function of the parameters, the true values held.
        const bool x_terms = type <= 1, z_terms = type == 0 || type == 2;
        auto sum_of_squares = [&](std::array<double, 2> p) {
            double s = 0;
            for (int i = 0; i < 7; ++i) {
                const double X = fit.fitting.X()[i][0];
                const double y = p[0] + p[1] * X, z = p[0] * X - p[1];
                if (x_terms)
                    s += std::pow(X - x_data[i], 2) / (0.05 * 0.05);
                s += std::pow(y - fit.fitting.Ym()[i], 2) / (0.1 * 0.1);
                if (z_terms)
                    s += std::pow(z - fit.fitting.Zm()[i], 2) / (0.2 * 0.2);
            }
            return s;
        };
        const std::array<double, 2> p{fit.fitting.P()[0], fit.fitting.P()[1]};
        for (int a = 0; a < 2; ++a) {
            const double h = 1e-4;
            std::array<double, 2> plus = p, minus = p;
            plus[a] += h;
            minus[a] -= h;
            const double gradient = (sum_of_squares(plus) - sum_of_squares(minus)) / (2 * h);
            // Against the gradient one hundredth away from the estimate.
            std::array<double, 2> off = p;
            off[a] += 0.01;
            std::array<double, 2> off_plus = off, off_minus = off;
            off_plus[a] += h;
            off_minus[a] -= h;
            const double reference = (sum_of_squares(off_plus) - sum_of_squares(off_minus)) / (2 * h);
            EXPECT_LT(std::fabs(gradient), 0.05 * std::fabs(reference)) << "type " << type << ", parameter " << a;
        }
    }
}

TEST(Fitting, AdditionalValuesReachTheModel)
{
    // Ym carries an offset of 3 that the additional value of each point explains.
    std::vector<double> y;
    for (int i = 0; i < 7; ++i)
        y.push_back(4 + 2 * x_data[i] + noise[i]);
    LineFit fit(3, 7, 1e-8, 1e-8, 1, y);
    fit.fitting.number_of_additional_parameters(1);
    testing::internal::CaptureStdout();
    fit.fitting.allocate_memory();
    testing::internal::GetCapturedStdout();
    LineFit reference(3, 7, 1e-8, 1e-8, 1);
    // allocate_memory cleared the data: read it again.
    fit.fitting.read_Xm(0, x_data);
    fit.fitting.read_Ym(y);
    fit.fitting.read_sdX(0, std::vector<double>(7, 1e-8));
    fit.fitting.read_sdY(std::vector<double>(7, 1e-8));
    fit.fitting.set_initial_parameters(std::vector<double>{0.9, 0.6});
    fit.fitting.set_parameters_pertubation(std::vector<double>{1e-6, 1e-6});
    for (int i = 0; i < 7; ++i)
        fit.fitting.read_additional_parameters(i, 3);

    ASSERT_EQ(fit.run(), Fitting::Status::converged);
    ASSERT_EQ(reference.run(), Fitting::Status::converged);
    EXPECT_NEAR(fit.fitting.P()[0], reference.fitting.P()[0], 1e-9);
    EXPECT_NEAR(fit.fitting.P()[1], reference.fitting.P()[1], 1e-9);
}

TEST(Fitting, ModelThatMeetsTheDataConverges)
{
    // Exact data: the sum of squares falls to (rounding) zero.
    std::vector<double> exact;
    for (double x : x_data)
        exact.push_back(1 + 2 * x);
    for (short type : {1, 3}) {
        LineFit fit(type, 7, 1e-8, 1e-8, 1, exact);
        EXPECT_EQ(fit.run(), Fitting::Status::converged) << "type " << type;
        EXPECT_LT(fit.fitting.iteration(), 6) << "type " << type;
        EXPECT_FALSE(fit.reported("Maximum iteration exceeded")) << "type " << type;
        EXPECT_NEAR(fit.fitting.P()[0], 1, 1e-10) << "type " << type;
        EXPECT_NEAR(fit.fitting.P()[1], 2, 1e-10) << "type " << type;
    }
}

TEST(Fitting, EachRunStartsAfresh)
{
    LineFit fit(3, 7, 1e-8, 1e-8, 1);
    ASSERT_EQ(fit.run(), Fitting::Status::converged);
    const std::vector<double> first = fit.fitting.P();

    // A second run from other start values iterates again to the same estimates.
    fit.fitting.set_initial_parameters(std::vector<double>{-5, 10});
    fit.model.calls = 0;
    ASSERT_EQ(fit.run(), Fitting::Status::converged);
    EXPECT_GT(fit.model.calls, 0);
    EXPECT_GE(fit.fitting.iteration(), 1);
    EXPECT_NEAR(fit.fitting.P()[0], first[0], 1e-9);
    EXPECT_NEAR(fit.fitting.P()[1], first[1], 1e-9);
    EXPECT_TRUE(fit.reported("Iteration 0"));
}

TEST(Fitting, VarianceIsUndefinedWithoutMorePointsThanParameters)
{
    LineFit fit(3, 2, 1e-8, 1e-8, 1);
    ASSERT_EQ(fit.run(), Fitting::Status::converged);
    EXPECT_TRUE(std::isnan(fit.fitting.variance()));
    EXPECT_TRUE(fit.reported("Estimated variance of the fit : undefined (2 points for 2 parameters)\n"));
    EXPECT_TRUE(fit.reported("\nRegression summary\n\n"));
}

TEST(Fitting, StatusTellsHowTheRunEnded)
{
    struct Case {
        const char* name;
        void (*prepare)(LineFit&);
        Fitting::Status status;
        const char* message;
        bool summary;
    };
    const Case cases[] = {
        {"model fails at the start values", [](LineFit& fit) { fit.model.fails = true; },
         Fitting::Status::evaluation_failed, "Error in function evaluation\n", false},
        {"a parameter the model ignores",
         [](LineFit& fit) { fit.fitting.set_parameters_pertubation(std::vector<double>{1e-6, 1e-300}); },
         Fitting::Status::ill_defined_parameters, "Ill-defined parameter matrix\n", false},
        {"iteration cap",
         [](LineFit& fit) {
             fit.fitting.set_relative_tolerance(0);
             fit.fitting.set_maximum_number_of_iterations(2);
         },
         Fitting::Status::iteration_cap, "Maximum iteration exceeded 3\n", true},
    };
    for (const Case& c : cases) {
        LineFit fit(3, 7, 1e-8, 1e-8, 1);
        c.prepare(fit);
        EXPECT_EQ(fit.run(), c.status) << c.name;
        EXPECT_EQ(fit.fitting.status(), c.status) << c.name;
        EXPECT_FALSE(fit.fitting.good()) << c.name;
        EXPECT_TRUE(fit.reported(c.message)) << c.name << "\n" << fit.report;
        EXPECT_EQ(fit.reported("Regression summary"), c.summary) << c.name;
    }

    // A failure at the start values leaves the parameters there.
    LineFit failing(3, 7, 1e-8, 1e-8, 1);
    failing.model.fails = true;
    failing.run();
    EXPECT_EQ(failing.fitting.P(), (Vector{0.9, 0.6}));
}

// Each shortening of a step divides its factor until it falls below a floor: settings under
// which it never would are refused before the model is called.
TEST(Fitting, StepSettingsThatWouldNeverEndAStepSearchAreRefused)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double infinity = std::numeric_limits<double>::infinity();
    struct Case {
        const char* name;
        double step_divisor;
        double initial_step;
    };
    const Case cases[] = {
        {"divisor 1", 1, 1},
        {"divisor below 1", 0.5, 1},
        {"divisor not a number", nan, 1},
        {"initial step not a number", 1.5, nan},
        {"infinite initial step", 1.5, infinity},
        {"initial step 0", 1.5, 0},
    };
    for (const Case& c : cases) {
        EXPECT_TRUE(test::ends_within(20, [&c] {
            LineFit fit(3, 7, 1e-8, 1e-8, 1);
            fit.fitting.set_relative_tolerance(0);  // so that steps get shortened
            fit.fitting.set_step_divisor(c.step_divisor);
            fit.fitting.set_initial_step(c.initial_step);
            return fit.run() == Fitting::Status::unusable_step_settings && fit.model.calls == 0 &&
                   fit.reported("The step divisor must be a number above 1 and the initial step a positive number.\n");
        })) << c.name;
    }
}

TEST(Fitting, ReportIntoAFolder)
{
    LineFit fit(3, 7, 1e-8, 1e-8, 1);
    const auto path = fit.fitting.set_history_folder(DiagnosticFolder(fit.folder.path()), "/alpha beta");
    ASSERT_EQ(path, fit.folder.path() / "fitting_alpha_beta.txt");
    ASSERT_EQ(fit.fitting.regres(), Fitting::Status::converged);
    EXPECT_NE(test::read_text_file(path).find("\nRegression summary\n\n"), std::string::npos);

    // A folder that does not exist leaves the report where it was.
    testing::internal::CaptureStderr();
    EXPECT_TRUE(fit.fitting.set_history_folder(DiagnosticFolder(fit.folder.path() / "absent")).empty());
    EXPECT_NE(testing::internal::GetCapturedStderr().find("cannot be written"), std::string::npos);
    ASSERT_EQ(fit.fitting.regres(), Fitting::Status::converged);
    const std::string report = test::read_text_file(path);
    EXPECT_NE(report.find("\nRegression summary\n\n"), report.rfind("\nRegression summary\n\n"))
        << "the second run reports into the same file";
}

TEST(Fitting, ArraysThatDoNotMatchTheCountsStopTheRun)
{
    // Never allocated.
    LineModel model;
    Fitting bare;
    bare.number_of_points(7);
    bare.number_of_independent_variables(1);
    bare.number_of_parameters(2);
    model.bind(bare);
    testing::internal::CaptureStdout();
    EXPECT_EQ(bare.regres(), Fitting::Status::not_run);
    EXPECT_NE(testing::internal::GetCapturedStdout().find("allocate_memory must follow"), std::string::npos);
    EXPECT_EQ(model.calls, 0);

    // A count changed after the allocation.
    LineFit fit(3, 7, 1e-8, 1e-8, 1);
    fit.fitting.number_of_parameters(3);
    EXPECT_EQ(fit.run(), Fitting::Status::not_run);
    EXPECT_FALSE(fit.fitting.good());
    EXPECT_EQ(fit.model.calls, 0);

    // A variable index beyond the counts is refused and changes nothing.
    LineFit other(1, 7, 0.05, 0.1, 1);
    testing::internal::CaptureStderr();
    other.fitting.read_Xm(1, std::vector<double>(7, 100.0));
    other.fitting.read_sdX(-1, std::vector<double>(7, 100.0));
    other.fitting.read_EvX(3, std::vector<double>(7, 100.0));
    EXPECT_NE(testing::internal::GetCapturedStderr().find("there is no independent variable 1"), std::string::npos);
    EXPECT_EQ(other.fitting.Xm()[6][0], x_data[6]);
    EXPECT_EQ(other.fitting.sdX()[0][0], 0.05);
    EXPECT_EQ(other.run(), Fitting::Status::converged);
}

TEST(Fitting, ReportWithoutIterationDetails)
{
    LineFit fit(3, 7, 1e-8, 1e-8, 1);
    fit.fitting.set_history_detail(Fitting::History::steps);
    ASSERT_EQ(fit.run(), Fitting::Status::converged);
    EXPECT_FALSE(fit.reported("Iteration 0"));
    EXPECT_FALSE(fit.reported("al ssqn"));
    EXPECT_TRUE(fit.reported("\n\nDelta linearized sum of squares = "));
    EXPECT_TRUE(fit.reported("Changes in parameters\n"));
}

TEST(Fitting, StepThatMakesATrueValueNegativeIsShortened)
{
    // The first point lies far below the line and its X is poorly measured: the first
    // step moves its true value from 0.01 to below zero, so the step factor starts at
    // 1/1.5 unless the limit is switched off.
    struct Case {
        bool keep_variables_non_negative;
        const char* first_trial;
    };
    const Case cases[] = {{true, "al ssqn \n 0.666667  "}, {false, "al ssqn \n 1  "}};
    for (const Case& c : cases) {
        std::vector<double> y;
        for (int i = 0; i < 7; ++i)
            y.push_back(1 + 2 * x_data[i] + noise[i]);
        y[0] -= 5;
        LineFit fit(1, 7, 1, 0.01, 1, y);
        fit.fitting.read_Xm(0, std::vector<double>{0.01, 1, 2, 3, 4, 5, 6});
        fit.fitting.set_initial_parameters(std::vector<double>{1, 2});
        fit.fitting.set_history_detail(Fitting::History::line_search);
        fit.fitting.set_keep_variables_non_negative(c.keep_variables_non_negative);
        fit.run();
        const std::size_t first = fit.report.find("al ssqn");
        ASSERT_NE(first, std::string::npos);
        EXPECT_EQ(fit.report.find(c.first_trial), first) << "keep_variables_non_negative " << c.keep_variables_non_negative;
    }
}
