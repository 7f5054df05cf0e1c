#pragma once

#include <array>
#include <span>

namespace quorvel {

// The two-parameter (alpha, beta) carbon-number model behind the 17-component
// model fluid: a distribution over carbon numbers 1..500, its regrouping into the
// fixed components N2, CO2, H2S, C1 .. C10, Cn1 (11-25) and Cn2 (26+), and the
// properties of the two heavy cuts.

inline constexpr int kMaxCarbonNumber = 500;
inline constexpr int kModelComponentCount = 17;

// Component indices of the model fluid.
enum ModelComponent : int {
    kN2 = 0, kCO2, kH2S, kC1, kC2, kC3, kIC4, kNC4, kIC5, kNC5,
    kC6, kC7, kC8, kC9, kC10, kCn1, kCn2
};

struct CarbonNumberDistribution {
    int size = 0;                                    // N, carbon numbers 1..N kept
    std::array<double, kMaxCarbonNumber> fraction{}; // entry k-1 is carbon number k
};

struct HeavyCut {
    double tc = 0;     // K
    double pc = 0;     // Pa
    double vc = 0;     // m3/mol
    double omega = 0;
    double mw = 0;     // g/mol
    double shift = 0;  // volume-shift factor
};

// The unnormalised weights of carbon numbers 1 .. 11 (d holds at least 11 entries).
void alphaBetaHead(std::span<double> d, double alpha, double beta);
// The empirical corrections of carbon numbers 2 .. 10 on normalised weights.
void correctAlphaBetaLightEnd(std::span<double> d, double alpha, double beta);

// Normalised distribution with the light-end corrections.
CarbonNumberDistribution alphaBetaDistribution(double alpha, double beta);

// The 17 model mole fractions from a distribution and the gas contents.
std::array<double, kModelComponentCount> regroupDistribution(
    const CarbonNumberDistribution& d, double n2, double co2, double h2s);

// Properties of the cut of carbon numbers first..last weighted by alpha^(k-first).
HeavyCut heavyCutProperties(double alpha, int first, int last);

// Specific gravity of model component `index` of molar weight mw (g/mol).
double modelSpecificGravity(int index, double mw);

} // namespace quorvel
