#include "characterisation/BulkPropertyCorrelations.h"

#include "calc/FluidRecordKeys.h"
#include "numeric/Secant.h"
#include "thermo/CorrelationCodes.h"

#include <cmath>
#include <limits>
#include <optional>

namespace quorvel {

namespace {

constexpr double kNotANumber = std::numeric_limits<double>::quiet_NaN();
constexpr double kAtmosphereInBar = 1.01325;
constexpr double kAtmosphereInPsia = 14.7;

// A molar weight or gravity a correlation can work from (an absent key reads as 0).
bool usable(double input) { return std::isfinite(input) && input > 0; }

struct MwAndSG
{
    double M;  // g/mol
    double S;
};

// The record's "mw" and "SG", when both are usable.
std::optional<MwAndSG> readMwAndSG(const Dictionary& component)
{
    const MwAndSG inputs{component.doubleValue(componentkey::mw), component.doubleValue(componentkey::sg)};
    if (!usable(inputs.M) || !usable(inputs.S))
        return std::nullopt;
    return inputs;
}

double rankineToCelsius(double rankine) { return kelvinToCelsius(rankine / kRankinePerKelvin); }
double celsiusToRankine(double celsius) { return celsiusToKelvin(celsius) * kRankinePerKelvin; }

// Riazi and Daubert's form a M^b S^c exp(d M + e S + f M S).
struct RiaziDaubertCoefficients
{
    double a, b, c, d, e, f;
};
constexpr RiaziDaubertCoefficients kRiaziDaubertTb{6.77857, 0.401673, -1.58262, 0.00377409, 2.984036, -0.00425288};
constexpr RiaziDaubertCoefficients kRiaziDaubertTc{544.4, 0.2998, 1.0555, -0.00013478, -0.61641, 0};
constexpr RiaziDaubertCoefficients kRiaziDaubertPc{45203, -0.8063, 1.6015, -0.0018078, -0.3084, 0};
constexpr RiaziDaubertCoefficients kRiaziDaubertVc{0.01206, 0.20378, -1.3036, -0.002657, 0.5287, 0.0026012};

double riaziDaubert(const RiaziDaubertCoefficients& k, double M, double S)
{
    return k.a * std::pow(M, k.b) * std::pow(S, k.c) * std::exp(k.d * M + k.e * S + k.f * M * S);
}

// Kesler-Lee critical temperature and pressure of a cut boiling at T (degrees R).
double leeKeslerTc(double T, double S)  // degrees R
{
    return 341.7 + 811 * S + (0.4244 + 0.1174 * S) * T + (0.4669 - 3.2623 * S) * 1e5 / T;
}

double leeKeslerPc(double T, double S)  // bar
{
    const double lnPc = 8.3634 - 0.0566 / S - (0.24244 + 2.2898 / S + 0.11857 / (S * S)) * 1e-3 * T +
                        (1.4685 + 3.648 / S + 0.47227 / (S * S)) * 1e-7 * T * T -
                        (0.42019 + 1.6977 / (S * S)) * 1e-10 * T * T * T;
    return std::exp(lnPc) * kBarPerPsia;
}

// Kesler-Lee acentric factor from the reduced boiling point; the vapour-pressure form
// below Tbr 0.8 takes Pc in atmospheres.
double leeKeslerOmega(double Tbr, double Kw, double PcBar)
{
    if (Tbr < 0.8) {
        const double Tbr6 = std::pow(Tbr, 6);
        return (-std::log(PcBar / kAtmosphereInBar) - 5.92714 + 6.09648 / Tbr + 1.28862 * std::log(Tbr) -
                0.169347 * Tbr6) /
               (15.2518 - 15.6875 / Tbr - 13.4721 * std::log(Tbr) + 0.43577 * Tbr6);
    }
    return -7.904 + 0.1352 * Kw - 0.007465 * Kw * Kw + 8.359 * Tbr + (1.408 - 0.01063 * Kw) / Tbr;
}

// Twu's normal-paraffin boiling point (degrees R) of molar weight M.
double twuParaffinTb(double M)
{
    const double theta = std::log(M);
    return std::exp(5.71419 + 2.71579 * theta - 0.28659 * theta * theta - 39.8544 / theta -
                    0.122488 / (theta * theta)) -
           24.7522 * theta + 35.3155 * theta * theta;
}

// The normal paraffin's molar weight boiling at T (degrees R); not a number when the
// solve fails (Twu's start goes negative above about 2000 R).
double twuParaffinMw(double T)
{
    TwuMw equation;
    equation.Tb = T;
    Secant secant;
    secant._setEquationToSolve(&equation, static_cast<EquationFunction>(&TwuMw::equationForCalculateMw));
    const double start = T / (10.44 - 0.0052 * T);
    secant.set_initial_values(start, start + 0.001);
    const double M = secant.solve();
    return secant.good() ? M : kNotANumber;
}

// Twu's correction factor ((1 + 2 f) / (1 - 2 f))^2.
double twuFactor(double f)
{
    const double r = (1 + 2 * f) / (1 - 2 * f);
    return r * r;
}

}  // namespace

double LeeKeslerMw::equationForCalculateTb(double T, void*)
{
    const double R = kRankinePerKelvin * T;
    const double S = SG;
    const double M = 9486.4 * S - 12272.6 + (4.6523 - 3.3287 * S) * R +
                     (1 - 0.77084 * S - 0.02058 * S * S) * (1.3437 - 720.79 / R) * 1e7 / R +
                     (1 - 0.80882 * S + 0.02226 * S * S) * (1.8828 - 181.98 / R) * 1e12 / (R * R * R);
    return M - mw;
}

double TwuMw::equationForCalculateMw(double M, void*)
{
    if (M < 0) {
        evaluation_error = true;
        return 0;
    }
    return Tb - twuParaffinTb(M);
}

double getRiaziDaubertTb(double mw, double SG) { return riaziDaubert(kRiaziDaubertTb, mw, SG) / kRankinePerKelvin; }
double getRiaziDaubertTc(double mw, double SG) { return riaziDaubert(kRiaziDaubertTc, mw, SG) / kRankinePerKelvin; }
double getRiaziDaubertPc(double mw, double SG) { return riaziDaubert(kRiaziDaubertPc, mw, SG) * kBarPerPsia; }
double getRiaziDaubertVc(double mw, double SG)
{
    return riaziDaubert(kRiaziDaubertVc, mw, SG) * kCubicMetrePerKgPerFt3PerLb;
}

double getEdmisterOmega(double Tc, double Pc, double Tb)
{
    const double TcR = celsiusToRankine(Tc);
    const double TbR = celsiusToRankine(Tb);
    const double PcPsia = Pc / kBarPerPsia;
    return 3 * std::log10(PcPsia / kAtmosphereInPsia) / (7 * (TcR / TbR - 1)) - 1;
}

double calculateLeeKeslerTb(double mw, double SG)
{
    LeeKeslerMw equation;
    equation.SG = SG;
    equation.mw = mw;
    Secant secant;
    secant._setEquationToSolve(&equation, static_cast<EquationFunction>(&LeeKeslerMw::equationForCalculateTb));
    secant.set_initial_values(673, 673.01);
    const double Tb = secant.solve();
    return secant.good() ? Tb : kNotANumber;
}

CorrelationStatus applyRiaziDaubertCorrelation(Dictionary component)
{
    const std::optional<MwAndSG> inputs = readMwAndSG(component);
    if (!inputs)
        return CorrelationStatus::InvalidResult;
    const auto [M, S] = *inputs;
    return writeCorrelationResult(component,
                                  {{componentkey::tc, kelvinToCelsius(getRiaziDaubertTc(M, S))},
                                   {componentkey::pc, getRiaziDaubertPc(M, S)},
                                   {componentkey::vc, M * kSpecificToMolarVolume * getRiaziDaubertVc(M, S)},
                                   {componentkey::tb, kelvinToCelsius(getRiaziDaubertTb(M, S))}},
                                  CorrelationCode::riaziDaubert);
}

CorrelationStatus applyEdmisterCorrelation(Dictionary component)
{
    const double omega =
        getEdmisterOmega(component.doubleValue(componentkey::tc), component.doubleValue(componentkey::pc),
                         component.doubleValue(componentkey::tb));
    return writeCorrelationResult(component, {{componentkey::omega, omega}}, CorrelationCode::edmister);
}

CorrelationStatus applyLeeKeslerCorrelation(Dictionary component)
{
    const std::optional<MwAndSG> inputs = readMwAndSG(component);
    if (!inputs)
        return CorrelationStatus::InvalidResult;
    const auto [M, S] = *inputs;
    const double Tb = calculateLeeKeslerTb(M, S);
    const double T = kRankinePerKelvin * Tb;
    const double Tc = leeKeslerTc(T, S);
    const double Pc = leeKeslerPc(T, S);
    const double omega = leeKeslerOmega(T / Tc, std::cbrt(T) / S, Pc);
    return writeCorrelationResult(component,
                                  {{componentkey::tb, kelvinToCelsius(Tb)},
                                   {componentkey::tc, rankineToCelsius(Tc)},
                                   {componentkey::pc, Pc},
                                   {componentkey::omega, omega}},
                                  CorrelationCode::leeKesler);
}

CorrelationStatus applyWinnCorrelation(Dictionary component)
{
    const std::optional<MwAndSG> inputs = readMwAndSG(component);
    if (!inputs)
        return CorrelationStatus::InvalidResult;
    const auto [M, S] = *inputs;
    // Sim and Daubert's analytical form of Winn's nomograph, Tb in K; exp(...) gives degrees R.
    const double Tb = std::pow(M / 5.805e-5 * std::pow(S, 0.9371), 1 / 2.3776);
    const double TcRankine = std::exp(4.2009 * std::pow(Tb, 0.08615) * std::pow(S, 0.04614));
    const double Pc = 61483000 * std::pow(Tb, -2.3177) * std::pow(S, 2.4853);
    return writeCorrelationResult(component,
                                  {{componentkey::tb, kelvinToCelsius(Tb)},
                                   {componentkey::tc, rankineToCelsius(TcRankine)},
                                   {componentkey::pc, Pc}},
                                  CorrelationCode::winn);
}

CorrelationStatus applyCavettCorrelation(Dictionary component)
{
    const double S = component.doubleValue(componentkey::sg);
    if (!usable(S))
        return CorrelationStatus::InvalidResult;
    const double T = kRankinePerKelvin * component.doubleValue(componentkey::tb) + 32;  // degrees F
    const double API = 141.5 / S - 131.5;
    const double Tc = 768.071 + 1.7134 * T - 0.0010834 * T * T + 3.889e-7 * T * T * T - 0.0089213 * T * API +
                      5.3095e-6 * T * T * API + 3.2712e-8 * T * T * API * API;  // degrees R
    const double log10Pc = 2.829 + 0.0009412 * T - 3.0474e-6 * T * T + 1.5184e-9 * T * T * T -
                           2.0876e-5 * T * API + 1.1048e-8 * T * T * API + 1.395e-10 * T * T * API * API -
                           4.827e-8 * T * API * API;  // psia
    return writeCorrelationResult(
        component, {{componentkey::tc, rankineToCelsius(Tc)}, {componentkey::pc, std::pow(10, log10Pc) * kBarPerPsia}},
        CorrelationCode::cavett);
}

CorrelationStatus applyPedersenCorrelation(Dictionary component)
{
    const std::optional<MwAndSG> inputs = readMwAndSG(component);
    if (!inputs)
        return CorrelationStatus::InvalidResult;
    const auto [M, S] = *inputs;
    const double Tc = 163.12 * S + 86.052 * std::log(M) + 0.43475 * M - 1877.4 / M;  // K
    const double Pc = kAtmosphereInBar * std::exp(-0.13408 + 2.5019 * S + 208.46 / M - 3987.2 / (M * M));
    // omega from the SRK slope m = 0.48 + 1.574 omega - 0.176 omega^2, the smaller root.
    const double m = 0.7431 + 0.0048122 * M + 0.0096707 * S - 3.7184e-6 * M * M;
    const double p = 1.574 / -0.176;
    const double q = (0.48 - m) / -0.176;
    const double omega = -p / 2 - std::sqrt(p * p / 4 - q);
    return writeCorrelationResult(
        component, {{componentkey::tc, kelvinToCelsius(Tc)}, {componentkey::pc, Pc}, {componentkey::omega, omega}},
        CorrelationCode::pedersen);
}

CorrelationStatus applyTwuCorrelation(Dictionary component)
{
    const double S = component.doubleValue(componentkey::sg);
    if (!usable(S))
        return CorrelationStatus::InvalidResult;
    const double T = celsiusToRankine(component.doubleValue(componentkey::tb));
    const double rootT = std::sqrt(T);

    // The normal paraffin boiling at T.
    const double Tc0 = T / (0.533272 + 0.000191017 * T + 7.79681e-8 * T * T - 2.84376e-11 * T * T * T +
                            9.59468e27 / std::pow(T, 13));
    const double M0 = twuParaffinMw(T);
    const double a = 1 - T / Tc0;
    const double Vc0 = std::pow(0.580131 + 0.505839 * a + 1.56436 * std::pow(a, 3) + 9481.7 * std::pow(a, 14), -8);
    const double SG0 = 0.843593 - 0.128624 * a - 3.36159 * std::pow(a, 3) - 13749.5 * std::pow(a, 12);
    const double rootPc0 = 3.83354 + 1.19629 * std::sqrt(a) + 34.8888 * a + 36.1952 * a * a + 104.193 * std::pow(a, 4);
    const double Pc0 = rootPc0 * rootPc0;

    // Corrections for the gravity difference from the paraffin.
    const double dT = std::exp(5 * (SG0 - S)) - 1;
    const double fT = dT * (-0.362456 / rootT + (0.0398285 - 0.948125 / rootT) * dT);
    const double Tc = Tc0 * twuFactor(fT);
    const double dV = std::exp(4 * (SG0 * SG0 - S * S)) - 1;
    const double fV = dV * (0.46659 / rootT + (-0.182421 + 3.01721 / rootT) * dV);
    const double Vc = Vc0 * twuFactor(fV);  // ft3/lbmol
    const double dP = std::exp(0.5 * (SG0 - S)) - 1;
    const double fP = dP * ((2.53262 - 46.1955 / rootT - 0.00127885 * T) +
                            (-11.4277 + 252.14 / rootT + 0.00230535 * T) * dP);
    const double Pc = Pc0 * (Tc / Tc0) * (Vc0 / Vc) * twuFactor(fP);  // psia
    const double dM = std::exp(5 * (SG0 - S)) - 1;
    const double x = std::fabs(0.012342 - 0.328086 / rootT);
    const double fM = dM * (x + (-0.0175691 + 0.193168 / rootT) * dM);
    const double M = std::exp(std::log(M0) * twuFactor(fM));

    return writeCorrelationResult(component,
                                  {{componentkey::tc, rankineToCelsius(Tc)},
                                   {componentkey::pc, Pc * kBarPerPsia},
                                   {componentkey::vc, Vc * kCubicMetrePerKgPerFt3PerLb * kSpecificToMolarVolume},
                                   {componentkey::mw, M}},
                                  CorrelationCode::twu);
}

CorrelationStatus applyStamatakiCorrelation(Dictionary component)
{
    const std::optional<MwAndSG> inputs = readMwAndSG(component);
    if (!inputs)
        return CorrelationStatus::InvalidResult;
    const auto [M, S] = *inputs;
    const double Tc = 0.44 * M - 693 + 1095 * S - 15000 / M + 393 / S;  // K
    const double Pc = std::exp(-0.0048442 * M - 2.6554 + 0.13239 * S + 227 / M - 1.1663 / S + 1.2702 * std::log(M));
    const double omega = 0.0014667 * M - 0.64235 + 0.21876 * S - 4.559 / M + 0.21699 * std::log(M);
    const double slope = 0.384401 + omega * (1.52276 + omega * (-0.213808 + omega * (0.034616 - omega * 0.001976)));
    return writeCorrelationResult(component,
                                  {{componentkey::tc, kelvinToCelsius(Tc)},
                                   {componentkey::pc, Pc},
                                   {componentkey::omega, omega},
                                   {componentkey::slope, slope}},
                                  CorrelationCode::stamataki);
}

CorrelationStatus applyPedersenTbCorrelation(Dictionary component)
{
    const std::optional<MwAndSG> inputs = readMwAndSG(component);
    if (!inputs)
        return CorrelationStatus::InvalidResult;
    const auto [M, S] = *inputs;
    const double Tb = 97.58 * std::pow(M, 0.3323) * std::pow(S, 0.04609);  // K
    return writeCorrelationResult(component, {{componentkey::tb, kelvinToCelsius(Tb)}}, CorrelationCode::pedersenTb);
}

CorrelationStatus applyWhitsonTbCorrelation(Dictionary component)
{
    const std::optional<MwAndSG> inputs = readMwAndSG(component);
    if (!inputs)
        return CorrelationStatus::InvalidResult;
    const auto [M, S] = *inputs;
    const double root = 4.5579 * std::pow(M, 0.15178) * std::pow(S, 0.15427);
    return writeCorrelationResult(component, {{componentkey::tb, rankineToCelsius(root * root * root)}},
                                  CorrelationCode::whitsonTb);
}

}  // namespace quorvel
