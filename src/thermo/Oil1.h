#pragma once

#include "numeric/Secant.h"
#include "thermo/AlphaBetaModel.h"
#include "thermo/Oil.h"

#include <array>
#include <memory>

namespace quorvel {

// The 17-component alpha-beta model fluid on two Montel phase models (liquid first).
// Its feed is generated from alpha, beta and the N2, CO2 and H2S fractions; the heavy
// cuts Cn1 and Cn2 get their properties from alpha and are pushed into both phase models.
//
// The volumetric equations turn an inclusion's measurements (homogenisation temperature
// Th, vapour fraction Fv read at T, bubble or dew type) into equations in alpha.
class Oil1 : public Oil {
public:
    Oil1(FluidPhase& liquid, FluidPhase& vapour);
    ~Oil1() override;

    void read_component_data(short i, const char* name) override;
    int methaneIndex() const override;  // C1

    // Stores alpha, beta and the gas fractions (CO2 before N2) and rebuilds the fluid.
    // Parameters that would give a negative or non-finite mole fraction are refused: the
    // fluid stays as it was, failure_code becomes equilibrium_failure::unsound_distribution
    // and the result is false.
    bool setDistributionParameters(double alpha, double beta, double co2, double n2, double h2s);
    // A cold start of the alpha searches: no saturation state of an earlier search is taken
    // as start values.
    void forgetSaturationStates();
    // Rebuilds distribution, model composition, heavy cuts, feed and specific gravities.
    void updateDistribution();
    void regroupe();
    void calcCoupe(short first, short last, double& tc, double& pc, double& vc, double& omega,
                   double& mw, double& shift) const;
    double calculateSpecificGravity(int i, double mw) const;
    void setAlpha(double value) { alpha = value; }
    void setBeta(double value) { beta = value; }
    double getAlpha() const { return alpha; }
    double getBeta() const { return beta; }

    // ---- Volumetric equations ----
    // Molar volume at the saturation point at Th minus the two-phase molar volume at T
    // and Fv, for a trial alpha (m3/mol).
    double equation4(double trialAlpha, void* data);
    // ln of the homogenised molar volume over the two-phase one at T: the residual of the
    // alpha search, with the root of equation4.
    double logVolumeRatio(double trialAlpha, void* data);
    // Stock-tank gas-oil ratio and API gravity minus their targets, for a trial alpha.
    double equation5(double trialAlpha, void* data);
    double equation6(double trialAlpha, void* data);
    // Solves alpha for an inclusion measurement; outcome in failure_code.
    void findAlpha(double Th, double T, double Fv, double eps, Homogenisation type);
    // Vapour fraction fv and pressure p (Pa) at T of an inclusion homogenising at Th
    // (K), ph the saturation pressure at Th. Returns failure_code: none when fv and p hold
    // the result; on a failed final solve both are unavailable (not-a-number), and so is
    // ph when the parameters are refused or the saturation solve fails.
    [[nodiscard]] equilibrium_failure calculateFv(double alpha, double beta, double n2, double co2, double h2s,
                                                  double Th, double T, double& fv, double& ph, double& p);
    // The same from a saturation point at Th just solved (type 13, current state).
    [[nodiscard]] equilibrium_failure followIsochoreFromSaturation(double T, double& fv, double& p);
    // Start value of alpha (beta 0) and of the equilibrium, from the built-in tables.
    // Returns no_initial_estimate when, for the dew type, no table gives a value.
    [[nodiscard]] equilibrium_failure estimateInitial(Homogenisation type, double Th, double Fv, double& alphaOut);
    // Alpha (for a fixed beta) giving a stock-tank API gravity or gas-oil ratio; 0 on failure.
    double calculateAlphaForGivenBetaAPI(double alpha0, double beta, double api);
    double calculateAlphaForGivenBetaGOR(double alpha0, double beta, double gor);

    // The gas fractions of the distribution, mole fractions of the feed.
    [[nodiscard]] double n2Fraction() const { return n2_fraction; }
    [[nodiscard]] double co2Fraction() const { return co2_fraction; }
    [[nodiscard]] double h2sFraction() const { return h2s_fraction; }
    // Carbon numbers of the distribution.
    [[nodiscard]] short distributionSize() const { return distribution_size; }
    // Secant iterations of the last alpha search.
    [[nodiscard]] int alphaSearchIterations() const { return alpha_solver->iterations(); }
    [[nodiscard]] int isochoreWalks() const { return isochore_walks; }

protected:
    double alpha = 0;
    double beta = 0;
    short distribution_size = 0;
    std::array<double, kMaxCarbonNumber> distribution{};
    std::array<double, kModelComponentCount> model_composition{};
    std::unique_ptr<Secant> alpha_solver;
    std::unique_ptr<Secant> target_solver;
    double target_gor = 0;
    double target_api = 0;
    double n2_fraction = 0;
    double co2_fraction = 0;
    double h2s_fraction = 0;
    int isochore_walks = 0;  // walks down an isochore since construction (for profiling)

private:
    double inclusion_vapour_moles = -1;  // of the last two-phase point at T; -1 none
    void pushHeavyCut(int index, const HeavyCut& cut);
    void predictIsochorePoint(double t);
    equilibrium_failure walkIsochoreTo(double T);
    // Stock-tank property (read after the stock-tank flash of trialAlpha) minus target.
    double stockTankResidual(double trialAlpha, const double& property, double target);
    double searchAlphaForTarget(double alpha0, double beta, EquationFunction residual);
    double evaluableStartAlpha(double a0);
    bool solveHomogenisationPoint();
    bool solveInclusionPoint();
    void saveWorkingStates();
    void restoreWorkingStates();
};

} // namespace quorvel
