// Carbon-number distributions of the heavy fraction: a gamma distribution over boiling
// temperature cut into groups, and the Ahmed split of a loaded fluid's C7+ fraction.
#include "calc/CalculationInterface.h"
#include "calc/GammaModelInterface.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace quorvel {

namespace {

// Molar weight (g/mol) and boiling temperature (K) of carbon number n.
double carbonNumberMolarWeight(int n) { return 14.0 * n + 2; }

double carbonNumberBoilingTemperature(int n)
{
    const double M = carbonNumberMolarWeight(n);
    return 1214.4 + 477.63 * std::log((M + 88.51) / (M + 1007));
}

// ---- Gamma distribution ----

constexpr double kLowestSampleTemperature = 293.15;  // K; sample i lies i K above it
constexpr double kSmallestShape = 1.000000001;
constexpr int kSmallestDelta = 1;
constexpr int kLargestDelta = 50;
constexpr int kLastSingleCarbonNumber = 10;
constexpr int kLastCarbonNumberThatMayBeEmpty = 11;
constexpr int kCarbonNumberLimit = 100;

// Gamma density at x, through logarithms: no overflow of the gamma function for large shapes.
double gammaDensity(double x, double shape, double scale)
{
    if (x <= 0)
        return 0;
    return std::exp((shape - 1) * std::log(x) - x / scale - std::lgamma(shape) - shape * std::log(scale));
}

// ---- Ahmed split ----

// Molar weights (g/mol) of carbon numbers 7 to 44.
constexpr std::array<double, 38> kAhmedMolarWeights = {
    96,  107, 121, 134, 147, 161, 175, 190, 206, 222, 237, 251, 263, 275, 291, 305, 318, 331, 345,
    359, 374, 388, 402, 416, 430, 444, 458, 472, 486, 500, 514, 528, 542, 556, 570, 584, 598, 612};
constexpr int kAhmedFirstCarbonNumber = 7;
constexpr int kAhmedLastCarbonNumber = 44;
constexpr int kAhmedSteps = 37;  // the 38th fraction is what is left

// Species identifiers of heavy components with their own molar weight: the alpha-beta cuts
// and the pseudo-components of the characterisation.
bool isHeavyPseudoComponent(int id) { return (id >= 2000 && id <= 2002) || id >= 3008; }

// Below this C7+ fraction the split takes the gas-condensate molar-weight increments.
constexpr double kLeanC7plusFraction = 0.125;

double ahmedIncrement(int k, bool lean)
{
    if (lean)
        return k < 2 ? 15.5 : 17;
    return k < 1 ? 16.5 : 20.1;
}

} // namespace

bool GammaModelInterface::calculateFrom(double shape, double scale, int delta, double CO2, double N2, double H2S)
{
    const double gases = CO2 + N2 + H2S;
    if (!(scale > 0) || !std::isfinite(scale) || !(gases < 1)) {
        entries = 0;
        return false;
    }
    if (!(shape > 1))
        shape = kSmallestShape;
    delta = std::clamp(delta, kSmallestDelta, kLargestDelta);

    std::array<double, kSampleCount> weight{};
    for (int i = 0; i < kSampleCount; ++i)
        weight[i] = gammaDensity(i, shape, scale);

    for (int j = 0; j < kFirstGroup; ++j) {
        entryPercent[j] = 0;
        entryCarbonNumber[j] = j;
    }
    int j = kFirstGroup;
    int i = 0;
    for (int n = kFirstGroup; n < kCarbonNumberLimit && i < kSampleCount;) {
        const double Tb = carbonNumberBoilingTemperature(n);
        double sum = 0;
        for (; i < kSampleCount && i + kLowestSampleTemperature < Tb; ++i)
            sum += weight[i];
        if (sum != 0) {
            entryCarbonNumber[j] = n;
            entryPercent[j] = sum * 100;
            ++j;
            n += n <= kLastSingleCarbonNumber ? 1 : delta;
        } else if (n > kLastCarbonNumberThatMayBeEmpty) {
            break;
        } else {
            ++n;
        }
    }
    entries = j;

    // Weights to moles, scaled to leave room for the gases.
    double moles = 0;
    for (int k = kFirstGroup; k < entries; ++k)
        moles += entryPercent[k] / carbonNumberMolarWeight(entryCarbonNumber[k]);
    moles /= 1 - gases;
    for (int k = kFirstGroup; k < entries; ++k)
        entryPercent[k] = entryPercent[k] * 100 / (carbonNumberMolarWeight(entryCarbonNumber[k]) * moles);
    return true;
}

std::vector<double> CalculationInterface::generateAhmedFluid() const
{
    if (!isEngineReady())
        return {};
    double z7 = 0, molarSum = 0;
    int heavy = 0;
    for (short i = 0; i < oil->componentCount(); ++i) {
        const int id = oil->carbonNumber()[i];
        const double z = oil->feedComposition()[i];
        if (id >= kAhmedFirstCarbonNumber && id <= kAhmedLastCarbonNumber)
            molarSum += z * kAhmedMolarWeights[id - kAhmedFirstCarbonNumber];
        else if (isHeavyPseudoComponent(id))
            molarSum += z * oil->componentMolarWeight()[i];
        else
            continue;
        z7 += z;
        ++heavy;
    }
    if (heavy == 0 || !(z7 > 0))
        return {};
    const double M7 = molarSum / z7;
    // A plus fraction no heavier than C7 itself has nothing to split (and would give
    // negative fractions).
    if (!(M7 > kAhmedMolarWeights[0]))
        return {};

    const bool lean = z7 < kLeanC7plusFraction;
    std::vector<double> x;
    double sum = 0, rest = z7, Mprevious = M7;
    for (int k = 0; k < kAhmedSteps; ++k) {
        const double Mk = (k + 1) * ahmedIncrement(k, lean) + M7;
        const double xk = (Mk - Mprevious) * rest / (Mk - kAhmedMolarWeights[k]);
        if (sum + xk > z7) {
            x.push_back(z7 - sum);
            return x;
        }
        x.push_back(xk);
        sum += xk;
        rest = z7 - sum;
        Mprevious = Mk;
    }
    x.push_back(rest);
    return x;
}

} // namespace quorvel
