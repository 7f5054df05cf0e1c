#pragma once

// A textbook Soave-Redlich-Kwong equation (Soave 1972, van der Waals mixing rules without
// interaction coefficients), written from the published equations and sharing no code with
// the engine: a_i = Oa R^2 Tc^2/Pc [1 + m(1 - sqrt(T/Tc))]^2 with
// m = 0.480 + 1.574 w - 0.176 w^2, b_i = Ob R Tc/Pc, P = RT/(v - b) - a/(v (v + b)). The
// critical point's conditions give Ob = (2^(1/3) - 1)/3 (0.08664) and
// Oa = 1/(9 (2^(1/3) - 1)) (0.42748), kept unrounded so that comparisons stay sharp.

#include <cmath>
#include <optional>
#include <utility>
#include <vector>

namespace quorvel::textbook {

struct SrkSpecies {
    double Tc;  // K
    double Pc;  // Pa
    double omega;
};

class SrkMixture {
public:
    // The gas constant, J/(mol K).
    static constexpr double R = 8.31451198983133;

    explicit SrkMixture(std::vector<SrkSpecies> species) : mSpecies(std::move(species)) {}

    // Pressure (Pa) at T (K) and molar volume v (m3/mol) of composition x.
    double pressure(double T, double v, const std::vector<double>& x) const
    {
        const auto [a, b] = mixed(T, x);
        return R * T / (v - b) - a / (v * (v + b));
    }

    // The smallest and the largest real root Z of the cubic of pure component i at T (K)
    // and P (Pa), Z^3 - Z^2 + (A - B - B^2) Z - A B = 0: sign changes above Z = B on a
    // fine grid, each refined by bisection.
    std::pair<double, double> pureRoots(int i, double T, double P) const
    {
        const auto [A, B] = reduced(i, T, P);
        const auto f = [&](double Z) { return ((Z - 1) * Z + (A - B - B * B)) * Z - A * B; };
        std::vector<double> roots;
        constexpr int steps = 4000;
        const double top = 1 + 2 * B + A;  // above every root
        for (int k = 0; k < steps; ++k) {
            double lo = B + (top - B) * k / steps, hi = B + (top - B) * (k + 1) / steps;
            if ((f(lo) < 0) == (f(hi) < 0))
                continue;
            for (int n = 0; n < 100; ++n) {
                const double mid = (lo + hi) / 2;
                ((f(lo) < 0) == (f(mid) < 0) ? lo : hi) = mid;
            }
            roots.push_back((lo + hi) / 2);
        }
        if (roots.empty())
            return {NAN, NAN};
        return {roots.front(), roots.back()};
    }

    // ln of the fugacity coefficient of a pure component at compressibility Z.
    double pureLnPhi(int i, double T, double P, double Z) const
    {
        const auto [A, B] = reduced(i, T, P);
        return Z - 1 - std::log(Z - B) - A / B * std::log(1 + B / Z);
    }

    // Vapour pressure (Pa) of pure component i at T (K), from P0 (Pa): the pressure where
    // both roots have the same fugacity, by P <- P phi_liquid / phi_vapour.
    std::optional<double> vapourPressure(int i, double T, double P0) const
    {
        double P = P0;
        for (int k = 0; k < 500; ++k) {
            const auto [zl, zv] = pureRoots(i, T, P);
            if (zv - zl < 1e-9)
                return std::nullopt;  // one root: outside the two-phase region
            const double ratio = std::exp(pureLnPhi(i, T, P, zl) - pureLnPhi(i, T, P, zv));
            P *= ratio;
            if (std::fabs(ratio - 1) < 1e-13)
                return P;
        }
        return std::nullopt;
    }

private:
    double aOf(int i, double T) const
    {
        const SrkSpecies& s = mSpecies[size_t(i)];
        const double m = 0.480 + 1.574 * s.omega - 0.176 * s.omega * s.omega;
        const double alpha = 1 + m * (1 - std::sqrt(T / s.Tc));
        return 1 / (9 * (std::cbrt(2.0) - 1)) * R * R * s.Tc * s.Tc / s.Pc * alpha * alpha;
    }
    double bOf(int i) const { return (std::cbrt(2.0) - 1) / 3 * R * mSpecies[size_t(i)].Tc / mSpecies[size_t(i)].Pc; }

    std::pair<double, double> mixed(double T, const std::vector<double>& x) const
    {
        double a = 0, b = 0;
        for (size_t i = 0; i < mSpecies.size(); ++i) {
            b += x[i] * bOf(int(i));
            for (size_t j = 0; j < mSpecies.size(); ++j)
                a += x[i] * x[j] * std::sqrt(aOf(int(i), T) * aOf(int(j), T));
        }
        return {a, b};
    }
    std::pair<double, double> reduced(int i, double T, double P) const
    {
        return {aOf(i, T) * P / (R * R * T * T), bOf(i) * P / (R * T)};
    }

    std::vector<SrkSpecies> mSpecies;
};

}  // namespace quorvel::textbook
