#pragma once

#include "thermo/PsatCorr.h"

namespace quorvel {

// A straight line of ln P against 1/T through (t1, p1) and (t2, p2).
class Clapeyron : public PsatCorr {
public:
    void set_constants(double t1, double p1, double t2, double p2);

    double Tsat(double P) override;
    double Psat(double T) override;

    double t1 = 0;  // K
    double p1 = 0;  // Pa
    double t2 = 0;  // K
    double p2 = 0;  // Pa
};

}  // namespace quorvel
