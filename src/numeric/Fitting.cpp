#include "numeric/Fitting.h"

#include "numeric/LinearSystem.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace quorvel {

namespace {

// Relative rounding of a model value: sums of squares below the rounding of the measured
// values mean that the model meets the data.
constexpr double rounding = 1e-14;

std::span<const double> row(const Matrix& matrix, int i) { return {matrix[i], std::size_t(matrix.columns())}; }

// False, with a message, when the matrix has no column k.
bool copy_column(Matrix& matrix, int k, std::span<const double> values)
{
    if (k < 0 || k >= matrix.columns()) {
        std::fprintf(stderr, "Fitting: there is no independent variable %d.\n", k);
        return false;
    }
    const int count = std::min<int>(matrix.rows(), int(values.size()));
    for (int i = 0; i < count; ++i)
        matrix[i][k] = values[i];
    return true;
}

void copy_values(Vector& target, std::span<const double> values)
{
    std::copy_n(values.begin(), std::min(target.size(), values.size()), target.begin());
}

}  // namespace

Fitting::Fitting() : history(stdout) {}

Fitting::~Fitting()
{
    if (history != stdout)
        std::fclose(history);
}

void Fitting::_setModelToFit(Equation* object, ModelFunction function)
{
    model_object = object;
    model_function = function;
}

void Fitting::allocate_memory()
{
    const int np = point_count, npar = parameter_count, nx = independent_count;
    Ym_.assign(np, 0.0);
    Zm_.assign(np, 0.0);
    Y.assign(np, 0.0);
    Z.assign(np, 0.0);
    Xm_ = Matrix(np, nx);
    X_ = Matrix(np, nx);
    additional = Matrix(np, additional_count);
    varY.assign(np, 0.0);
    varZ.assign(np, 0.0);
    sdY.assign(np, 0.0);
    sdZ.assign(np, 0.0);
    varX = Matrix(np, nx);
    sdX_ = Matrix(np, nx);
    P_.assign(npar, 0.0);
    dP.assign(npar, 0.0);
    dX.assign(nx, 0.0);
    Fx = Matrix(np, nx);
    Gx = Matrix(np, nx);
    Fp = Matrix(np, npar);
    Gp = Matrix(np, npar);
    covariance = Matrix(npar, npar);
    correlation_ = Matrix(npar, npar);
    standard_deviation_.assign(npar, 0.0);
    deviation_X = Matrix(np, nx);
    deviation_Y.assign(np, 0.0);
    deviation_Z.assign(np, 0.0);
    delX = Matrix(np, nx);
    delp.assign(npar, 0.0);
    D.assign(np, Matrix(nx, nx));
    S.assign(np, Matrix(nx, npar));
    dummy.assign(np, Matrix(npar, nx));
    C.assign(npar, 0.0);
    U.assign(npar, 0.0);
    CC = Matrix(npar, npar);
    D_work = Matrix(nx, nx);
    TT = Matrix(npar, npar);
    Q = Matrix(np, nx);
    FpdP.assign(np, 0.0);
    GpdP.assign(np, 0.0);
    FxdX.assign(np, 0.0);
    GxdX.assign(np, 0.0);
    std::printf("nn %d no %d \n", np, additional_count);
}

void Fitting::read_Xm(int k, std::span<const double> values) { copy_column(Xm_, k, values); }
void Fitting::read_Ym(std::span<const double> values) { copy_values(Ym_, values); }
void Fitting::read_Zm(std::span<const double> values) { copy_values(Zm_, values); }

void Fitting::read_sdX(int k, std::span<const double> values)
{
    if (!copy_column(sdX_, k, values))
        return;
    for (int i = 0; i < sdX_.rows(); ++i)
        varX[i][k] = sdX_[i][k] * sdX_[i][k];
}

void Fitting::read_sdY(std::span<const double> values)
{
    copy_values(sdY, values);
    for (std::size_t i = 0; i < sdY.size(); ++i)
        varY[i] = sdY[i] * sdY[i];
}

void Fitting::read_sdZ(std::span<const double> values)
{
    copy_values(sdZ, values);
    for (std::size_t i = 0; i < sdZ.size(); ++i)
        varZ[i] = sdZ[i] * sdZ[i];
}

