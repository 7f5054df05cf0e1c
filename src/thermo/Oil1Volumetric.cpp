// Volumetric equations of the alpha-beta model fluid: an inclusion's measurements
// (homogenisation at Th, vapour fraction Fv read at T) as equations in alpha.
#include "thermo/Oil1.h"

#include "thermo/AlphaBetaStartTables.h"
#include "thermo/FluidPhase.h"
#include "thermo/StockTankCorrelations.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace quorvel {

namespace {

// Temperature steps down the isochore: the first one small (the phase amounts leave the
// saturation point steeply), doubled after each converged point, halved after a failure.
constexpr double kFirstIsochoreStep = 0.1;    // K
constexpr double kLargestIsochoreStep = 10;    // K
constexpr double kSmallestIsochoreStep = 1e-3;  // K: a failure below it ends the walk
constexpr double kIsochoreStepGrowth = 2;

// A dew-type inclusion with less liquid than this (volume fraction at T) does not tell
// one alpha from another: its vapour fraction changes by less than the equilibrium
// solver resolves.
constexpr double kLeastLiquidFraction = 1e-6;

// Probes for a start alpha at which the inclusion residual can be evaluated.
constexpr int kStartAlphaProbes = 12;
constexpr double kStartAlphaProbeStep = 0.04;
constexpr double kSecondStartFactor = 1.001;  // second start value of the secant, on alpha

// The heaviest fluid the alpha search considers. Above it the mean carbon number of Cn2
// passes 73.5, where its acentric-factor correlation peaks: the cut then turns more
// volatile as alpha grows (acentric factor below 0 from alpha 0.992, critical pressure
// unbounded near 0.995), the saturation pressure at Th turns back up (near alpha 0.989 at
// every Th of the dew tables) and a second alpha gives the measured Fv.
constexpr double kLargestSearchAlpha = 0.979;

// A point of a start table (or an interpolation between two): temperature 0 means none.
struct StartPoint {
    double T = 0;
    double P = 0;
    std::array<double, kModelComponentCount> c{};
};

double recordValue(const AlphaBetaStartTable& t, int record, int offset)
{
    return t[2 + kStartRecordSize * record + offset];
}

StartPoint recordPoint(const AlphaBetaStartTable& t, int record)
{
    StartPoint p;
    p.T = recordValue(t, record, 0);
    p.P = recordValue(t, record, 1);
    for (int i = 0; i < kModelComponentCount; ++i)
        p.c[i] = recordValue(t, record, 3 + i);
    return p;
}

StartPoint interpolate(const StartPoint& a, const StartPoint& b, double f)
{
    StartPoint p;
    p.T = a.T + f * (b.T - a.T);
    p.P = a.P + f * (b.P - a.P);
    for (int i = 0; i < kModelComponentCount; ++i)
        p.c[i] = a.c[i] + f * (b.c[i] - a.c[i]);
    return p;
}

double fraction(const AlphaBetaStartTable& t, int record) { return recordValue(t, record, 2) / 100; }

// The point of one table at the vapour fraction Fv; T = 0 when the table has none.
StartPoint tablePoint(const AlphaBetaStartTable& t, bool bubble, double Fv)
{
    const int first = bubble ? 0 : kFirstDewRecord;
    const int last = first + kFirstDewRecord - 1;
    for (int r = first; r <= last; ++r) {
        const double v = fraction(t, r);
        if (bubble ? v < Fv : v > Fv)
            continue;
        if (r == 0)
            return recordPoint(t, 0);
        if (r == kFirstDewRecord)
            break;
        const double f = (Fv - fraction(t, r - 1)) / (v - fraction(t, r - 1));
        return interpolate(recordPoint(t, r - 1), recordPoint(t, r), f);
    }
    StartPoint none = recordPoint(t, bubble ? kFirstDewRecord : last);
    none.T = 0;
    return none;
}

} // namespace

