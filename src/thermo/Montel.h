#pragma once

#include "thermo/ClaCubic0.h"

namespace quorvel {

// Peng-Robinson equation of state with built-in data for the 17 components of the
// alpha-beta model fluid, N2, CO2, H2S, C1 .. C10, Cn1, Cn2, always in that order. The
// two heavy cuts take their data from the cn1_ and cn2_ members, which the model fluid
// rewrites before it reads components 15 and 16 again. The built-in interaction table is
// stored when the components are read; calculations then use the generalised correlation,
// as for any classic cubic, so that the model fluid and its components written out as a
// component table calculate alike.
class Montel : public ClaCubic0 {
public:
    static constexpr short builtin_component_count = 17;

    explicit Montel(phase_kind type);

    // Reads the built-in data of position i when name is the built-in name there.
    void read_component_data(short i, const std::string& name) override;
    // Stores the built-in interaction table for every pair of components.
    void read_BIP();

    // Calculate with the built-in table instead of the generalised correlation: the
    // published alpha-beta start tables were made so.
    bool calculates_with_builtin_table = false;

    double cn1_tc = 713;          // K
    double cn1_pc = 2000000;      // Pa
    double cn1_omega = 0.6;
    double cn1_vc = 0.00104;      // m3/mol
    double cn1_mw = 200;          // g/mol
    double cn1_shift = 0.1;
    double cn2_tc = 903;
    double cn2_pc = 1300000;
    double cn2_omega = 0.8;
    double cn2_vc = 0.0016;
    double cn2_mw = 440;
    double cn2_shift = 0.2;

protected:
    void apply_interaction_coefficients() override;
};

}  // namespace quorvel
