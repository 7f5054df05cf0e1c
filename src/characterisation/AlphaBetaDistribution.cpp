#include "characterisation/AlphaBetaDistribution.h"

#include "calc/CalculationInterface.h"
#include "characterisation/CharacterisationLog.h"
#include "characterisation/SplittingFramework.h"
#include "thermo/AlphaBetaModel.h"
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
constexpr int kGroupCount = kMontelGroupCount;

// Model fluid feed order: N2, CO2, H2S, C1, C2, C3, iC4, nC4, iC5, nC5, C6, C7 .. C10, Cn1, Cn2.
constexpr int kModelC1 = 3;
constexpr int kModelC7 = 11;
constexpr int kModelComponents = 17;

// Regression settings of the extended fits.
constexpr int kExtendedFitIterations = 40;
constexpr double kPressureDeviation = 1e-6;
constexpr double kInitialAlpha = 0.92;
constexpr double kInitialBeta = 0.6;

const double kNaN = std::numeric_limits<double>::quiet_NaN();

void scale(std::span<double> z, int count, double total)
{
    const double sum = std::accumulate(z.begin(), z.begin() + count, 0.0);
    for (int k = 0; k < count; ++k)
        z[k] *= total / sum;
}

}  // namespace

bool isAlphaBetaInRange(double alpha, double beta)
{
    return alpha >= 0 && alpha <= 1 && beta <= 1 && !std::isnan(beta);
}

