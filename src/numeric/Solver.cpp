#include "numeric/Solver.h"

#include "numeric/Gnuplot.h"

#include <cmath>
#include <cstdio>
#include <limits>

namespace quorvel {

void Solver::_setEquationToSolve(Equation* object, EquationFunction function, void* data)
{
    equation_object = object;
    equation_function = function;
    equation_data = data;
}

void Solver::set_bounds(double lower, double upper)
{
    lower_bound = lower;
    upper_bound = upper;
    bounded = true;
}

double Solver::calcFunction(double x)
{
    status_ = SolverStatus::converged;
    if (bounded) {
        if (x < lower_bound) {
            status_ = SolverStatus::below_lower_bound;
            return 0;
        }
        if (x > upper_bound) {
            status_ = SolverStatus::above_upper_bound;
            return 0;
        }
    }
    if (equation_object == nullptr || equation_function == nullptr) {
        status_ = SolverStatus::evaluation_failed;
        return 0;
    }
    const double f = (equation_object->*equation_function)(x, equation_data);
    // A not-a-number value is as much a failed evaluation as a raised flag.
    if (equation_object->evaluation_error || std::isnan(f)) {
        equation_object->evaluation_error = false;
        status_ = SolverStatus::evaluation_failed;
        return 0;
    }
    return f;
}

bool Solver::convergence()
{
    const double scale = std::fabs(x0) < 1 ? 1 : std::fabs(x0);
    const bool small_step = std::fabs(x1 - x0) < epsilon_ * scale;
    if (!small_step)
        ++iteration;
    // A failed last evaluation ends the solve with its status, however small the step.
    if (status_ != SolverStatus::converged)
        return true;
    if (small_step)
        return true;
    if (iteration > maximum_number_of_iterations) {
        status_ = SolverStatus::iteration_cap;
        return true;
    }
    return false;
}

std::filesystem::path Solver::plot(double from, double to, int n, bool geometric, const DiagnosticFolder& folder,
                                   bool show_with_gnuplot)
{
    const std::filesystem::path data_path = folder.file("solver", {}, ".txt");
    std::FILE* data = data_path.empty() ? nullptr : std::fopen(data_path.c_str(), "w");
    if (data == nullptr) {
        std::fprintf(stderr, "Solver plot: %s cannot be written.\n", data_path.c_str());
        return {};
    }
    const double step = n > 0 ? (to - from) / n : 0;
    const double factor = n > 0 && geometric ? std::pow(to / from, 1.0 / n) : 1;
    double x = from;
    for (int i = 0; i <= n; ++i) {
        double f = std::numeric_limits<double>::quiet_NaN();
        if (equation_object != nullptr && equation_function != nullptr) {
            f = (equation_object->*equation_function)(x, equation_data);
            if (equation_object->evaluation_error) {
                equation_object->evaluation_error = false;
                f = std::numeric_limits<double>::quiet_NaN();
            }
        }
        std::fprintf(data, "%12lg\t%12lg\n", x, f);
        x = geometric ? x * factor : x + step;
    }
    std::fclose(data);

    const std::filesystem::path script_path = folder.file("solver", {}, ".gp");
    std::FILE* script = std::fopen(script_path.c_str(), "w");
    if (script == nullptr) {
        std::fprintf(stderr, "Solver plot: %s cannot be written.\n", script_path.c_str());
        return data_path;
    }
    std::fprintf(script, "set title \"Solver - Curve check\"\n");
    std::fprintf(script, "set xlabel \"x\"\nset ylabel \"f(x)\"\n");
    std::fprintf(script, "plot '%s' with lines\n", data_path.filename().c_str());
    std::fclose(script);
    if (show_with_gnuplot)
        run_gnuplot(script_path);
    return data_path;
}

}  // namespace quorvel
