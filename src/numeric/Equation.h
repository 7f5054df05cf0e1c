#pragma once

#include "numeric/Matrix.h"

#include <span>

namespace quorvel {

class Equation;

// f(x); on failure the function sets evaluation_error of its object.
using EquationFunction = double (Equation::*)(double x, void* data);

// What a system function computes.
enum class Evaluation {
    residuals,      // G alone; J is left alone
    with_jacobian,  // G and J[i][j] = dG_i/dU_j
};

// Residuals G at the variables U, with the Jacobian as evaluation asks. failed is set when
// U cannot be evaluated.
using SystemFunction = void (Equation::*)(std::span<const double> U, std::span<double> G, Matrix& J,
                                          bool& failed, Evaluation evaluation, void* data);

// Dependent values Y (and Z) of one measured point from its independent values X, the
// parameters P and the point's additional values; failed is set on failure.
using ModelFunction = void (Equation::*)(std::span<const double> X, std::span<const double> P,
                                         double& Y, double& Z, std::span<const double> additional,
                                         bool& failed);

// Base of every object whose functions the numerical methods solve or fit. A derived
// class hands its member functions over converted to the base type, for example
// static_cast<EquationFunction>(&Derived::equation).
class Equation {
public:
    Equation() = default;

    bool evaluation_error = false;
};

}  // namespace quorvel
