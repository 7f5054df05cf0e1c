#pragma once

namespace quorvel {

// Vapour-pressure correlation of one component; temperatures in K, pressures in Pa.
class PsatCorr {
public:
    virtual ~PsatCorr() = default;

    virtual double Tsat(double P);
    virtual double Psat(double T);
};

}  // namespace quorvel
