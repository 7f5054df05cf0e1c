#pragma once

// Test mixtures for the two-phase equilibrium: Peng-Robinson liquid and vapour models on a
// Quenta, with Clapeyron vapour pressures through the normal boiling point and the
// critical point, plus checks written from textbook formulas (an independent
// Peng-Robinson fugacity and the Rachford-Rice equation) that do not use the engine.

#include "thermo/Clapeyron.h"
#include "thermo/Peng.h"
#include "thermo/Quenta.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <numeric>
#include <string>
#include <vector>

namespace quorvel::test {

struct Component {
    const char* name;
    double Tc;      // K
    double Pc;      // bar
    double omega;
    double Mw;      // g/mol
    double Vc;      // cm3/mol
    double Tb;      // K, normal boiling (or sublimation) point
};

// Critical data as tabulated in Reid, Prausnitz and Poling.
inline const Component N2{"N2", 126.2, 33.94, 0.040, 28.01, 89.0, 77.35};
inline const Component CO2{"CO2", 304.2, 73.76, 0.225, 44.01, 94.0, 194.7};
inline const Component C1{"C1", 190.6, 46.0, 0.011, 16.04, 99.2, 111.6};
inline const Component C2{"C2", 305.4, 48.8, 0.099, 30.07, 148.0, 184.6};
inline const Component C3{"C3", 369.8, 42.5, 0.153, 44.10, 203.0, 231.1};
inline const Component iC4{"iC4", 408.2, 36.5, 0.183, 58.12, 263.0, 261.4};
inline const Component nC4{"nC4", 425.2, 38.0, 0.199, 58.12, 255.0, 272.7};
inline const Component nC10{"nC10", 617.7, 21.1, 0.489, 142.29, 603.0, 447.3};

struct FeedEntry {
    Component component;
    double z;
};

inline constexpr double R = 8.31451198983133;

// Gives the two phase models and the equilibrium on them the components of the feed, with
// Clapeyron vapour pressures through the normal boiling point and the critical point.
inline void set_up_components(Quenta& equilibrium, Peng& liquid, Peng& vapour, const std::vector<FeedEntry>& feed)
{
    const short n = short(feed.size());
    equilibrium.number_of_components(n);
    for (short i = 0; i < n; ++i) {
        const Component& c = feed[i].component;
        for (Peng* phase : {&liquid, &vapour}) {
            phase->setCriticalTemperature(i, c.Tc);
            phase->setCriticalPressure(i, c.Pc * 1e5);
            phase->setCriticalVolume(i, c.Vc * 1e-6);
            phase->setAcentricFactor(i, c.omega);
            phase->setMolarWeight(i, c.Mw);
        }
        equilibrium.setSatProp(i, c.Tc, c.Pc * 1e5, c.Tb);
        auto psat = std::make_unique<Clapeyron>();
        psat->set_constants(c.Tb, 101325.0, c.Tc, c.Pc * 1e5);
        equilibrium.setPsatCorrelation(i, std::move(psat));
    }
    for (short i = 0; i < n; ++i)
        equilibrium.add_component(i, feed[i].component.name);
    for (short i = 0; i < n; ++i)
        equilibrium.composition(i, feed[i].z);
}

// The phase models, the equilibrium on them, and the feed.
class TwoPhaseMixture {
public:
    explicit TwoPhaseMixture(std::vector<FeedEntry> feed_entries)
        : feed(std::move(feed_entries))
    {
        set_up_components(equilibrium, liquid, vapour, feed);
    }

    int size() const { return int(feed.size()); }