void calculateMontelFluidComposition(std::span<double> z, int& count, double alpha, double beta, double gas1,
                                     double gas2, double gas3)
{
    const int wanted = std::min<int>(std::max(count, kMontelFixedEntries), int(z.size()));
    alphaBetaHead(z, alpha, beta);
    count = wanted;
    for (int k = 12; k <= wanted; ++k) {
        z[k - 1] = z[k - 2] * alpha;
        if (z[k - 1] < kSeriesCut) {
            count = k;
            break;
        }
    }
    scale(z, count, 1);
    correctAlphaBetaLightEnd(z, alpha, beta);
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

void MontelComposition::copyTo(double& c1, double& c2, double& c3, double& c4, double& c5, double& c6,
                               double& c7plus) const
{
    c1 = C1;
    c2 = C2;
    c3 = C3;
    c4 = C4;
    c5 = C5;
    c6 = C6;
    c7plus = C7plus;
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
    simplifiedMontelComposition(alpha, beta, N2 + CO2 + H2S).copyTo(C1, C2, C3, C4, C5, C6, C7plus);
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
    model.copyTo(C1, C2, C3, C4, C5, C6, C7plus);
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

MontelModelEx::MontelModelEx()
    : interface(std::make_unique<CalculationInterface>(FluidType::alphaBeta, EquationOfState::pengRobinson))
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

bool MontelModelEx::evaluateAt(double trialAlpha, double trialBeta, bool& failed)
{
    if (!isAlphaBetaInRange(trialAlpha, trialBeta)) {
        failed = true;
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
        Pcal = interface->calculateSaturation(Texp - 273.15, saturationKind);
        ++saturationSolves;
        haveEvaluated = true;
    }
    if (Pcal == kSaturationFailure || !std::isfinite(Pcal)) {
        failed = true;
        return false;
    }
    return true;
}

void MontelModelEx::evaluatePoint(std::span<const double> X, double trialAlpha, double trialBeta, double& Y,
                                  double& Z, bool& failed)
{
    if (!evaluateAt(trialAlpha, trialBeta, failed))
        return;
    const MontelComposition groups{zC1, zC2, zC3, zC4, zC5, zC6, zC7plus};
    Y = groups.group(int(X[0]));
    Z = Pcal;
}

void MontelModelEx::evaluate(std::span<const double> X, std::span<const double> P, double& Y, double& Z,
                             std::span<const double>, bool& failed)
{
    evaluatePoint(X, P[0], P[1], Y, Z, failed);
}

void MontelModelEx::evaluate1(std::span<const double> X, std::span<const double> P, double& Y, double& Z,
                              std::span<const double>, bool& failed)
{
    evaluatePoint(X, alpha, P[0], Y, Z, failed);
}

// ---- The extended fits ----

namespace {

struct ExtendedFitInput
{
    std::array<double, kGroupCount> groups;
    double N2, CO2, H2S, Texp, Pexp;
    SaturationKind kind;
};

// The vapour fraction at 293.15 K of the fitted fluid homogenising at Texp as the
// measured point says (bubble or dew), or not-a-number.
double vapourFractionOf(MontelModelEx& model)
{
    Oil1& oil = static_cast<Oil1&>(*model.interface->engine());
    oil.setInclusionType(model.saturationKind == SaturationKind::bubblePoint ? Homogenisation::toLiquid
                                                                             : Homogenisation::toVapour);
    double fv = kNaN, ph = 0, p = 0;
    const equilibrium_failure failure = oil.calculateFv(model.alpha, model.beta, model.N2, model.CO2, model.H2S,
                                                        model.Texp, kMeasurementTemperature, fv, ph, p);
    return failure == equilibrium_failure::none ? fv : kNaN;
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
    model.saturationKind = in.kind;
    if (betaOnly)
        model.alpha = alpha;

    std::array<double, kGroupCount> pressure{}, sdZ{};
    pressure.fill(in.Pexp);
    sdZ.fill(kPressureDeviation);
    const int parameters = betaOnly ? 1 : 2;
    const std::array<double, 2> initial{kInitialAlpha, kInitialBeta};
    Fitting fitting;
    fitting.set_maximum_number_of_iterations(kExtendedFitIterations);
    setUpGroupRegression(fitting, model, betaOnly ? &MontelModelEx::evaluate1 : &MontelModelEx::evaluate, in.groups,
                         Fitting::History::points, GroupRegression::fractionsAndPressure,
                         std::span(betaOnly ? initial.data() + 1 : initial.data(), parameters));
    fitting.read_Zm(pressure);
    fitting.read_sdZ(sdZ);

    MontelFitReport report;
    report.status = fitting.regres();
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

Fitting::Regression regressionOf(GroupRegression type)
{
    return type == GroupRegression::fractionsAndPressure ? Fitting::Regression::y_and_z_at_fixed_x
                                                         : Fitting::Regression::y_at_fixed_x;
}

}  // namespace

void setUpGroupRegression(Fitting& fitting, Equation& model, ModelFunction function,
                          std::span<const double, kMontelGroupCount> measured, Fitting::History history,
                          GroupRegression type, std::span<const double> initialParameters)
{
    std::array<double, kMontelGroupCount> index{}, deviation{};
    std::iota(index.begin(), index.end(), 0.0);
    deviation.fill(kGroupDeviation);
    std::vector<double> perturbation(initialParameters.size(), kGroupParameterPerturbation);

    fitting.number_of_points(kMontelGroupCount);
    fitting.number_of_independent_variables(1);
    fitting.number_of_dependent_variables(1);
    fitting._setModelToFit(&model, function);
    fitting.set_history_detail(history);
    fitting.number_of_parameters(int(initialParameters.size()));
    fitting.number_of_additional_parameters(0);
    fitting.allocate_memory();
    fitting.read_Xm(0, index);
    fitting.read_Ym(measured);
    fitting.read_sdX(0, deviation);
    fitting.read_sdY(deviation);
    fitting.set_type_of_regression(regressionOf(type));
    fitting.set_initial_parameters(initialParameters);
    fitting.set_parameters_pertubation(perturbation);
}

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
                                                double Pexp, SaturationKind kind, double& alpha, double& beta,
                                                double&, double& Pcal, double& Fv)
{
    return runExtendedFit({{C1, C2, C3, C4, C5, C6, C7plus}, N2, CO2, H2S, Texp, Pexp, kind}, alpha, beta, Pcal, Fv,
                          false);
}

MontelFitReport applyMontelSplittingAlgorithmEx1(double C1, double C2, double C3, double C4, double C5, double C6,
                                                 double C7plus, double N2, double CO2, double H2S, double Texp,
                                                 double Pexp, SaturationKind kind, double& alpha, double& beta,
                                                 double&, double& Pcal, double& Fv)
{
    return runExtendedFit({{C1, C2, C3, C4, C5, C6, C7plus}, N2, CO2, H2S, Texp, Pexp, kind}, alpha, beta, Pcal, Fv,
                          true);
}

}  // namespace quorvel
