#pragma once

#include "thermo/ICubic.h"

#include <vector>

namespace quorvel {

class ClaCubic0;

// Tangent-plane stability of a feed (Michelsen): a feed z at T and P is stable when no
// trial composition w has a negative tangent-plane distance
//   tm(W) = 1 + sum_i W_i (ln W_i + ln phi_i(w) - ln z_i - ln phi_i(z) - 1),  w = W / sum W.
// Two trials start from Wilson K-values, a vapour-like one (W = K z) and a liquid-like one
// (W = z / K). Each is iterated by successive substitution, accelerated by the dominant
// eigenvalue every few steps, and finished by Newton steps on alpha = 2 sqrt(W) once
// close; every loop is bounded. A trial of negative tm proves instability: it stops there,
// and the liquid-like trial is not run.
//
// Each composition takes the root of lower Gibbs energy: the liquid model gives the
// smallest root, the vapour model the largest. Both models are left with the phase types
// they had.
class PhaseStability {
public:
    PhaseStability(ICubic& liquidModel, ICubic& vapourModel);

    struct Trial {
        std::vector<double> composition;  // w, normalised
        std::vector<double> amounts;      // W: at a stationary point W_i = z_i phi_i(z) / phi_i(w)
        double distance = 0;              // tm at the last iterate
        bool trivial = true;              // ended on the feed itself
        bool vapour_like = true;          // started from W = K z
    };

    // Runs both trials for the feed z at T (K) and P (Pa) from the K-values K (one per
    // component; components with z_i = 0 are left out). Returns true when the feed is stable.
    bool test(const std::vector<double>& z, double T, double P, const std::vector<double>& K);

    // The test stops a trial as soon as its tm is negative; this carries the non-trivial
    // trials on to their stationary points, the better start of a flash.
    void converge_trials();

    // Start values of a two-phase split from the non-trivial trials: K_i = Y_i / X_i, with Y the
    // amounts W of the vapour-like trial (or the feed) and X those of the liquid-like trial (or
    // the feed): the fugacity-coefficient ratio of the two trial phases.
    std::vector<double> two_phase_k_values() const;

    // A two-phase split of the feed (call after test(): it works on that feed, temperature
    // and pressure).
    struct Split {
        std::vector<double> K;
        std::vector<double> liquid;  // x
        std::vector<double> vapour;  // y
        double vapour_fraction = 0;
        int iterations = 0;
        bool found = false;          // a split of lower Gibbs energy than the feed's
    };
    // The split of lowest Gibbs energy along the K-values K, a start for newton_split.
    Split lowest_gibbs_split(const std::vector<double>& K);
    // The split carried on from start by Newton steps on the Gibbs energy until every
    // |ln f_i(vapour) - ln f_i(liquid)| is below tolerance; found is false when the steps do
    // not get there within the given number or end on a Gibbs energy not below the feed's.
    Split newton_split(const Split& start, int iterations, double tolerance);

    // Wilson's K_i = Pc_i / P exp(5.373 (1 + omega_i)(1 - Tc_i / T)), P in Pa.
    static std::vector<double> wilson_k_values(const ClaCubic0& model, double T, double P);

    // A stable verdict with a trial off the feed whose tm is negative but above the threshold
    // of proof: a state next to the critical point, where the trials crawl.
    bool marginal() const;

    // The verdict and the trials of the last test (carried on by converge_trials).
    [[nodiscard]] bool isStable() const { return stable; }
    [[nodiscard]] const Trial& vapourTrial() const { return vapour_trial; }
    [[nodiscard]] const Trial& liquidTrial() const { return liquid_trial; }
    // The trial of lowest tangent-plane distance.
    [[nodiscard]] const Trial& lowestTrial() const
    {
        return vapour_trial.distance <= liquid_trial.distance ? vapour_trial : liquid_trial;
    }

private:
    struct Evaluation {
        std::vector<double> ln_phi;
        Matrix ln_phi_dn;  // d ln phi_i / dW_j for sum W = 1, filled when asked
    };

    void evaluate(const std::vector<double>& w, bool withDerivatives, Evaluation& out);
    struct SplitState {
        std::vector<double> x, y;
        double V = 0, L = 0;
        double gibbs = 0;
        std::vector<double> gradient;  // over the present components
        double largest_gradient = 0;
    };
    bool evaluate_split(const std::vector<double>& v, bool withDerivatives, SplitState& state);
    void ln_phi_mole_number_derivatives(const ICubic& model, const std::vector<double>& w, Matrix& out) const;
    Trial runTrial(std::vector<double> W, bool vapourLike, bool stopAtNegativeDistance);
    std::vector<double> normalised(const std::vector<double>& W) const;
    double distance(const std::vector<double>& W, const std::vector<double>& lnPhi) const;
    bool newtonStep(std::vector<double>& W, double& tm);
    void setState(ICubic& model, const std::vector<double>& w) const;

    ICubic& liquid_model;
    ICubic& vapour_model;
    short component_count = 0;
    std::vector<int> present;  // indices of the components of the feed
    std::vector<double> feed;
    std::vector<double> d;     // ln z_i + ln phi_i(z)
    double temperature = 0;    // K
    double pressure = 0;       // Pa
    Evaluation evaluation;
    bool stable = true;
    Trial vapour_trial;
    Trial liquid_trial;
};

}  // namespace quorvel