// ---- Inclusion residual and alpha search -------------------------------------------------

double Oil1::equation4(double trialAlpha, void*)
{
    setAlpha(trialAlpha);
    updateDistribution();

    const bool bubble = inclusion_type == Homogenisation::toLiquid;
    const bool saturated = solveHomogenisationPoint();
    homogenization_volume = bubble ? liquid->molarVolume() : vapour->molarVolume();
    if (!saturated) {
        evaluation_error = true;
        failure_code = equilibrium_failure::homogenization_point_failed;
        return 0;
    }
    homogenization_pressure = current_pressure;
    homogenization_liquid_composition = liquid->moleFraction();
    homogenization_vapour_composition = vapour->moleFraction();

    if (!solveInclusionPoint()) {
        evaluation_error = true;
        failure_code = equilibrium_failure::inclusion_point_failed;
        return 0;
    }
    inclusion_pressure = current_pressure;
    inclusion_vapour_moles = vapour_moles;
    inclusion_liquid_composition = liquid->moleFraction();
    inclusion_vapour_composition = vapour->moleFraction();

    return homogenization_volume
           - (liquid_moles * liquid->molarVolume() + vapour_moles * vapour->molarVolume());
}

// The saturation point at Th: from the last one found (or the table start), else from the
// ideal-mixture estimate, as the vapour fraction of a given alpha finds it.
bool Oil1::solveHomogenisationPoint()
{
    const bool bubble = inclusion_type == Homogenisation::toLiquid;
    set_type_of_problem(problem_type::fixed_T_and_Fv);
    set_the_temperature(homogenization_temperature);
    set_the_vaporization_ratio(bubble ? 0 : 1);
    set_initialization_flag(initialization::from_estimates);
    estimated_temperature = homogenization_temperature;
    if (homogenization_pressure != 0) {
        estimated_pressure = homogenization_pressure;
        estimated_liquid_composition = homogenization_liquid_composition;
        estimated_vapour_composition = homogenization_vapour_composition;
    }
    calculateVLE();
    if (failure_code == equilibrium_failure::none)
        return true;
    return solveFromIdealMixture(problem_type::fixed_T_and_Fv, homogenization_temperature, bubble ? 0 : 1);
}

// The two-phase point at T with the measured volumetric vapour fraction, the saturation
// point at Th being the current state. It starts from the last one found (or the
// ideal-mixture estimate); failing that, from the isochore of the trial fluid walked down
// to T, whose vapour fraction is near the measured one when the trial alpha is near.
bool Oil1::solveInclusionPoint()
{
    save();
    const auto solveFromEstimates = [this](double vapourMoles) {
        set_type_of_problem(problem_type::fixed_T_and_volumetric_Fv);
        set_the_temperature(inclusion_temperature);
        set_the_vaporization_ratio1(inclusion_vapour_fraction);
        estimated_temperature = inclusion_temperature;
        if (vapourMoles >= 0) {
            vapour_moles = vapourMoles;
            liquid_moles = total_feed_moles - vapourMoles;
        }
        set_initialization_flag(initialization::from_estimates);
        calculateVLE();
        return failure_code == equilibrium_failure::none;
    };

    if (inclusion_pressure != 0) {
        estimated_pressure = inclusion_pressure;
        estimated_liquid_composition = inclusion_liquid_composition;
        estimated_vapour_composition = inclusion_vapour_composition;
        if (solveFromEstimates(inclusion_vapour_moles))
            return true;
    } else if (solveFromIdealMixture(problem_type::fixed_T_and_volumetric_Fv, inclusion_temperature,
                                     inclusion_vapour_fraction)) {
        return true;
    }

    restore();
    double fv = 0, p = 0;
    if (followIsochoreFromSaturation(inclusion_temperature, fv, p) != equilibrium_failure::none)
        return false;
    estimated_pressure = current_pressure;
    estimated_liquid_composition = liquid_composition;
    estimated_vapour_composition = vapour_composition;
    return solveFromEstimates(vapour_moles);
}

