#pragma once

// Fluid records for the calculation-interface tests, in record units (degrees Celsius, bar,
// cm3/mol, mole percent), and their textbook counterparts in SI units.

#include "calc/CPhaseDiagram.h"
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

// The gas condensate of nine components of the engine reviews.
inline std::vector<ComponentData> nineComponentCondensate()
{
    return {withMole(kN2, 1), withMole(kCO2, 2), withMole(kC1, 60), withMole(kC2, 8), withMole(kC3, 5),
            withMole(knC4, 4), withMole(knC5, 3), withMole(kC6, 3), withMole(kC10, 14)};
}

// A live oil of nine components.
inline std::vector<ComponentData> nineComponentOil()
{
    return {withMole(kN2, 0.5), withMole(kCO2, 2), withMole(kC1, 35),  withMole(kC2, 8),
            withMole(kC3, 6),   withMole(knC4, 5), withMole(knC5, 4),  withMole(kC6, 4),
            withMole(kC10, 35.5)};
}

// The oil of an alpha-beta point (alpha 0.90, beta 0.41, no gases) as its 17 components, the
// heavy end C7 .. Cn2 re-estimated by Riazi and Daubert. Its heaviest cut's vapour fraction
// is a few millionths at the bubble point, and 1e-10 in the ideal-mixture start.
inline std::vector<ComponentData> riaziDaubertOil()
{
    return {
        {"N2", -1, 0, 28.01, 0, -146.95, -198.15, 33.94, 89.00, 0.0400, 0},
        {"CO2", -2, 0, 44.01, 0, 31.05, -88.15, 73.76, 93.00, 0.2250, 0},
        {"H2S", -3, 0, 34.08, 0, 100.05, 125.65, 89.37, 117.00, 0.1000, 0},
        {"C1", 1, 32.1768, 16.04, 0, -82.55, -156.50, 45.00, 99.20, 0.0115, 0},
        {"C2", 2, 6.3979, 30.07, 0, 32.25, -88.63, 48.00, 148.00, 0.0908, 0},
        {"C3", 3, 6.3319, 44.10, 0.5070, 96.65, -42.07, 42.46, 203.00, 0.1454, 0},
        {"iC4", 1004, 1.4536, 58.12, 0.5720, 135.05, -11.30, 36.48, 263.00, 0.1760, 0},
        {"nC4", 4, 3.2559, 58.12, 0.5720, 152.15, -0.50, 38.00, 255.00, 0.1928, 0},
        {"iC5", 1005, 2.2368, 71.95, 0.6260, 191.55, 27.85, 34.72, 306.00, 0.2235, 0},
        {"nC5", 5, 3.5906, 72.15, 0.6260, 196.45, 36.07, 33.74, 304.00, 0.2273, 0},
        {"C6", 6, 4.4180, 85.26, 0.6630, 239.85, 68.74, 32.00, 385.00, 0.2637, 0},
        {"C7", 7, 4.7616, 98.40, 0.6834, 245.60, 90.58, 28.39, 408.03, 0.2897, 5},
        {"C8", 8, 4.3256, 112.00, 0.7024, 274.49, 116.19, 25.93, 461.76, 0.3245, 5},
        {"C9", 9, 3.9421, 126.00, 0.7175, 300.59, 140.94, 23.67, 518.23, 0.3791, 5},
        {"C10", 10, 3.5998, 140.00, 0.7298, 324.03, 164.32, 21.70, 575.39, 0.4363, 5},
        {"Cn1", 2001, 18.6690, 201.39, 0.7637, 405.41, 254.51, 15.42, 831.01, 0.4986, 5},
        {"Cn2", 2002, 4.8404, 437.50, 0.8108, 585.06, 509.41, 5.84, 1805.84, 0.8068, 5},
    };
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

// The phase envelope of a component fluid, as the phase-diagram document traces it.
inline PhaseDiagramPtr componentEnvelope(const std::vector<ComponentData>& components)
{
    CalculationInterface ci(FluidType::componentList, EquationOfState::pengRobinson);
    PhaseDiagramPtr diagram;
    ci.calculateImmiscibilityLoop(fluidRecord(code_number(FluidType::componentList), components), &diagram);
    return diagram;
}

inline std::vector<textbook::Species> textbookSpecies(const std::vector<ComponentData>& components)
{
    std::vector<textbook::Species> species;
    for (const ComponentData& c : components)
        species.push_back({c.name, c.Tc + 273.15, c.Pc * 1e5, c.omega, c.mw, c.Vc * 1e-6});
    return species;
}

inline textbook::PengRobinsonMixture textbookMixture(const std::vector<ComponentData>& components)
{
    return textbook::PengRobinsonMixture(textbookSpecies(components));
}

inline std::vector<double> moleFractions(const std::vector<ComponentData>& components)
{
    std::vector<double> z;
    for (const ComponentData& c : components)
        z.push_back(c.mole / 100);
    return z;
}

} // namespace quorvel::test