void Fitting::read_EvX(int k, std::span<const double> values)
{
    if (!copy_column(varX, k, values))
        return;
    for (int i = 0; i < varX.rows(); ++i)
        sdX_[i][k] = std::sqrt(varX[i][k]);
}

void Fitting::read_EvY(std::span<const double> values)
{
    copy_values(varY, values);
    for (std::size_t i = 0; i < varY.size(); ++i)
        sdY[i] = std::sqrt(varY[i]);
}

void Fitting::read_EvZ(std::span<const double> values)
{
    copy_values(varZ, values);
    for (std::size_t i = 0; i < varZ.size(); ++i)
        sdZ[i] = std::sqrt(varZ[i]);
}

void Fitting::set_initial_parameters(std::span<const double> values) { copy_values(P_, values); }
void Fitting::set_parameters_pertubation(std::span<const double> values) { copy_values(dP, values); }
void Fitting::set_variables_pertubation(std::span<const double> values) { copy_values(dX, values); }

void Fitting::read_additional_parameters(int point, std::span<const double> values)
{
    if (point < 0 || point >= additional.rows()) {
        std::fprintf(stderr, "Fitting: there is no point %d for additional values.\n", point);
        return;
    }
    const int count = std::min<int>(additional_count, int(values.size()));
    std::copy_n(values.begin(), count, additional[point]);
}

bool Fitting::set_history(const std::string& path)
{
    std::FILE* file = std::fopen(path.c_str(), "w");
    if (file == nullptr) {
        std::fprintf(stderr, "Fitting: the report file %s cannot be written.\n", path.c_str());
        return false;
    }
    if (history != stdout)
        std::fclose(history);
    history = file;
    return true;
}

std::filesystem::path Fitting::set_history_folder(const DiagnosticFolder& folder, std::string_view suffix)
{
    const std::filesystem::path path = folder.file("fitting", suffix, ".txt");
    return !path.empty() && set_history(path.string()) ? path : std::filesystem::path();
}

void Fitting::evaluate(std::span<const double> x, std::span<const double> p, double& y, double& z,
                       std::span<const double> additional_values, bool& failed)
{
    if (model_object == nullptr || model_function == nullptr) {
        failed = true;
        return;
    }
    (model_object->*model_function)(x, p, y, z, additional_values, failed);
}

void Fitting::func()
{
    for (int i = 0; i < point_count; ++i) {
        evaluate(row(X_, i), P_, Y[i], Z[i], row(additional, i), evaluation_failed);
        if (evaluation_failed)
            return;
    }
}

void Fitting::fundr()
{
    for (int i = 0; i < point_count; ++i) {
        double y_plus = 0, y_minus = 0, z_plus = 0, z_minus = 0;
        for (int a = 0; a < parameter_count; ++a) {
            const double held = P_[a];
            P_[a] = held + dP[a];
            evaluate(row(X_, i), P_, y_plus, z_plus, row(additional, i), evaluation_failed);
            P_[a] = held - dP[a];
            evaluate(row(X_, i), P_, y_minus, z_minus, row(additional, i), evaluation_failed);
            P_[a] = held;
            Fp[i][a] = (y_plus - y_minus) / (2 * dP[a]);
            if (has_z_terms())
                Gp[i][a] = (z_plus - z_minus) / (2 * dP[a]);
        }
        if (!has_x_terms())
            continue;
        for (int k = 0; k < independent_count; ++k) {
            const double held = X_[i][k];
            X_[i][k] = held + dX[k];
            evaluate(row(X_, i), P_, y_plus, z_plus, row(additional, i), evaluation_failed);
            X_[i][k] = held - dX[k];
            evaluate(row(X_, i), P_, y_minus, z_minus, row(additional, i), evaluation_failed);
            X_[i][k] = held;
            Fx[i][k] = (y_plus - y_minus) / (2 * dX[k]);
            if (type_of_regression == Regression::errors_in_x_y_and_z)
                Gx[i][k] = (z_plus - z_minus) / (2 * dX[k]);
        }
    }
}

