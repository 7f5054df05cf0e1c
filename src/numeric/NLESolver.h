#pragma once

#include "numeric/DiagnosticFolder.h"
#include "numeric/Equation.h"
#include "numeric/Matrix.h"

#include <cstdio>
#include <filesystem>
#include <span>

namespace quorvel {

// Base of the solvers of square systems of nonlinear equations G(U) = 0.
class NLESolver {
public:
    // Outcome of the last solve; code_number gives its failure code.
    enum class Outcome : int {
        converged = 0,
        failed = 1,            // iteration cap, relaxation below its limit, or a singular step
        empty_system = 2,
        large_final_step = 3,  // small residual but a next step too large
        stopped = 4,           // by the progress callback
    };

    // What a solve prints on standard output.
    enum class Verbosity { silent, iterations, iterations_and_systems };

    NLESolver() = default;
    virtual ~NLESolver() = default;

    // Releases the work arrays.
    virtual void purge();

    // Binds the system of n equations in n variables; allocates and resets the defaults.
    void _setSysEquationToSolve(Equation* object, SystemFunction function, int n);

    void set_initial_values(std::span<const double> values);  // n values into U0 and U
    void set_epsilon(double value) { epsilon_ = value; }
    void set_dUmax(std::span<const double> values);           // n maximum steps
    void set_perturbation(std::span<const double> values);    // n central-difference steps
    void set_maximum_number_of_iterations(int value) { maximum_number_of_iterations = value; }
    // The Jacobian by central differences instead of the system function's.
    void set_numerical_jacobian(bool numerical) { numerical_jacobian = numerical; }
    void set_verbose(Verbosity level) { verbose = level; }

    [[nodiscard]] Outcome outcome() const { return outcome_; }
    [[nodiscard]] bool good() const { return outcome_ == Outcome::converged; }
    [[nodiscard]] const Vector& solution() const { return U; }
    [[nodiscard]] const Matrix& jacobian() const { return J; }
    [[nodiscard]] int iterations() const { return iteration; }
    [[nodiscard]] int numberOfVariables() const { return number_of_variables; }
    [[nodiscard]] int numberOfEquations() const { return number_of_equations; }
    [[nodiscard]] int maximumNumberOfIterations() const { return maximum_number_of_iterations; }
    [[nodiscard]] double epsilon() const { return epsilon_; }
    [[nodiscard]] const Vector& maximumSteps() const { return dUmax; }
    [[nodiscard]] const Vector& perturbation() const { return perturbation_; }

    // Calls the system function at U (failed is cleared first).
    void calculate(std::span<const double> u, std::span<double> g, Matrix& jacobian, bool& failed,
                   Evaluation evaluation);

    // G at U and the Jacobian by central differences with the steps of perturbation.
    void calculate_numerical(std::span<double> u, std::span<double> g, Matrix& jacobian, bool& failed);

    // Writes the analytical and the central-difference Jacobian at u (steps h) to file.
    void check_derivatives(std::FILE* file, std::span<const double> u, std::span<const double> h);

    // How map writes its table.
    enum class MapFormat {
        plain,     // the rows alone
        gnuplot,   // the rows and the gnuplot script "g60.gp"
        igor_text  // the rows framed as Igor text
    };

    // Tabulates |sum G_i| and |G_0| over a grid of the variables first and second
    // (from0..to0 in count0 points, from1..to1 in count1 points, the others held at U)
    // into "mapcrit<suffix>" in folder, the suffix reduced by safe_suffix. The gnuplot
    // script is shown only when show_with_gnuplot is set. Returns the path of the table,
    // empty when none was written.
    std::filesystem::path map(int first, int second, double from0, double to0, double from1, double to1,
                              int count0, int count1, MapFormat format, const char* suffix,
                              const DiagnosticFolder& folder = DiagnosticFolder(), bool show_with_gnuplot = false);

protected:
    bool is_bound_to(Equation* object, SystemFunction function, int n) const;

    int number_of_variables = 0;
    int number_of_equations = 0;
    int iteration = 0;
    int maximum_number_of_iterations = 25;
    Vector G;
    Vector U;
    Matrix J;
    Vector U0;
    Vector dU;
    Vector dUmax;
    double epsilon_ = 1e-11;
    double modG = 1e15;
    double modG0 = 1e15;
    Verbosity verbose = Verbosity::silent;
    Outcome outcome_ = Outcome::converged;
    bool numerical_jacobian = false;

private:
    Equation* system_object = nullptr;
    SystemFunction system_function = nullptr;
    void* system_data = nullptr;
    Vector perturbation_;
};

[[nodiscard]] constexpr int code_number(NLESolver::Outcome outcome) { return static_cast<int>(outcome); }

}  // namespace quorvel
