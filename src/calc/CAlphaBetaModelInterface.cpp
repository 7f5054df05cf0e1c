#include "calc/CAlphaBetaModelInterface.h"
#include "calc/Units.h"

#include <algorithm>
#include <vector>

namespace quorvel {

using namespace units;

namespace {

constexpr double kPercent = 0.01;

// The alpha solve of every curve point.
constexpr double kAlphaTolerance = 1e-8;

// Beta grows by at most this per point; the factor on it halves after a failed point
// and grows again after a success. A factor below the smallest ends the curve.
constexpr double kBetaIncrement = 0.01;
constexpr double kStepShrink = 0.5;
constexpr double kStepGrowth = 1.2;
constexpr double kSmallestStep = 0.1;

// The model's distribution is defined for beta up to 1; a sum of increments that lands
// on 1 within rounding counts as 1.
constexpr double kLargestBeta = 1;
constexpr double kBetaRounding = 1e-9;

// Where the first API and gas-oil ratio searches start.
constexpr double kFirstTargetAlpha = 0.8;

// Entry i of a per-component array, not-a-number outside it.
double entry(const std::vector<double>& values, int i)
{
    return i >= 0 && i < static_cast<int>(values.size()) ? values[i] : kNaN;
}

} // namespace

CAlphaBetaModelInterface::CAlphaBetaModelInterface()
    : liquidPhase(std::make_unique<Montel>(phase_kind::liquid)),
      vapourPhase(std::make_unique<Montel>(phase_kind::vapour)),
      oil(std::make_unique<Oil1>(*liquidPhase, *vapourPhase))
{
}

CAlphaBetaModelInterface::~CAlphaBetaModelInterface()
{
    // The equilibrium object refers to the phase models: it goes first.
    oil.reset();
    liquidPhase.reset();
    vapourPhase.reset();
}

void CAlphaBetaModelInterface::setInputParameters(double ThCelsius, double TfvCelsius, double FvPercent,
                                                  double CO2Percent, double N2Percent, double H2SPercent,
                                                  Homogenisation homogenisation)
{
    Th = ThCelsius + kCelsiusOffset;
    Tfv = TfvCelsius + kCelsiusOffset;
    Fv = FvPercent * kPercent;
    CO2 = CO2Percent * kPercent;
    N2 = N2Percent * kPercent;
    H2S = H2SPercent * kPercent;
    homog = homogenisation;
}

// ---- The model fluid ----------------------------------------------------------------------

int CAlphaBetaModelInterface::getNumberOfComponents() const { return oil->componentCount(); }

std::string CAlphaBetaModelInterface::getComponentName(int i) const
{
    const auto& names = liquidPhase->componentName();
    return i >= 0 && i < static_cast<int>(names.size()) ? names[i] : std::string();
}

double CAlphaBetaModelInterface::getMoleFraction(int i) const { return entry(oil->feedComposition(), i); }
double CAlphaBetaModelInterface::getTc(int i) const { return entry(liquidPhase->criticalTemperature(), i); }
double CAlphaBetaModelInterface::getPc(int i) const { return entry(liquidPhase->criticalPressure(), i); }
double CAlphaBetaModelInterface::getOmega(int i) const { return entry(liquidPhase->acentricFactor(), i); }
double CAlphaBetaModelInterface::getMw(int i) const { return entry(liquidPhase->molarWeight(), i); }
double CAlphaBetaModelInterface::getVc(int i) const { return entry(liquidPhase->criticalVolume(), i); }
double CAlphaBetaModelInterface::getCt0(int i) const { return entry(liquidPhase->shiftConstant(), i); }
double CAlphaBetaModelInterface::getCt1(int i) const { return entry(liquidPhase->shiftSlope(), i); }

bool CAlphaBetaModelInterface::calculateComposition(double a, double b, double co2, double n2, double h2s)
{
    alpha = a;
    beta = b;
    CO2 = co2;
    N2 = n2;
    H2S = h2s;
    return oil->setDistributionParameters(alpha, beta, CO2, N2, H2S);
}

void CAlphaBetaModelInterface::calculateGOR(double unused) { oil->calculateGOR(unused); }

// ---- The alpha-beta curve -----------------------------------------------------------------

bool CAlphaBetaModelInterface::solveAlpha()
{
    oil->findAlpha(Th, Tfv, Fv, kAlphaTolerance, homog);
    errorIndex = oil->failureCode();
    return errorIndex == equilibrium_failure::none;
}

void CAlphaBetaModelInterface::acceptPoint(double* alphaOut, double* betaOut, double* P)
{
    alpha = lastAlpha = oil->getAlpha();
    beta = lastBeta = oil->getBeta();
    *alphaOut = alpha;
    *betaOut = beta;
    *P = oil->homogenizationPressure() * kBarPerPascal;
}

equilibrium_failure CAlphaBetaModelInterface::firstAlphaBeta(double* alphaOut, double* betaOut, double* P)
{
    double startAlpha = 0;
    errorIndex = oil->estimateInitial(homog, Th, Fv, startAlpha);
    if (errorIndex != equilibrium_failure::none)
        return errorIndex;

    alpha = startAlpha;
    beta = 0;
    oil->setDistributionParameters(alpha, beta, CO2, N2, H2S);
    oil->forgetSaturationStates();

    step = 1;
    if (solveAlpha())
        acceptPoint(alphaOut, betaOut, P);
    return errorIndex;
}

AlphaBetaStep CAlphaBetaModelInterface::nextAlphaBeta(double* alphaOut, double* betaOut, double* P)
{
    const double nextBeta = lastBeta + kBetaIncrement * step;
    if (nextBeta > kLargestBeta + kBetaRounding) {
        errorIndex = equilibrium_failure::none;  // the end of the model's domain, not a failure
        return AlphaBetaStep::curveEnd;
    }
    alpha = lastAlpha;
    beta = std::min(nextBeta, kLargestBeta);
    oil->setDistributionParameters(alpha, beta, CO2, N2, H2S);

    if (solveAlpha()) {
        acceptPoint(alphaOut, betaOut, P);
        step = std::min(step * kStepGrowth, 1.0);
        return AlphaBetaStep::pointFound;
    }
    step *= kStepShrink;
    return step >= kSmallestStep ? AlphaBetaStep::retry : AlphaBetaStep::curveEnd;
}

// ---- Alpha for a stock-tank target --------------------------------------------------------

AlphaSearch CAlphaBetaModelInterface::alphaForTarget(double start, double* alphaOut, double b, double target,
                                              bool api)
{
    const double found = api ? oil->calculateAlphaForGivenBetaAPI(start, b, target)
                             : oil->calculateAlphaForGivenBetaGOR(start, b, target);
    if (found == 0)
        return AlphaSearch::notFound;
    *alphaOut = found;
    return AlphaSearch::found;
}

AlphaSearch CAlphaBetaModelInterface::firstAlphaBetaAPI(double API, double* alphaOut, double b)
{
    return alphaForTarget(kFirstTargetAlpha, alphaOut, b, API, true);
}

AlphaSearch CAlphaBetaModelInterface::nextAlphaBetaAPI(double API, double* alphaOut, double b)
{
    return alphaForTarget(*alphaOut, alphaOut, b, API, true);
}

AlphaSearch CAlphaBetaModelInterface::firstAlphaBetaGOR(double GOR, double* alphaOut, double b)
{
    return alphaForTarget(kFirstTargetAlpha, alphaOut, b, GOR, false);
}

AlphaSearch CAlphaBetaModelInterface::nextAlphaBetaGOR(double GOR, double* alphaOut, double b)
{
    return alphaForTarget(*alphaOut, alphaOut, b, GOR, false);
}

} // namespace quorvel
