#pragma once

// Fluid records for the calculation-interface tests, in record units (degrees Celsius, bar,
// cm3/mol, mole percent), and their textbook counterparts in SI units.

#include "calc/CalculationInterface.h"
#include "TextbookPengRobinson.h"

#include <QString>

#include <vector>

namespace quorvel::test {

struct ComponentData {
    const char* name;
    int nc;
    double mole;   // mole percent
    double mw;     // g/mol
    double SG;
    double Tc;     // degrees Celsius
    double Tb;     // degrees Celsius
    double Pc;     // bar
    double Vc;     // cm3/mol
    double omega;
    int corr;
};

// Critical data as tabulated by Reid, Prausnitz and Poling.
inline const ComponentData kN2{"N2", -1, 0, 28.01, 0, 126.2 - 273.15, -195.8, 33.94, 89, 0.040, 0};
inline const ComponentData kCO2{"CO2", -2, 0, 44.01, 0, 304.2 - 273.15, -78.5, 73.76, 94, 0.225, 0};
inline const ComponentData kC1{"C1", 1, 0, 16.04, 0.3, 190.6 - 273.15, -161.5, 46.0, 99, 0.011, 0};
inline const ComponentData kC2{"C2", 2, 0, 30.07, 0.356, 305.4 - 273.15, -88.6, 48.8, 148, 0.099, 0};
inline const ComponentData kC3{"C3", 3, 0, 44.10, 0.507, 369.8 - 273.15, -42.1, 42.5, 203, 0.153, 0};
inline const ComponentData knC4{"nC4", 4, 0, 58.12, 0.584, 425.2 - 273.15, -0.5, 38.0, 255, 0.199, 0};
inline const ComponentData knC5{"nC5", 5, 0, 72.15, 0.631, 469.7 - 273.15, 36.1, 33.7, 304, 0.251, 0};
inline const ComponentData kC6{"C6", 6, 0, 86.18, 0.664, 507.5 - 273.15, 68.7, 30.1, 370, 0.299, 0};
inline const ComponentData kC10{"C10", 10, 0, 142.3, 0.730, 617.7 - 273.15, 174.1, 21.1, 603, 0.489, 3};

inline ComponentData withMole(ComponentData c, double molePercent)
{
    c.mole = molePercent;
    return c;
}

// Methane and decane.
inline std::vector<ComponentData> binary()
{
    return {withMole(kC1, 40), withMole(kC10, 60)};
}

// A live oil of nine components.
inline std::vector<ComponentData> nineComponentOil()
{
    return {withMole(kN2, 0.5), withMole(kCO2, 2), withMole(kC1, 35),  withMole(kC2, 8),
            withMole(kC3, 6),   withMole(knC4, 5), withMole(knC5, 4),  withMole(kC6, 4),
            withMole(kC10, 35.5)};
}

inline ComponentRecord componentRecord(const ComponentData& c)
{
    return ComponentRecord{{"name", c.name}, {"nc", c.nc},   {"mole", c.mole},   {"mw", c.mw},
                           {"SG", c.SG},     {"Tc", c.Tc},   {"Tb", c.Tb},       {"Pc", c.Pc},
                           {"Vc", c.Vc},     {"omega", c.omega}, {"corr", c.corr}};
}

inline FluidRecord fluidRecord(int fluidType, const std::vector<ComponentData>& components)
{
    Array array;
    for (const ComponentData& c : components)
        array.append(componentRecord(c));
    return FluidRecord{{"name", "test fluid"}, {"fluidType", fluidType}, {"components", array}};
}

inline textbook::PengRobinsonMixture textbookMixture(const std::vector<ComponentData>& components)
{
    std::vector<textbook::Species> species;
    for (const ComponentData& c : components)
        species.push_back({c.name, c.Tc + 273.15, c.Pc * 1e5, c.omega, c.mw, c.Vc * 1e-6});
    return textbook::PengRobinsonMixture(species);
}

inline std::vector<double> moleFractions(const std::vector<ComponentData>& components)
{
    std::vector<double> z;
    for (const ComponentData& c : components)
        z.push_back(c.mole / 100);
    return z;
}

} // namespace quorvel::test
