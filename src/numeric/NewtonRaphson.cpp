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
    bounded = 1;
}

int NewtonRaphson::evaluate(double x, double& f, double& df)
{
    if (bounded && x < lower_bound) {
        if (verbose)
            std::printf("Too low value: x1 %lf < xmax %lf \n", x, lower_bound);
        return 2;
    }
    if (bounded && x > upper_bound) {
        if (verbose)
            std::printf("Too high value: x1 : %lf > xmax : %lf \n", x, upper_bound);
        return 3;
    }
    if (equation_object == nullptr || equation_function == nullptr)
        return 4;
    (equation_object->*equation_function)(x, f, df);
    if (equation_object->evaluation_error || std::isnan(f)) {
        equation_object->evaluation_error = 0;
        if (verbose)
            std::printf("Function evaluation error: x1 : %lf  fx1 : %lg \n", x, f);
        return 4;
    }
    return 0;
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
    return std::fabs(next - previous) < epsilon * scale;
}

double NewtonRaphson::solve()
{
    iteration = 0;
    x_positive = x_negative = 0;
    f_positive = 1e100;
    f_negative = -1e100;
    status = evaluate(x0, f0, df0);
    if (status != 0)
        return x0;
    update_bracket(x0, f0);

    for (;;) {
        double r = relaxation;
        do {
            x1 = x0 - r * f0 / df0;
            status = evaluate(x1, f1, df1);
            if (status == 0 && monotonic_check) {
                if (std::fabs(f1) > std::fabs(f0)) {
                    status = 5;
                    if (verbose)
                        std::printf("Increase of the module of the function: |fx1| %lg   |fx0| %lg\n", std::fabs(f1),
                                    std::fabs(f0));
                } else if (df1 * df0 < 0) {
                    status = 6;
                    if (verbose)
                        std::printf("Change of the convexity\n");
                }
            }
            r /= 2;
        } while (status != 0 && r > smallest_relaxation);

        if (status == 0) {
            update_bracket(x1, f1);
            const bool done = converged(x0, x1);
            x0 = x1;
            f0 = f1;
            df0 = df1;
            if (done)
                return x1;
        } else if (verbose) {
            std::printf("Calculation failure %d. x1 : %lf \n", status, x1);
        }
        if (status != 0)
            break;
        if (++iteration > maximum_number_of_iterations) {
            status = 1;
            if (verbose)
                std::printf("The iteration has gone on too long.\n");
            break;
        }
    }
    if (x_positive != 0 && x_negative != 0) {
        status = 0;
        return bisect();
    }
    return x0;
}

double NewtonRaphson::bisect()
{
    for (int i = 0; i < maximum_bisections; ++i) {
        const double middle = (x_positive + x_negative) / 2;
        double f = 0, df = 0;
        status = evaluate(middle, f, df);
        if (status != 0)
            return middle;
        if (f > 0)
            x_positive = middle;
        else
            x_negative = middle;
        if (converged(x_negative, x_positive))
            return middle;
    }
    status = 1;
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
        if (evaluate(x, f, df) != 0)
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
