#pragma once

#include "thermo/ClaCubic0.h"

namespace quorvel {

// Peng-Robinson equation of state with built-in data for the 17 components of the
// alpha-beta model fluid, N2, CO2, H2S, C1 .. C10, Cn1, Cn2, always in that order. The
// two heavy cuts take their data from the cn1 and cn2 members, which the model fluid
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
    void setCalculatesWithBuiltinTable(bool builtin) { calculates_with_builtin_table = builtin; }

    // Data of a heavy cut.
    struct HeavyCutData {
        double tc;     // K
        double pc;     // Pa
        double omega;
        double vc;     // m3/mol
        double mw;     // g/mol
        double shift;
    };
    [[nodiscard]] const HeavyCutData& firstHeavyCut() const { return cn1; }
    [[nodiscard]] const HeavyCutData& secondHeavyCut() const { return cn2; }
    // Taken when component 15 or 16 is read (again).
    void setFirstHeavyCut(const HeavyCutData& cut) { cn1 = cut; }
    void setSecondHeavyCut(const HeavyCutData& cut) { cn2 = cut; }

protected:
    bool calculates_with_builtin_table = false;
    HeavyCutData cn1 = {.tc = 713, .pc = 2000000, .omega = 0.6, .vc = 0.00104, .mw = 200, .shift = 0.1};
    HeavyCutData cn2 = {.tc = 903, .pc = 1300000, .omega = 0.8, .vc = 0.0016, .mw = 440, .shift = 0.2};

    void apply_interaction_coefficients() override;
};

}  // namespace quorvel
