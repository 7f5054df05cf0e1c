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
    std::vector<double> K(model.componentCount());
    for (short i = 0; i < model.componentCount(); ++i)
        K[i] = model.criticalPressure()[i] / P
               * std::exp(5.373 * (1 + model.acentricFactor()[i]) * (1 - model.criticalTemperature()[i] / T));
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
// sum W = 1 when asked. ln phi is not-a-number when the cubic has no root. One model gives
// both roots: the parameters of w are worked out once, and the second root costs only its
// volume and fugacities. The model is left a liquid.
void PhaseStability::evaluate(const std::vector<double>& w, bool withDerivatives, Evaluation& out)
{
    ICubic& model = liquid_model;
    const auto gibbs = [&] {
        double g = 0;
        for (int i : present)
            g += w[i] * (std::log(w[i]) + model.lnPhi()[i]);
        return g;
    };
    out.ln_phi.assign(component_count, std::numeric_limits<double>::quiet_NaN());
    model.set_the_phase_as(phase_kind::liquid);
    model.setCompositionDerivatives(withDerivatives);
    setState(model, w);
    model.calculate_molar_volume();
    if (model.volumeFailure()) {
        model.setCompositionDerivatives(true);
        return;
    }
    const double liquid_volume = model.eosVolume();
    model.calculate_fugacities();
    const double liquid_gibbs = gibbs();
    out.ln_phi = model.lnPhi();

    model.set_the_phase_as(phase_kind::vapour);
    model.resolve_cubic_equation_in_Z();
    bool vapour_chosen = false;
    if (!model.volumeFailure() && model.eosVolume() != liquid_volume) {
        model.calculate_fugacities();
        if (gibbs() < liquid_gibbs) {
            out.ln_phi = model.lnPhi();
            vapour_chosen = true;
        }
    }
    if (!vapour_chosen) {
        model.set_the_phase_as(phase_kind::liquid);
        if (withDerivatives && model.eosVolume() != liquid_volume) {
            model.resolve_cubic_equation_in_Z();
            model.calculate_fugacities();
        }
    }
    if (withDerivatives)
        ln_phi_mole_number_derivatives(model, w, out.ln_phi_dn);
    model.set_the_phase_as(phase_kind::liquid);
    model.setCompositionDerivatives(true);
}

