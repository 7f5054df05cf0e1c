#include "thermo/StockTankCorrelations.h"

#include "numeric/Degree3.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace quorvel {

namespace {

constexpr double kPsiaPerBar = 1 / 0.068948;
constexpr double kLbFt3ToGcm3 = 0.01601873282486722;

struct AlaniKennedyRow {
    const char* names[3];
    double tLimit;  // the row applies to t below this limit (degrees R)
    double n, K, m, C;
};

// Rows of one name are ordered by their temperature limit.
constexpr double kAllT = 1e300;
constexpr AlaniKennedyRow kAlaniKennedy[] = {
    {{"C1", "CH4", nullptr}, 759.67, 61.893223, 9160.6413, 0.00033162472, 0.50874303},
    {{"C1", "CH4", nullptr}, kAllT, 3247.4533, 147.47333, -0.0014072637, 1.8326659},
    {{"C2", nullptr, nullptr}, 709.67, -404.48844, 46709.573, 0.00051520981, 0.52239654},
    {{"C2", nullptr, nullptr}, kAllT, 34.163551, 17495.343, 0.00028201736, 0.62309877},
    {{"C3", nullptr, nullptr}, kAllT, 190.2442, 20247.757, 0.00021586448, 0.90832519},
    {{"iC4", nullptr, nullptr}, kAllT, 131.63171, 32204.757, 0.00033862284, 1.1013834},
    {{"nC4", "C4", nullptr}, kAllT, 146.15445, 33016.212, 0.0002902157, 1.1168144},
    {{"iC5", "nC5", "C5"}, kAllT, 299.6263, 37046.234, 0.00021954785, 1.4364289},
    {{"C6", "nC6", nullptr}, kAllT, 254.56097, 52093.006, 0.00036961858, 1.5929406},
    {{"H2S", nullptr, nullptr}, kAllT, 0, 13200.006, 0.00179, 0.3945},
    {{"N2", nullptr, nullptr}, kAllT, 2.293, 4300, 0.000449, 0.3853},
    {{"CO2", nullptr, nullptr}, kAllT, 126, 8166, 0.0001818, 0.3872},
};

bool rowNames(const AlaniKennedyRow& row, const char* name)
{
    for (const char* candidate : row.names)
        if (candidate && std::strcmp(candidate, name) == 0)
            return true;
    return false;
}

} // namespace

double apiGravity(double density)
{
    if (!(density > 0) || !std::isfinite(density))
        return kUnavailable;
    return 141.5 / density - 131.5;
}

double apiFromMolarWeight(double molarWeight)
{
    return 27750 / std::pow(molarWeight, 1.4344) + 22.698;
}

double getDensityByStandingKatz(double T, double P, double rho7,
                                const std::array<double, 7>& masses)
{
    const auto [m1, m2, m3, m4, m5, m6, m7] = masses;
    const double W = m1 + m2 + m3 + m4 + m5 + m6 + m7;
    const double heavy = W - m1 - m2;
    if (m7 > 0 && !(rho7 > 0))
        return 0;  // a C7+ part without a density (no specific gravity given)
    double V3 = m3 / 31.64 + m4 / 35.71 + m5 / 39.08 + m6 / 41.36;
    if (m7 > 0)
        V3 += m7 / rho7;
    if (!(W > 0) || !(V3 > 0) || !(heavy > 0))
        return 0;  // no propane-plus part: the method has no density

    const double wC1 = 100 * m1 / W;
    const double wC2 = 100 * m2 / (W - m1);
    const double rho3 = heavy / V3;
    const double rho2 = rho3 * (1 - 0.01386 * wC2 - 0.000082 * wC2 * wC2) + 0.379 * wC2
                        + 0.0042 * wC2 * wC2;
    const double rhop = rho2 * (1 - 0.012 * wC1 - 0.000158 * wC1 * wC1) + 0.0133 * wC1
                        + 0.00058 * wC1 * wC1;

    const double p = std::min(P, 1034.22) * kPsiaPerBar;
    const double drhoP = (0.000167 + 0.016181 * std::pow(10.0, -0.0425 * rhop)) * p
                         - 1e-8 * (0.299 + 263 * std::pow(10.0, -0.0603 * rhop)) * p * p;
    const double t = 1.8 * std::clamp(T, 231.817, 620.706);

    const double r = rhop + drhoP;
    if (r < 0)
        return 0;
    const double dt = t - 520;
    const double drhoT = std::clamp(dt * (0.0133 + 152.4 * std::pow(r, -2.45))
                                        - dt * dt * (8.1e-6 - 0.0622 * std::pow(10.0, -0.0764 * r)),
                                    -6.0, 16.0);
    return (r - drhoT) * kLbFt3ToGcm3;
}

