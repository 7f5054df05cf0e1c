#pragma once
// Fluid records for the lumping and splitting tests, built from plain numbers.

#include "characterisation/CarbonNumberTables.h"
#include "characterisation/SpeciesIdentifier.h"
#include "platform/Value.h"

#include <cmath>

namespace testfluids {

using quorvel::Array;
using quorvel::Dictionary;

// A component with the given mole percent, molar weight and gravity, its identifier from
// its name and critical properties that depend on the molar weight alone; a light species
// without a molar weight gets its built-in one.
inline Dictionary component(const QString& name, double molePercent, double mw = 0, double SG = 0)
{
    const int nc = quorvel::getSpeciesIdentifier(name);
    Dictionary record{{"name", name}, {"nc", nc}, {"mole", molePercent}};
    if (const auto species = quorvel::findBuiltInSpecies(nc); species && mw == 0) {
        mw = species->mw;
        SG = species->SG;
    }
    if (mw > 0) {
        record.setValue("mw", mw);
        record.setValue("SG", SG);
        record.setValue("Tc", 200 + mw);
        record.setValue("Tb", 50 + mw);
        record.setValue("Pc", 4000 / mw);
        record.setValue("Vc", 4 * mw);
        record.setValue("omega", mw / 500);
        record.setValue("corr", 13);
    }
    return record;
}

inline Dictionary fluid(const QString& name, const Array& components)
{
    return Dictionary{{"name", name}, {"EOS", 1}, {"components", components}};
}

// Mole fraction, mass and volume sums of a set of components (z = mole / 100).
struct HeavySums
{
    double z = 0;
    double mass = 0;
    double volume = 0;
    double molarWeight() const { return mass / z; }
    double gravity() const { return mass / volume; }
};

inline HeavySums sumsOf(const Array& components, bool (*selected)(const Dictionary&))
{
    HeavySums sums;
    for (const quorvel::Value& element : components) {
        const Dictionary c = element.toDictionary();
        if (!selected(c))
            continue;
        const double z = c.doubleValue("mole") / 100;
        sums.z += z;
        sums.mass += z * c.doubleValue("mw");
        sums.volume += z * c.doubleValue("mw") / c.doubleValue("SG");
    }
    return sums;
}

inline double totalMolePercent(const Array& components)
{
    double total = 0;
    for (const quorvel::Value& element : components)
        total += element.toDictionary().doubleValue("mole");
    return total;
}

inline bool isHeavyName(const Dictionary& c)
{
    static const QStringList light{"C1",  "C2",  "C3",  "C4",  "iC4", "nC4", "C5", "iC5",
                                   "nC5", "C6",  "nC6", "H2S", "CH4", "CO2", "N2"};
    return !light.contains(c.stringValue("name")) && c.intValue("nc") > 6;
}

// Stores the heavy part of the fluid's own components as "C7+" (mole percent), "mwC7+"
// and "SGC7+", as a measured fluid holds them.
inline Dictionary withStoredHeavyPart(Dictionary record)
{
    const HeavySums heavy = sumsOf(record.arrayValue("components"), isHeavyName);
    record.setValue("C7+", heavy.z * 100);
    record.setValue("mwC7+", heavy.molarWeight());
    record.setValue("SGC7+", heavy.gravity());
    return record;
}

// Gases and C1 .. C6, then C7 .. C46 falling off exponentially with the Riazi-Al-Sahhaf
// molar weights and gravities; the stored C7+ keys are those of the heavy components
// (mole percent).
inline Dictionary fortyCutFluid()
{
    Array components{component("N2", 0.5), component("CO2", 1.5), component("C1", 40), component("C2", 7),
                     component("C3", 5),    component("iC4", 1),  component("nC4", 2), component("iC5", 1),
                     component("nC5", 1),   component("C6", 3.5)};
    double heavyTotal = 0;
    for (int n = 7; n <= 46; ++n)
        heavyTotal += std::exp(-0.2 * (n - 7));
    const double heavyPercent = 100 - 62.5;  // the light components above add up to 62.5 %
    for (int n = 7; n <= 46; ++n)
        components.append(component(QStringLiteral("C%1").arg(n), heavyPercent * std::exp(-0.2 * (n - 7)) / heavyTotal,
                                    quorvel::getRiaziAlSahhafMolarWeight(n), quorvel::getRiaziAlSahhafSG(n)));
    return withStoredHeavyPart(fluid(QStringLiteral("Forty cuts"), components));
}

}  // namespace testfluids
