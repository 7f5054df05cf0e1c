#include "thermo/AlphaBetaModel.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace quorvel {

namespace {

constexpr double kTailCutoff = 1e-10;

void normalise(CarbonNumberDistribution& d)
{
    const double sum = std::accumulate(d.fraction.begin(), d.fraction.begin() + d.size, 0.0);
    for (int k = 0; k < d.size; ++k)
        d.fraction[k] /= sum;
}

} // namespace

void alphaBetaHead(std::span<double> d, double a, double b)
{
    d[0] = 1;
    d[1] = a * (1 - b);
    d[2] = d[1] * a * (1 - b / std::sqrt(2.0));
    d[3] = d[2] * a * (1 - b / std::sqrt(3.0));
    d[4] = d[3] * a * (1 - b / 2);
    d[5] = d[4] * (1 - b / std::sqrt(5.0));
    d[6] = d[5];
    d[7] = d[6] * a * (1 - b / 7);
    d[8] = d[7] * a * (1 - b / 8);
    d[9] = d[8] * a * (1 - b / 9);
    d[10] = d[9] * a * (1 - b / 10);
}

void correctAlphaBetaLightEnd(std::span<double> d, double a, double b)
{
    const double s = (d[2] + d[3] + d[4]) * std::sqrt(std::fabs(d[0] * (1.8 - d[0]))) * 0.94;
    d[2] = 0.4341 * s;
    d[3] = d[2] * a / (b + 0.8);
    d[4] = d[3] * a / (0.7 * b * b + 0.9);
    d[1] = 2.15 * d[2] * (d[0] + 0.19);
    for (int k = 6; k <= 10; ++k)
        d[k - 1] *= (1 - 0.28 * (11 - k) / 5) * 1.4 * (1 + 10 * (a - 0.9) * (a - 0.9));
}

CarbonNumberDistribution alphaBetaDistribution(double a, double b)
{
    CarbonNumberDistribution result;
    auto& d = result.fraction;  // d[k - 1] is carbon number k

    alphaBetaHead(d, a, b);

    // Geometric tail, cut where the weight falls below the cut-off.
    result.size = 11;
    for (int k = 12; k <= kMaxCarbonNumber; ++k) {
        const double next = d[k - 2] * a;
        if (next < kTailCutoff)
            break;
        d[k - 1] = next;
        result.size = k;
    }
    normalise(result);

    correctAlphaBetaLightEnd(d, a, b);
    normalise(result);
    return result;
}

std::array<double, kModelComponentCount> regroupDistribution(
    const CarbonNumberDistribution& dist, double n2, double co2, double h2s)
{
    const auto& d = dist.fraction;
    std::array<double, kModelComponentCount> z{};
    z[kN2] = n2;
    z[kCO2] = co2;
    z[kH2S] = h2s;
    z[kC1] = d[0];
    z[kC2] = d[1];
    z[kC3] = d[2];
    z[kIC4] = d[3] / 3.24;
    z[kNC4] = d[3] / 1.4465;
    z[kIC5] = d[4] / 1.86207;
    z[kNC5] = d[4] / 1.16;
    for (int k = 6; k <= 10; ++k)
        z[kC6 + k - 6] = d[k - 1];
    for (int k = 11; k <= std::min(dist.size, 25); ++k)
        z[kCn1] += d[k - 1];
    for (int k = 26; k <= dist.size; ++k)
        z[kCn2] += d[k - 1];

    // Scale the hydrocarbons so that the 17 fractions sum to one.
    const double hydrocarbons = std::accumulate(z.begin() + kC1, z.end(), 0.0);
    const double scale = (1 - (n2 + co2 + h2s)) / hydrocarbons;
    for (int i = kC1; i < kModelComponentCount; ++i)
        z[i] *= scale;
    return z;
}

HeavyCut heavyCutProperties(double alpha, int first, int last)
{
    double weightSum = 0;
    double weightedCarbon = 0;
    for (int k = first; k <= last; ++k) {
        const double w = std::pow(alpha, k - first);
        weightSum += w;
        weightedCarbon += w * k;
    }
    const double n = weightedCarbon / weightSum;  // mean carbon number
    const double m = 12.5 * n;                     // g/mol

    HeavyCut cut;
    cut.tc = 96 + 90 * std::log(m) + 0.75 * m - 4100 / m;
    cut.pc = 655398.1443946692 * cut.tc / (22.5 + 14 * n - 0.08 * n * n);
    cut.omega = 0.14 + 0.025 * n - 0.00017 * n * n;
    cut.vc = 2.5558574518639996 * cut.tc / cut.pc;
    cut.mw = m;
    cut.shift = 1 - 2.5 * std::pow(m, -0.2);
    return cut;
}

double modelSpecificGravity(int index, double mw)
{
    if (index < kC3)
        return 0;
    switch (index) {
    case kC3: return 0.507;
    case kIC4:
    case kNC4: return 0.572;
    case kIC5:
    case kNC5: return 0.626;
    case kC6: return 0.663;
    default: break;
    }
    const double u = std::pow(mw - 72.1486, 2.0 / 3.0);
    return 0.6262 * (1 + 0.066878721 * u + 0.0059212241 * u * u)
           / (1 + 0.062791972 * u + 0.0042682682 * u * u);
}

} // namespace quorvel
