#include "numeric/Degree3.h"

#include <algorithm>
#include <cmath>

namespace quorvel {

namespace {

constexpr double rounding = 1e-15;     // relative rounding level of the intermediate results
constexpr double one_third = 0.3333333333333333;
constexpr double pi_over_6 = 0.5235987755982988;
constexpr double largest_exponent = 87;

double with_sign_of(double magnitude, double sign) { return sign < 0 ? -std::fabs(magnitude) : std::fabs(magnitude); }

}  // namespace

void degree3(std::span<const double, 4> c, int& n, std::span<double, 3> roots)
{
    // Normalised cubic x^3 + a x^2 + b x + c0 = 0.
    const double a = c[2] / c[3];
    const double b = c[1] / c[3];
    const double c0 = c[0] / c[3];
    const double a3 = a / 3;

    // Depressed cubic t^3 + p t + q = 0 with x = t - a3; cancellation noise is set to 0.
    const double t0 = -a * a / 3;
    double p = b + t0;
    const double ep = (b * b + t0 * t0) * rounding;
    if (p * p < ep)
        p = 0;

    const double t1 = -b * a3;
    const double t2 = 2 * a3 * a3 * a3;
    double q = c0 + t1 + t2;
    const double eq = (c0 * c0 + t1 * t1 + t2 * t2) * rounding;
    if (q * q < eq)
        q = 0;

    double D = p * p * p / 27 + q * q / 4;

    if (p < 0) {
        // D is a difference here: compare it with its noise, taking whichever of its two
        // forms (from p and q, or from the normalised coefficients) is the less noisy.
        const double L1 = std::min(4 * std::log(std::fabs(p)) + std::log(ep) - std::log(81.0), largest_exponent);
        const double L2 = std::min(2 * std::log(std::fabs(q)) + std::log(eq) - std::log(4.0), largest_exponent);
        const double E = std::exp(L1) + std::exp(L2);

        const double terms[] = {b * b * b / 27, -a * a * b * b / 108, c0 * c0 / 4, -a * b * c0 / 6,
                                c0 * a3 * a3 * a3};
        double sum = 0;
        double squares = 0;
        for (double term : terms) {
            sum += term;
            squares += term * term;
        }
        const double F = squares * rounding;

        double noise = E;
        if (F <= E) {
            D = sum;
            noise = F;
        }
        if (D * D < noise)
            D = 0;
    }

    if (D > 0) {
        const double u = std::pow(std::sqrt(D) + std::fabs(q / 2), one_third);
        // w = u^2 - u v + v^2 with v = -p/(3u), so that the depressed root is -q/w.
        const double w = p < 0 ? std::fabs(q) * u / (u * u - p / 3) : u * u + p / 3 + p * p / (9 * u * u);
        if (a * q < 0)
            roots[0] = -c0 / (a3 * a3 + w - q * a3 / w);  // avoids -a3 - q/w cancelling
        else
            roots[0] = -a3 - q / w;
        n = 1;
        return;
    }

    const double phi = std::fabs(q) + std::fabs(D) == 0 ? 0 : std::atan2(q, 2 * std::sqrt(-D));
    double s = a < 0 ? -1 : 1;
    if (a == 0)
        s = q < 0 ? -1 : 1;
    const double r = std::sqrt(-p / 3);

    // The extreme root on the side of -a.
    const double first = -2 * s * r * std::cos(pi_over_6 - s * phi / 3);
    roots[0] = first - a3;

    if (a * q <= 0) {
        roots[1] = 2 * r * std::sin(phi / 3) - a3;
    } else {
        const double h = (a * b - c0) / 2;
        const double g = with_sign_of(std::sqrt(-27 * D) / (2 * first * first - q / first), h);
        roots[1] = h / (q / first + 2 * first * a3 - 4 * a3 * a3) - g;
    }

    if (D != 0 && roots[1] != 0) {
        roots[2] = -c0 / (roots[0] * roots[1]);
    } else if (D != 0) {
        // A zero root leaves x^2 + a x + b = 0, whose roots multiply to b.
        roots[2] = roots[0] != 0 ? b / roots[0] : -a;
    } else if (a * q >= 0) {
        roots[2] = roots[0];
        roots[0] = roots[1];
    } else {
        roots[2] = -c0 / (roots[0] * roots[0]);
        roots[1] = roots[0];
    }
    n = 3;
}

}  // namespace quorvel
