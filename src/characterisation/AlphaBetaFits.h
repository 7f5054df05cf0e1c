#pragma once
// Alpha-beta fits of a measured composition and the fluid records built from them:
// quick fits (C1 and C7+ matched exactly, one lumped C7+ component) and alpha-beta splits
// (C1 .. C6 and C7+ fitted by least squares, expanded by carbon number).

#include "numeric/Equation.h"
#include "numeric/Fitting.h"
#include "platform/Value.h"

#include <span>

namespace quorvel {

// Entries of the distribution behind an alpha-beta split.
inline constexpr int kMontelSplitEntries = 200;

// The two equations of the quick fit: computed C1 and C7+ equal to the targets.
class MontelModelFit : public Equation
{
public:
    MontelModelFit() = default;

    // Solves from (0.92, 0.4); true with the solution in alpha and beta, false with both 0.
    bool calculate(double& alpha, double& beta);
    void calculate_vector_function(std::span<const double> U, std::span<double> G, Matrix& J, bool& failed,
                                   Evaluation evaluation, void* data);

    double CO2 = 0, N2 = 0, H2S = 0;
    double targetC1 = 0;
    double targetC7plus = 0;
    double alpha = 0;
    double beta = 0;
};

// The quick fit; false (alpha = beta = 0) when the solver finds no solution.
bool applyMontelFitting(double targetC1, double targetC7plus, double& alpha, double& beta, double N2, double CO2,
                        double H2S);

// Replaces the record's components by N2, CO2, H2S, C1 .. C6 and one "C7+" of the alpha-beta
// composition and sets "C7+" (percent), "mwC7+", "SGC7+", "alpha" and "beta".
void fillMontelFittedFluid(Dictionary fluid, double N2, double CO2, double H2S, double mwC7plus, double SGC7plus,
                           double alpha, double beta);

// Quick fits of the source's C1 and C7+ ("<name> - Montel"), or of its C1 and the C7+
// estimated from it ("<name> - Tovik"). A failed fit is logged and leaves fitted false.
Dictionary getMontelFittedFluid(const Dictionary& source, bool* fitted = nullptr);
Dictionary getTovikFluid(const Dictionary& source, bool* fitted = nullptr);

// The regression model of the alpha-beta split: Y is the composition group X[0]; alpha
// outside [0, 1] or beta above 1 is an evaluation error.
class MontelModel : public Equation
{
public:
    MontelModel() = default;

    void evaluate(std::span<const double> X, std::span<const double> P, double& Y, double& Z,
                  std::span<const double> additional, bool& failed);

    double alpha = 0, beta = 0;
    double N2 = 0, CO2 = 0, H2S = 0;
    double C1 = 0, C2 = 0, C3 = 0, C4 = 0, C5 = 0, C6 = 0, C7plus = 0;
};

// Fits alpha and beta to the measured C1 .. C6, C7+ (fractions) and fills z (at least
// count entries) with the fitted distribution; count may come back lower. C7plusFit is the
// C7+ of the fitted short form. Answers the regression's outcome (logged unless converged).
Fitting::Status applyMontelSplittingAlgorithm(std::span<double> z, int& count, double C1, double C2, double C3,
                                              double C4, double C5, double C6, double C7plus, double N2, double CO2,
                                              double H2S, double& alpha, double& beta, double& C7plusFit);

// Replaces the record's components by N2, CO2, H2S, C1 .. C(m - 1) and the plus fraction
// C(m)+ (m the smaller of count and lastCarbonNumber) whose molar weight and gravity close
// the heavy part to zC7plus, mwC7plus and SGC7plus.
void fillMontelSplittedFluid(Dictionary fluid, std::span<const double> z, int count, int lastCarbonNumber,
                             double N2, double CO2, double H2S, double zC7plus, double mwC7plus, double SGC7plus);

// Alpha-beta splits: single carbon numbers up to a plus fraction C(L)+, or the 17
// components of the alpha-beta model fluid (getMontelSplittedFluid0). matching is not used.
Dictionary getMontelSplittedFluid(const Dictionary& source, int lastCarbonNumber, bool writeLog, bool matching);
Dictionary getMontelSplittedFluid0(const Dictionary& source, int lastCarbonNumber, bool writeLog);

// The measured C1 .. C6 beside the split record's namesakes and the C7+ row, on the
// characterisation log; stores "ardx" and "aadx" (percent) on the split record.
void compareMontelSplittedFluids(const Dictionary& source, Dictionary splitFluid, double& ardx, double& aadx,
                                 double C1, double C2, double C3, double C4, double C5, double C6, double C7plus,
                                 double C7plusFit);

}  // namespace quorvel
