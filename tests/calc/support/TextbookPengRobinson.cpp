#include "TextbookPengRobinson.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace quorvel::textbook {

namespace {

constexpr double kOmegaA = 0.45724;
constexpr double kOmegaB = 0.0778;
const double kSqrt2 = std::sqrt(2.0);

bool isInorganic(const std::string& name)
{
    return name == "N2" || name == "CO2" || name == "H2S" || name == "H2O";
}

// Real roots of Z^3 + c2 Z^2 + c1 Z + c0 = 0, from the depressed cubic.
std::vector<double> cubicRoots(double c2, double c1, double c0)
{
    const double shift = c2 / 3;
    const double p = c1 - c2 * c2 / 3;
    const double q = 2 * c2 * c2 * c2 / 27 - c2 * c1 / 3 + c0;
    const double disc = q * q / 4 + p * p * p / 27;
    std::vector<double> roots;
    if (disc >= 0) {
        const double u = std::cbrt(-q / 2 + std::sqrt(disc));
        const double w = std::cbrt(-q / 2 - std::sqrt(disc));
        roots.push_back(u + w - shift);
    } else {
        const double m = 2 * std::sqrt(-p / 3);
        const double theta = std::acos(std::clamp(3 * q / (p * m), -1.0, 1.0)) / 3;
        for (int k = 0; k < 3; ++k)
            roots.push_back(m * std::cos(theta - 2 * M_PI * k / 3) - shift);
    }
    // One Newton polish per root.
    for (double& z : roots) {
        const double f = ((z + c2) * z + c1) * z + c0;
        const double df = (3 * z + 2 * c2) * z + c1;
        if (df != 0)
            z -= f / df;
    }
    return roots;
}

} // namespace

PengRobinsonMixture::PengRobinsonMixture(std::vector<Species> species) : mSpecies(std::move(species)) {}

double PengRobinsonMixture::kij(int i, int j) const
{
    const Species& si = mSpecies[i];
    const Species& sj = mSpecies[j];
    if (i == j || isInorganic(si.name) || isInorganic(sj.name) || si.mw > 160 || sj.mw > 160)
        return 0;
    const double zci = si.Pc * si.Vc / (R * si.Tc);
    const double zcj = sj.Pc * sj.Vc / (R * sj.Tc);
    const double ratio = 2 * std::sqrt(si.Tc * sj.Tc) / (si.Tc + sj.Tc);
    return 1 - std::pow(ratio, (zci + zcj) / 2);
}

PengRobinsonMixture::Parameters PengRobinsonMixture::parametersAt(double T) const
{
    Parameters p;
    for (const Species& s : mSpecies) {
        const double kappa = 0.37464 + 1.54226 * s.omega - 0.26992 * s.omega * s.omega;
        const double root = 1 + kappa * (1 - std::sqrt(T / s.Tc));
        p.a.push_back(kOmegaA * R * R * s.Tc * s.Tc / s.Pc * root * root);
        p.b.push_back(kOmegaB * R * s.Tc / s.Pc);
    }
    return p;
}

double PengRobinsonMixture::pressure(double T, double v, const std::vector<double>& x) const
{
    const Parameters p = parametersAt(T);
    double a = 0, b = 0;
    for (int i = 0; i < size(); ++i) {
        b += x[i] * p.b[i];
        for (int j = 0; j < size(); ++j)
            a += x[i] * x[j] * std::sqrt(p.a[i] * p.a[j]) * (1 - kij(i, j));
    }
    return R * T / (v - b) - a / (v * (v + b) + b * (v - b));
}

