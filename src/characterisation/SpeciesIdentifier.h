#pragma once
// The species identifier ("nc") that classifies a component by its name, and the
// built-in data of the eleven light species.

#include <QString>

#include <optional>

namespace quorvel {

// Identifiers with a meaning of their own; single carbon numbers n >= 7 are n itself.
inline constexpr int kSpeciesUnknown = 0;
inline constexpr int kSpeciesH2S = -3;
inline constexpr int kSpeciesCO2 = -2;
inline constexpr int kSpeciesN2 = -1;
inline constexpr int kSpeciesLastLight = 6;  // C1 .. C6 are 1 .. 6
inline constexpr int kSpeciesIC4 = 1004;
inline constexpr int kSpeciesIC5 = 1005;
inline constexpr int kSpeciesC7Plus = 2000;
inline constexpr int kSpeciesCn1 = 2001;
inline constexpr int kSpeciesCn2 = 2002;
inline constexpr int kSpeciesPlusFraction = 3000;  // 3000 + n: plus fraction from carbon number n

// The identifier of a component name: exact names first, then "C<n>" and "nC<n>"
// (n), "C<n>+" and "nC<n>+" (3000 + n); anything else 0. Case-sensitive; the number is
// read as C's atoi would read it, clamped to the int range, and 3000 + n saturates.
int getSpeciesIdentifier(const QString& name);

// Built-in data of a light species, temperatures in kelvin.
struct BuiltInSpecies
{
    int nc;
    double Tc;     // K
    double Pc;     // bar
    double omega;
    double mw;     // g/mol
    double Vc;     // cm3/mol
    double Tb;     // K
    double SG;
};

// The built-in row of an identifier (-3 .. -1, 1 .. 6, 1004, 1005), else nothing.
std::optional<BuiltInSpecies> findBuiltInSpecies(int nc);

}  // namespace quorvel
