#pragma once
// Correlations that characterise a component record from its carbon number (derived
// from "nc"), optionally corrected by its molar weight, gravity or boiling point.
// A record whose carbon number is outside the correlation's range is left unchanged.

#include "characterisation/ComponentRecord.h"

#include <optional>

namespace quorvel {

struct CarbonNumberRange
{
    int first;
    int last;
};
inline constexpr CarbonNumberRange kJianzhongRange{6, 100};
inline constexpr CarbonNumberRange kKatzFiroozabadiRange{6, 45};
inline constexpr CarbonNumberRange kAhmedRange{6, 45};
inline constexpr CarbonNumberRange kRiaziAlSahhafRange{6, 50};
inline constexpr CarbonNumberRange kMontelRange{7, 99};

// The carbon number (table row) of a species identifier: n for a plus fraction 3000 + n,
// 10, 13 and 28 for "C7+", "Cn1" and "Cn2", else the identifier itself; nothing when
// that lies outside the range.
std::optional<int> carbonNumberOf(int nc, CarbonNumberRange range);

// Jianzhong's calculation for carbon number n; mw (g/mol), SG and Tb (K) count as not
// given when 0. Outputs in g/mol, K, bar, SG, K, cm3/mol and omega.
void getFromJianzhongCorrelation(int n, double mw, double SG, double Tb, double& mwOut, double& TcOut,
                                 double& PcOut, double& SGOut, double& TbOut, double& VcOut,
                                 double& omegaOut);
// The specific gravity of Jianzhong's reference series at molar weight mw (not a number
// below 72.1486 g/mol).
double getJianzhongSG(double mw);

// Mode 0 (CorrelationCode::jianzhong0) carbon number only, 1 with "mw" and "SG", 2 with "Tb"
// and "SG"; "corr" = mode; any other mode is an unknown code.
CorrelationStatus applyJianzhongCorrelation(Dictionary component, CorrelationCode mode);
CorrelationStatus applyKatzFiroozabadiCorrelation(Dictionary component);     // "corr" 3
CorrelationStatus applyAhmedCorrelation(Dictionary component);               // "corr" 4
CorrelationStatus applyRiaziAlSahhafCorrelation(Dictionary component);       // "corr" 13
CorrelationStatus applyMontelCorrelation(Dictionary component);              // "corr" 11

}  // namespace quorvel
