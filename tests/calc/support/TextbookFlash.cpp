#include "TextbookFlash.h"

#include <algorithm>
#include <cmath>

namespace quorvel::textbook {

namespace {

struct State {
    std::vector<double> lnK;
    double beta;
};

struct Phases {
    std::vector<double> x, y;
};

Phases phasesOf(const State& s, const std::vector<double>& z)
{
    Phases p{std::vector<double>(z.size()), std::vector<double>(z.size())};
    for (std::size_t i = 0; i < z.size(); ++i) {
        const double K = std::exp(s.lnK[i]);
        p.x[i] = z[i] / (1 + s.beta * (K - 1));
        p.y[i] = K * p.x[i];
    }
    return p;
}

std::vector<double> residual(const PengRobinsonMixture& m, double T, double P, const std::vector<double>& z,
                             const State& s)
{
    const Phases p = phasesOf(s, z);
    const std::size_t n = z.size();
    std::vector<double> F(n + 1, 0.0);
    for (std::size_t i = 0; i < n; ++i)
        if (!(p.x[i] > 0) || !(p.y[i] > 0))
            return std::vector<double>(n + 1, NAN);
    const std::vector<double> lnL = m.lnPhi(p.x, T, P, Root::liquid);
    const std::vector<double> lnV = m.lnPhi(p.y, T, P, Root::vapour);
    for (std::size_t i = 0; i < n; ++i) {
        F[i] = s.lnK[i] + lnV[i] - lnL[i];
        F[n] += p.y[i] - p.x[i];
    }
    return F;
}

double norm(const std::vector<double>& F)
{
    double sum = 0;
    for (double f : F)
        sum += f * f;
    return std::isfinite(sum) ? std::sqrt(sum) : INFINITY;
}

// Gaussian elimination with partial pivoting; false when singular.
bool solve(std::vector<std::vector<double>> A, std::vector<double>& b)
{
    const std::size_t n = b.size();
    for (std::size_t k = 0; k < n; ++k) {
        std::size_t pivot = k;
        for (std::size_t r = k + 1; r < n; ++r)
            if (std::fabs(A[r][k]) > std::fabs(A[pivot][k]))
                pivot = r;
        if (A[pivot][k] == 0)
            return false;
        std::swap(A[k], A[pivot]);
        std::swap(b[k], b[pivot]);
        for (std::size_t r = k + 1; r < n; ++r) {
            const double f = A[r][k] / A[k][k];
            for (std::size_t c = k; c < n; ++c)
                A[r][c] -= f * A[k][c];
            b[r] -= f * b[k];
        }
    }
    for (std::size_t k = n; k-- > 0;) {
        for (std::size_t c = k + 1; c < n; ++c)
            b[k] -= A[k][c] * b[c];
        b[k] /= A[k][k];
    }
    return true;
}

std::optional<State> newton(const PengRobinsonMixture& m, double T, double P, const std::vector<double>& z,
                            State s)
{
    const std::size_t n = z.size();
    std::vector<double> F = residual(m, T, P, z, s);
    for (int iteration = 0; iteration < 200; ++iteration) {
        if (norm(F) < 1e-14)
            return s;
        std::vector<std::vector<double>> J(n + 1, std::vector<double>(n + 1));
        for (std::size_t j = 0; j <= n; ++j) {
            const double h = 1e-7;
            State plus = s, minus = s;
            (j < n ? plus.lnK[j] : plus.beta) += h;
            (j < n ? minus.lnK[j] : minus.beta) -= h;
            const std::vector<double> Fp = residual(m, T, P, z, plus);
            const std::vector<double> Fm = residual(m, T, P, z, minus);
            for (std::size_t i = 0; i <= n; ++i)
                J[i][j] = (Fp[i] - Fm[i]) / (2 * h);
        }
        std::vector<double> step(F.size());
        for (std::size_t i = 0; i <= n; ++i)
            step[i] = -F[i];
        if (!solve(J, step))
            return std::nullopt;
        bool improved = false;
        for (double factor = 1; factor > 1e-6 && !improved; factor /= 2) {
            State next = s;
            for (std::size_t i = 0; i < n; ++i)
                next.lnK[i] += factor * step[i];
            next.beta += factor * step[n];
            const std::vector<double> Fnext = residual(m, T, P, z, next);
            if (norm(Fnext) < norm(F)) {
                s = next;
                F = Fnext;
                improved = true;
            }
        }
        if (!improved)
            return norm(F) < 1e-11 ? std::optional<State>(s) : std::nullopt;
    }
    return std::nullopt;
}

}  // namespace

std::optional<Flash> flash(const std::vector<Species>& species, double T, double P, const std::vector<double>& z)
{
    const PengRobinsonMixture mixture(species);
    const std::size_t n = species.size();
    std::vector<double> wilson(n);
    for (std::size_t i = 0; i < n; ++i)
        wilson[i] = std::log(species[i].Pc / P) + 5.373 * (1 + species[i].omega) * (1 - species[i].Tc / T);
    for (double shrink : {1.0, 0.3, 0.1, 0.03, 0.01}) {
        for (double beta : {0.5, 0.3, 0.7, 0.1, 0.9, 0.03, 0.97, 0.01, 0.99}) {
            State start{wilson, beta};
            for (double& k : start.lnK)
                k *= shrink;
            const std::optional<State> solved = newton(mixture, T, P, z, start);
            if (!solved || !(solved->beta > 0 && solved->beta < 1))
                continue;
            const Phases p = phasesOf(*solved, z);
            double distance = 0;
            for (std::size_t i = 0; i < n; ++i)
                distance += std::fabs(p.x[i] - p.y[i]);
            if (distance > 1e-6)
                return Flash{solved->beta, p.x, p.y};
        }
    }
    return std::nullopt;
}

}  // namespace quorvel::textbook