    std::vector<FeedEntry> feed;
    Peng liquid{phase_kind::liquid};
    Peng vapour{phase_kind::vapour};
    Quenta equilibrium{liquid, vapour};
};

// Real roots of z^3 + a z^2 + b z + c = 0 (trigonometric and Cardano forms).
inline std::vector<double> real_cubic_roots(double a, double b, double c)
{
    const double p = b - a * a / 3;
    const double q = 2 * a * a * a / 27 - a * b / 3 + c;
    const double discriminant = q * q / 4 + p * p * p / 27;
    std::vector<double> roots;
    if (discriminant > 0) {
        const double s = std::sqrt(discriminant);
        roots.push_back(std::cbrt(-q / 2 + s) + std::cbrt(-q / 2 - s) - a / 3);
    } else {
        const double r = std::sqrt(-p / 3);
        const double phi = std::acos(std::clamp(-q / (2 * r * r * r), -1.0, 1.0));
        for (int k = 0; k < 3; ++k)
            roots.push_back(2 * r * std::cos((phi - 2 * M_PI * k) / 3) - a / 3);
    }
    return roots;
}

// Textbook Peng-Robinson: ln(phi_i) of a mixture of composition x at T (K) and P (Pa),
// with the generalised interaction coefficients on a for hydrocarbon pairs up to 160 g/mol.
inline std::vector<double> textbook_ln_phi(const std::vector<FeedEntry>& feed, const std::vector<double>& x,
                                           double T, double P, bool vapour_root)
{
    const std::size_t n = feed.size();
    std::vector<double> a(n), b(n);
    for (std::size_t i = 0; i < n; ++i) {
        const Component& c = feed[i].component;
        const double Pc = c.Pc * 1e5;
        const double m = 0.37464 + 1.54226 * c.omega - 0.26992 * c.omega * c.omega;
        const double alpha = std::pow(1 + m * (1 - std::sqrt(T / c.Tc)), 2);
        a[i] = 0.45724 * R * R * c.Tc * c.Tc / Pc * alpha;
        b[i] = 0.0778 * R * c.Tc / Pc;
    }
    const auto inert = [](const Component& c) {
        const std::string name = c.name;
        return name == "CO2" || name == "N2" || name == "H2S" || name == "H2O";
    };
    const auto kij = [&](std::size_t i, std::size_t j) {
        const Component& ci = feed[i].component;
        const Component& cj = feed[j].component;
        if (i == j || inert(ci) || inert(cj) || ci.Mw > 160 || cj.Mw > 160)
            return 0.0;
        const double zci = ci.Pc * 1e5 * ci.Vc * 1e-6 / (R * ci.Tc);
        const double zcj = cj.Pc * 1e5 * cj.Vc * 1e-6 / (R * cj.Tc);
        return 1 - std::pow(2 * std::sqrt(ci.Tc * cj.Tc) / (ci.Tc + cj.Tc), (zci + zcj) / 2);
    };

    double a_mix = 0;
    double b_mix = 0;
    std::vector<double> sum_a(n, 0.0);
    for (std::size_t i = 0; i < n; ++i) {
        b_mix += x[i] * b[i];
        for (std::size_t j = 0; j < n; ++j) {
            const double aij = (1 - kij(i, j)) * std::sqrt(a[i] * a[j]);
            sum_a[i] += x[j] * aij;
            a_mix += x[i] * x[j] * aij;
        }
    }
    const double A = a_mix * P / (R * R * T * T);
    const double B = b_mix * P / (R * T);
    std::vector<double> roots = real_cubic_roots(-(1 - B), A - 3 * B * B - 2 * B, -(A * B - B * B - B * B * B));
    std::erase_if(roots, [B](double z) { return z <= B; });
    const double Z = vapour_root ? *std::max_element(roots.begin(), roots.end())
                                 : *std::min_element(roots.begin(), roots.end());

    std::vector<double> ln_phi(n);
    const double log_term = std::log((Z + (1 + std::sqrt(2.0)) * B) / (Z + (1 - std::sqrt(2.0)) * B));
    for (std::size_t i = 0; i < n; ++i)
        ln_phi[i] = b[i] / b_mix * (Z - 1) - std::log(Z - B)
                    - A / (2 * std::sqrt(2.0) * B) * (2 * sum_a[i] / a_mix - b[i] / b_mix) * log_term;
    return ln_phi;
}

// Vapour fraction beta of the Rachford-Rice equation sum z_i (K_i - 1) / (1 + beta (K_i - 1)) = 0,
// by bisection over the interval where every denominator stays positive.
inline double rachford_rice(const std::vector<double>& z, const std::vector<double>& K)
{
    const auto g = [&](double beta) {
        double sum = 0;
        for (std::size_t i = 0; i < z.size(); ++i)
            sum += z[i] * (K[i] - 1) / (1 + beta * (K[i] - 1));
        return sum;
    };
    const double K_max = *std::max_element(K.begin(), K.end());
    const double K_min = *std::min_element(K.begin(), K.end());
    double low = 1 / (1 - K_max);
    double high = 1 / (1 - K_min);
    for (int iteration = 0; iteration < 200; ++iteration) {
        const double middle = (low + high) / 2;
        (g(middle) > 0 ? low : high) = middle;
    }
    return (low + high) / 2;
}

// Largest |ln f_i(vapour) - ln f_i(liquid)| by the textbook fugacities, over the
// components present in both phases.
inline double fugacity_mismatch(const TwoPhaseMixture& mixture)
{
    const Quenta& e = mixture.equilibrium;
    const auto lnL = textbook_ln_phi(mixture.feed, e.liquidComposition(), e.currentTemperature(),
                                     e.currentPressure(), false);
    const auto lnV = textbook_ln_phi(mixture.feed, e.vapourComposition(), e.currentTemperature(),
                                     e.currentPressure(), true);
    double worst = 0;
    for (int i = 0; i < mixture.size(); ++i) {
        const double x = e.liquidComposition()[i];
        const double y = e.vapourComposition()[i];
        if (x <= 0 || y <= 0)
            continue;
        worst = std::max(worst, std::fabs(std::log(y) + lnV[i] - std::log(x) - lnL[i]));
    }
    return worst;
}

// Largest |fV_i - fL_i| / P with textbook fugacities.
inline double scaled_fugacity_difference(const TwoPhaseMixture& mixture)
{
    const Quenta& e = mixture.equilibrium;
    const double T = e.currentTemperature();
    const double P = e.currentPressure();
    const auto lnL = textbook_ln_phi(mixture.feed, e.liquidComposition(), T, P, false);
    const auto lnV = textbook_ln_phi(mixture.feed, e.vapourComposition(), T, P, true);
    double worst = 0;
    for (int i = 0; i < mixture.size(); ++i) {
        const double fL = e.liquidComposition()[i] * std::exp(lnL[i]) * P;
        const double fV = e.vapourComposition()[i] * std::exp(lnV[i]) * P;
        worst = std::max(worst, std::fabs(fV - fL) / P);
    }
    return worst;
}

// Largest |nL x_i + nV y_i - z_i|.
inline double material_balance_error(const TwoPhaseMixture& mixture)
{
    const Quenta& e = mixture.equilibrium;
    double worst = 0;
    for (int i = 0; i < mixture.size(); ++i)
        worst = std::max(worst, std::fabs(e.liquidMoles() * e.liquidComposition()[i]
                                          + e.vapourMoles() * e.vapourComposition()[i] - mixture.feed[i].z));
    return worst;
}

}  // namespace quorvel::test