std::vector<double> PengRobinsonMixture::lnPhi(const std::vector<double>& x, double T, double P, Root root) const
{
    const Parameters p = parametersAt(T);
    const int n = size();
    double a = 0, b = 0;
    std::vector<double> aSum(n, 0.0);  // sum_j x_j a_ij
    for (int i = 0; i < n; ++i) {
        b += x[i] * p.b[i];
        for (int j = 0; j < n; ++j)
            aSum[i] += x[j] * std::sqrt(p.a[i] * p.a[j]) * (1 - kij(i, j));
        a += x[i] * aSum[i];
    }
    const double A = a * P / (R * R * T * T);
    const double B = b * P / (R * T);
    std::vector<double> Z = cubicRoots(B - 1, A - 3 * B * B - 2 * B, B * B * B + B * B - A * B);
    std::erase_if(Z, [B](double z) { return z <= B; });
    const double z = root == Root::liquid ? *std::min_element(Z.begin(), Z.end())
                                          : *std::max_element(Z.begin(), Z.end());
    const double logTerm = std::log((z + (1 + kSqrt2) * B) / (z + (1 - kSqrt2) * B));
    std::vector<double> result(n);
    for (int i = 0; i < n; ++i)
        result[i] = p.b[i] / b * (z - 1) - std::log(z - B)
                    - A / (2 * kSqrt2 * B) * (2 * aSum[i] / a - p.b[i] / b) * logTerm;
    return result;
}

std::optional<double> PengRobinsonMixture::bubblePressure(double T, const std::vector<double>& z) const
{
    return saturationPressure(T, z, true);
}

std::optional<double> PengRobinsonMixture::dewPressure(double T, const std::vector<double>& z) const
{
    return saturationPressure(T, z, false);
}

// Successive substitution: the incipient phase from the current K-values, new K-values from
// the fugacity coefficients, and the pressure scaled by the sum that must reach 1
// (P S for a bubble point, P / S for a dew point: exact for Raoult's law).
std::optional<double> PengRobinsonMixture::saturationPressure(double T, const std::vector<double>& z,
                                                              bool bubble) const
{
    const int n = size();
    std::vector<double> K(n);
    for (int i = 0; i < n; ++i) {
        const Species& s = mSpecies[i];
        K[i] = s.Pc * std::exp(5.373 * (1 + s.omega) * (1 - s.Tc / T));  // Wilson, times P
    }
    double P = 0;
    for (int i = 0; i < n; ++i)
        P += bubble ? z[i] * K[i] : z[i] / K[i];
    if (!bubble)
        P = 1 / P;
    for (double& k : K)
        k /= P;
    return iterate(T, z, bubble, P, std::move(K));
}

std::optional<double> PengRobinsonMixture::saturationPressureFrom(double T, const std::vector<double>& z,
                                                                  bool bubble, double P0,
                                                                  const std::vector<double>& w0,
                                                                  std::vector<double>* incipient) const
{
    std::vector<double> K(size());
    for (int i = 0; i < size(); ++i)
        K[i] = bubble ? w0[i] / z[i] : z[i] / w0[i];
    return iterate(T, z, bubble, P0, std::move(K), incipient);
}

namespace {

// Solves A x = b by Gaussian elimination with partial pivoting; false when singular.
bool solveLinear(std::vector<std::vector<double>> A, std::vector<double>& b)
{
    const std::size_t n = b.size();
    for (std::size_t k = 0; k < n; ++k) {
        std::size_t pivot = k;
        for (std::size_t i = k + 1; i < n; ++i)
            if (std::fabs(A[i][k]) > std::fabs(A[pivot][k]))
                pivot = i;
        if (A[pivot][k] == 0)
            return false;
        std::swap(A[k], A[pivot]);
        std::swap(b[k], b[pivot]);
        for (std::size_t i = k + 1; i < n; ++i) {
            const double f = A[i][k] / A[k][k];
            for (std::size_t j = k; j < n; ++j)
                A[i][j] -= f * A[k][j];
            b[i] -= f * b[k];
        }
    }
    for (std::size_t k = n; k-- > 0;) {
        for (std::size_t j = k + 1; j < n; ++j)
            b[k] -= A[k][j] * b[j];
        b[k] /= A[k][k];
    }
    return true;
}

} // namespace

