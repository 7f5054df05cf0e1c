#include "numeric/NewtonRaphson.h"

#include <cmath>
#include <cstdio>

namespace quorvel {

namespace {

constexpr double smallest_relaxation = 0.001;
constexpr int maximum_bisections = 200;

}  // namespace

void NewtonRaphson::_setEquationToSolve(Equation* object, DerivativeFunction function)
{
    equation_object = object;
    equation_function = function;
}

void NewtonRaphson::set_bounds(double lower, double upper)
{
    lower_bound = lower;
    upper_bound = upper;
    bounded = true;
}

SolverStatus NewtonRaphson::evaluate(double x, double& f, double& df)
{
    if (bounded && x < lower_bound) {
        if (verbose)
            std::printf("Too low value: x1 %lf < xmax %lf \n", x, lower_bound);
        return SolverStatus::below_lower_bound;
    }
    if (bounded && x > upper_bound) {
        if (verbose)
            std::printf("Too high value: x1 : %lf > xmax : %lf \n", x, upper_bound);
        return SolverStatus::above_upper_bound;
    }
    if (equation_object == nullptr || equation_function == nullptr)
        return SolverStatus::evaluation_failed;
    (equation_object->*equation_function)(x, f, df);
    if (equation_object->evaluation_error || std::isnan(f)) {
        equation_object->evaluation_error = false;
        if (verbose)
            std::printf("Function evaluation error: x1 : %lf  fx1 : %lg \n", x, f);
        return SolverStatus::evaluation_failed;
    }
    return SolverStatus::converged;
}

void NewtonRaphson::update_bracket(double x, double f)
{
    if (f > 0 && f < f_positive) {
        f_positive = f;
        x_positive = x;
    } else if (f <= 0 && f > f_negative) {
        f_negative = f;
        x_negative = x;
    }
}

bool NewtonRaphson::converged(double previous, double next) const
{
    const double scale = previous < 1 ? 1 : previous;
    return std::fabs(next - previous) < epsilon_ * scale;
}

double NewtonRaphson::solve()
{
    iteration = 0;
    x_positive = x_negative = 0;
    f_positive = 1e100;
    f_negative = -1e100;
    status_ = evaluate(x0, f0, df0);
    if (status_ != SolverStatus::converged)
        return x0;
    update_bracket(x0, f0);

    for (;;) {
        double r = relaxation;
        do {
            x1 = x0 - r * f0 / df0;
            status_ = evaluate(x1, f1, df1);
            if (status_ == SolverStatus::converged && monotonic_check) {
                if (std::fabs(f1) > std::fabs(f0)) {
                    status_ = SolverStatus::growing_residual;
                    if (verbose)
                        std::printf("Increase of the module of the function: |fx1| %lg   |fx0| %lg\n", std::fabs(f1),
                                    std::fabs(f0));
                } else if (df1 * df0 < 0) {
                    status_ = SolverStatus::convexity_changed;
                    if (verbose)
                        std::printf("Change of the convexity\n");
                }
            }
            r /= 2;
        } while (status_ != SolverStatus::converged && r > smallest_relaxation);

        if (status_ == SolverStatus::converged) {
            update_bracket(x1, f1);
            const bool done = converged(x0, x1);
            x0 = x1;
            f0 = f1;
            df0 = df1;
            if (done)
                return x1;
        } else if (verbose) {
            std::printf("Calculation failure %d. x1 : %lf \n", code_number(status_), x1);
        }
        if (status_ != SolverStatus::converged)
            break;
        if (++iteration > maximum_number_of_iterations) {
            status_ = SolverStatus::iteration_cap;
            if (verbose)
                std::printf("The iteration has gone on too long.\n");
            break;
        }
    }
    if (x_positive != 0 && x_negative != 0) {
        status_ = SolverStatus::converged;
        return bisect();
    }
    return x0;
}

double NewtonRaphson::bisect()
{
    for (int i = 0; i < maximum_bisections; ++i) {
        const double middle = (x_positive + x_negative) / 2;
        double f = 0, df = 0;
        status_ = evaluate(middle, f, df);
        if (status_ != SolverStatus::converged)
            return middle;
        if (f > 0)
            x_positive = middle;
        else
            x_negative = middle;
        if (converged(x_negative, x_positive))
            return middle;
    }
    status_ = SolverStatus::iteration_cap;
    return (x_positive + x_negative) / 2;
}

std::filesystem::path NewtonRaphson::plot(double from, double to, int n, const DiagnosticFolder& folder)
{
    const std::filesystem::path path = folder.file("nr");
    std::FILE* file = std::fopen(path.c_str(), "w");
    if (file == nullptr) {
        std::fprintf(stderr, "NewtonRaphson plot: %s cannot be written.\n", path.c_str());
        return {};
    }
    for (int i = 0; i <= n; ++i) {
        const double x = n > 0 ? from + i * (to - from) / n : from;
        double f = 0, df = 0;
        if (evaluate(x, f, df) != SolverStatus::converged)
            f = NAN;
        std::fprintf(file, "%lg %lg\n", x, f);
    }
    std::fclose(file);
    return path;
}

void NewtonRaphson::check_derivatives(double x, double h)
{
    double f = 0, analytical = 0, f_plus = 0, f_minus = 0, unused = 0;
    evaluate(x, f, analytical);
    evaluate(x + h, f_plus, unused);
    evaluate(x - h, f_minus, unused);
    std::printf("Check derivatives at %lf\n\tAnal. : %lg  Num. : %lg\n", x, analytical, (f_plus - f_minus) / (2 * h));
}

}  // namespace quorvel
