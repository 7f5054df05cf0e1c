#include "thermo/PetroleumVapourPressures.h"

#include "thermo/Antoine.h"
#include "thermo/Clapeyron.h"

#include <array>

namespace quorvel {

namespace {

constexpr std::array<AntoineConstants, kAntoineEntryCount> kAntoine = {{
    {6.61184, 389.93, 266},  // methane: normal boiling point 111.7 K
    {6.80266, 656.4, 256},
    {6.84343, 818.54, 248.677},
    {6.80896, 935.86, 238.73},
    {6.87632, 1075.78, 233.205},
    {6.87776, 1171.53, 224.366},
    {6.89386, 1264.37, 216.64},
    {6.93142, 1358.8, 209.855},
    {6.93442, 1429.46, 201.82},
    {6.95707, 1503.57, 194.738},
    {6.98291, 1627.71, 180.521},
    {7.55991, 2175.55, 212.249},
    {7.0143, 1865.1, 149.2},
    {7.01529, 1932.8, 137.55},
    {7.077, 2022.5, 125.5},
    {6.01958, 1760.77, 96.824},
    {15.18913, 7749.05, 273.15},
    {7.1804, 2471.2, 26.3},
}};

constexpr std::array<GasSaturationData, 3> kGases = {{
    {126.2, 3390000, 75},       // N2
    {304.21, 7382500, 185},     // CO2
    {373.2, 8820000, 212.85},   // H2S
}};

} // namespace

const AntoineConstants& antoineEntry(int carbonNumber) { return kAntoine.at(carbonNumber - 1); }

std::unique_ptr<PsatCorr> makeAntoine(int carbonNumber)
{
    const auto& k = antoineEntry(carbonNumber);
    auto antoine = std::make_unique<Antoine>();
    antoine->set_constants(k.a, k.b, k.c);
    return antoine;
}

const GasSaturationData& gasSaturationData(PetroleumGas gas) { return kGases[static_cast<int>(gas)]; }

std::unique_ptr<PsatCorr> makeClapeyron(PetroleumGas gas)
{
    const auto& d = gasSaturationData(gas);
    auto clapeyron = std::make_unique<Clapeyron>();
    clapeyron->set_constants(d.tc, d.pc, d.tb, 101325);
    return clapeyron;
}

} // namespace quorvel
