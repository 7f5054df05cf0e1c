#include "thermo/PhaseStability.h"

#include "numeric/LinearSystem.h"
#include "thermo/ClaCubic0.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace quorvel {

namespace {

constexpr int kMaximumIterations = 150;        // substitutions and Newton steps of one trial
constexpr int kAccelerationPeriod = 5;         // substitutions between eigenvalue extrapolations
constexpr double kNewtonSwitch = 1e-2;         // largest residual at which Newton takes over
constexpr double kConverged = 1e-10;           // largest residual of a stationary point
constexpr double kTrivialDistance = 1e-4;      // sum (ln W_i / z_i)^2 of a trial on the feed
constexpr double kUnstableDistance = -1e-9;    // tm below this proves instability
constexpr int kLineSearchHalvings = 8;
constexpr double kSmallestK = 1e-150;

bool proves_instability(const PhaseStability::Trial& trial)
{
    return !trial.trivial && trial.distance < kUnstableDistance;
}

double largest_magnitude(const std::vector<double>& v)
{
    double m = 0;
    for (double e : v)
        m = std::max(m, std::fabs(e));
    return m;
}

}  // namespace

PhaseStability::PhaseStability(ICubic& liquidModel, ICubic& vapourModel)
    : liquid_model(liquidModel), vapour_model(vapourModel)
{
}

std::vector<double> PhaseStability::wilson_k_values(const ClaCubic0& model, double T, double P)
{
    std::vector<double> K(model.component_count);
    for (short i = 0; i < model.component_count; ++i)
        K[i] = model.critical_pressure[i] / P
               * std::exp(5.373 * (1 + model.acentric_factor[i]) * (1 - model.critical_temperature[i] / T));
    return K;
}

void PhaseStability::setState(ICubic& model, const std::vector<double>& w) const
{
    model.temperature(temperature);
    model.pressure(pressure * 1e-5);
    for (short i = 0; i < component_count; ++i)
        model.composition_of_component(i, w[i]);
}

// ln phi of w (normalised) on the root of lower Gibbs energy, with d ln phi_i / dW_j at
// sum W = 1 when asked. ln phi is not-a-number when neither model has a root.
void PhaseStability::evaluate(const std::vector<double>& w, bool withDerivatives, Evaluation& out)
{
    // Volumes first: where the cubic has one root both models find it, and the fugacities
    // of one of them suffice.
    for (ICubic* model : {&liquid_model, &vapour_model}) {
        // A one-root state reassigns a model's phase type: give each its root back first.
        model->set_the_phase_as(model == &liquid_model ? phase_type_liquid : phase_type_vapour);
        setState(*model, w);
        model->calculate_molar_volume();
    }
    const bool one_root = liquid_model.volume_failure == 0 && vapour_model.volume_failure == 0
                          && liquid_model.eos_volume == vapour_model.eos_volume;
    ICubic* chosen = nullptr;
    double lowest_gibbs = std::numeric_limits<double>::infinity();
    for (ICubic* model : {&liquid_model, &vapour_model}) {
        if (model->volume_failure != 0 || (one_root && model == &vapour_model))
            continue;
        model->calculate_fugacities();
        double gibbs = 0;
        for (int i : present)
            gibbs += w[i] * (std::log(w[i]) + model->ln_phi[i]);
        if (gibbs < lowest_gibbs) {
            lowest_gibbs = gibbs;
            chosen = model;
        }
    }
    out.ln_phi.assign(component_count, std::numeric_limits<double>::quiet_NaN());
    if (!chosen)
        return;
    out.ln_phi = chosen->ln_phi;
    if (!withDerivatives)
        return;

    // d ln phi_i / dx_k of the model's function, then the mole-number derivative
    // d ln phi_i / dW_j = G_ij - sum_k w_k G_ik (zero when weighted by W, as it must be).
    const int m = int(present.size());
    out.ln_phi_dn = Matrix(m, m);
    for (int a = 0; a < m; ++a) {
        const int i = present[a];
        const double f = chosen->fugacity[i];
        double weighted = 0;
        for (int b = 0; b < m; ++b) {
            const int k = present[b];
            const double G = chosen->fugacity_dn[i][k] / f - (i == k ? 1 / w[i] : 0);
            out.ln_phi_dn[a][b] = G;
            weighted += w[k] * G;
        }
        for (int b = 0; b < m; ++b)
            out.ln_phi_dn[a][b] -= weighted;
    }
}

