#include "characterisation/AlphaBetaFits.h"

#include "calc/CAlphaBetaModelInterface.h"
#include "calc/FluidRecordKeys.h"
#include "characterisation/AlphaBetaDistribution.h"
#include "characterisation/CarbonNumberTables.h"
#include "characterisation/CharacterisationLog.h"
#include "characterisation/Correlations.h"
#include "characterisation/SplittingFramework.h"
#include "numeric/Newton.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace quorvel {

namespace {

constexpr CorrelationCode kSplitCutCorrelation = CorrelationCode::riaziAlSahhaf;
constexpr int kFirstHeavyCarbonNumber = 7;
// The plus fraction of an alpha-beta split is at most C45+, the end of the tables.
constexpr int kHighestPlusCarbonNumber = 45;
constexpr int kGroupCount = kMontelGroupCount;

constexpr double kQuickFitAlpha = 0.92;
constexpr double kQuickFitBeta = 0.4;
constexpr double kSplitInitialAlpha = 0.9;
constexpr double kSplitInitialBeta = 0.6;

Dictionary namedComponent(const QString& name, double fraction, CorrelationCode code)
{
    Dictionary component;
    setComponentName(name, component, code);
    component.setValue(componentkey::mole, fraction * 100);
    return component;
}

void setGasesAndLightGroups(Dictionary fluid, const CompositionSummary& s)
{
    fluid.setValue(fluidkey::N2, s.N2);
    fluid.setValue(fluidkey::CO2, s.CO2);
    fluid.setValue(fluidkey::H2S, s.H2S);
    const std::array<double, 6> light{s.C1, s.C2, s.C3, s.C4, s.C5, s.C6};
    for (int i = 0; i < 6; ++i)
        fluid.setValue(QStringLiteral("C%1").arg(i + 1), light[i]);
}

// The C7+ percent, molar weight and gravity that Tovik's correlations give for C1 (percent).
struct TovikEstimate
{
    double C7plusPercent;
    double mwC7plus;
    double SGC7plus;
};
TovikEstimate tovikEstimate(double C1Percent)
{
    return {92.164 * std::exp(-0.016511 * C1Percent) - 14.053, 265.51 - 1.0203 * C1Percent,
            0.90411 - 0.0013052 * C1Percent};
}

Dictionary quickFittedFluid(const Dictionary& source, const QString& methodWord, bool estimateC7plus, bool* fitted)
{
    CompositionSummary s;
    Dictionary fluid = createSplittedFluid(source, methodWord, s);
    double targetC7plus = s.zC7plus, mw = s.mwC7plus, SG = s.SGC7plus;
    if (estimateC7plus) {
        const TovikEstimate e = tovikEstimate(s.C1 * 100);
        targetC7plus = e.C7plusPercent * 0.01;
        mw = e.mwC7plus;
        SG = e.SGC7plus;
    }
    double alpha = 0, beta = 0;
    const bool ok = applyMontelFitting(s.C1, targetC7plus, alpha, beta, s.N2, s.CO2, s.H2S);
    if (!ok)
        writeCharacterisationLog(QStringLiteral("Alpha-beta fit of %1: no alpha and beta match C1 = %2 and C7+ = %3; "
                                                "the fluid is built with alpha = beta = 0.\n")
                                     .arg(source.stringValue(fluidkey::name))
                                     .arg(s.C1, 0, 'g', 6)
                                     .arg(targetC7plus, 0, 'g', 6));
    if (fitted)
        *fitted = ok;
    fillMontelFittedFluid(fluid, s.N2, s.CO2, s.H2S, mw, SG, alpha, beta);
    setGasesAndLightGroups(fluid, s);
    return fluid;
}

// A last carbon number that names a plus fraction from C7+ to C45+.
int clampPlusCarbonNumber(int lastCarbonNumber, const QString& fluidName)
{
    const int clamped = std::clamp(lastCarbonNumber, kFirstHeavyCarbonNumber, kHighestPlusCarbonNumber);
    if (clamped != lastCarbonNumber)
        writeCharacterisationLog(
            QStringLiteral("Splitting %1: last carbon number %2 is outside %3 .. %4; %5 is used.\n")
                .arg(fluidName)
                .arg(lastCarbonNumber)
                .arg(kFirstHeavyCarbonNumber)
                .arg(kHighestPlusCarbonNumber)
                .arg(clamped));
    return clamped;
}

// The regression and the record keys every alpha-beta split shares; false (record as made)
// for a source without a heavy part.
struct SplitFit
{
    CompositionSummary summary;
    std::array<double, kMontelSplitEntries> z{};
    int count = kMontelSplitEntries;
    double alpha = 0, beta = 0, C7plusFit = 0;
};
bool fitSplit(const Dictionary& source, Dictionary& fluid, SplitFit& fit)
{
    fluid = createSplittedFluid(source, QStringLiteral("Montel"), fit.summary);
    const CompositionSummary& s = fit.summary;
    if (s.heavyCount == 0)
        return false;
    applyMontelSplittingAlgorithm(fit.z, fit.count, s.C1, s.C2, s.C3, s.C4, s.C5, s.C6, s.zC7plus, s.N2, s.CO2, s.H2S,
                                  fit.alpha, fit.beta, fit.C7plusFit);
    return true;
}

void finishSplit(const Dictionary& source, Dictionary fluid, const SplitFit& fit, FluidType fluidType, bool writeLog)
{
    const CompositionSummary& s = fit.summary;
    fluid.setValue(fluidkey::alpha, fit.alpha);
    fluid.setValue(fluidkey::beta, fit.beta);
    fluid.setValue(fluidkey::fluidType, code_number(fluidType));
    fluid.setValue(fluidkey::N2, s.N2);
    fluid.setValue(fluidkey::CO2, s.CO2);
    fluid.setValue(fluidkey::H2S, s.H2S);
    fluid.setValue(fluidkey::c7plus, fit.C7plusFit);
    if (writeLog) {
        double ardx = 0, aadx = 0;
        compareMontelSplittedFluids(source, fluid, ardx, aadx, s.C1, s.C2, s.C3, s.C4, s.C5, s.C6, s.zC7plus,
                                    fit.C7plusFit);
    }
}

}  // namespace

