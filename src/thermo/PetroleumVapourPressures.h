#pragma once

#include <memory>

namespace quorvel {

class PsatCorr;

// Vapour-pressure correlations of the petroleum fluids: Antoine constants by carbon
// number (log10 P(mmHg) = A - B / (C + t(degC)), entries 1 to 18) and Clapeyron lines of
// the three gases through their critical point and normal boiling point.

struct AntoineConstants {
    double a, b, c;
};

inline constexpr int kAntoineEntryCount = 18;

// Constants of carbon number k (1 to 18).
const AntoineConstants& antoineEntry(int carbonNumber);
std::unique_ptr<PsatCorr> makeAntoine(int carbonNumber);

enum class PetroleumGas { N2, CO2, H2S };

struct GasSaturationData {
    double tc;  // K
    double pc;  // Pa
    double tb;  // K, at 101325 Pa
};

const GasSaturationData& gasSaturationData(PetroleumGas gas);
std::unique_ptr<PsatCorr> makeClapeyron(PetroleumGas gas);

} // namespace quorvel
