#pragma once

#include "numeric/Equation.h"
#include "numeric/Matrix.h"

#include <string>
#include <vector>

namespace quorvel {

// Gas constant of the whole engine, J/(mol K).
inline constexpr double gas_constant = 8.31451198983133;

// Phase types: which root of the equation of state a phase model takes.
enum class phase_kind : short { unset = 0, vapour = 1, liquid = 2 };

[[nodiscard]] constexpr int code_number(phase_kind kind) { return static_cast<int>(kind); }

// A liquid or vapour of an n-component mixture: composition, amounts, component names and
// molar weights, the thermodynamic state, and the fugacities with their derivatives.
// Temperatures are in K, pressures are held in Pa (pressure() takes bar), molar
// volumes in m3/mol and molar weights in g/mol. Results stay until the next calculation
// overwrites them.
class Phase : public Equation {
public:
    Phase() = default;
    virtual ~Phase() = default;

    virtual void set_the_phase_as(phase_kind type);
    // Sizes every per-component array; called once, before any component is added.
    virtual void number_of_components(short n);
    // Names component i, reads its data and, for the last index, the data that need all
    // components. Components are added in increasing order.
    virtual void add_component(short i, const std::string& name);
    virtual void read_component_data(short i, const std::string& name);
    virtual void read_remaining_component_data();
    virtual void temperature(double T);  // K
    virtual void pressure(double P);     // bar
    virtual void volume(double v);       // m3/mol
    virtual void composition_of_component(short i, double x);
    virtual void number_of_moles_of_component(short i, double m);
    virtual void total_number_of_moles(double N);
    virtual void describe();
    virtual void calculate_molar_volume();

    double calculate_molar_weight() const;
    void composition(const double* x);
    void composition(const std::vector<double>& x) { composition(x.data()); }

    phase_kind phase_type = phase_kind::unset;

    [[nodiscard]] short componentCount() const { return component_count; }
    [[nodiscard]] double totalMoles() const { return total_moles; }  // mol
    [[nodiscard]] const std::vector<double>& moleFraction() const { return mole_fraction; }
    [[nodiscard]] const std::vector<double>& componentMoles() const { return moles; }  // mol
    [[nodiscard]] const std::vector<std::string>& componentName() const { return component_name; }
    [[nodiscard]] const std::vector<double>& molarWeight() const { return molar_weight; }  // g/mol
    [[nodiscard]] double pressurePa() const { return pressure_pa; }
    [[nodiscard]] double temperatureK() const { return temperature_k; }
    [[nodiscard]] double molarVolume() const { return molar_volume; }  // m3/mol
    // g/cm3 after describe, kg/m3 after calculate_molar_volume.
    [[nodiscard]] double phaseDensity() const { return density; }
    [[nodiscard]] double mixtureMolarWeight() const { return mixture_molar_weight; }  // g/mol
    [[nodiscard]] const std::vector<double>& fugacities() const { return fugacity; }  // Pa
    [[nodiscard]] const std::vector<double>& fugacityDt() const { return fugacity_dt; }
    [[nodiscard]] const std::vector<double>& fugacityDp() const { return fugacity_dp; }
    [[nodiscard]] const Matrix& fugacityDn() const { return fugacity_dn; }

    void setPressurePa(double P) { pressure_pa = P; }  // Pa
    void setMolarWeight(short i, double M) { molar_weight[i] = M; }  // g/mol

protected:
    short component_count = 0;
    double total_moles = 0;               // mol
    std::vector<double> mole_fraction;
    std::vector<double> moles;            // mol
    std::vector<std::string> component_name;  // set by number_of_components and add_component
    std::vector<double> molar_weight;     // g/mol
    double pressure_pa = 0;               // Pa
    double temperature_k = 0;             // K
    double molar_volume = 0;              // m3/mol
    double density = 0;                   // g/cm3 after describe, kg/m3 after calculate_molar_volume
    double mixture_molar_weight = 0;      // g/mol
    std::vector<double> fugacity;         // Pa
    std::vector<double> fugacity_dt;      // Pa/K, at constant P and composition
    std::vector<double> fugacity_dp;      // at constant T and composition
    // fugacity_dn[i][j]: df_i/dn_j at constant T and P for one mole of phase, that is the
    // derivative with respect to mole_fraction[j] with the other fractions held.
    Matrix fugacity_dn;                   // Pa/mol

    // Counts the changes of the component names: what was worked out of them is current
    // while the count is the one it was worked out at.
    unsigned long names_revision() const { return names_changes; }

private:
    unsigned long names_changes = 0;
};

}  // namespace quorvel
