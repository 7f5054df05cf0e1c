#pragma once
// Correlations that estimate a heavy cut's missing properties from the molar weight
// ("mw"), specific gravity ("SG") and normal boiling point ("Tb") its record holds.
// Each writes its outputs and "corr" only when the molar weight and gravity it reads are
// positive and every result is valid; otherwise the record is left unchanged and the
// status says so.

#include "characterisation/ComponentRecord.h"

#include "numeric/Equation.h"

namespace quorvel {

// Kesler-Lee molar weight at a boiling point, minus the target molar weight.
class LeeKeslerMw : public Equation {
public:
    double SG = 0;
    double mw = 0;  // target, g/mol

    double equationForCalculateTb(double T, void* data);  // T in K
};

// Target boiling point minus Twu's normal-paraffin boiling point of molar weight M.
// A negative M cannot be evaluated (error flag set).
class TwuMw : public Equation {
public:
    double Tb = 0;  // target, degrees R

    double equationForCalculateMw(double M, void* data);
};

// Riazi-Daubert: Tb and Tc in K, Pc in bar, Vc in m3/kg.
double getRiaziDaubertTb(double mw, double SG);
double getRiaziDaubertTc(double mw, double SG);
double getRiaziDaubertPc(double mw, double SG);
double getRiaziDaubertVc(double mw, double SG);

// Edmister's acentric factor; Tc and Tb in degrees C, Pc in bar.
double getEdmisterOmega(double Tc, double Pc, double Tb);

// The boiling point (K) whose Kesler-Lee molar weight is mw, by the secant method;
// not a number when the solve fails.
double calculateLeeKeslerTb(double mw, double SG);

CorrelationStatus applyRiaziDaubertCorrelation(Dictionary component);  // "corr" 5
CorrelationStatus applyEdmisterCorrelation(Dictionary component);      // "corr" 6
CorrelationStatus applyLeeKeslerCorrelation(Dictionary component);     // "corr" 7
CorrelationStatus applyWinnCorrelation(Dictionary component);          // "corr" 8
CorrelationStatus applyCavettCorrelation(Dictionary component);        // "corr" 9
CorrelationStatus applyPedersenCorrelation(Dictionary component);      // "corr" 10
CorrelationStatus applyTwuCorrelation(Dictionary component);           // "corr" 12, also "mw"
CorrelationStatus applyStamatakiCorrelation(Dictionary component);     // "corr" 14, also "slope"
CorrelationStatus applyPedersenTbCorrelation(Dictionary component);    // "corr" 15
CorrelationStatus applyWhitsonTbCorrelation(Dictionary component);     // "corr" 16

}  // namespace quorvel