std::vector<double> PhaseStability::normalised(const std::vector<double>& W) const
{
    double sum = 0;
    for (int i : present)
        sum += W[i];
    std::vector<double> w(component_count, 0.0);
    for (int i : present)
        w[i] = W[i] / sum;
    return w;
}

double PhaseStability::distance(const std::vector<double>& W, const std::vector<double>& lnPhi) const
{
    double tm = 1;
    for (int i : present)
        tm += W[i] * (std::log(W[i]) + lnPhi[i] - d[i] - 1);
    return tm;
}

bool PhaseStability::test(const std::vector<double>& z, double T, double P, const std::vector<double>& K)
{
    component_count = short(z.size());
    temperature = T;
    pressure = P;
    present.clear();
    for (short i = 0; i < component_count; ++i)
        if (z[i] > 0)
            present.push_back(i);
    double total = 0;
    for (int i : present)
        total += z[i];
    feed.assign(component_count, 0.0);
    for (int i : present)
        feed[i] = z[i] / total;

    const short liquid_type = liquid_model.phase_type;
    const short vapour_type = vapour_model.phase_type;

    evaluate(feed, false, evaluation);
    d.assign(component_count, 0.0);
    for (int i : present)
        d[i] = std::log(feed[i]) + evaluation.ln_phi[i];

    std::vector<double> W_vapour(component_count, 0.0);
    std::vector<double> W_liquid(component_count, 0.0);
    for (int i : present) {
        // Far below a component's critical point its Wilson K can leave the doubles.
        const double k = std::clamp(K[i], kSmallestK, 1 / kSmallestK);
        W_vapour[i] = feed[i] * k;
        W_liquid[i] = feed[i] / k;
    }
    vapour_trial = runTrial(W_vapour, true, true);
    if (proves_instability(vapour_trial)) {
        liquid_trial = Trial{feed, feed, 0, true, false};
    } else {
        liquid_trial = runTrial(W_liquid, false, true);
    }

    liquid_model.set_the_phase_as(liquid_type);
    vapour_model.set_the_phase_as(vapour_type);

    lowest = vapour_trial.distance <= liquid_trial.distance ? vapour_trial : liquid_trial;
    stable = !proves_instability(vapour_trial) && !proves_instability(liquid_trial);
    return stable;
}

PhaseStability::Trial PhaseStability::runTrial(std::vector<double> W, bool vapourLike, bool stopAtNegativeDistance)
{
    Trial trial;
    trial.vapour_like = vapourLike;
    const auto on_feed = [&](const std::vector<double>& v) {
        double sum = 0;
        for (int i : present)
            sum += std::pow(std::log(v[i] / feed[i]), 2);
        return sum < kTrivialDistance;
    };

    std::vector<double> residual(component_count, 0.0);
    std::vector<double> previous_step(component_count, 0.0);
    evaluate(normalised(W), false, evaluation);
    double tm = distance(W, evaluation.ln_phi);
    int substitutions = 0;
    for (int iteration = 0; iteration < kMaximumIterations && std::isfinite(tm); ++iteration) {
        for (int i : present)
            residual[i] = std::log(W[i]) + evaluation.ln_phi[i] - d[i];
        const double error = largest_magnitude(residual);
        // Any W of negative tm proves instability: no need to reach the stationary point.
        if (error < kConverged || on_feed(W) || (stopAtNegativeDistance && tm < kUnstableDistance))
            break;
        if (error < kNewtonSwitch && newtonStep(W, tm))
            continue;

        // Successive substitution ln W_i = d_i - ln phi_i(w), extrapolated along the
        // dominant eigenvector every few steps when that lowers tm.
        std::vector<double> next = W;
        for (int i : present)
            next[i] = W[i] * std::exp(-residual[i]);
        if (++substitutions % kAccelerationPeriod == 0) {
            double along = 0, back = 0;
            for (int i : present) {
                along += residual[i] * residual[i];
                back += previous_step[i] * residual[i];
            }
            const double lambda = back != 0 ? along / back : 0;
            if (lambda > 0 && lambda < 1) {
                std::vector<double> extrapolated = next;
                for (int i : present)
                    extrapolated[i] = next[i] * std::exp(-residual[i] * lambda / (1 - lambda));
                Evaluation trialEvaluation;
                evaluate(normalised(extrapolated), false, trialEvaluation);
                const double extrapolated_tm = distance(extrapolated, trialEvaluation.ln_phi);
                evaluate(normalised(next), false, evaluation);
                if (extrapolated_tm < distance(next, evaluation.ln_phi)) {
                    next = extrapolated;
                    evaluation = trialEvaluation;
                }
                previous_step = residual;
                W = next;
                tm = distance(W, evaluation.ln_phi);
                continue;
            }
        }
        previous_step = residual;
        W = next;
        evaluate(normalised(W), false, evaluation);
        tm = distance(W, evaluation.ln_phi);
    }
    trial.composition = normalised(W);
    trial.amounts = W;
    trial.distance = std::isfinite(tm) ? tm : std::numeric_limits<double>::infinity();
    trial.trivial = !std::isfinite(tm) || on_feed(W);
    return trial;
}