double Fitting::sum_of_squares() const
{
    double sum = 0;
    for (int i = 0; i < point_count; ++i) {
        if (has_x_terms())
            for (int k = 0; k < independent_count; ++k) {
                const double deviation = X_[i][k] - Xm_[i][k];
                sum += deviation * deviation / varX[i][k];
            }
        sum += (Y[i] - Ym_[i]) * (Y[i] - Ym_[i]) / varY[i];
        if (has_z_terms())
            sum += (Z[i] - Zm_[i]) * (Z[i] - Zm_[i]) / varZ[i];
    }
    return sum;
}

double Fitting::rounding_level() const
{
    double level = 0;
    for (int i = 0; i < point_count; ++i) {
        if (has_x_terms())
            for (int k = 0; k < independent_count; ++k)
                level += std::pow(rounding * Xm_[i][k], 2) / varX[i][k];
        level += std::pow(rounding * Ym_[i], 2) / varY[i];
        if (has_z_terms())
            level += std::pow(rounding * Zm_[i], 2) / varZ[i];
    }
    return level;
}

bool Fitting::allocated_for_the_counts() const
{
    return X_.rows() == point_count && X_.columns() == independent_count && int(P_.size()) == parameter_count &&
           additional.rows() == point_count && additional.columns() == additional_count;
}

// Each shortening divides the step factor by step_divisor until it falls below a floor:
// a divisor of 1 or less, or a factor that is not a positive number, never gets there.
bool Fitting::step_settings_usable() const
{
    return step_divisor > 1 && std::isfinite(step_divisor) && initial_step > 0 && std::isfinite(initial_step);
}

Fitting::Status Fitting::regres()
{
    if (!allocated_for_the_counts()) {
        std::fprintf(history, "The arrays do not match the counts: allocate_memory must follow them.\n");
        return run_status = Status::not_run;
    }
    if (!step_settings_usable()) {
        std::fprintf(history, "The step divisor must be a number above 1 and the initial step a positive number.\n");
        return run_status = Status::unusable_step_settings;
    }
    evaluation_failed = false;
    iteration_ = 0;
    inner_iteration = 0;
    converged = false;  // every run starts afresh
    accepted = false;
    Y = Ym_;
    Z = Zm_;
    X_ = Xm_;
    delX.fill(0);
    Fx.fill(0);
    Gx.fill(0);
    Fp.fill(0);
    Gp.fill(0);

    run_status = Status::converged;
    while (!converged) {
        al = initial_step;
        func();
        if (!evaluation_failed)
            fundr();
        if (evaluation_failed) {
            std::fprintf(history, "Error in function evaluation\n");
            return run_status = Status::evaluation_failed;
        }
        ssq = sum_of_squares();
        print();
        ++iteration_;

        if (!solve_linearised_step())
            return run_status;
        report_step();
        if (dsl >= 0) {  // always step downhill
            dsl = -dsl;
            for (int i = 0; i < point_count; ++i)
                for (int k = 0; k < independent_count; ++k)
                    delX[i][k] = -delX[i][k];
            for (double& change : delp)
                change = -change;
        }
        limite_variations_of_parameters();
        calculate_new_parameters();

        if (!converged && iteration_ > maximum_number_of_iterations) {
            std::fprintf(history, "Maximum iteration exceeded %d\n", iteration_);
            run_status = Status::iteration_cap;
            break;
        }
    }
    summary();
    return run_status;
}

