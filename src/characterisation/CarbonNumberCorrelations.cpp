#include "characterisation/CarbonNumberCorrelations.h"

#include "calc/FluidRecordKeys.h"
#include "characterisation/CarbonNumberTables.h"
#include "characterisation/SpeciesIdentifier.h"
#include "thermo/CorrelationCodes.h"

#include <cmath>

namespace quorvel {

namespace {

// Carbon numbers the lumped fractions stand for.
constexpr int kC7PlusCarbonNumber = 10;
constexpr int kCn1CarbonNumber = 13;
constexpr int kCn2CarbonNumber = 28;

// (1 + p1 x + p2 x^2) / (1 + q1 x + q2 x^2), the form of Jianzhong's reference series.
double ratio(double x, double p1, double p2, double q1, double q2)
{
    return (1 + p1 * x + p2 * x * x) / (1 + q1 * x + q2 * x * x);
}

// Jianzhong's reference series is in powers of the molar weight above a light n-alkane's.
constexpr double kMethaneMw = 16.0426;
constexpr double kEthaneMw = 30.0694;
constexpr double kPentaneMw = 72.1486;
constexpr double kTb0Scale = 111.636;  // K
constexpr double kTb0[4]{0.13696461, 0.009263522, 0.044162923, 0.00073097615};

// The molar weight whose reference boiling point is Tb: the quadratic in x = (M - 16.0426)^(2/3).
double referenceMolarWeight(double Tb)
{
    const double a = kTb0[3] * Tb - kTb0Scale * kTb0[1];
    const double b = kTb0[2] * Tb - kTb0Scale * kTb0[0];
    const double c = Tb - kTb0Scale;
    const double rootOfD = std::sqrt(b * b - 4 * a * c);
    const double r1 = (-b - rootOfD) / (2 * a);
    const double r2 = (rootOfD - b) / (2 * a);
    const double x = r1 > 0 ? r1 : r2;
    return std::pow(x, 1.5) + kMethaneMw;
}

double jianzhongOmega(int n)
{
    const double x = n;
    return 0.1944778 + x * (0.0315382 + x * (0.000173473 + x * (-1.13389e-6 + x * 8.96972e-9)));
}

// The getters of one single-carbon-number source; criticalVolume gives cm3/mol.
struct CarbonNumberSource
{
    CarbonNumberRange range;
    double (*mw)(int);
    double (*Tc)(int);
    double (*Pc)(int);
    double (*criticalVolume)(int);
    double (*SG)(int);
    double (*Tb)(int);
    double (*omega)(int);
};

const CarbonNumberSource kKatzFiroozabadiTable{
    kKatzFiroozabadiRange, getKatzFiroozabadiMolarWeight, getKatzFiroozabadiTc, getKatzFiroozabadiPc,
    [](int n) { return getKatzFiroozabadiMolarWeight(n) * kSpecificToMolarVolume * getKatzFiroozabadiVc(n); },
    getKatzFiroozabadiSG, getKatzFiroozabadiTb, getKatzFiroozabadiOmega};

const CarbonNumberSource kAhmedTable{
    kAhmedRange, getAhmedMolarWeight, getAhmedTc, getAhmedPc,
    [](int n) { return getAhmedMolarWeight(n) * kSpecificToMolarVolume * getAhmedVc(n); },
    getAhmedSG, getAhmedTb, getAhmedOmega};

const CarbonNumberSource kRiaziAlSahhafTable{
    kRiaziAlSahhafRange, getRiaziAlSahhafMolarWeight, getRiaziAlSahhafTc, getRiaziAlSahhafPc,
    [](int n) { return getRiaziAlSahhafMolarWeight(n) / getRiaziAlSahhafDc(n); },
    getRiaziAlSahhafSG, getRiaziAlSahhafTb, getRiaziAlSahhafOmega};

CorrelationStatus applyTableCorrelation(Dictionary component, const CarbonNumberSource& source,
                                        CorrelationCode code)
{
    const std::optional<int> n = carbonNumberOf(component.intValue(componentkey::nc), source.range);
    if (!n)
        return CorrelationStatus::OutOfRange;
    return writeCorrelationResult(component,
                                  {{componentkey::mw, source.mw(*n)},
                                   {componentkey::tc, kelvinToCelsius(source.Tc(*n))},
                                   {componentkey::pc, source.Pc(*n)},
                                   {componentkey::vc, source.criticalVolume(*n)},
                                   {componentkey::sg, source.SG(*n)},
                                   {componentkey::tb, kelvinToCelsius(source.Tb(*n))},
                                   {componentkey::omega, source.omega(*n)}},
                                  code);
}

}  // namespace

std::optional<int> carbonNumberOf(int nc, CarbonNumberRange range)
{
    int n = nc;
    if (nc > kSpeciesPlusFraction)
        n = nc - kSpeciesPlusFraction;
    else if (nc == kSpeciesC7Plus)
        n = kC7PlusCarbonNumber;
    else if (nc == kSpeciesCn1)
        n = kCn1CarbonNumber;
    else if (nc == kSpeciesCn2)
        n = kCn2CarbonNumber;
    if (n < range.first || n > range.last)
        return std::nullopt;
    return n;
}

double getJianzhongSG(double mw)
{
    return 0.6262 * ratio(std::pow(mw - kPentaneMw, 2.0 / 3), 0.066878721, 0.0059212241, 0.062791972,
                          0.0042682682);
}

void getFromJianzhongCorrelation(int n, double mw, double SG, double Tb, double& mwOut, double& TcOut,
                                 double& PcOut, double& SGOut, double& TbOut, double& VcOut,
                                 double& omegaOut)
{
    double M = 14.0 * n + 2;
    if (Tb != 0)
        M = referenceMolarWeight(Tb);

    // Reference series at M.
    const double x4 = M - kMethaneMw;
    const double x1 = std::pow(x4, 2.0 / 3);
    const double x2 = std::pow(M - kEthaneMw, 2.0 / 3);
    const double Tb0 = kTb0Scale * ratio(x1, kTb0[0], kTb0[1], kTb0[2], kTb0[3]);
    const double Tc0 = 1.7071 * Tb0 * ratio(x1, 0.020756019, 0.00098431965, 0.023293035, 0.0016839807);
    const double Pc0 = 48.72 * ratio(x2, 0.002443461, 4.30878e-5, 0.016088038, 0.0020717865);
    const double SG0 = getJianzhongSG(M);
    const double Vc0 =
        18792.102 * (1 + 0.089331074 * x4 + 0.00084891811 * x4 * x4) / (1 + 0.0020935548 * x4) / Tc0;

    // Gravity correction of the critical temperature.
    const double d = SG != 0 ? (SG - SG0) / SG : 0;
    double Tc = Tc0;
    SGOut = SG0;
    if (SG != 0) {
        const double S = SG;
        const double f1 = 27924.74 / S - 17985.73 - 10655.7 / (S * S);
        const double f2 = -182527.9 / S + 121794.1 + 68835.68 / (S * S);
        const double f3 = 405746.3 / S - 248434 - 172937.8 / (S * S);
        Tc = Tc0 + d * (f1 + d * (f2 + d * f3));
        SGOut = SG;
    }
    const double e = Tc - Tc0;
    const double s = std::sqrt(std::fabs(e));

    mwOut = mw;
    if (mw == 0) {
        const double g1 = 2152.7818 / Tc - 1.7454987 - 636828.78 / (Tc * Tc);
        const double g2 = -658.71831 / Tc + 0.52774857 + 197859.82 / (Tc * Tc);
        const double g3 = 45.890527 / Tc - 0.036689969 - 13987.772 / (Tc * Tc);
        mwOut = M * std::exp(s * (g1 + s * (g2 + s * g3)));
    }
    TbOut = Tb0;
    const double density = 8.968712e-5 * std::pow(Tb0, 1.190848) * std::pow(std::fabs(d), 0.5158538) + M / Vc0;
    VcOut = mwOut / density;
    const double h1 = -165.3547 / Tc + 0.1189386 + 55837.03 / (Tc * Tc);
    const double h2 = 1.039758 / Tc - 0.0007808771 - 307.2315 / (Tc * Tc);
    PcOut = (Pc0 * Vc0 / Tc0 + e * (h1 + e * h2)) * Tc / VcOut;
    TcOut = Tc;
    omegaOut = jianzhongOmega(n);
}

CorrelationStatus applyJianzhongCorrelation(Dictionary component, CorrelationCode mode)
{
    using enum CorrelationCode;
    if (mode != jianzhong0 && mode != jianzhong1 && mode != jianzhong2)
        return CorrelationStatus::UnknownCode;
    const std::optional<int> n = carbonNumberOf(component.intValue(componentkey::nc), kJianzhongRange);
    if (!n)
        return CorrelationStatus::OutOfRange;

    double mw = 0, SG = 0, Tb = 0;
    if (mode == jianzhong1) {
        mw = component.doubleValue(componentkey::mw);
        SG = component.doubleValue(componentkey::sg);
    } else if (mode == jianzhong2) {
        Tb = celsiusToKelvin(component.doubleValue(componentkey::tb));
        SG = component.doubleValue(componentkey::sg);
    }
    double mwOut, TcOut, PcOut, SGOut, TbOut, VcOut, omegaOut;
    getFromJianzhongCorrelation(*n, mw, SG, Tb, mwOut, TcOut, PcOut, SGOut, TbOut, VcOut, omegaOut);

    const double Tc = kelvinToCelsius(TcOut);
    switch (mode) {
    case jianzhong0:
        return writeCorrelationResult(component,
                                      {{componentkey::mw, mwOut},
                                       {componentkey::tc, Tc},
                                       {componentkey::pc, PcOut},
                                       {componentkey::vc, VcOut},
                                       {componentkey::sg, SGOut},
                                       {componentkey::tb, kelvinToCelsius(TbOut)},
                                       {componentkey::omega, omegaOut}},
                                      mode);
    case jianzhong1:
        return writeCorrelationResult(component,
                                      {{componentkey::tc, Tc},
                                       {componentkey::pc, PcOut},
                                       {componentkey::vc, VcOut},
                                       {componentkey::tb, kelvinToCelsius(TbOut)},
                                       {componentkey::omega, omegaOut}},
                                      mode);
    default:
        return writeCorrelationResult(component,
                                      {{componentkey::tc, Tc},
                                       {componentkey::pc, PcOut},
                                       {componentkey::vc, VcOut},
                                       {componentkey::mw, mwOut},
                                       {componentkey::omega, omegaOut}},
                                      mode);
    }
}

CorrelationStatus applyKatzFiroozabadiCorrelation(Dictionary component)
{
    return applyTableCorrelation(component, kKatzFiroozabadiTable, CorrelationCode::katzFiroozabadi);
}

CorrelationStatus applyAhmedCorrelation(Dictionary component)
{
    return applyTableCorrelation(component, kAhmedTable, CorrelationCode::ahmed);
}

CorrelationStatus applyRiaziAlSahhafCorrelation(Dictionary component)
{
    return applyTableCorrelation(component, kRiaziAlSahhafTable, CorrelationCode::riaziAlSahhaf);
}

CorrelationStatus applyMontelCorrelation(Dictionary component)
{
    const std::optional<int> n = carbonNumberOf(component.intValue(componentkey::nc), kMontelRange);
    if (!n)
        return CorrelationStatus::OutOfRange;
    const double x = *n;
    const double M = component.doubleValue(componentkey::mw);
    const double b = 22.5 + 14 * x - 0.08 * x * x;
    const double omega = 0.14 + 0.025 * x - 0.00017 * x * x;
    const double Tc = 96 + 90 * std::log(M) + 0.75 * M - 4100 / M;  // K
    const double Pc = 655398.1443946692 * Tc / b;                   // Pa
    const double Vc = 2.5558574518639996 * Tc / Pc;                  // m3/mol
    return writeCorrelationResult(component,
                                  {{componentkey::tc, kelvinToCelsius(Tc)},
                                   {componentkey::pc, Pc * 1e-5},
                                   {componentkey::omega, omega},
                                   {componentkey::vc, Vc * 1e6}},
                                  CorrelationCode::montel);
}

}  // namespace quorvel