// ---- Quick fit ----

void MontelModelFit::calculate_vector_function(std::span<const double> U, std::span<double> G, Matrix&,
                                               bool& failed, Evaluation, void*)
{
    if (!isAlphaBetaInRange(U[0], U[1])) {
        failed = true;
        return;
    }
    const MontelComposition c = simplifiedMontelComposition(U[0], U[1], N2 + CO2 + H2S);
    G[0] = targetC1 - c.C1;
    G[1] = targetC7plus - c.C7plus;
    alpha = U[0];
    beta = U[1];
}

bool MontelModelFit::calculate(double& alphaOut, double& betaOut)
{
    Newton newton;
    newton._setSysEquationToSolve(this, static_cast<SystemFunction>(&MontelModelFit::calculate_vector_function), 2);
    newton.set_numerical_jacobian(true);
    const std::array<double, 2> start{kQuickFitAlpha, kQuickFitBeta};
    newton.set_initial_values(start);
    newton.solve();
    const bool ok = newton.good();
    alphaOut = ok ? alpha : 0;
    betaOut = ok ? beta : 0;
    return ok;
}

bool applyMontelFitting(double targetC1, double targetC7plus, double& alpha, double& beta, double N2, double CO2,
                        double H2S)
{
    MontelModelFit fit;
    fit.CO2 = CO2;
    fit.N2 = N2;
    fit.H2S = H2S;
    fit.targetC1 = targetC1;
    fit.targetC7plus = targetC7plus;
    return fit.calculate(alpha, beta);
}