// The inclusion residual as the logarithm of the ratio of the two molar volumes: for a
// dew-type inclusion the homogenised vapour's volume changes by orders of magnitude with
// alpha (as its dew pressure), and the secant steps on the plain difference overshoot.
double Oil1::logVolumeRatio(double trialAlpha, void*)
{
    const double difference = equation4(trialAlpha, nullptr);
    if (evaluation_error)
        return 0;
    return std::log(homogenization_volume / (homogenization_volume - difference));
}

void Oil1::forgetSaturationStates()
{
    homogenization_pressure = inclusion_pressure = 0;
    saved_homogenization_pressure = saved_inclusion_pressure = 0;
}

void Oil1::saveWorkingStates()
{
    saved_homogenization_pressure = homogenization_pressure;
    saved_homogenization_liquid_composition = homogenization_liquid_composition;
    saved_homogenization_vapour_composition = homogenization_vapour_composition;
    saved_inclusion_pressure = inclusion_pressure;
    saved_inclusion_liquid_composition = inclusion_liquid_composition;
    saved_inclusion_vapour_composition = inclusion_vapour_composition;
}

void Oil1::restoreWorkingStates()
{
    homogenization_pressure = saved_homogenization_pressure;
    homogenization_liquid_composition = saved_homogenization_liquid_composition;
    homogenization_vapour_composition = saved_homogenization_vapour_composition;
    inclusion_pressure = saved_inclusion_pressure;
    inclusion_liquid_composition = saved_inclusion_liquid_composition;
    inclusion_vapour_composition = saved_inclusion_vapour_composition;
}

// The start alpha itself when the residual can be evaluated there; otherwise the nearest
// alpha that can, tried on both sides at growing distances within the search's bounds (a
// start from the tables may lie where the trial fluid has no saturation point at Th, or no
// two-phase point at T).
double Oil1::evaluableStartAlpha(double a0)
{
    const auto evaluable = [this](double a) {
        evaluation_error = false;
        equation4(a, nullptr);
        const bool good = !evaluation_error;
        evaluation_error = false;
        return good;
    };
    const auto admissible = [](double a) { return a > 0 && kSecondStartFactor * a <= kLargestSearchAlpha; };
    if (admissible(a0) && evaluable(a0))
        return a0;
    for (int k = 1; k <= kStartAlphaProbes; ++k) {
        const double offset = kStartAlphaProbeStep * ((k + 1) / 2);
        const double a = k % 2 != 0 ? a0 + offset : a0 - offset;
        if (admissible(a) && evaluable(a))
            return a;
    }
    return std::min(a0, kLargestSearchAlpha / kSecondStartFactor);
}

void Oil1::findAlpha(double Th, double T, double Fv, double eps, Homogenisation type)
{
    homogenization_temperature = Th;
    inclusion_temperature = T;
    inclusion_vapour_fraction = Fv;
    inclusion_type = type;
    failure_code = equilibrium_failure::none;
    if (saved_homogenization_pressure != 0)
        restoreWorkingStates();
    if (type == Homogenisation::toVapour && 1 - Fv < kLeastLiquidFraction) {
        // No liquid to speak of: every heavy enough fluid gives this Fv.
        failure_code = equilibrium_failure::inclusion_point_failed;
        return;
    }

    const double start = evaluableStartAlpha(alpha);
    alpha_solver->set_initial_values(start, kSecondStartFactor * start);
    alpha_solver->set_epsilon(eps);
    alpha_solver->set_bounds(0, kLargestSearchAlpha);
    setAlpha(alpha_solver->solve());

    if (alpha_solver->good())
        saveWorkingStates();
    else if (failure_code == equilibrium_failure::none)
        failure_code = equilibrium_failure::solve_failed;
}

// ---- Vapour fraction along the isochore -------------------------------------------------

