#pragma once

#include "numeric/DiagnosticFolder.h"
#include "numeric/Equation.h"
#include "numeric/Matrix.h"

#include <concepts>
#include <cstdio>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

// Errors-in-variables nonlinear least squares. The model gives Y (and Z) of each point
// from its true independent values X and the parameters P; the regression estimates P and
// the true X by minimising the weighted squared deviations from the measured values.
class Fitting {
public:
    // The measured values whose deviations the regression weighs; the number picks the
    // header of the history's table of points.
    enum class Regression {
        errors_in_x_y_and_z = 0,
        errors_in_x_and_y = 1,
        y_and_z_at_fixed_x = 2,
        y_at_fixed_x = 3,
    };
    // How much of each iteration regres writes to its history; a level writes what the
    // levels below it write too.
    enum class History {
        steps = 0,             // the linearised step and the changes of the parameters alone
        iterations = 1,        // the sum of squares and the parameters
        line_search = 2,       // the first trial of the line search
        variable_changes = 3,  // the step's changes of the true independent values
        points = 4,            // the estimated true values of the points
        derivatives = 7,       // the derivatives of the model
    };

    // Outcome of regres.
    enum class Status {
        converged,               // the sum of squares stopped changing (or the model meets the data)
        iteration_cap,           // "Maximum iteration exceeded"
        evaluation_failed,       // "Error in function evaluation"
        ill_defined_variables,   // "Ill-defined variable matrix"
        ill_defined_parameters,  // "Ill-defined parameter matrix"
        unusable_step_settings,  // initial_step or step_divisor would never end a step search
        not_run,                 // not run yet, or the arrays do not match the counts
    };

    Fitting();
    ~Fitting();
    Fitting(const Fitting&) = delete;
    Fitting& operator=(const Fitting&) = delete;

    void number_of_points(int n) { point_count = n; }
    void number_of_independent_variables(int n) { independent_count = n; }
    void number_of_dependent_variables(int n) { dependent_count = n; }
    void number_of_parameters(int n) { parameter_count = n; }
    void number_of_additional_parameters(int n) { additional_count = n; }

    void _setModelToFit(Equation* object, ModelFunction function);
    void set_maximum_number_of_iterations(short n) { maximum_number_of_iterations = n; }

    // Sizes every array from the counts, all zero.
    void allocate_memory();

    void read_Xm(int k, std::span<const double> values);
    void read_Ym(std::span<const double> values);
    void read_Zm(std::span<const double> values);
    // Standard deviations (their squares become the variances).
    void read_sdX(int k, std::span<const double> values);
    void read_sdY(std::span<const double> values);
    void read_sdZ(std::span<const double> values);
    // Variances (their square roots become the standard deviations).
    void read_EvX(int k, std::span<const double> values);
    void read_EvY(std::span<const double> values);
    void read_EvZ(std::span<const double> values);

    void set_type_of_regression(Regression type) { type_of_regression = type; }
    void set_initial_parameters(std::span<const double> values);
    void set_parameters_pertubation(std::span<const double> values);
    void set_variables_pertubation(std::span<const double> values);

    // The additional values of one point.
    void read_additional_parameters(int point, std::span<const double> values);
    template <class... Values>
        requires(std::convertible_to<Values, double> && ...)
    void read_additional_parameters(int point, Values... values)
    {
        const double row[] = {double(values)...};
        read_additional_parameters(point, std::span<const double>(row));
    }

    // Reports into the file at path from now on; false (and the report stays where it
    // was) when the file cannot be opened.
    bool set_history(const std::string& path);
    // Reports into "fitting<suffix>.txt" in folder from now on; returns its path, empty
    // (and the report stays where it was) when it cannot be opened.
    std::filesystem::path set_history_folder(const DiagnosticFolder& folder = DiagnosticFolder(),
                                             std::string_view suffix = {});

    // Runs the regression from the measured values and the current P.
    Status regres();