void fillMontelFittedFluid(Dictionary fluid, double N2, double CO2, double H2S, double mwC7plus, double SGC7plus,
                           double alpha, double beta)
{
    const MontelComposition c = simplifiedMontelComposition(alpha, beta, N2 + CO2 + H2S);
    Array components;
    components.append(namedComponent("N2", N2, CorrelationCode::jianzhong0));
    components.append(namedComponent("CO2", CO2, CorrelationCode::jianzhong0));
    components.append(namedComponent("H2S", H2S, CorrelationCode::jianzhong0));
    for (int i = 0; i < 6; ++i)
        components.append(
            namedComponent(QStringLiteral("C%1").arg(i + 1), c.group(i), CorrelationCode::jianzhong0));
    Dictionary plus = namedComponent("C7+", c.C7plus, CorrelationCode::jianzhong0);
    plus.setValue(componentkey::mw, mwC7plus);
    plus.setValue(componentkey::sg, SGC7plus);
    components.append(plus);
    fluid.setValue(fluidkey::components, components);
    fluid.setValue(fluidkey::c7plus, c.C7plus * 100);
    fluid.setValue(fluidkey::mwC7plus, mwC7plus);
    fluid.setValue(fluidkey::sgC7plus, SGC7plus);
    fluid.setValue(fluidkey::alpha, alpha);
    fluid.setValue(fluidkey::beta, beta);
}

Dictionary getMontelFittedFluid(const Dictionary& source, bool* fitted)
{
    return quickFittedFluid(source, QStringLiteral("Montel"), false, fitted);
}

Dictionary getTovikFluid(const Dictionary& source, bool* fitted)
{
    return quickFittedFluid(source, QStringLiteral("Tovik"), true, fitted);
}

// ---- Alpha-beta split ----

void MontelModel::evaluate(std::span<const double> X, std::span<const double> P, double& Y, double&,
                           std::span<const double>, bool& failed)
{
    if (!isAlphaBetaInRange(P[0], P[1])) {
        failed = true;
        return;
    }
    alpha = P[0];
    beta = P[1];
    const MontelComposition c = simplifiedMontelComposition(alpha, beta, N2 + CO2 + H2S);
    c.copyTo(C1, C2, C3, C4, C5, C6, C7plus);
    Y = c.group(int(X[0]));
}

Fitting::Status applyMontelSplittingAlgorithm(std::span<double> z, int& count, double C1, double C2, double C3,
                                              double C4, double C5, double C6, double C7plus, double N2, double CO2,
                                              double H2S, double& alpha, double& beta, double& C7plusFit)
{
    MontelModel model;
    model.N2 = N2;
    model.CO2 = CO2;
    model.H2S = H2S;
    const std::array<double, kGroupCount> measured{C1, C2, C3, C4, C5, C6, C7plus};
    const std::array<double, 2> initial{kSplitInitialAlpha, kSplitInitialBeta};
    Fitting fitting;
    setUpGroupRegression(fitting, model, &MontelModel::evaluate, measured, Fitting::History::iterations,
                         GroupRegression::fractionsOnly, initial);
    const Fitting::Status status = fitting.regres();
    if (status != Fitting::Status::converged)
        writeCharacterisationLog(QStringLiteral("Alpha-beta split regression: %1; the last parameters are kept.\n")
                                     .arg(describeFittingStatus(status)));

    alpha = model.alpha;
    beta = model.beta;
    calculateMontelFluidComposition(z, count, alpha, beta, N2, CO2, H2S);
    C7plusFit = simplifiedMontelComposition(alpha, beta, N2 + CO2 + H2S).C7plus;
    return status;
}

void fillMontelSplittedFluid(Dictionary fluid, std::span<const double> z, int count, int lastCarbonNumber,
                             double N2, double CO2, double H2S, double zC7plus, double mwC7plus, double SGC7plus)
{
    Array components;
    components.append(namedComponent("N2", N2, CorrelationCode::jianzhong0));
    components.append(namedComponent("CO2", CO2, CorrelationCode::jianzhong0));
    components.append(namedComponent("H2S", H2S, CorrelationCode::jianzhong0));
    const int m = std::min(count, lastCarbonNumber);
    std::vector<SplitCut> heavyCuts;
    double zSum = 0;
    for (int i = 0; i < m - 1; ++i) {
        const int carbonNumber = i + 1;
        if (carbonNumber < kFirstHeavyCarbonNumber) {
            components.append(namedComponent(QStringLiteral("C%1").arg(carbonNumber), z[i], kSplitCutCorrelation));
            continue;
        }
        heavyCuts.push_back(makeSplitCut(carbonNumber, z[i], QStringLiteral("C%1"), kSplitCutCorrelation));
        zSum += z[i];
    }
    const SplitCut plus = closeOrMatchHeavyPart(heavyCuts, m, zC7plus - zSum, {zC7plus, mwC7plus, SGC7plus},
                                                fluid.stringValue(fluidkey::name), CorrelationCode::jianzhong0,
                                                kSplitCutCorrelation);
    for (const SplitCut& cut : heavyCuts) {
        writeSplitCut(cut);
        components.append(cut.record);
    }
    writeSplitCut(plus);
    components.append(plus.record);
    fluid.setValue(fluidkey::components, components);
}

