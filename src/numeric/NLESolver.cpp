#include "numeric/NLESolver.h"

#include "numeric/Gnuplot.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

namespace quorvel {

void NLESolver::purge()
{
    system_object = nullptr;
    system_function = nullptr;
    number_of_variables = 0;
    number_of_equations = 0;
    G.clear();
    U.clear();
    J = Matrix();
    U0.clear();
    dU.clear();
    dUmax.clear();
    perturbation_.clear();
    system_data = nullptr;
}

bool NLESolver::is_bound_to(Equation* object, SystemFunction function, int n) const
{
    return object == system_object && function == system_function && n == number_of_variables;
}

void NLESolver::_setSysEquationToSolve(Equation* object, SystemFunction function, int n)
{
    // Binding the same system again keeps the state and tolerances; any other object,
    // function or size gets arrays of its own size.
    if (is_bound_to(object, function, n))
        return;
    n = std::max(n, 0);
    system_object = object;
    system_function = function;
    number_of_variables = n;
    number_of_equations = n;
    iteration = 0;
    maximum_number_of_iterations = 25;
    outcome_ = Outcome::converged;
    epsilon_ = 1e-11;
    modG = 1e15;
    modG0 = 1e15;
    J = Matrix(n, n);
    G.assign(n, 0.0);
    U.assign(n, 0.0);
    U0.assign(n, 0.0);
    dU.assign(n, 0.0);
    dUmax.assign(n, 1e4);
    perturbation_.assign(n, 1e-9);
}

void NLESolver::set_initial_values(std::span<const double> values)
{
    const std::size_t count = std::min(values.size(), U.size());
    std::copy_n(values.begin(), count, U0.begin());
    std::copy_n(values.begin(), count, U.begin());
}

void NLESolver::set_dUmax(std::span<const double> values)
{
    std::copy_n(values.begin(), std::min(values.size(), dUmax.size()), dUmax.begin());
}

void NLESolver::set_perturbation(std::span<const double> values)
{
    std::copy_n(values.begin(), std::min(values.size(), perturbation_.size()), perturbation_.begin());
}

void NLESolver::calculate(std::span<const double> u, std::span<double> g, Matrix& jacobian, bool& failed,
                          Evaluation evaluation)
{
    failed = false;
    if (system_object == nullptr || system_function == nullptr) {
        failed = true;
        return;
    }
    (system_object->*system_function)(u, g, jacobian, failed, evaluation, system_data);
}

void NLESolver::calculate_numerical(std::span<double> u, std::span<double> g, Matrix& jacobian, bool& failed)
{
    calculate(u, g, jacobian, failed, Evaluation::residuals);
    if (failed)
        return;

    Vector work(number_of_equations);
    for (int j = 0; j < number_of_variables; ++j) {
        const double held = u[j];
        const double h = perturbation_[j];

        u[j] = held + h;
        calculate(u, work, jacobian, failed, Evaluation::residuals);
        if (!failed) {
            for (int i = 0; i < number_of_equations; ++i)
                jacobian[i][j] = work[i];
            u[j] = held - h;
            calculate(u, work, jacobian, failed, Evaluation::residuals);
        }
        u[j] = held;
        // A Jacobian column is only as good as both of its evaluations.
        if (failed)
            return;
        for (int i = 0; i < number_of_equations; ++i)
            jacobian[i][j] = (jacobian[i][j] - work[i]) / (2 * h);
    }
}

namespace {

void write_matrix(std::FILE* file, const Matrix& matrix)
{
    for (int i = 0; i < matrix.rows(); ++i) {
        for (int j = 0; j < matrix.columns(); ++j)
            std::fprintf(file, "% 08le  ", matrix[i][j]);
        std::fprintf(file, "\n");
    }
}

}  // namespace

void NLESolver::check_derivatives(std::FILE* file, std::span<const double> u, std::span<const double> h)
{
    Vector at(u.begin(), u.begin() + number_of_variables);
    Vector g(number_of_equations);
    Matrix analytical(number_of_equations, number_of_variables);
    Matrix numerical(number_of_equations, number_of_variables);

    bool failed = false;
    calculate(at, g, analytical, failed, Evaluation::with_jacobian);

    const Vector held_steps = perturbation_;
    std::copy_n(h.begin(), number_of_variables, perturbation_.begin());
    calculate_numerical(at, g, numerical, failed);
    perturbation_ = held_steps;

    std::fprintf(file, "Analytical \n\n");
    write_matrix(file, analytical);
    std::fprintf(file, "\n");
    std::fprintf(file, "Numerical \n\n");
    write_matrix(file, numerical);
}

std::filesystem::path NLESolver::map(int first, int second, double from0, double to0, double from1, double to1,
                                     int count0, int count1, MapFormat format, const char* suffix,
                                     const DiagnosticFolder& folder, bool show_with_gnuplot)
{
    if (count0 < 2 || count1 < 2 || first < 0 || second < 0 || first >= number_of_variables ||
        second >= number_of_variables) {
        std::fprintf(stderr, "map: two variables of the system and at least two grid points along each are needed.\n");
        return {};
    }
    if (count0 % 2 == 0)
        ++count0;
    const std::string tail = safe_suffix(suffix ? suffix : "");
    const std::filesystem::path data_path = folder.file("mapcrit", tail);
    std::FILE* data = std::fopen(data_path.c_str(), "w");
    if (data == nullptr) {
        std::fprintf(stderr, "map: %s cannot be written.\n", data_path.c_str());
        return {};
    }
    if (format == MapFormat::igor_text)
        std::fprintf(data, "IGOR\nWAVES x0%s x1%s res%s f%s\nBEGIN\n", tail.c_str(), tail.c_str(), tail.c_str(),
                     tail.c_str());

    Vector u = U;
    Vector g(number_of_equations);
    for (int i = 0; i < count0; ++i) {
        u[first] = from0 + i * (to0 - from0) / (count0 - 1);
        for (int j = 0; j < count1; ++j) {
            u[second] = from1 + j * (to1 - from1) / (count1 - 1);
            bool failed = false;
            calculate(u, g, J, failed, Evaluation::residuals);
            double residue = std::numeric_limits<double>::quiet_NaN();
            double first_residue = residue;
            if (!failed) {
                double sum = 0;
                for (double value : g)
                    sum += value;
                residue = std::fabs(sum);
                first_residue = number_of_equations > 0 ? std::fabs(g[0]) : 0;
            }
            std::fprintf(data, "%lf\t%lf\t%lf\t%lf\n", u[first], u[second], residue, first_residue);
        }
    }
    if (format == MapFormat::igor_text)
        std::fprintf(data, "END\n");
    std::fclose(data);

    if (format != MapFormat::gnuplot)
        return data_path;
    const std::filesystem::path script_path = folder.file("g60", {}, ".gp");
    std::FILE* script = std::fopen(script_path.c_str(), "w");
    if (script == nullptr) {
        std::fprintf(stderr, "map: %s cannot be written.\n", script_path.c_str());
        return data_path;
    }
    std::fprintf(script, "set title \"Newton - Residual map\"\n");
    std::fprintf(script, "set xlabel \"U%d\"\nset ylabel \"U%d\"\n", first, second);
    std::fprintf(script, "set dgrid3d %d,%d\n", count1, count0);
    std::fprintf(script, "splot '%s' using 1:2:3 with lines title \"|sum G|\"\n", data_path.filename().c_str());
    std::fclose(script);
    if (show_with_gnuplot)
        run_gnuplot(script_path);
    return data_path;
}

}  // namespace quorvel