// Start values at temperature t by a linear step along the isochore (fixed T and molar
// volume) from the saved state, whose phases hold the last evaluation.
void Oil1::predictIsochorePoint(double t)
{
    const double dt = t - saved_temperature;
    const bool haveSlope = calculate_derivatives(derivatives, temperature_quantity, molar_volume_quantity);
    const auto slope = [&](int k) { return haveSlope ? derivatives[k] * dt : 0.0; };
    const int n = component_count;

    set_type_of_problem(problem_type::fixed_T_and_v);
    set_the_temperature(t);
    estimated_temperature = t;
    estimated_pressure = saved_pressure + slope(1);
    for (int i = 0; i < n; ++i) {
        estimated_liquid_composition[i] = std::clamp(saved_liquid_composition[i] + slope(4 + i), 0.0, 1.0);
        estimated_vapour_composition[i] = std::clamp(saved_vapour_composition[i] + slope(4 + n + i), 0.0, 1.0);
    }
    liquid_moles = std::clamp(saved_liquid_moles + slope(2), 0.0, total_feed_moles);
    vapour_moles = std::clamp(saved_vapour_moles + slope(3), 0.0, total_feed_moles);
}

equilibrium_failure Oil1::calculateFv(double a, double b, double n2, double co2, double h2s, double Th, double T,
                                      double& fv, double& ph, double& p)
{
    fv = ph = p = kUnavailable;  // until the solves give them
    if (!setDistributionParameters(a, b, co2, n2, h2s))
        return failure_code;

    const bool bubble = inclusion_type == Homogenisation::toLiquid;
    if (!solveFromIdealMixture(problem_type::fixed_T_and_Fv, Th, bubble ? 0 : 1))
        return failure_code;
    homogenization_pressure = current_pressure;
    ph = homogenization_pressure;

    return followIsochoreFromSaturation(T, fv, p);
}

// Solves the isochore down from the saved state to T, with steps that grow on success and
// halve on failure; the last solve is at T itself. Returns failure_code, a failure when a
// step below the smallest one still fails.
equilibrium_failure Oil1::walkIsochoreTo(double T)
{
    ++isochore_walks;
    double t = saved_temperature;
    double step = kFirstIsochoreStep;
    for (;;) {
        const double next = std::max(t - step, T);
        predictIsochorePoint(next);
        calculateVLE();
        if (failure_code == equilibrium_failure::none) {
            if (next == T)
                return equilibrium_failure::none;
            save();
            t = next;
            step = std::min(step * kIsochoreStepGrowth, kLargestIsochoreStep);
        } else {
            step /= 2;
            if (step < kSmallestIsochoreStep)
                return failure_code;
            restore();
        }
    }
}

equilibrium_failure Oil1::followIsochoreFromSaturation(double T, double& fv, double& p)
{
    const bool bubble = inclusion_type == Homogenisation::toLiquid;
    homogenization_volume = bubble ? liquid->molarVolume() : vapour->molarVolume();
    save();
    saved_liquid_moles = bubble ? total_feed_moles : 0;
    saved_vapour_moles = bubble ? 0 : total_feed_moles;
    set_the_volume(homogenization_volume);
    set_initialization_flag(initialization::from_estimates);

    if (walkIsochoreTo(T) != equilibrium_failure::none) {
        fv = p = kUnavailable;
        return failure_code;
    }
    p = current_pressure;
    fv = vapour_moles * vapour->molarVolume() / homogenization_volume;
    return equilibrium_failure::none;
}

// ---- Start values from the tables --------------------------------------------------------