// One Newton step on alpha_i = 2 sqrt(W_i) for the gradient g_i = sqrt(W_i) r_i of tm,
// halved until tm does not rise. False when the step cannot be taken.
bool PhaseStability::newtonStep(std::vector<double>& W, double& tm)
{
    const std::vector<double> w = normalised(W);
    double sum = 0;
    for (int i : present)
        sum += W[i];
    evaluate(w, true, evaluation);
    const int m = int(present.size());
    Matrix H(m, m);
    std::vector<double> g(m), step(m);
    for (int a = 0; a < m; ++a) {
        const int i = present[a];
        const double r = std::log(W[i]) + evaluation.ln_phi[i] - d[i];
        g[a] = -std::sqrt(W[i]) * r;
        for (int b = 0; b < m; ++b)
            H[a][b] = std::sqrt(W[i] * W[present[b]]) * evaluation.ln_phi_dn[a][b] / sum;
        H[a][a] += 1 + r / 2;
    }
    int err = 0;
    solve_the_linear_system(H, g, step, m, err);
    if (err != 0)
        return false;

    std::vector<double> next = W;
    Evaluation trialEvaluation;
    double factor = 1;
    for (int halving = 0; halving <= kLineSearchHalvings; ++halving, factor /= 2) {
        for (int a = 0; a < m; ++a) {
            const int i = present[a];
            const double alpha = 2 * std::sqrt(W[i]) + factor * step[a];
            next[i] = std::max(alpha * alpha / 4, std::numeric_limits<double>::min());
        }
        evaluate(normalised(next), false, trialEvaluation);
        const double next_tm = distance(next, trialEvaluation.ln_phi);
        if (std::isfinite(next_tm) && next_tm <= tm + 1e-12 * std::fabs(tm)) {
            W = next;
            tm = next_tm;
            evaluation = trialEvaluation;
            return true;
        }
    }
    return false;
}

void PhaseStability::converge_trials()
{
    const short liquid_type = liquid_model.phase_type;
    const short vapour_type = vapour_model.phase_type;
    for (Trial* trial : {&vapour_trial, &liquid_trial})
        if (!trial->trivial)
            *trial = runTrial(trial->amounts, trial->vapour_like, false);
    liquid_model.set_the_phase_as(liquid_type);
    vapour_model.set_the_phase_as(vapour_type);
    lowest = vapour_trial.distance <= liquid_trial.distance ? vapour_trial : liquid_trial;
}

std::vector<double> PhaseStability::two_phase_k_values() const
{
    const std::vector<double>& y = vapour_trial.trivial ? feed : vapour_trial.amounts;
    const std::vector<double>& x = liquid_trial.trivial ? feed : liquid_trial.amounts;
    std::vector<double> K(component_count, 1.0);
    for (int i : present)
        K[i] = y[i] / x[i];
    return K;
}

}  // namespace quorvel
