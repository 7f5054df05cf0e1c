#pragma once

#include "thermo/Phase.h"

#include <vector>

namespace quorvel {

// A phase described by an equation of state: adds the volumetric derivatives and the
// three calculations a concrete equation supplies.
class FluidPhase : public Phase {
public:
    // The first argument is not used.
    FluidPhase(short unused, phase_kind type);

    void number_of_components(short n) override;
    // Molar volume, then fugacities.
    void describe() override;

    virtual void calculate_fixed_parameters();
    virtual void calculate_pressure();
    virtual void calculate_fugacities();

    [[nodiscard]] double compressibilityFactor() const { return compressibility_factor; }
    [[nodiscard]] double dpDv() const { return dp_dv; }
    [[nodiscard]] double dvDt() const { return dv_dt; }
    [[nodiscard]] double dvDp() const { return dv_dp; }
    [[nodiscard]] const std::vector<double>& partialMolarVolume() const { return partial_molar_volume; }
    [[nodiscard]] bool volumeFailure() const { return volume_failure; }

protected:
    double compressibility_factor = 0;    // Z of the untranslated equation
    double dp_dv = 0;                     // Pa mol/m3, at constant T and composition
    double dv_dt = 0;                     // m3/(mol K), at constant P and composition
    double dv_dp = 0;                     // m3/(mol Pa), at constant T and composition
    // dv/dn_i at constant T and P for one mole of phase (derivative with respect to
    // mole_fraction[i], the other fractions held).
    std::vector<double> partial_molar_volume;  // m3/mol
    // Set when the last volume calculation found no root of the equation above the
    // co-volume: the volume, the compressibility factor, the density and the fugacities are
    // then not-a-number.
    bool volume_failure = false;
};

}  // namespace quorvel
