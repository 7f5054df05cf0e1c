#pragma once

#include "thermo/FluidPhase.h"

#include <vector>

namespace quorvel {

// Two-parameter cubic equation of state with volume translation:
//   P = R T / (v_e - b) - a / ((v_e - delta1 b)(v_e - delta2 b)),  v = v_e - c,
// with a, b, c the mixture parameters. The pure-component parameters and the mixing rule
// come from the two virtual operations that the derived classes fill in.
class ICubic : public FluidPhase {
public:
    ICubic();

    void number_of_components(short n) override;
    // T, P and composition given: volume, fugacities and their derivatives, density (g/cm3).
    void describe() override;
    // The same without the fugacities; density in kg/m3.
    void calculate_molar_volume() override;
    // T, v and composition given: the pressure and dP/dv.
    void calculate_pressure() override;
    // T, P, composition and the volume state of resolve_cubic_equation_in_Z given.
    void calculate_fugacities() override;

    // Fills a_ij, b_ij, a_over_b_ij, a_ij_dt, a_ij_dt_over_b_ij, a_ij_dt2 and shift.
    virtual void calculate_parameters_of_pure_components();
    // Fills the mixture parameters and their composition derivatives.
    virtual void calculate_mixing_parameters();
    // a/(b T) - R omega_a/omega_b at T: zero where a/(b R T) = omega_a/omega_b.
    virtual double equation(double T, void* data);

    // Molar volume and its derivatives from T and P; picks the root by phase type.
    // Returns false (and sets volume_failure) at a pressure that is not positive or when no
    // root lies above the co-volume.
    bool resolve_cubic_equation_in_Z();

    [[nodiscard]] double eosDelta1() const { return delta1; }
    [[nodiscard]] double eosDelta2() const { return delta2; }
    [[nodiscard]] double lambdaConstant() const { return lambda; }
    [[nodiscard]] double criticalCompressibility() const { return critical_compressibility; }
    [[nodiscard]] double omegaA() const { return omega_a; }
    [[nodiscard]] double omegaB() const { return omega_b; }
    [[nodiscard]] double pseudoCriticalVolume() const { return pseudo_critical_volume; }  // m3/mol
    [[nodiscard]] double aMix() const { return a_mix; }  // Pa m6/mol2
    [[nodiscard]] double bMix() const { return b_mix; }  // m3/mol
    [[nodiscard]] double cMix() const { return c_mix; }  // m3/mol
    [[nodiscard]] double cMixDt() const { return c_mix_dt; }
    [[nodiscard]] double aMixDt() const { return a_mix_dt; }
    // d2a/dT2 of the mixture at the last state, worked out when asked: no flash needs it.
    [[nodiscard]] double aMixDt2() const;
    [[nodiscard]] const std::vector<double>& aDn() const { return a_dn; }
    [[nodiscard]] const std::vector<double>& bDn() const { return b_dn; }
    [[nodiscard]] const Matrix& aOverBDn2() const { return a_over_b_dn2; }
    [[nodiscard]] const Matrix& aIj() const { return a_ij; }
    [[nodiscard]] const Matrix& bIj() const { return b_ij; }
    [[nodiscard]] double eosVolume() const { return eos_volume; }  // v_e, m3/mol
    [[nodiscard]] double eosDvDt() const { return eos_dv_dt; }
    [[nodiscard]] const std::vector<double>& shiftConstant() const { return shift_constant; }  // m3/mol
    [[nodiscard]] const std::vector<double>& shiftSlope() const { return shift_slope; }        // m3/(mol K)
    [[nodiscard]] const std::vector<double>& lnPhi() const { return ln_phi; }

    void setShiftConstant(short i, double c0) { shift_constant[i] = c0; }  // m3/mol
    void setShiftSlope(short i, double c1) { shift_slope[i] = c1; }        // m3/(mol K)
    // False: the mixing parameters and fugacities leave out their composition derivatives
    // (fugacity_dn and the terms that only feed it), for callers that need ln phi alone.
    void setCompositionDerivatives(bool with) { composition_derivatives = with; }

protected:
    double delta1 = 0;
    double delta2 = 0;
    double lambda = 0;                    // constant of the excess-function form
    double critical_compressibility = 0;
    double omega_a = 0;
    double omega_b = 0;
    double pseudo_critical_volume = 0;    // critical_compressibility b / omega_b, m3/mol
    double a_mix = 0;                     // Pa m6/mol2
    double b_mix = 0;                     // m3/mol
    double a_over_b = 0;
    double c_mix = 0;                     // m3/mol
    double c_mix_dt = 0;
    double a_mix_dt = 0;
    std::vector<double> a_dn;             // 2 sum_j x_j a_ij
    std::vector<double> b_dn;             // 2 sum_j x_j b_ij
    std::vector<double> a_dt_dn;          // 2 sum_j x_j da_ij/dT
    std::vector<double> a_dt_over_b_dn;
    Matrix a_over_b_dn2;
    double a_dt_over_b = 0;
    std::vector<double> a_over_b_dn;
    Matrix a_ij;
    Matrix b_ij;
    Matrix a_over_b_ij;
    Matrix a_ij_dt;
    Matrix a_ij_dt_over_b_ij;
    Matrix a_ij_dt2;
    double eos_volume = 0;                // v_e, m3/mol
    double eos_dv_dt = 0;
    double eos_dv_dp = 0;
    std::vector<double> eos_partial_molar_volume;
    std::vector<double> shift_constant;   // c0_i, m3/mol
    std::vector<double> shift_slope;      // c1_i, m3/(mol K)
    std::vector<double> shift;            // c_i(T) = c0_i + c1_i T
    double excess_gibbs = 0;              // gE/RT implied by the mixing rule
    double excess_gibbs_dt = 0;
    std::vector<double> excess_term;
    std::vector<double> excess_term_dt;
    std::vector<double> ln_gamma;
    std::vector<double> ln_gamma_dt;
    std::vector<double> ln_phi;
    bool composition_derivatives = true;  // see setCompositionDerivatives

    // dP/dv, dP/da and dP/db of the untranslated equation at v_e.
    struct PressureSlopes {
        double dp_dv;
        double dp_da;
        double dp_db;
    };
    PressureSlopes pressure_slopes(double v_e) const;
    void report_volume_failure();

private:
    // The body of calculate_fugacities, which as a virtual function cannot have
    // processor-specific forms.
    void fugacities_with_derivatives();
    std::vector<double> mean_term_dn;  // sum_k x_k d(excess_term_k)/dn_j, scratch of calculate_fugacities
};

}  // namespace quorvel
