#pragma once

#include "numeric/Matrix.h"

#include <span>

namespace quorvel {

class Equation;

// f(x); on failure the function sets evaluation_error of its object.
using EquationFunction = double (Equation::*)(double x, void* data);

// Residuals G at the variables U; with mode 1 also the Jacobian J[i][j] = dG_i/dU_j
// (with mode 0 J is left alone). err is set non-zero when U cannot be evaluated.
using SystemFunction = void (Equation::*)(std::span<const double> U, std::span<double> G, Matrix& J,
                                          int& err, int mode, void* data);

// Dependent values Y (and Z) of one measured point from its independent values X, the
// parameters P and the point's additional values; err is set non-zero on failure.
using ModelFunction = void (Equation::*)(std::span<const double> X, std::span<const double> P,
                                         double& Y, double& Z, std::span<const double> additional,
                                         int& err);

// Base of every object whose functions the numerical methods solve or fit. A derived
// class hands its member functions over converted to the base type, for example
// static_cast<EquationFunction>(&Derived::equation).
class Equation {
public:
    Equation() = default;

    short evaluation_error = 0;
};

}  // namespace quorvel
