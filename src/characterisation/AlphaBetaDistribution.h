#pragma once
// The alpha-beta (Montel) carbon-number distribution and the fits that tie it to a
// measured composition and a measured saturation point.

#include "numeric/Equation.h"
#include "numeric/Fitting.h"
#include "platform/Value.h"
#include "thermo/VLE.h"

#include <memory>
#include <span>

namespace quorvel {

class CalculationInterface;

// Entries a distribution always writes, whatever count it is asked for.
inline constexpr int kMontelFixedEntries = 11;
// Entries of the distribution behind the short form C1 .. C6, C7+.
inline constexpr int kSimplifiedMontelEntries = 150;

// The parameters the fits accept: alpha in [0, 1], beta at most 1 (a negative beta is valid).
bool isAlphaBetaInRange(double alpha, double beta);

// Fills z (entry k: carbon number k + 1) with the corrected distribution of (alpha, beta),
// scaled to 1 - (gas1 + gas2 + gas3). count is the number of entries wanted (at least 11,
// z holds at least max(count, 11)); it becomes the number of valid entries, lower when
// the series falls below 1e-10 first.
void calculateMontelFluidComposition(std::span<double> z, int& count, double alpha, double beta, double gas1,
                                     double gas2, double gas3);

// The alpha-beta composition in the short form: C1 .. C6 and the lumped C7+.
struct MontelComposition
{
    double C1 = 0, C2 = 0, C3 = 0, C4 = 0, C5 = 0, C6 = 0, C7plus = 0;
    double group(int i) const;  // 0 .. 5: C1 .. C6, 6: C7+
    void copyTo(double& c1, double& c2, double& c3, double& c4, double& c5, double& c6, double& c7plus) const;
};
void calculateSimplifiedMontelComposition(double alpha, double beta, double N2, double CO2, double H2S, double& C1,
                                          double& C2, double& C3, double& C4, double& C5, double& C6, double& C7plus);
MontelComposition simplifiedMontelComposition(double alpha, double beta, double gases);

// The model's seven groups beside the measured ones and their average relative (ard),
// absolute relative (aad) deviations (fractions) and rms deviation (mole fraction).
void compareWithMontelComposition(double alpha, double beta, double N2, double CO2, double H2S, double mC1,
                                  double mC2, double mC3, double mC4, double mC5, double mC6, double mC7plus,
                                  double& C1, double& C2, double& C3, double& C4, double& C5, double& C6,
                                  double& C7plus, double& ard, double& aad, double& rms);

// Tovik's estimate from the methane content: alpha 0.92 and beta from zC1; the gases are
// the record's (mole fractions).
void tovikAlphaBeta(const Dictionary& fluid, double& alpha, double& beta, double& CO2, double& N2, double& H2S);

// The regression model of the extended fits: the seven composition groups (Y) and the
// saturation pressure (Z) of the alpha-beta model fluid.
class MontelModelEx : public Equation
{
public:
    MontelModelEx();
    ~MontelModelEx();
    MontelModelEx(const MontelModelEx&) = delete;
    MontelModelEx& operator=(const MontelModelEx&) = delete;

    // Fits alpha (P[0]) and beta (P[1]).
    void evaluate(std::span<const double> X, std::span<const double> P, double& Y, double& Z,
                  std::span<const double> additional, bool& failed);
    // Fits beta (P[0]) with the stored alpha.
    void evaluate1(std::span<const double> X, std::span<const double> P, double& Y, double& Z,
                   std::span<const double> additional, bool& failed);

    double alpha = 0;
    double beta = 0;
    double N2 = 0, CO2 = 0, H2S = 0;  // mole fractions
    double Texp = 0;                  // K
    double Pexp = 0;                  // bar
    double Pcal = 0;                  // bar
    SaturationKind saturationKind = SaturationKind::bubblePoint;  // of the measured point
    double zC1 = 0, zC2 = 0, zC3 = 0, zC4 = 0, zC5 = 0, zC6 = 0, zC7plus = 0;
    std::unique_ptr<CalculationInterface> interface;
    int saturationSolves = 0;

private:
    // Model values at (alpha, beta); false (failed set) outside the model's range or when the
    // saturation pressure cannot be computed.
    bool evaluateAt(double trialAlpha, double trialBeta, bool& failed);
    void evaluatePoint(std::span<const double> X, double trialAlpha, double trialBeta, double& Y, double& Z,
                       bool& failed);
    void readModelComposition();

    bool haveEvaluated = false;
};

// What a regression run ended with, and how many saturation pressures it computed.
struct MontelFitReport
{
    Fitting::Status status = Fitting::Status::not_run;
    int saturationSolves = 0;
};

// Fit alpha and beta (Ex) or beta at the given alpha (Ex1) to the measured C1 .. C6 and
// C7+ (mole fractions) and the saturation point (Texp in K, Pexp in bar, its kind). Pcal
// is the model's saturation pressure, Fv the volumetric vapour fraction at 293.15 K of the
// fitted fluid homogenising at Texp (not-a-number when it cannot be computed). unused is
// neither read nor written.
MontelFitReport applyMontelSplittingAlgorithmEx(double C1, double C2, double C3, double C4, double C5, double C6,
                                                double C7plus, double N2, double CO2, double H2S, double Texp,
                                                double Pexp, SaturationKind kind, double& alpha, double& beta,
                                                double& unused, double& Pcal, double& Fv);
MontelFitReport applyMontelSplittingAlgorithmEx1(double C1, double C2, double C3, double C4, double C5, double C6,
                                                 double C7plus, double N2, double CO2, double H2S, double Texp,
                                                 double Pexp, SaturationKind kind, double& alpha, double& beta,
                                                 double& unused, double& Pcal, double& Fv);

// The seven points of a fit to the groups C1 .. C6, C7+: X the group index (0 .. 6), Y the
// measured fraction, both with standard deviation 1e-8; the parameters perturbed by 1e-6.
inline constexpr int kMontelGroupCount = 7;
inline constexpr double kGroupDeviation = 1e-8;
inline constexpr double kGroupParameterPerturbation = 1e-6;
// What a group regression fits: the measured fractions (Y) with the saturation pressure (Z),
// or the fractions alone; the group indices are exact.
enum class GroupRegression { fractionsAndPressure, fractionsOnly };
template <class Model>
using GroupModelFunction = void (Model::*)(std::span<const double>, std::span<const double>, double&, double&,
                                           std::span<const double>, bool&);
void setUpGroupRegression(Fitting& fitting, Equation& model, ModelFunction function,
                          std::span<const double, kMontelGroupCount> measured, Fitting::History history,
                          GroupRegression type, std::span<const double> initialParameters);
template <class Model>
void setUpGroupRegression(Fitting& fitting, Model& model, GroupModelFunction<Model> function,
                          std::span<const double, kMontelGroupCount> measured, Fitting::History history,
                          GroupRegression type, std::span<const double> initialParameters)
{
    setUpGroupRegression(fitting, static_cast<Equation&>(model), static_cast<ModelFunction>(function), measured,
                         history, type, initialParameters);
}

// A one-line description of a regression outcome for the log.
QString describeFittingStatus(Fitting::Status status);

}  // namespace quorvel