bool Fitting::solve_linearised_step()
{
    const int np = point_count, npar = parameter_count, nx = independent_count;
    const bool x_terms = has_x_terms(), z_terms = has_z_terms();

    for (int i = 0; i < np; ++i) {
        if (x_terms)
            for (int k = 0; k < nx; ++k)
                deviation_X[i][k] = X_[i][k] - Xm_[i][k];
        deviation_Y[i] = Y[i] - Ym_[i];
        if (z_terms)
            deviation_Z[i] = Z[i] - Zm_[i];
    }

    // The corrections of the true values are eliminated point by point.
    if (x_terms) {
        for (int i = 0; i < np; ++i) {
            for (int k = 0; k < nx; ++k)
                for (int l = 0; l < nx; ++l) {
                    double a = Fx[i][k] * Fx[i][l] / varY[i];
                    if (z_terms)
                        a += Gx[i][k] * Gx[i][l] / varZ[i];
                    if (k == l)
                        a += 1 / varX[i][k];
                    D_work[k][l] = a;
                }
            if (inverse(D_work, nx) != LinearSystemOutcome::solved) {
                std::fprintf(history, "Ill-defined variable matrix\n");
                run_status = Status::ill_defined_variables;
                return false;
            }
            D[i] = D_work;
            for (int k = 0; k < nx; ++k) {
                Q[i][k] = deviation_X[i][k] / varX[i][k] + Fx[i][k] * deviation_Y[i] / varY[i];
                if (z_terms)
                    Q[i][k] += Gx[i][k] * deviation_Z[i] / varZ[i];
                for (int a = 0; a < npar; ++a) {
                    S[i][k][a] = Fx[i][k] * Fp[i][a] / varY[i];
                    if (z_terms)
                        S[i][k][a] += Gx[i][k] * Gp[i][a] / varZ[i];
                }
            }
        }
    }

    for (int a = 0; a < npar; ++a) {
        U[a] = 0;
        for (int b = 0; b < npar; ++b)
            TT[a][b] = 0;
        for (int i = 0; i < np; ++i) {
            U[a] += Fp[i][a] * deviation_Y[i] / varY[i];
            if (z_terms)
                U[a] += Gp[i][a] * deviation_Z[i] / varZ[i];
            for (int b = 0; b < npar; ++b) {
                TT[a][b] += Fp[i][a] * Fp[i][b] / varY[i];
                if (z_terms)
                    TT[a][b] += Gp[i][a] * Gp[i][b] / varZ[i];
            }
        }
    }

    CC = TT;
    for (int a = 0; a < npar; ++a)
        C[a] = -U[a];
    if (x_terms) {
        for (int i = 0; i < np; ++i) {
            for (int a = 0; a < npar; ++a)
                for (int k = 0; k < nx; ++k) {
                    double sum = 0;
                    for (int l = 0; l < nx; ++l)
                        sum += S[i][l][a] * D[i][l][k];
                    dummy[i][a][k] = sum;
                }
            for (int a = 0; a < npar; ++a) {
                for (int b = 0; b < npar; ++b)
                    for (int k = 0; k < nx; ++k)
                        CC[a][b] -= dummy[i][a][k] * S[i][k][b];
                for (int k = 0; k < nx; ++k)
                    C[a] += dummy[i][a][k] * Q[i][k];
            }
        }
    }

    if (inverse(CC, npar) != LinearSystemOutcome::solved) {
        std::fprintf(history, "Ill-defined parameter matrix\n");
        run_status = Status::ill_defined_parameters;
        return false;
    }
    for (int a = 0; a < npar; ++a) {
        delp[a] = 0;
        for (int b = 0; b < npar; ++b)
            delp[a] += CC[a][b] * C[b];
    }

    dsl = 0;
    for (int i = 0; i < np; ++i) {
        FpdP[i] = GpdP[i] = FxdX[i] = GxdX[i] = 0;
        for (int a = 0; a < npar; ++a) {
            FpdP[i] += Fp[i][a] * delp[a];
            if (z_terms)
                GpdP[i] += Gp[i][a] * delp[a];
        }
        if (x_terms) {
            for (int k = 0; k < nx; ++k)
                for (int a = 0; a < npar; ++a)
                    Q[i][k] += S[i][k][a] * delp[a];
            for (int k = 0; k < nx; ++k) {
                delX[i][k] = 0;
                for (int l = 0; l < nx; ++l)
                    delX[i][k] -= D[i][k][l] * Q[i][l];
                FxdX[i] += Fx[i][k] * delX[i][k];
                if (z_terms)
                    GxdX[i] += Gx[i][k] * delX[i][k];
                dsl += deviation_X[i][k] * delX[i][k] / varX[i][k];
            }
        }
        dsl += deviation_Y[i] * (FxdX[i] + FpdP[i]) / varY[i];
        if (z_terms)
            dsl += deviation_Z[i] * (GxdX[i] + GpdP[i]) / varZ[i];
    }
    return true;
}