// Unknowns u = [ln K_i, ln P] with K_i = w_i / z_i, w the incipient phase; equations:
// ln w_i + ln phi_i(w) - ln z_i - ln phi_i(z) = 0 and sum w_i - 1 = 0.
std::optional<double> PengRobinsonMixture::saturationPressureByNewton(double T, const std::vector<double>& z,
                                                                      bool bubble, double P0,
                                                                      const std::vector<double>& w0,
                                                                      std::vector<double>* incipient) const
{
    const int n = size();
    const Root feedRoot = bubble ? Root::liquid : Root::vapour;
    const Root incipientRoot = bubble ? Root::vapour : Root::liquid;
    std::vector<double> u(n + 1);
    for (int i = 0; i < n; ++i)
        u[i] = z[i] > 0 ? std::log(w0[i] / z[i]) : 0;
    u[n] = std::log(P0);
    const auto residuals = [&](const std::vector<double>& v) {
        const double P = std::exp(v[n]);
        std::vector<double> w(n);
        double sum = 0;
        for (int i = 0; i < n; ++i)
            sum += w[i] = z[i] * std::exp(v[i]);
        std::vector<double> normalised = w;
        for (double& x : normalised)
            x /= sum;
        const auto lnW = lnPhi(normalised, T, P, incipientRoot);
        const auto lnZ = lnPhi(z, T, P, feedRoot);
        std::vector<double> g(n + 1);
        for (int i = 0; i < n; ++i)
            g[i] = z[i] > 0 ? v[i] + lnW[i] - lnZ[i] : v[i];
        g[n] = sum - 1;
        return g;
    };
    for (int iteration = 0; iteration < 200; ++iteration) {
        std::vector<double> g = residuals(u);
        double largest = 0;
        for (double r : g)
            largest = std::max(largest, std::fabs(r));
        if (!std::isfinite(largest))
            return std::nullopt;
        if (largest < 1e-13) {
            double trivial = 0;
            for (int i = 0; i < n; ++i)
                trivial += u[i] * u[i];
            if (trivial < 1e-9)
                return std::nullopt;
            if (incipient) {
                incipient->resize(n);
                for (int i = 0; i < n; ++i)
                    (*incipient)[i] = z[i] * std::exp(u[i]);
            }
            return std::exp(u[n]);
        }
        std::vector<std::vector<double>> J(n + 1, std::vector<double>(n + 1));
        for (int j = 0; j <= n; ++j) {
            std::vector<double> shifted = u;
            const double h = 1e-7;
            shifted[j] += h;
            const std::vector<double> gh = residuals(shifted);
            for (int i = 0; i <= n; ++i)
                J[i][j] = (gh[i] - g[i]) / h;
        }
        for (double& r : g)
            r = -r;
        if (!solveLinear(J, g))
            return std::nullopt;
        double scale = 1;
        for (double d : g)
            scale = std::min(scale, 0.2 / std::max(std::fabs(d), 1e-300));
        for (int i = 0; i <= n; ++i)
            u[i] += scale * g[i];
    }
    return std::nullopt;
}

namespace {

// The argument of the largest f in [a, b] by golden section, to the width tolerance.
template <typename F>
double goldenSectionMaximum(double a, double b, double tolerance, F f)
{
    const double g = (std::sqrt(5.0) - 1) / 2;
    double c = b - g * (b - a), d = a + g * (b - a);
    double fc = f(c), fd = f(d);
    while (b - a > tolerance) {
        if (fc > fd) {
            b = d, d = c, fd = fc;
            c = b - g * (b - a), fc = f(c);
        } else {
            a = c, c = d, fc = fd;
            d = a + g * (b - a), fd = f(d);
        }
    }
    return (a + b) / 2;
}

} // namespace

std::optional<double> PengRobinsonMixture::highestPressureNear(double T0, double dT, const std::vector<double>& z,
                                                               bool bubble, double P0,
                                                               const std::vector<double>& w0, double& Tmax) const
{
    Tmax = goldenSectionMaximum(T0 - dT, T0 + dT, 1e-4, [&](double T) {
        return saturationPressureFrom(T, z, bubble, P0, w0).value_or(0.0);
    });
    return saturationPressureFrom(Tmax, z, bubble, P0, w0);
}

