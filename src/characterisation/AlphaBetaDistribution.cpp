#include "characterisation/AlphaBetaDistribution.h"

#include "calc/CalculationInterface.h"
#include "characterisation/CharacterisationLog.h"
#include "characterisation/SplittingFramework.h"
#include "thermo/Oil1.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <numeric>
#include <vector>

namespace quorvel {

namespace {

// The series ends at its first raw entry below this value (that entry still counts).
constexpr double kSeriesCut = 1e-10;
constexpr double kMeasurementTemperature = 293.15;  // K, where the vapour fraction is read
constexpr int kGroupCount = 7;                      // C1 .. C6 and C7+

// Model fluid feed order: N2, CO2, H2S, C1, C2, C3, iC4, nC4, iC5, nC5, C6, C7 .. C10, Cn1, Cn2.
constexpr int kModelC1 = 3;
constexpr int kModelC7 = 11;
constexpr int kModelComponents = 17;

// Regression settings of the extended fits.
constexpr int kExtendedFitIterations = 40;
constexpr short kExtendedFitPrintLevel = 4;
constexpr short kRegressionYAndZ = 2;
constexpr double kCompositionDeviation = 1e-8;
constexpr double kPressureDeviation = 1e-6;
constexpr double kIndexDeviation = 1e-8;
constexpr double kInitialAlpha = 0.92;
constexpr double kInitialBeta = 0.6;
constexpr double kParameterPerturbation = 1e-6;

const double kNaN = std::numeric_limits<double>::quiet_NaN();

// Raw recurrence for C1 .. C11; the divisors follow the published form.
void fillRawHead(std::span<double> z, double a, double b)
{
    z[0] = 1;
    z[1] = a * (1 - b);
    z[2] = z[1] * a * (1 - b / std::sqrt(2.0));
    z[3] = z[2] * a * (1 - b / std::sqrt(3.0));
    z[4] = z[3] * a * (1 - b / 2);
    z[5] = z[4] * (1 - b / std::sqrt(5.0));
    z[6] = z[5];
    for (int k = 8; k <= kMontelFixedEntries; ++k)
        z[k - 1] = z[k - 2] * a * (1 - b / (k - 1));
}

// Empirical corrections of C2 .. C10 on the normalised distribution.
void correctLightEnd(std::span<double> z, double a, double b)
{
    const double S = z[2] + z[3] + z[4];
    z[2] = std::sqrt(std::fabs(z[0] * (1.8 - z[0]))) * 0.94 * S * 0.4341;
    z[3] = z[2] * a / (b + 0.8);
    z[4] = z[3] * a / (0.7 * b * b + 0.9);
    z[1] = z[2] * 2.15 * (z[0] + 0.19);
    const double alphaFactor = 1.4 * (1 + 10 * (a - 0.9) * (a - 0.9));
    for (int k = 6; k <= 10; ++k)
        z[k - 1] *= (1 - 0.28 * (11 - k) / 5) * alphaFactor;
}

void scale(std::span<double> z, int count, double total)
{
    const double sum = std::accumulate(z.begin(), z.begin() + count, 0.0);
    for (int k = 0; k < count; ++k)
        z[k] *= total / sum;
}

}  // namespace

void calculateMontelFluidComposition(std::span<double> z, int& count, double alpha, double beta, double gas1,
                                     double gas2, double gas3)
{
    const int wanted = std::min<int>(std::max(count, kMontelFixedEntries), int(z.size()));
    fillRawHead(z, alpha, beta);
    count = wanted;
    for (int k = 12; k <= wanted; ++k) {
        z[k - 1] = z[k - 2] * alpha;
        if (z[k - 1] < kSeriesCut) {
            count = k;
            break;
        }
    }
    scale(z, count, 1);
    correctLightEnd(z, alpha, beta);
    scale(z, count, 1 - (gas1 + gas2 + gas3));
}

double MontelComposition::group(int i) const
{
    switch (i) {
    case 1: return C2;
    case 2: return C3;
    case 3: return C4;
    case 4: return C5;
    case 5: return C6;
    case 6: return C7plus;
    default: return C1;
    }
}

MontelComposition simplifiedMontelComposition(double alpha, double beta, double gases)
{
    std::array<double, kSimplifiedMontelEntries> z{};
    int count = kSimplifiedMontelEntries;
    calculateMontelFluidComposition(z, count, alpha, beta, gases, 0, 0);
    MontelComposition c{z[0], z[1], z[2], z[3], z[4], z[5], 0};
    c.C7plus = std::accumulate(z.begin() + 6, z.begin() + count, 0.0);
    return c;
}

void calculateSimplifiedMontelComposition(double alpha, double beta, double N2, double CO2, double H2S, double& C1,
                                          double& C2, double& C3, double& C4, double& C5, double& C6, double& C7plus)
{
    const MontelComposition c = simplifiedMontelComposition(alpha, beta, N2 + CO2 + H2S);
    C1 = c.C1;
    C2 = c.C2;
    C3 = c.C3;
    C4 = c.C4;
    C5 = c.C5;
    C6 = c.C6;
    C7plus = c.C7plus;
}

void compareWithMontelComposition(double alpha, double beta, double N2, double CO2, double H2S, double mC1,
                                  double mC2, double mC3, double mC4, double mC5, double mC6, double mC7plus,
                                  double& C1, double& C2, double& C3, double& C4, double& C5, double& C6,
                                  double& C7plus, double& ard, double& aad, double& rms)
{
    const MontelComposition model = simplifiedMontelComposition(alpha, beta, N2 + CO2 + H2S);
    const MontelComposition measured{mC1, mC2, mC3, mC4, mC5, mC6, mC7plus};
    ard = aad = rms = 0;
    for (int i = 0; i < kGroupCount; ++i) {
        const double c = model.group(i);
        const double m = measured.group(i);
        ard += (c - m) / m;
        aad += std::fabs(c - m) / m;
        rms += (c - m) * (c - m);
    }
    ard /= kGroupCount;
    aad /= kGroupCount;
    rms = std::sqrt(rms / kGroupCount);
    C1 = model.C1;
    C2 = model.C2;
    C3 = model.C3;
    C4 = model.C4;
    C5 = model.C5;
    C6 = model.C6;
    C7plus = model.C7plus;
}

void tovikAlphaBeta(const Dictionary& fluid, double& alpha, double& beta, double& CO2, double& N2, double& H2S)
{
    const CompositionSummary summary = analyseFluidComposition(fluid);
    alpha = 0.92;
    beta = 0.77474 - 0.97186 * std::exp(-3.8104 * summary.C1);
    CO2 = summary.CO2;
    N2 = summary.N2;
    H2S = summary.H2S;
}

// ---- MontelModelEx ----

MontelModelEx::MontelModelEx() : interface(std::make_unique<CalculationInterface>(kAlphaBetaFluid, kPengRobinsonEos))
{
}

MontelModelEx::~MontelModelEx() = default;

void MontelModelEx::readModelComposition()
{
    std::array<double, kModelComponents> x{};
    for (int i = 0; i < kModelComponents; ++i)
        x[i] = interface->getIsoplethComposition(i);
    zC1 = x[kModelC1];
    zC2 = x[kModelC1 + 1];
    zC3 = x[kModelC1 + 2];
    zC4 = x[kModelC1 + 3] + x[kModelC1 + 4];
    zC5 = x[kModelC1 + 5] + x[kModelC1 + 6];
    zC6 = x[kModelC1 + 7];
    zC7plus = std::accumulate(x.begin() + kModelC7, x.end(), 0.0);
}

bool MontelModelEx::evaluateAt(double trialAlpha, double trialBeta, int& err)
{
    const bool inRange = trialAlpha >= 0 && trialAlpha <= 1 && trialBeta <= 1 && !std::isnan(trialBeta);
    if (!inRange) {
        err = 1;
        return false;
    }
    // The seven points of one parameter set share one model fluid and one saturation.
    if (!haveEvaluated || trialAlpha != alpha || trialBeta != beta) {
        alpha = trialAlpha;
        beta = trialBeta;
        interface->setAlpha(alpha);
        interface->setBeta(beta);
        interface->setCO2(CO2);
        interface->setN2(N2);
        interface->setH2S(H2S);
        interface->finalize();
        readModelComposition();
        Pcal = interface->calculateSaturation(Texp - 273.15, hexp);
        ++saturationSolves;
        haveEvaluated = true;
    }
    if (Pcal == kSaturationFailure || !std::isfinite(Pcal)) {
        err = 1;
        return false;
    }
    return true;
}

void MontelModelEx::evaluatePoint(std::span<const double> X, double trialAlpha, double trialBeta, double& Y,
                                  double& Z, int& err)
{
    if (!evaluateAt(trialAlpha, trialBeta, err))
        return;
    const MontelComposition groups{zC1, zC2, zC3, zC4, zC5, zC6, zC7plus};
    Y = groups.group(int(X[0]));
    Z = Pcal;
}

void MontelModelEx::evaluate(std::span<const double> X, std::span<const double> P, double& Y, double& Z,
                             std::span<const double>, int& err)
{
    evaluatePoint(X, P[0], P[1], Y, Z, err);
}

void MontelModelEx::evaluate1(std::span<const double> X, std::span<const double> P, double& Y, double& Z,
                              std::span<const double>, int& err)
{
    evaluatePoint(X, alpha, P[0], Y, Z, err);
}

// ---- The extended fits ----

namespace {

struct ExtendedFitInput
{
    std::array<double, kGroupCount> groups;
    double N2, CO2, H2S, Texp, Pexp;
    int hexp;
};

// The vapour fraction at 293.15 K of the fitted fluid homogenising at Texp as the
// measured point says (bubble or dew), or not-a-number.
double vapourFractionOf(MontelModelEx& model)
{
    Oil1& oil = static_cast<Oil1&>(*model.interface->oil);
    oil.inclusion_type = model.hexp != 0 ? 1 : 0;
    double fv = kNaN, ph = 0, p = 0;
    const int failure = oil.calculateFv(model.alpha, model.beta, model.N2, model.CO2, model.H2S, model.Texp,
                                        kMeasurementTemperature, fv, ph, p);
    return failure == 0 ? fv : kNaN;
}

MontelFitReport runExtendedFit(const ExtendedFitInput& in, double& alpha, double& beta, double& Pcal, double& Fv,
                               bool betaOnly)
{
    MontelModelEx model;
    model.N2 = in.N2;
    model.CO2 = in.CO2;
    model.H2S = in.H2S;
    model.Texp = in.Texp;
    model.Pexp = in.Pexp;
    model.hexp = in.hexp;
    if (betaOnly)
        model.alpha = alpha;

    std::array<double, kGroupCount> index{}, pressure{}, sdIndex{}, sdY{}, sdZ{};
    for (int i = 0; i < kGroupCount; ++i) {
        index[i] = i;
        pressure[i] = in.Pexp;
        sdIndex[i] = kIndexDeviation;
        sdY[i] = kCompositionDeviation;
        sdZ[i] = kPressureDeviation;
    }
    const int parameters = betaOnly ? 1 : 2;
    Fitting fitting;
    fitting.number_of_points(kGroupCount);
    fitting.number_of_independent_variables(1);
    fitting.number_of_dependent_variables(1);
    fitting._setModelToFit(&model, static_cast<ModelFunction>(betaOnly ? &MontelModelEx::evaluate1
                                                                       : &MontelModelEx::evaluate));
    fitting.set_maximum_number_of_iterations(kExtendedFitIterations);
    fitting.print_level = kExtendedFitPrintLevel;
    fitting.number_of_parameters(parameters);
    fitting.number_of_additional_parameters(0);
    fitting.allocate_memory();
    fitting.read_Xm(0, index);
    fitting.read_Ym(in.groups);
    fitting.read_Zm(pressure);
    fitting.read_sdX(0, sdIndex);
    fitting.read_sdY(sdY);
    fitting.read_sdZ(sdZ);
    fitting.set_type_of_regression(kRegressionYAndZ);
    const std::array<double, 2> initial{kInitialAlpha, kInitialBeta};
    const std::array<double, 2> perturbation{kParameterPerturbation, kParameterPerturbation};
    fitting.set_initial_parameters(std::span(betaOnly ? initial.data() + 1 : initial.data(), parameters));
    fitting.set_parameters_pertubation(std::span(perturbation.data(), parameters));

    MontelFitReport report;
    report.status = fitting.regres(0);
    report.saturationSolves = model.saturationSolves;
    if (report.status != Fitting::Status::converged)
        writeCharacterisationLog(QStringLiteral("Alpha-beta fit to the composition and the saturation point: %1; "
                                                "the last parameters are kept.\n")
                                     .arg(describeFittingStatus(report.status)));
    alpha = model.alpha;
    beta = model.beta;
    Pcal = model.Pcal;
    Fv = vapourFractionOf(model);
    return report;
}

}  // namespace

QString describeFittingStatus(Fitting::Status status)
{
    switch (status) {
    case Fitting::Status::converged: return QStringLiteral("converged");
    case Fitting::Status::iteration_cap: return QStringLiteral("maximum iteration exceeded");
    case Fitting::Status::evaluation_failed: return QStringLiteral("error in function evaluation");
    case Fitting::Status::ill_defined_variables: return QStringLiteral("ill-defined variable matrix");
    case Fitting::Status::ill_defined_parameters: return QStringLiteral("ill-defined parameter matrix");
    case Fitting::Status::unusable_step_settings: return QStringLiteral("unusable step settings");
    case Fitting::Status::not_run: break;
    }
    return QStringLiteral("not run");
}

MontelFitReport applyMontelSplittingAlgorithmEx(double C1, double C2, double C3, double C4, double C5, double C6,
                                                double C7plus, double N2, double CO2, double H2S, double Texp,
                                                double Pexp, int hexp, double& alpha, double& beta, double&,
                                                double& Pcal, double& Fv)
{
    return runExtendedFit({{C1, C2, C3, C4, C5, C6, C7plus}, N2, CO2, H2S, Texp, Pexp, hexp}, alpha, beta, Pcal, Fv,
                          false);
}

MontelFitReport applyMontelSplittingAlgorithmEx1(double C1, double C2, double C3, double C4, double C5, double C6,
                                                 double C7plus, double N2, double CO2, double H2S, double Texp,
                                                 double Pexp, int hexp, double& alpha, double& beta, double&,
                                                 double& Pcal, double& Fv)
{
    return runExtendedFit({{C1, C2, C3, C4, C5, C6, C7plus}, N2, CO2, H2S, Texp, Pexp, hexp}, alpha, beta, Pcal, Fv,
                          true);
}

}  // namespace quorvel
