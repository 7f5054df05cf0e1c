#pragma once

#include "thermo/Oil.h"

namespace quorvel {

// Petroleum fluid of a user composition on two Peng-Robinson or SRK phase models (liquid
// first). The calculation interface writes every component datum; this class adds the
// vapour-pressure correlation chosen by the component's name and the normal boiling
// temperature that follows from it.
class Oil2 : public Oil {
public:
    Oil2(FluidPhase& liquid, FluidPhase& vapour);
    ~Oil2() override;

    void read_component_data(short i, const char* name) override;
    // Feed fraction of the first component named "CH4" or "C1"; 0 when there is none.
    int methaneIndex() const override;  // the component named "CH4" or "C1"
};

// Antoine entry (carbon number) of a component name; 0 for the gases N2, CO2 and H2S,
// which take a Clapeyron line.
int antoineEntryForName(const char* name);

} // namespace quorvel