void Fitting::limite_variations_of_parameters()
{
    if (has_x_terms() && keep_variables_non_negative) {
        for (int i = 0; i < point_count; ++i)
            for (int k = 0; k < independent_count; ++k) {
                if (X_[i][k] + al * delX[i][k] >= 0)
                    continue;
                al /= step_divisor;
                if (al < 1e-4) {
                    std::fprintf(history, "delX too big, it = %d al = %lg \n", iteration_, al);
                    return;
                }
            }
    }
    for (int a = 0; a < parameter_count; ++a) {
        if (std::fabs(delp[a] * al) < maximum_parameter_change)
            continue;
        al /= step_divisor;
        if (al < 1e-5)
            std::fprintf(history, "delP too big, it = %d al = %lg \n", iteration_, al);
    }
}

void Fitting::move_trial_point(double factor)
{
    if (has_x_terms())
        for (int i = 0; i < point_count; ++i)
            for (int k = 0; k < independent_count; ++k)
                X_[i][k] += factor * delX[i][k];
    for (int a = 0; a < parameter_count; ++a)
        P_[a] += factor * delp[a];
}

void Fitting::calculate_new_parameters()
{
    move_trial_point(al);
    inner_iteration = 0;
    accepted = false;
    const double zero_level = rounding_level();
    do {
        ++inner_iteration;
        if (al < 1e-5) {
            std::fprintf(history,
                         "Linearized function does not sufficiently approximate true function, it = %d, al = %lg\n",
                         iteration_, al);
            return;
        }
        func();
        if (evaluation_failed) {
            ssqn = 1e20;
            evaluation_failed = false;
        } else {
            ssqn = sum_of_squares();
        }
        if (inner_iteration == 1 && writes(History::line_search))
            std::fprintf(history, "al ssqn \n %lg  %lg \n", al, ssqn);
        dS = ssqn - ssq;
        // A model that meets the data (within rounding) cannot do better.
        const bool exact_fit = ssqn <= zero_level;

        if (inner_iteration == 1) {
            // No acceptance test yet: the next pass evaluates the same point again.
            if (exact_fit || std::fabs(dS) / ssqn < relative_tolerance)
                converged = true;
            continue;
        }
        if (dS <= 0 && (exact_fit || dS - decrease_ratio * (2 * al - al * al) * dsl < 0)) {
            accepted = true;
            relative_change = (ssq - ssqn) / ssqn;
            if (exact_fit || std::fabs(relative_change) < relative_tolerance)
                converged = true;
        } else {
            al /= step_divisor;
            move_trial_point(-(step_divisor - 1) * al);
        }
    } while (!accepted);
}

void Fitting::print()
{
    if (writes(History::iterations)) {
        std::fprintf(history, "Iteration %d  \nSum of the squares %lg\n  Parameters ", iteration_, ssq);
        for (double parameter : P_)
            std::fprintf(history, "%lg ", parameter);
        std::fprintf(history, "\n\n");
    }
    if (writes(History::points)) {
        std::fprintf(history, "Estimated true values of variables\n");
        static const char* const headers[] = {
            "i\t\tX\t\tXm\t\tY\t\tYm\t\tZ\t\tZm\n",
            "i\t\tX\t\tXm\t\tY\t\tYm\n",
            "i\t\tY\t\tYm\t\tZ\t\tZm\n",
            "i\t\tY\t\tYm\n",
        };
        std::fprintf(history, "%s", headers[static_cast<int>(type_of_regression)]);
        for (int i = 0; i < point_count; ++i) {
            std::fprintf(history, "%d\t\t", i);
            if (has_x_terms())
                for (int k = 0; k < independent_count; ++k)
                    std::fprintf(history, "%12lg\t\t%12lg\t\t", X_[i][k], Xm_[i][k]);
            if (has_z_terms())
                std::fprintf(history, "%12lg\t\t%12lg\t\t%12lg\t\t%12lg\n", Y[i], Ym_[i], Z[i], Zm_[i]);
            else
                std::fprintf(history, "%12lg\t\t%12lg\n", Y[i], Ym_[i]);
        }
        std::fprintf(history, "\n");
    }
    if (writes(History::derivatives)) {
        if (has_x_terms()) {
            std::fprintf(history, "Derivatives with respect to the variables\n");
            const bool z_terms = type_of_regression == Regression::errors_in_x_y_and_z;
            std::fprintf(history, z_terms ? "i\t\tdFx\t\tdGx\n" : "i\t\tdFx\n");
            for (int i = 0; i < point_count; ++i) {
                std::fprintf(history, "%d\t\t", i);
                for (int k = 0; k < independent_count; ++k)
                    std::fprintf(history, "%12lg\t\t", Fx[i][k]);
                if (z_terms)
                    for (int k = 0; k < independent_count; ++k)
                        std::fprintf(history, "%12lg\t\t", Gx[i][k]);
                std::fprintf(history, "\n");
            }
            std::fprintf(history, "\n");
        }
        std::fprintf(history, "Derivatives with respect to the parameters\n");
        std::fprintf(history, has_z_terms() ? "i\t\tdFp\t\tdGp\n" : "i\t\tdFp\n");
        for (int i = 0; i < point_count; ++i) {
            std::fprintf(history, "%d\t\t", i);
            for (int a = 0; a < parameter_count; ++a)
                std::fprintf(history, "%12lg\t\t", Fp[i][a]);
            if (has_z_terms())
                for (int a = 0; a < parameter_count; ++a)
                    std::fprintf(history, "%12lg\t\t", Gp[i][a]);
            std::fprintf(history, "\n");
        }
    }
}

