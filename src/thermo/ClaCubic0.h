#pragma once

#include "thermo/QuadraMix.h"

#include <string>
#include <vector>

namespace quorvel {

// The constants that make a classic cubic one equation of state.
struct ClassicCubicConstants {
    double omega_a;
    double omega_b;
    double critical_compressibility;
    double lambda;
    double m0, m1, m2;  // slope polynomial m0 + m1 omega + m2 omega^2
    double delta1;
    double delta2;
};

// Classic cubic parameters from Tc, Pc and the acentric factor with a Soave alpha
// function, alpha = (1 + m (1 - sqrt(T/Tc)))^2, whose slope m comes from
// m0 + m1 omega + m2 omega^2 or from a value given by the caller. The interaction
// coefficients on a are stored again before every calculation: hydrocarbon pairs get
// generalised coefficients, unless a model has its own table.
class ClaCubic0 : public QuadraMix {
public:
    ClaCubic0() = default;

    // Sizes all three levels below and the component arrays.
    void number_of_components(short n) override;
    void calculate_parameters_of_pure_components() override;

    // Interaction coefficients on a for every pair below the diagonal by the generalised
    // correlation.
    void read_BIP();

    [[nodiscard]] double slopeM0() const { return m0; }
    [[nodiscard]] double slopeM1() const { return m1; }
    [[nodiscard]] double slopeM2() const { return m2; }
    [[nodiscard]] const std::vector<double>& criticalTemperature() const { return critical_temperature; }  // K
    [[nodiscard]] const std::vector<double>& criticalPressure() const { return critical_pressure; }        // Pa
    [[nodiscard]] const std::vector<double>& criticalVolume() const { return critical_volume; }            // m3/mol
    [[nodiscard]] const std::vector<double>& acentricFactor() const { return acentric_factor; }
    [[nodiscard]] const std::vector<double>& slopeInUse() const { return slope; }
    [[nodiscard]] const std::vector<double>& aCritical() const { return a_critical; }
    [[nodiscard]] const std::vector<double>& bPure() const { return b_pure; }
    [[nodiscard]] const std::vector<double>& givenSlope() const { return given_slope; }
    [[nodiscard]] const std::vector<int>& slopeIsGiven() const { return slope_is_given; }

    // Component data, read when the component is added.
    void setCriticalTemperature(short i, double Tc) { critical_temperature[i] = Tc; }  // K
    void setCriticalPressure(short i, double Pc) { critical_pressure[i] = Pc; }        // Pa
    void setCriticalVolume(short i, double Vc) { critical_volume[i] = Vc; }            // m3/mol
    void setAcentricFactor(short i, double omega) { acentric_factor[i] = omega; }
    // A slope m_i that replaces the polynomial in the acentric factor.
    void setGivenSlope(short i, double m)
    {
        given_slope[i] = m;
        slope_is_given[i] = 1;
    }

protected:
    double m0 = 0;
    double m1 = 0;
    double m2 = 0;
    std::vector<double> critical_temperature;  // K
    std::vector<double> critical_pressure;     // Pa
    std::vector<double> critical_volume;       // m3/mol
    std::vector<double> acentric_factor;
    std::vector<double> slope;                 // m_i in use
    std::vector<double> a_critical;            // omega_a R^2 Tc^2 / Pc
    std::vector<double> b_pure;                // omega_b R Tc / Pc
    std::vector<double> given_slope;
    std::vector<int> slope_is_given;           // 1: given_slope replaces the polynomial

    void set_equation_constants(const ClassicCubicConstants& c);
    // The coefficients a calculation starts from: the generalised correlation.
    virtual void apply_interaction_coefficients() { read_BIP(); }
    double polynomial_slope(short i) const;
    // slope from the polynomial, a_critical, b_pure, no volume translation.
    void set_classic_parameters(short i);

private:
    // The generalised coefficients depend only on the names, molar weights and critical data:
    // they are worked out again only when one of those changed since the last calculation.
    struct CorrelationInputs {
        unsigned long names_revision = 0;
        std::vector<double> critical_temperature, critical_pressure, critical_volume, molar_weight;
    };
    bool correlation_inputs_changed() const;
    void calculate_generalised_kaij();
    void calculate_cross_parameters(short i);
    bool pure_parameters_current();
    bool cross_parameters_current() const;
    void remember_cross_parameter_inputs();

    // What the pair parameters of the last calculation were made of: a_ii, da_ii/dT,
    // d2a_ii/dT2 and b_ii of each component, and the interaction coefficients.
    struct CrossParameterInputs {
        std::vector<double> diagonal;
        unsigned long interaction_revision = 0;
    };

    CorrelationInputs correlation_inputs;
    CrossParameterInputs cross_parameter_inputs;
    Matrix generalised_kaij;
    // What the pure parameters of the last calculation were made of, and room to build the
    // next one's without an allocation.
    std::vector<double> pure_parameter_inputs, pure_parameter_inputs_scratch;
    unsigned long revision_of_generalised_kaij = 0;
    // Per-component terms of the pair parameters, kept to spare an allocation per call.
    std::vector<double> log_slope_a_ii, curvature_a_ii, diagonal_a, diagonal_b;
};

}  // namespace quorvel
