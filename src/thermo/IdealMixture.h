#pragma once

#include "numeric/Muller.h"
#include "thermo/VLE.h"

#include <memory>
#include <vector>

namespace quorvel {

class PsatCorr;

// Two-phase split of the feed as an ideal mixture (Raoult's law, K_i = Psat_i(T) / P),
// solved for one variable with a Muller root search. Its results are start values of the
// rigorous solve, not results the system shows.
class IdealMixture : public VLE {
public:
    IdealMixture();
    IdealMixture(FluidPhase& a, FluidPhase& b);
    ~IdealMixture() override;

    void reset_to_zero() override;
    void number_of_components(short n) override;
    void calculate_with_fixed_P_and_T() override;
    void calculate_with_fixed_T_and_Fv() override;
    void calculate_with_fixed_P_and_Fv() override;
    void calculateVLE() override;

    void setSatProp(short i, double Tc, double Pc, double Tb);
    double Psat(short i, double T) const;  // Pa at T in K; 0 without a correlation
    double Tsat(short i, double P) const;  // K at P in Pa; 0 without a correlation

    // The one-variable functions of the three solves: sum of (x_i - y_i) at a vapour
    // fraction f (K fixed), at a pressure P and at a temperature T.
    double equation1(double f, void* data);
    double equation2(double P, void* data);
    double equation3(double T, void* data);

    // One vapour-pressure correlation per component, owned; null where there is none.
    [[nodiscard]] const std::vector<std::unique_ptr<PsatCorr>>& psatCorrelation() const { return psat_correlation; }
    void setPsatCorrelation(short i, std::unique_ptr<PsatCorr> correlation);
    [[nodiscard]] const std::vector<double>& boilingTemperature() const { return boiling_temperature; }    // K
    [[nodiscard]] const std::vector<double>& criticalTemperature() const { return critical_temperature; }  // K
    [[nodiscard]] const std::vector<double>& criticalPressure() const { return critical_pressure; }        // Pa

protected:
    std::vector<std::unique_ptr<PsatCorr>> psat_correlation;  // owned, one per component
    std::vector<double> k_value;
    Muller solver;
    std::vector<double> boiling_temperature;   // K
    std::vector<double> critical_temperature;  // K
    std::vector<double> critical_pressure;     // Pa

private:
    // Every component has a vapour-pressure correlation: without one there is no estimate.
    bool has_all_correlations() const;
    // x and y of the split at vapour fraction f with the current k_value; returns sum(x - y).
    double split_at(double f);
    // Root of equation between the saturation values low and high of the components,
    // the bracket widened up to 10 times.
    double search_between(EquationFunction equation, double epsilon, double low, double high);
};

}  // namespace quorvel