Dictionary getMontelSplittedFluid(const Dictionary& source, int lastCarbonNumber, bool writeLog, bool)
{
    Dictionary fluid;
    SplitFit fit;
    if (!fitSplit(source, fluid, fit))
        return fluid;
    const CompositionSummary& s = fit.summary;
    const int last = clampPlusCarbonNumber(lastCarbonNumber, source.stringValue(fluidkey::name));
    const HeavyPartTarget heavy = readHeavyPartTarget(source);
    fillMontelSplittedFluid(fluid, fit.z, fit.count, last, s.N2, s.CO2, s.H2S, fit.C7plusFit, heavy.mw, heavy.SG);
    finishSplit(source, fluid, fit, FluidType::carbonNumbers, writeLog);
    return fluid;
}

Dictionary getMontelSplittedFluid0(const Dictionary& source, int, bool writeLog)
{
    Dictionary fluid;
    SplitFit fit;
    if (!fitSplit(source, fluid, fit))
        return fluid;
    const CompositionSummary& s = fit.summary;
    CAlphaBetaModelInterface model;
    model.calculateComposition(fit.alpha, fit.beta, s.CO2, s.N2, s.H2S);
    Array components;
    for (int i = 0; i < model.getNumberOfComponents(); ++i)
        components.append(namedComponent(QString::fromStdString(model.getComponentName(i)), model.getMoleFraction(i),
                                         CorrelationCode::jianzhong0));
    fluid.setValue(fluidkey::components, components);
    finishSplit(source, fluid, fit, FluidType::alphaBeta, writeLog);
    return fluid;
}

void compareMontelSplittedFluids(const Dictionary& source, Dictionary splitFluid, double& ardx, double& aadx,
                                 double C1, double C2, double C3, double C4, double C5, double C6, double C7plus,
                                 double C7plusFit)
{
    ardx = 0;
    aadx = 0;
    int rows = 0;
    // A component not measured has no relative deviation: its row is left out.
    const auto addRow = [&](const char* format, const QString& name, double measured, double calculated) {
        if (measured == 0)
            return;
        const double deviation = (calculated - measured) / measured;
        ++rows;
        writeCharacterisationLog(QString::asprintf(format, rows, name.toUtf8().constData(), measured * 100,
                                                   calculated * 100, deviation * 100));
        ardx += deviation;
        aadx += std::fabs(deviation);
    };

    writeCharacterisationLog(QStringLiteral("Comparison of (%1) with (%2) : \n\n")
                                 .arg(source.stringValue(fluidkey::name), splitFluid.stringValue(fluidkey::name)));
    writeCharacterisationLog(QString::asprintf("%6s%10s%16s%16s%14s\n\n", "Index", "Component", "Exp. (mole %)",
                                               "Calc. (mole %)", "Dev. (%)"));
    const std::array<double, 6> measured{C1, C2, C3, C4, C5, C6};
    for (const Value& element : splitFluid.arrayValue(fluidkey::components)) {
        const Dictionary component = element.toDictionary();
        const QString name = component.stringValue(componentkey::name);
        for (int k = 0; k < 6; ++k)
            if (name == QStringLiteral("C%1").arg(k + 1))
                addRow("%6d  %s%18f%16f%16.2f\n", name, measured[k], component.doubleValue(componentkey::mole) * 0.01);
    }
    addRow("%6d  %s%17f%16f%16.2f\n", QStringLiteral("C7+"), C7plus, C7plusFit);
    if (rows == 0)
        return;
    ardx /= rows;
    aadx /= rows;
    logAverageDeviations(ardx, aadx);
    splitFluid.setValue(fluidkey::ardx, ardx * 100);
    splitFluid.setValue(fluidkey::aadx, aadx * 100);
}

}  // namespace quorvel