    // Calls the model for one point.
    void evaluate(std::span<const double> x, std::span<const double> p, double& y, double& z,
                  std::span<const double> additional_values, bool& failed);

    Status status() const { return run_status; }
    bool good() const { return run_status == Status::converged; }

    // Settings of the step search, read by the next regres.
    void set_relative_tolerance(double tolerance) { relative_tolerance = tolerance; }
    void set_step_divisor(double divisor) { step_divisor = divisor; }
    void set_initial_step(double step) { initial_step = step; }
    // A step that would take a true independent value below zero is shortened, unless switched off.
    void set_keep_variables_non_negative(bool keep) { keep_variables_non_negative = keep; }
    void set_history_detail(History detail) { history_detail = detail; }

    // Measured values, as read.
    const Matrix& Xm() const { return Xm_; }
    const Vector& Ym() const { return Ym_; }
    const Vector& Zm() const { return Zm_; }
    const Matrix& sdX() const { return sdX_; }

    // Results of the last regres: the parameters (the start values before one), the
    // estimated true independent values and the statistics of the parameters.
    const Vector& P() const { return P_; }
    const Matrix& X() const { return X_; }
    const Vector& standard_deviation() const { return standard_deviation_; }
    const Matrix& correlation() const { return correlation_; }
    double variance() const { return variance_; }
    short iteration() const { return iteration_; }

private:
    bool allocated_for_the_counts() const;
    bool step_settings_usable() const;
    bool has_x_terms() const
    {
        return type_of_regression == Regression::errors_in_x_y_and_z ||
               type_of_regression == Regression::errors_in_x_and_y;
    }
    bool has_z_terms() const
    {
        return type_of_regression == Regression::errors_in_x_y_and_z ||
               type_of_regression == Regression::y_and_z_at_fixed_x;
    }
    bool writes(History detail) const { return history_detail >= detail; }

    void func();
    void fundr();
    double sum_of_squares() const;
    double rounding_level() const;
    void print();
    bool solve_linearised_step();
    void report_step();
    void limite_variations_of_parameters();
    void move_trial_point(double factor);
    void calculate_new_parameters();
    void summary();

    Equation* model_object = nullptr;
    ModelFunction model_function = nullptr;
    std::FILE* history;

    int point_count = 0;
    int parameter_count = 0;
    int independent_count = 0;
    int dependent_count = 0;
    int additional_count = 0;

    Matrix Fx, Gx, Fp, Gp;
    Matrix deviation_X;
    Vector deviation_Y, deviation_Z;
    Matrix delX;
    Vector delp;
    std::vector<Matrix> D, S, dummy;
    Vector C, U;
    Matrix CC, D_work, TT, Q;
    Vector FpdP, GpdP, FxdX, GxdX;
    double al = 1;
    double ssq = 0;
    double dsl = 0;
    double relative_change = 0;
    double dS = 0;
    bool converged = false;
    bool accepted = false;
    int inner_iteration = 0;
    bool evaluation_failed = false;
    Status run_status = Status::not_run;

    // An accepted step lowers the sum of squares by at least this fraction of the linearised decrease.
    static constexpr double decrease_ratio = 0.25;
    // A parameter change at least this large shortens the step.
    static constexpr double maximum_parameter_change = 1000;
    double relative_tolerance = 5e-4;
    short maximum_number_of_iterations = 15;
    double step_divisor = 1.5;
    bool keep_variables_non_negative = true;
    double initial_step = 1;
    Regression type_of_regression = Regression::errors_in_x_y_and_z;
    History history_detail = History::derivatives;

    Vector P_;
    Vector Ym_, Zm_, Y, Z;
    Matrix Xm_, X_;
    Matrix additional;
    Vector varY, varZ, sdY, sdZ;
    Matrix varX, sdX_;
    Vector dP, dX;
    Matrix covariance, correlation_;
    Vector standard_deviation_;
    double ssqn = 0;
    double variance_ = 0;
    short iteration_ = 0;
};

}  // namespace quorvel