// d ln phi_i / dx_k of the model's function, then the mole-number derivative
// d ln phi_i / dW_j = G_ij - sum_k w_k G_ik (zero when weighted by W, as it must be), over
// the present components.
void PhaseStability::ln_phi_mole_number_derivatives(const ICubic& model, const std::vector<double>& w,
                                                    Matrix& out) const
{
    const int m = int(present.size());
    if (out.rows() != m)
        out = Matrix(m, m);
    for (int a = 0; a < m; ++a) {
        const int i = present[a];
        const double f = model.fugacities()[i];
        const double* row = model.fugacityDn()[i];
        double* out_row = out[a];
        double weighted = 0;
        for (int b = 0; b < m; ++b) {
            const int k = present[b];
            const double G = row[k] / f - (i == k ? 1 / w[i] : 0);
            out_row[b] = G;
            weighted += w[k] * G;
        }
        for (int b = 0; b < m; ++b)
            out_row[b] -= weighted;
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

    const phase_kind liquid_type = liquid_model.phase_type;
    const phase_kind vapour_type = vapour_model.phase_type;

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

    stable = !proves_instability(vapour_trial) && !proves_instability(liquid_trial);
    return stable;
}

bool PhaseStability::marginal() const
{
    const auto marginal_trial = [](const Trial& t) { return !t.trivial && t.distance < 0; };
    return stable && (marginal_trial(vapour_trial) || marginal_trial(liquid_trial));
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
    if (solve_the_linear_system(H, g, step, m) != LinearSystemOutcome::solved)
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
    const phase_kind liquid_type = liquid_model.phase_type;
    const phase_kind vapour_type = vapour_model.phase_type;
    for (Trial* trial : {&vapour_trial, &liquid_trial})
        if (!trial->trivial)
            *trial = runTrial(trial->amounts, trial->vapour_like, false);
    liquid_model.set_the_phase_as(liquid_type);
    vapour_model.set_the_phase_as(vapour_type);
}

// Splits along the K-values raised to a power s (a stretched or shrunk ln K),
// v_i = beta K_i^s z_i / (1 + beta (K_i^s - 1)), over vapour fractions beta from 0.001 to 0.999:
// the one of lowest Gibbs energy. Near a critical point the Gibbs energy is so flat next to
// the feed that Newton steps from a split of a tiny beta (the Rachford-Rice root of the trial
// K-values there) stay where they are, and the trial's ln K is only the direction of the split.
PhaseStability::Split PhaseStability::lowest_gibbs_split(const std::vector<double>& K)
{
    constexpr double kFractions[] = {0.001, 0.003, 0.01, 0.03, 0.1, 0.2, 0.3, 0.4, 0.5,
                                     0.6,   0.7,   0.8,  0.9,  0.97, 0.99, 0.997, 0.999};
    constexpr double kPowers[] = {0.5, 1, 2, 4};
    Split best;
    double lowest = std::numeric_limits<double>::infinity();
    std::vector<double> v(component_count, 0.0), scaled(component_count, 1.0);
    SplitState state;
    for (double power : kPowers) {
        for (int i : present)
            scaled[i] = std::pow(K[i], power);
        for (double beta : kFractions) {
            for (int i : present)
                v[i] = beta * scaled[i] * feed[i] / (1 + beta * (scaled[i] - 1));
            if (!evaluate_split(v, false, state) || !(state.gibbs < lowest))
                continue;
            lowest = state.gibbs;
            best = Split{scaled, state.x, state.y, state.V, 0, true};
        }
    }
    return best;
}

// Gibbs energy of the split with vapour mole numbers v (liquid l = z - v) over RT, less the
// constant sum z_i ln P: sum_i v_i ln(y_i phi_i(y)) + l_i ln(x_i phi_i(x)), with its gradient
// g_i = ln f_i(vapour) - ln f_i(liquid). The models are left at x and y. False when a phase
// has no volume root.
bool PhaseStability::evaluate_split(const std::vector<double>& v, bool withDerivatives, SplitState& state)
{
    double V = 0;
    for (int i : present)
        V += v[i];
    state.V = V;
    state.L = 1 - V;
    state.x.assign(component_count, 0.0);
    state.y.assign(component_count, 0.0);
    for (int i : present) {
        state.x[i] = (feed[i] - v[i]) / state.L;
        state.y[i] = v[i] / V;
    }
    setState(liquid_model, state.x);
    setState(vapour_model, state.y);
    for (ICubic* model : {&liquid_model, &vapour_model}) {
        model->setCompositionDerivatives(withDerivatives);
        model->calculate_molar_volume();
        if (!model->volumeFailure())
            model->calculate_fugacities();
        model->setCompositionDerivatives(true);
        if (model->volumeFailure())
            return false;
    }
    state.gibbs = 0;
    state.gradient.resize(present.size());
    state.largest_gradient = 0;
    for (std::size_t a = 0; a < present.size(); ++a) {
        const int i = present[a];
        const double ln_f_vapour = std::log(state.y[i]) + vapour_model.lnPhi()[i];
        const double ln_f_liquid = std::log(state.x[i]) + liquid_model.lnPhi()[i];
        state.gibbs += v[i] * ln_f_vapour + (feed[i] - v[i]) * ln_f_liquid;
        state.gradient[a] = ln_f_vapour - ln_f_liquid;
        state.largest_gradient = std::max(state.largest_gradient, std::fabs(state.gradient[a]));
    }
    return std::isfinite(state.gibbs) && std::isfinite(state.largest_gradient);
}

// Newton steps on the vapour mole numbers v for the gradient g of the Gibbs energy, with its
// symmetric Hessian
//   H_ij = (delta_ij / y_i - 1 + D^V_ij) / V + (delta_ij / x_i - 1 + D^L_ij) / L,
// D the mole-number derivatives of ln phi. A step must lower the Gibbs energy: otherwise
// the ideal-mixture part of H (its diagonal 1 / (y_i V) + 1 / (x_i L)) is added, ever more
// strongly, which turns the step towards steepest descent. Every mole number stays inside
// (0, z_i). Starting below the feed's Gibbs energy (a split along a trial phase of negative
// tangent-plane distance), the steps cannot fall back onto the feed; near a critical point,
// where substitution crawls, they converge in a few steps.
PhaseStability::Split PhaseStability::newton_split(const Split& start, int iterations, double tolerance)
{
    constexpr int kDampings = 12;
    constexpr int kHalvings = 3;
    constexpr double kGibbsNoise = 1e-14;
    Split split = start;
    split.found = false;
    const int m = int(present.size());
    std::vector<double> v(component_count, 0.0), trial(component_count, 0.0);
    for (int i : present)
        v[i] = std::clamp(start.vapour_fraction * start.vapour[i], feed[i] * 1e-12, feed[i] * (1 - 1e-12));
    SplitState state, next;
    if (!evaluate_split(v, true, state))
        return split;
    Matrix liquid_dn, vapour_dn, H(m, m), damped(m, m);
    std::vector<double> rhs(m), step(m), ideal(m);
    for (int iteration = 0; iteration < iterations; ++iteration) {
        if (state.largest_gradient < tolerance) {
            double feed_gibbs = 0;
            for (int i : present)
                feed_gibbs += feed[i] * d[i];
            if (!(state.gibbs < feed_gibbs - kGibbsNoise * std::fabs(feed_gibbs)))
                return split;
            split.liquid = state.x;
            split.vapour = state.y;
            split.vapour_fraction = state.V;
            for (int i : present)
                split.K[i] = state.y[i] / state.x[i];
            split.iterations += iteration;
            split.found = true;
            return split;
        }
        ln_phi_mole_number_derivatives(liquid_model, state.x, liquid_dn);
        ln_phi_mole_number_derivatives(vapour_model, state.y, vapour_dn);
        for (int a = 0; a < m; ++a) {
            const int i = present[a];
            ideal[a] = 1 / (state.y[i] * state.V) + 1 / (state.x[i] * state.L);
            for (int b = 0; b < m; ++b)
                H[a][b] = (vapour_dn[a][b] - 1) / state.V + (liquid_dn[a][b] - 1) / state.L;
            H[a][a] += ideal[a];
        }
        bool stepped = false;
        double damping = 0;
        for (int attempt = 0; attempt < kDampings && !stepped; ++attempt) {
            damped = H;
            for (int a = 0; a < m; ++a) {
                damped[a][a] += damping * ideal[a];
                rhs[a] = -state.gradient[a];
            }
            const LinearSystemOutcome outcome = solve_the_linear_system(damped, rhs, step, m);
            damping = damping == 0 ? 1e-2 : damping * 10;
            if (outcome != LinearSystemOutcome::solved)
                continue;
            double factor = 1;
            for (int a = 0; a < m; ++a) {
                const int i = present[a];
                if (v[i] + step[a] <= 0)
                    factor = std::min(factor, 0.9 * v[i] / -step[a]);
                else if (v[i] + step[a] >= feed[i])
                    factor = std::min(factor, 0.9 * (feed[i] - v[i]) / step[a]);
            }
            for (int halving = 0; halving < kHalvings && !stepped; ++halving, factor /= 2) {
                trial = v;
                for (int a = 0; a < m; ++a)
                    trial[present[a]] += factor * step[a];
                stepped = evaluate_split(trial, true, next)
                          && next.gibbs <= state.gibbs + kGibbsNoise * std::fabs(state.gibbs);
            }
        }
        if (!stepped)
            return split;
        v = trial;
        std::swap(state, next);
    }
    return split;
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
