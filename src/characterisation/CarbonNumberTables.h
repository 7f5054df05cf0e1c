#pragma once
// Properties of a single carbon number cut from its carbon number alone: the
// Katz-Firoozabadi generalised table, the Riazi-Al-Sahhaf table and Ahmed's
// generalised equations. Every getter answers 0 outside its index range.

namespace quorvel {

// Katz-Firoozabadi, carbon numbers 1 to 45 (1 to 5 hold only a molar weight).
double getKatzFiroozabadiMolarWeight(int n);  // g/mol
double getKatzFiroozabadiTb(int n);           // K
double getKatzFiroozabadiSG(int n);
double getKatzFiroozabadiTc(int n);  // K
double getKatzFiroozabadiPc(int n);  // bar
double getKatzFiroozabadiVc(int n);  // m3/kg
double getKatzFiroozabadiOmega(int n);

// Riazi-Al-Sahhaf, carbon numbers 1 to 50 (1 to 5 hold only a molar weight); the Tb and
// Tc getters also take 51, which gives 0 like every row outside the table.
double getRiaziAlSahhafMolarWeight(int n);  // g/mol
double getRiaziAlSahhafTb(int n);           // K
double getRiaziAlSahhafSG(int n);
double getRiaziAlSahhafTc(int n);  // K
double getRiaziAlSahhafPc(int n);  // bar
double getRiaziAlSahhafDc(int n);  // critical density, g/cm3
double getRiaziAlSahhafOmega(int n);

// Ahmed's equations a1 + a2 n + a3 n^2 + a4 n^3 + a5 / n, carbon numbers 6 to 45.
double getAhmedMolarWeight(int n);  // g/mol
double getAhmedTb(int n);           // K
double getAhmedSG(int n);
double getAhmedTc(int n);  // K
double getAhmedPc(int n);  // bar
double getAhmedVc(int n);  // m3/kg
double getAhmedOmega(int n);

}  // namespace quorvel
