#include "characterisation/SplittingMethods.h"

#include "calc/FluidRecordKeys.h"
#include "characterisation/CarbonNumberTables.h"
#include "characterisation/CharacterisationLog.h"
#include "numeric/LinearSystem.h"

#include <cmath>
#include <functional>

namespace quorvel {

namespace {

constexpr int kLastComputedFraction = kSplitFractionCount - 1;  // the last entry takes the remainder

// Ahmed's molar-weight steps: the first two cuts, then the others; light and heavy C7+.
constexpr double kAhmedLightC7plusLimit = 0.125;
constexpr double kAhmedFirstStepLight = 15.5;
constexpr double kAhmedStepLight = 17;
constexpr double kAhmedFirstStepHeavy = 16.5;
constexpr double kAhmedStepHeavy = 20.1;

constexpr double kAlMeshariEta = 86.2;  // g/mol
constexpr double kAlMeshariLowerBound = 86;
constexpr double kAlMeshariBoundStep = 14;

constexpr double kKatzFactor = 1.38205;
constexpr double kKatzExponent = -0.25903;

constexpr int kFirstPedersenFitCarbonNumber = 6;
constexpr int kFitPointCount = 5;  // C6 .. C10
constexpr int kMinimumFitPoints = 2;
constexpr int kHeavyCountForFits = 3;  // Pedersen and Lohrenz need more heavy components

// Ends the split where the running sum first reaches z: that entry takes what is left
// and the later ones are 0; otherwise the last entry takes the remainder.
void closeSplit(double z, SplitFractions& fractions, int& count)
{
    double sum = 0;
    for (int i = 0; i < kLastComputedFraction; ++i) {
        if (sum + fractions[i] >= z) {
            fractions[i] = z - sum;
            std::fill(fractions.begin() + i + 1, fractions.end(), 0.0);
            count = i + 1;
            return;
        }
        sum += fractions[i];
    }
    fractions[kLastComputedFraction] = z - sum;
    count = kSplitFractionCount;
}

// Solves the 2 x 2 normal equations; false when the system is singular.
bool solveNormalEquations(double a11, double a12, double a22, double r1, double r2, double& x1, double& x2)
{
    Matrix A = allocate(2, 2);
    A[0][0] = a11;
    A[0][1] = a12;
    A[1][0] = a12;
    A[1][1] = a22;
    double rhs[2] = {r1, r2};
    double solution[2] = {0, 0};
    if (solve_the_linear_system(A, rhs, solution, 2) != LinearSystemOutcome::solved || !std::isfinite(solution[0]) || !std::isfinite(solution[1]))
        return false;
    x1 = solution[0];
    x2 = solution[1];
    return true;
}

// What a driver's method did.
enum class MethodOutcome {
    Split,       // fractions computed
    NotRun,      // nothing to split, or the method does not apply (nothing added)
    UseDefault,  // one C7+ component instead
};

using Method = std::function<MethodOutcome(const Dictionary& source, const CompositionSummary& summary,
                                           SplitFractions& fractions, int& count)>;

Dictionary splitWith(const Dictionary& source, const QString& methodWord, int lastCarbonNumber, bool writeLog,
                     bool matching, const Method& method)
{
    CompositionSummary summary;
    Dictionary splitFluid = createSplittedFluid(source, methodWord, summary);
    SplitFractions fractions{};
    int count = 0;
    switch (method(source, summary, fractions, count)) {
    case MethodOutcome::Split: {
        fillSplittedFluids(source, splitFluid, fractions, count, lastCarbonNumber, matching);
        double ardx = 0;
        double aadx = 0;
        if (writeLog)
            compareSplittedFluids(source, splitFluid, ardx, aadx, true);
        break;
    }
    case MethodOutcome::UseDefault:
        fillSplittedFluidsByDefault(source, splitFluid);
        break;
    case MethodOutcome::NotRun:
        break;
    }
    return splitFluid;
}

using FitAlgorithm = bool (*)(double zC7plus, double C6, double C7, double C8, double C9, double C10,
                              SplitFractions& fractions, int& count);

// Pedersen and Lohrenz: the single C7+ for three heavy components or fewer, and, with a
// log line, when the fit cannot be made.
Dictionary splitByFit(const Dictionary& source, const QString& methodWord, FitAlgorithm fit, int lastCarbonNumber,
                      bool writeLog, bool matching)
{
    return splitWith(
        source, methodWord, lastCarbonNumber, writeLog, matching,
        [&](const Dictionary& fluid, const CompositionSummary& s, SplitFractions& fractions, int& count) {
            if (s.heavyCount <= kHeavyCountForFits)
                return MethodOutcome::UseDefault;
            if (fit(s.zC7plus, s.C6, s.C7, s.C8, s.C9, s.C10, fractions, count))
                return MethodOutcome::Split;
            writeCharacterisationLog(QStringLiteral("%1 split of %2: the measured C6 to C10 cannot be fitted; the "
                                                    "C7+ fraction is kept as one component.\n")
                                         .arg(methodWord, fluid.stringValue(fluidkey::name)));
            return MethodOutcome::UseDefault;
        });
}

}  // namespace

void applyAhmedSplittingAlgorithm(double z, double M, SplitFractions& fractions, int& count)
{
    const bool light = z < kAhmedLightC7plusLimit;
    const double firstStep = light ? kAhmedFirstStepLight : kAhmedFirstStepHeavy;
    const double step = light ? kAhmedStepLight : kAhmedStepHeavy;
    double rest = z;
    double previous = M;
    double sum = 0;
    for (int i = 0; i < kLastComputedFraction; ++i) {
        const double next = M + (i + 1) * (i < 2 ? firstStep : step);
        const double cut = getKatzFiroozabadiMolarWeight(i + kFirstSplitCarbonNumber);
        // A remainder lighter than this cut is all of this cut.
        fractions[i] = next > cut ? (next - previous) * rest / (next - cut) : rest;
        sum += fractions[i];
        rest = z - sum;
        previous = next;
    }
    closeSplit(z, fractions, count);
}

void applyAlMeshariSplittingAlgorithm(double z, double M, SplitFractions& fractions, int& count)
{
    fractions.fill(0);
    count = 0;
    const double beta = M - kAlMeshariEta;
    if (!(beta > 0))
        return;
    for (int i = 0; i < kLastComputedFraction; ++i) {
        const double lower = kAlMeshariLowerBound + kAlMeshariBoundStep * i;
        const double upper = lower + kAlMeshariBoundStep;
        // z exp(eta / beta) (exp(-lower / beta) - exp(-upper / beta)), without overflow
        fractions[i] = z * (std::exp((kAlMeshariEta - lower) / beta) - std::exp((kAlMeshariEta - upper) / beta));
    }
    closeSplit(z, fractions, count);
}

void applyKatzSplittingAlgorithm(double z, SplitFractions& fractions, int& count)
{
    for (int i = 0; i < kLastComputedFraction; ++i)
        fractions[i] = kKatzFactor * z * std::exp(kKatzExponent * (i + kFirstSplitCarbonNumber));
    closeSplit(z, fractions, count);
}

bool applyPedersenSplittingAlgorithm(double z, double C6, double C7, double C8, double C9, double C10,
                                     SplitFractions& fractions, int& count)
{
    const double measured[kFitPointCount] = {C6, C7, C8, C9, C10};
    bool kept[kFitPointCount];
    for (int k = 0; k < kFitPointCount; ++k)
        kept[k] = measured[k] > 0;
    if (kept[0] && kept[1] && C7 > C6)
        kept[0] = false;  // C6 above the trend of the heavier cuts

    double sxx = 0, sx = 0, sw = 0, sxy = 0, sy = 0;
    int points = 0;
    for (int k = 0; k < kFitPointCount; ++k) {
        if (!kept[k])
            continue;
        const double x = kFirstPedersenFitCarbonNumber + k;
        const double y = std::log(measured[k]);
        sxx += x * x;
        sx += x;
        sw += 1;
        sxy += x * y;
        sy += y;
        ++points;
    }
    double a = 0;
    double b = 0;
    if (points < kMinimumFitPoints || !solveNormalEquations(sxx, sx, sw, sxy, sy, a, b))
        return false;

    for (int i = 0; i < kLastComputedFraction; ++i) {
        const int k = i + 1;  // fit point of carbon number i + 7
        fractions[i] = k < kFitPointCount && kept[k] ? measured[k] : std::exp(a * (i + kFirstSplitCarbonNumber) + b);
    }
    closeSplit(z, fractions, count);
    return true;
}

bool applyLohrenzSplittingAlgorithm(double z, double C6, double C7, double C8, double C9, double C10,
                                    SplitFractions& fractions, int& count)
{
    if (!(C6 > 0))
        return false;
    const double measured[kFitPointCount] = {C6, C7, C8, C9, C10};
    double s4 = 0, s3 = 0, s2 = 0, s2y = 0, s1y = 0;
    int points = 0;
    for (int k = 1; k < kFitPointCount; ++k) {
        if (!(measured[k] > 0))
            continue;
        const double x = k;
        const double y = std::log(measured[k] / C6);
        s4 += x * x * x * x;
        s3 += x * x * x;
        s2 += x * x;
        s2y += x * x * y;
        s1y += x * y;
        ++points;
    }
    double a = 0;
    double b = 0;
    if (points < kMinimumFitPoints || !solveNormalEquations(s4, s3, s2, s2y, s1y, a, b))
        return false;

    for (int i = 0; i < kLastComputedFraction; ++i) {
        const double x = i + 1;  // carbon number i + 7, counted from C6
        fractions[i] = C6 * std::exp(a * x * x + b * x);
    }
    closeSplit(z, fractions, count);
    return true;
}

Dictionary getAhmedSplittedFluid(const Dictionary& source, int lastCarbonNumber, bool writeLog, bool matching)
{
    return splitWith(source, QStringLiteral("Ahmed"), lastCarbonNumber, writeLog, matching,
                     [](const Dictionary&, const CompositionSummary& summary, SplitFractions& fractions, int& count) {
                         if (summary.heavyCount == 0)
                             return MethodOutcome::NotRun;
                         applyAhmedSplittingAlgorithm(summary.zC7plus, summary.mwC7plus, fractions, count);
                         return MethodOutcome::Split;
                     });
}

Dictionary getAlMeshariSplittedFluid(const Dictionary& source, int lastCarbonNumber, bool writeLog, bool matching)
{
    return splitWith(
        source, QStringLiteral("AlMeshari"), lastCarbonNumber, writeLog, matching,
        [](const Dictionary& fluid, const CompositionSummary& summary, SplitFractions& fractions, int& count) {
            if (summary.heavyCount == 0)
                return MethodOutcome::NotRun;
            if (!(summary.mwC7plus > kAlMeshariEta)) {
                writeCharacterisationLog(QStringLiteral("AlMeshari split of %1: the C7+ molar weight %2 g/mol is not "
                                                        "above %3 g/mol; the C7+ fraction is kept as one component.\n")
                                             .arg(fluid.stringValue(fluidkey::name))
                                             .arg(summary.mwC7plus)
                                             .arg(kAlMeshariEta));
                return MethodOutcome::UseDefault;
            }
            applyAlMeshariSplittingAlgorithm(summary.zC7plus, summary.mwC7plus, fractions, count);
            return MethodOutcome::Split;
        });
}

Dictionary getKatzSplittedFluid(const Dictionary& source, int lastCarbonNumber, bool writeLog, bool matching)
{
    return splitWith(source, QStringLiteral("Katz"), lastCarbonNumber, writeLog, matching,
                     [](const Dictionary&, const CompositionSummary& summary, SplitFractions& fractions, int& count) {
                         if (summary.heavyCount == 0)
                             return MethodOutcome::NotRun;
                         applyKatzSplittingAlgorithm(summary.zC7plus, fractions, count);
                         return MethodOutcome::Split;
                     });
}

Dictionary getPedersenSplittedFluid(const Dictionary& source, int lastCarbonNumber, bool writeLog, bool matching)
{
    return splitByFit(source, QStringLiteral("Pedersen"), applyPedersenSplittingAlgorithm, lastCarbonNumber, writeLog,
                      matching);
}

Dictionary getLohrenzSplittedFluid(const Dictionary& source, int lastCarbonNumber, bool writeLog, bool matching)
{
    return splitByFit(source, QStringLiteral("Lohrenz"), applyLohrenzSplittingAlgorithm, lastCarbonNumber, writeLog,
                      matching);
}

}  // namespace quorvel