// Successive substitution on the K-values with a Newton step on ln S in the temperature,
// the derivative taken by a difference at fixed compositions.
std::optional<double> PengRobinsonMixture::saturationTemperatureFrom(double P, const std::vector<double>& z,
                                                                     bool bubble, double T0,
                                                                     const std::vector<double>& w0) const
{
    const int n = size();
    std::vector<double> incipient = w0;
    double T = T0;
    const auto lnSum = [&](double t, std::vector<double>* K) {
        const auto& liquid = bubble ? z : incipient;
        const auto& vapour = bubble ? incipient : z;
        const std::vector<double> lnL = lnPhi(liquid, t, P, Root::liquid);
        const std::vector<double> lnV = lnPhi(vapour, t, P, Root::vapour);
        double sum = 0;
        for (int i = 0; i < n; ++i) {
            const double k = std::exp(lnL[i] - lnV[i]);
            if (K)
                (*K)[i] = k;
            sum += bubble ? z[i] * k : z[i] / k;
        }
        return std::log(sum);
    };
    std::vector<double> K(n);
    for (int iteration = 0; iteration < 20000; ++iteration) {
        const double f = lnSum(T, &K);
        const double h = 1e-5 * T;
        const double step = std::clamp(f / ((lnSum(T + h, nullptr) - f) / h), -5.0, 5.0);
        double change = 0, S = 0, trivial = 0;
        std::vector<double> next(n);
        for (int i = 0; i < n; ++i) {
            next[i] = bubble ? K[i] * z[i] : z[i] / K[i];
            S += next[i];
            trivial += std::pow(std::log(K[i]), 2);
        }
        for (int i = 0; i < n; ++i) {
            next[i] /= S;
            change = std::max(change, std::fabs(next[i] - incipient[i]));
        }
        if (trivial < 1e-8 || !std::isfinite(step))
            return std::nullopt;
        incipient = next;
        T -= step;
        if (std::fabs(step) < 1e-10 * T && change < 1e-13)
            return T;
    }
    return std::nullopt;
}

std::optional<double> PengRobinsonMixture::highestTemperatureNear(double P0, double dP, const std::vector<double>& z,
                                                                  bool bubble, double T0,
                                                                  const std::vector<double>& w0, double& Pmax) const
{
    Pmax = goldenSectionMaximum(P0 - dP, P0 + dP, 1e-7 * P0, [&](double P) {
        return saturationTemperatureFrom(P, z, bubble, T0, w0).value_or(0.0);
    });
    return saturationTemperatureFrom(Pmax, z, bubble, T0, w0);
}

std::optional<double> PengRobinsonMixture::iterate(double T, const std::vector<double>& z, bool bubble, double P,
                                                   std::vector<double> K, std::vector<double>* found) const
{
    const int n = size();
    std::vector<double> incipient(n);
    for (int iteration = 0; iteration < 20000; ++iteration) {
        double S = 0;
        for (int i = 0; i < n; ++i) {
            incipient[i] = bubble ? K[i] * z[i] : z[i] / K[i];
            S += incipient[i];
        }
        for (double& w : incipient)
            w /= S;
        const auto& liquid = bubble ? z : incipient;
        const auto& vapour = bubble ? incipient : z;
        const std::vector<double> lnL = lnPhi(liquid, T, P, Root::liquid);
        const std::vector<double> lnV = lnPhi(vapour, T, P, Root::vapour);
        double change = 0, trivial = 0, sum = 0;
        for (int i = 0; i < n; ++i) {
            const double k = std::exp(lnL[i] - lnV[i]);
            change = std::max(change, std::fabs(k / K[i] - 1));
            trivial += std::pow(std::log(k), 2);
            K[i] = k;
            sum += bubble ? z[i] * k : z[i] / k;
        }
        if (trivial < 1e-8)
            return std::nullopt;
        P = bubble ? P * sum : P / sum;
        if (!(P > 0) || !std::isfinite(P))
            return std::nullopt;
        if (std::fabs(sum - 1) < 1e-13 && change < 1e-12) {
            if (found)
                *found = incipient;
            return P;
        }
    }
    return std::nullopt;
}

} // namespace quorvel::textbook