equilibrium_failure Oil1::estimateInitial(Homogenisation type, double Th, double Fv, double& alphaOut)
{
    alphaOut = 0;
    failure_code = equilibrium_failure::none;
    const bool bubble = type == Homogenisation::toLiquid;

    const auto normaliseVapour = [this] {
        const double sum = std::accumulate(estimated_vapour_composition.begin(),
                                           estimated_vapour_composition.end(), 0.0);
        if (sum > 0)
            for (double& y : estimated_vapour_composition)
                y /= sum;
    };
    std::array<StartPoint, kStartTableCount> points;
    for (int t = 0; t < kStartTableCount; ++t)
        points[t] = tablePoint(*kAlphaBetaStartTables[t], bubble, Fv);

    const auto take = [&](const StartPoint& point, double a) {
        estimated_pressure = point.P;
        auto& incipient = bubble ? estimated_vapour_composition : estimated_liquid_composition;
        std::copy(point.c.begin(), point.c.end(), incipient.begin());
        setAlpha(a);
        setBeta(0);
        updateDistribution();
        auto& other = bubble ? estimated_liquid_composition : estimated_vapour_composition;
        other = feed_composition;
        alphaOut = a;
    };

    const auto above = std::find_if(points.begin(), points.end(),
                                     [Th](const StartPoint& point) { return point.T > Th; });
    if (above != points.end()) {
        const int t = static_cast<int>(above - points.begin());
        if (t == 0) {
            take(points[0], kStartTableAlphas[0]);
        } else if (points[t - 1].T != 0) {
            const double g = (Th - points[t - 1].T) / (points[t].T - points[t - 1].T);
            take(interpolate(points[t - 1], points[t], g),
                 kStartTableAlphas[t - 1] + g * (kStartTableAlphas[t] - kStartTableAlphas[t - 1]));
        } else {
            take(points[t], kStartTableAlphas[t]);
        }
    }

    if (alphaOut == 0) {
        if (bubble) {
            take(points.back(), kStartTableAlphas.back());
        } else {
            // Th above every table's dew point at Fv: the fluid is heavier than the heaviest
            // table that has a value.
            const auto withValue = std::find_if(points.rbegin(), points.rend(),
                                                [](const StartPoint& point) { return point.T != 0; });
            if (withValue == points.rend()) {
                failure_code = equilibrium_failure::no_initial_estimate;
                return failure_code;
            }
            const auto t = points.rend() - withValue - 1;
            take(*withValue, kStartTableAlphas[t]);
        }
    }
    normaliseVapour();
    return equilibrium_failure::none;
}

// ---- Stock-tank targets -----------------------------------------------------------------

double Oil1::stockTankResidual(double trialAlpha, const double& property, double target)
{
    setAlpha(trialAlpha);
    updateDistribution();
    calculateGOR(0);
    if (!(property != 0) || !std::isfinite(property)) {
        evaluation_error = true;  // no two-phase stock-tank separation
        return 0;
    }
    return property - target;
}

double Oil1::equation5(double trialAlpha, void*) { return stockTankResidual(trialAlpha, gor[0], target_gor); }

double Oil1::equation6(double trialAlpha, void*) { return stockTankResidual(trialAlpha, api[0], target_api); }

double Oil1::searchAlphaForTarget(double alpha0, double b, EquationFunction residual)
{
    if (!target_solver) {
        target_solver = std::make_unique<Secant>();
        target_solver->set_epsilon(1e-8);
        target_solver->set_bounds(0, 1);
        target_solver->set_maximum_number_of_iterations(20);
    }
    target_solver->_setEquationToSolve(this, residual);
    setBeta(b);
    target_solver->set_initial_values(alpha0, 0.99 * alpha0);
    const double result = target_solver->solve();
    return target_solver->good() ? result : 0;
}

double Oil1::calculateAlphaForGivenBetaAPI(double alpha0, double b, double targetApi)
{
    target_api = targetApi;
    return searchAlphaForTarget(alpha0, b, static_cast<EquationFunction>(&Oil1::equation6));
}

double Oil1::calculateAlphaForGivenBetaGOR(double alpha0, double b, double targetGor)
{
    target_gor = targetGor;
    return searchAlphaForTarget(alpha0, b, static_cast<EquationFunction>(&Oil1::equation5));
}

} // namespace quorvel
