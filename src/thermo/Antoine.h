#pragma once

#include "thermo/PsatCorr.h"

namespace quorvel {

// log10 P(mmHg) = a - b / (c + t), t in degrees Celsius.
class Antoine : public PsatCorr {
public:
    void set_constants(double a, double b, double c);

    double Tsat(double P) override;
    double Psat(double T) override;

    double a = 0;
    double b = 0;
    double c = 0;
};

}  // namespace quorvel