void Fitting::report_step()
{
    std::fprintf(history, "\n\nDelta linearized sum of squares = %lg\n", dsl);
    std::fprintf(history, "Changes in parameters\n");
    for (double change : delp)
        std::fprintf(history, "%lg\t", change);
    std::fprintf(history, "\n");
    if (writes(History::variable_changes) && has_x_terms()) {
        std::fprintf(history, "Changes in independent variables\n");
        for (int i = 0; i < point_count; ++i) {
            for (int k = 0; k < independent_count; ++k)
                std::fprintf(history, "%lg\t\t", delX[i][k]);
            std::fprintf(history, "\n");
        }
    }
}

namespace {

void write_rows(std::FILE* file, const Matrix& matrix)
{
    for (int a = 0; a < matrix.rows(); ++a) {
        for (int b = 0; b < matrix.columns(); ++b)
            std::fprintf(file, "%lg  ", matrix[a][b]);
        std::fprintf(file, "\n");
    }
}

}  // namespace

void Fitting::summary()
{
    const int npar = parameter_count;
    const int degrees_of_freedom = point_count - npar;
    // Without more points than parameters the variance of the fit is undefined.
    variance_ = degrees_of_freedom > 0 ? ssqn / degrees_of_freedom : std::numeric_limits<double>::quiet_NaN();
    for (int a = 0; a < npar; ++a)
        for (int b = 0; b < npar; ++b)
            covariance[a][b] = variance_ * CC[a][b];
    for (int a = 0; a < npar; ++a)
        standard_deviation_[a] = std::sqrt(covariance[a][a]);
    for (int a = 0; a < npar; ++a)
        for (int b = 0; b < npar; ++b)
            correlation_[a][b] = covariance[a][b] / (standard_deviation_[a] * standard_deviation_[b]);

    std::fprintf(history, "\nRegression summary\n\n");
    std::fprintf(history, "Sum of the squares of the weighted residuals : %lg\n\n", ssq);
    if (degrees_of_freedom > 0)
        std::fprintf(history, "Estimated variance of the fit : %lg\n", variance_);
    else
        std::fprintf(history, "Estimated variance of the fit : undefined (%d points for %d parameters)\n",
                     point_count, npar);
    std::fprintf(history, "Estimated parameters\t: ");
    for (double parameter : P_)
        std::fprintf(history, "%lg\t", parameter);
    std::fprintf(history, " \n\n");
    std::fprintf(history, "Standard deviations : \n\n ");
    for (double deviation : standard_deviation_)
        std::fprintf(history, "%lg ", deviation);
    std::fprintf(history, "\n\nCovariance matrix ");
    write_rows(history, covariance);
    std::fprintf(history, "\nCorrelation coefficient matrix ");
    write_rows(history, correlation_);
    std::fflush(history);
}

}  // namespace quorvel
