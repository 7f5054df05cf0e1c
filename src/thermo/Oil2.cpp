#include "thermo/Oil2.h"

#include "thermo/PetroleumVapourPressures.h"
#include "thermo/PsatCorr.h"

#include <cstdlib>
#include <cstring>

namespace quorvel {

namespace {

struct NamedEntry {
    const char* name;
    int entry;
};

constexpr NamedEntry kNamedEntries[] = {
    {"C1", 1}, {"CH4", 1}, {"C2", 2}, {"C3", 3}, {"iC4", 4}, {"nC4", 4}, {"C4", 4},
    {"iC5", 5}, {"nC5", 5}, {"C5", 5}, {"C6", 6}, {"C7", 7}, {"C8", 8}, {"C9", 9},
    {"C10", 10}, {"C7+", 12}, {"Cn1", 12}, {"Cn2", 16},
};

// Heavy components by the carbon number after the name's first letter.
int heavyEntry(const char* name)
{
    const long carbonNumber = name[0] ? std::strtol(name + 1, nullptr, 10) : 0;
    return carbonNumber < 25 ? 12 : 16;
}

} // namespace

int antoineEntryForName(const char* name)
{
    for (const char* gas : {"N2", "CO2", "H2S"})
        if (std::strcmp(name, gas) == 0)
            return 0;
    for (const auto& named : kNamedEntries)
        if (std::strcmp(name, named.name) == 0)
            return named.entry;
    return heavyEntry(name);
}

Oil2::Oil2(FluidPhase& liquidModel, FluidPhase& vapourModel) : Oil(liquidModel, vapourModel) {}

Oil2::~Oil2() = default;

void Oil2::read_component_data(short i, const char* name)
{
    const int entry = antoineEntryForName(name);
    if (entry > 0) {
        psat_correlation[i] = makeAntoine(entry);
    } else {
        const PetroleumGas gas = std::strcmp(name, "N2") == 0    ? PetroleumGas::N2
                                 : std::strcmp(name, "CO2") == 0 ? PetroleumGas::CO2
                                                                  : PetroleumGas::H2S;
        psat_correlation[i] = makeClapeyron(gas);
    }
    boiling_temperature[i] = psat_correlation[i]->Tsat(101325);
}

int Oil2::methaneIndex() const
{
    for (short i = 0; i < component_count; ++i)
        if (component_name[i] == "CH4" || component_name[i] == "C1")
            return i;
    return -1;
}

} // namespace quorvel