bool alaniKennedyLightComponent(const char* name, double t, double& a, double& b)
{
    for (const auto& row : kAlaniKennedy) {
        if (!rowNames(row, name) || t >= row.tLimit)
            continue;
        a = row.K * std::exp(row.n / t);
        b = row.m * t + row.C;
        return true;
    }
    return false;
}

void alaniKennedyHeavyFraction(double M7, double SG7, double t, double& a, double& b)
{
    a = std::exp(0.0038405985 * M7 - 0.00095638281 * M7 / SG7 + 261.80818 / t
                 + 7.3104464e-6 * M7 * M7 + 10.753517);
    b = 0.03499274 * M7 - 7.275403 * SG7 + 0.0002232395 * t - 0.016322572 * M7 / SG7 + 6.2256545;
}

double alaniKennedyVolume(double a, double b, double t, double p)
{
    constexpr double R = 10.73;
    double c[4] = {-a * b / p, a / p, -(R * t / p + b), 1};
    double roots[3];
    int n = 0;
    degree3(c, n, roots);
    return *std::min_element(roots, roots + n);
}

double montelShiftFactor(int id)
{
    switch (id) {
    case -3: return -0.1288;  // H2S
    // CO2: the published factor. Tables that print -0.817 slipped a decimal: that would
    // shift CO2 by 82 % of its co-volume, four times more than any other light component.
    case -2: return -0.0817;
    case -1: return -0.1927;  // N2
    case 1: return -0.1595;
    case 2: return -0.1134;
    case 3: return -0.0863;
    case 4:
    case 1004: return -0.073;  // butanes
    case 5:
    case 1005: return -0.046;  // pentanes
    case 2000:
    case 2001: return 0.1;     // C7+, Cn1
    case 2002: return 0.2;     // Cn2
    default: break;
    }
    if (id >= 6 && id <= 10)
        return 0.1;
    if (id >= 11 && id <= 17)
        return 0.2;
    if (id >= 18)
        return 0.3;
    return 0;  // not identified: no translation
}

namespace {

// The two published branches of h.
double dorvaneLinearTerm(double Mx) { return 0.55182 * Mx - 38.787; }
double dorvaneCubicTerm(double Mx) { return 0.08807 * Mx - 14.622 + 0.0019168 * Mx * Mx - 1.372e-6 * Mx * Mx * Mx; }

constexpr double kDorvaneLowest = 85;       // g/mol
constexpr double kDorvaneLinearEnd = 142;
constexpr double kDorvaneCubicStart = 156;
constexpr double kDorvaneHighest = 640;

} // namespace

double dorvaneMolarWeightTerm(double Mx)
{
    const double M = std::clamp(Mx, kDorvaneLowest, kDorvaneHighest);
    if (M <= kDorvaneLinearEnd)
        return dorvaneLinearTerm(M);
    if (M >= kDorvaneCubicStart)
        return dorvaneCubicTerm(M);
    const double low = dorvaneLinearTerm(kDorvaneLinearEnd);
    const double high = dorvaneCubicTerm(kDorvaneCubicStart);
    return low + (high - low) * (M - kDorvaneLinearEnd) / (kDorvaneCubicStart - kDorvaneLinearEnd);
}

double dorvaneTranslation(FluidType modelFluidType, double Mx, double B, double M)
{
    switch (modelFluidType) {
    case FluidType::alphaBeta:
    case FluidType::componentList:
    case FluidType::carbonNumbers: {
        const double g = 1.4559 * Mx - 24.631 + 0.00062771 * Mx * Mx;
        return dorvaneMolarWeightTerm(Mx) + B - g;
    }
    case FluidType::gamma:
        return 18.887 * M - 724;
    default:
        return kUnavailable;
    }
}

TranslatedVolume translateVolume(double V, double c)
{
    if (!std::isfinite(V) || !std::isfinite(c))
        return {};
    if (!(V - c > 0))
        return {kUnavailable, TranslationOutcome::non_positive_volume};
    return {V - c, TranslationOutcome::applied};
}

} // namespace quorvel
