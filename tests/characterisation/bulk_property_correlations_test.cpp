#include "characterisation/BulkPropertyCorrelations.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using namespace quorvel;

constexpr double kPsiaToBar = 0.068948;
constexpr double kAtmospherePsia = 14.696;

double rankine(const Dictionary& component, const char* key) { return (component.doubleValue(key) + 273.15) * 1.8; }
double psia(const Dictionary& component) { return component.doubleValue("Pc") / kPsiaToBar; }
double celsiusOfRankine(double R) { return R / 1.8 - 273.15; }

Dictionary heavyCut(double mw, double SG, double TbCelsius = 0)
{
    Dictionary component{{"name", "C7"}, {"nc", 7}, {"mw", mw}, {"SG", SG}};
    if (TbCelsius != 0)
        component.setValue("Tb", TbCelsius);
    return component;
}

// Ahmed's worked example of the Riazi-Daubert correlation: M 150, SG 0.78.
TEST(RiaziDaubertCorrelation, TextbookExample)
{
    Dictionary component = heavyCut(150, 0.78);
    ASSERT_EQ(applyRiaziDaubertCorrelation(component), CorrelationStatus::Applied);
    EXPECT_NEAR(rankine(component, "Tb"), 825.26, 0.01);
    EXPECT_NEAR(rankine(component, "Tc"), 1139.80, 0.01);
    EXPECT_NEAR(psia(component), 320.28, 0.01);
    EXPECT_EQ(component.intValue("corr"), 5);
    EXPECT_FALSE(component.contains("omega"));

    // Edmister on those values: omega = 3/7 log10(Pc/14.7) / (Tc/Tb - 1) - 1.
    ASSERT_EQ(applyEdmisterCorrelation(component), CorrelationStatus::Applied);
    const double expected = 3.0 / 7 * std::log10(320.28 / 14.7) / (1139.80 / 825.26 - 1) - 1;
    EXPECT_NEAR(component.doubleValue("omega"), expected, 2e-4);
    EXPECT_NEAR(component.doubleValue("omega"), 0.5048, 2e-4);
    EXPECT_EQ(component.intValue("corr"), 6);

    // On the Katz-Firoozabadi C7 row.
    Dictionary c7{{"Tc", 985 / 1.8 - 273.15}, {"Pc", 453 * kPsiaToBar}, {"Tb", 658 / 1.8 - 273.15}};
    ASSERT_EQ(applyEdmisterCorrelation(c7), CorrelationStatus::Applied);
    EXPECT_NEAR(c7.doubleValue("omega"), 0.28390, 5e-5);
}

// Twu's correlation is built on the normal paraffins: from their measured boiling point and
// gravity it gives back their critical temperature, pressure and molar weight.
TEST(TwuCorrelation, ReproducesNormalParaffins)
{
    struct Paraffin
    {
        const char* name;
        double Tb, SG, Tc, Pc, mw;  // K, -, K, bar, g/mol
    };
    const Paraffin paraffins[] = {
        {"n-heptane", 371.58, 0.6882, 540.2, 27.4, 100.20},
        {"n-decane", 447.30, 0.7342, 617.7, 21.1, 142.29},
        {"n-hexadecane", 560.01, 0.7772, 723.0, 14.0, 226.45},
    };
    for (const Paraffin& p : paraffins) {
        SCOPED_TRACE(p.name);
        Dictionary component = heavyCut(1, p.SG, p.Tb - 273.15);
        ASSERT_EQ(applyTwuCorrelation(component), CorrelationStatus::Applied);
        EXPECT_NEAR(component.doubleValue("Tc") + 273.15, p.Tc, 0.01 * p.Tc);
        EXPECT_NEAR(component.doubleValue("Pc"), p.Pc, 0.01 * p.Pc);
        EXPECT_NEAR(component.doubleValue("mw"), p.mw, 0.01 * p.mw);
        EXPECT_EQ(component.intValue("corr"), 12);
    }
}

// Above about 842 C Twu's secant start goes negative and the solve fails: the record keeps
// every value, its "mw" included.
TEST(TwuCorrelation, FailedSolveLeavesTheRecordUnchanged)
{
    Dictionary component = heavyCut(500, 0.95, 900);
    const Dictionary before = component.copy();
    EXPECT_EQ(applyTwuCorrelation(component), CorrelationStatus::InvalidResult);
    EXPECT_TRUE(component.isEqualTo(before));

    TwuMw equation;
    EXPECT_EQ(equation.equationForCalculateMw(-1, nullptr), 0);
    EXPECT_TRUE(equation.evaluation_error);
}

// Kesler-Lee molar weight of a boiling point, written here in its published form (degrees R).
double keslerLeeMolarWeight(double TbR, double S)
{
    return -12272.6 + 9486.4 * S + (4.6523 - 3.3287 * S) * TbR +
           (1 - 0.77084 * S - 0.02058 * S * S) * (1.3437 - 720.79 / TbR) * 1e7 / TbR +
           (1 - 0.80882 * S + 0.02226 * S * S) * (1.8828 - 181.98 / TbR) * 1e12 / std::pow(TbR, 3);
}

TEST(LeeKeslerCorrelation, BoilingPointGivesBackTheMolarWeight)
{
    for (const double mw : {90.0, 150.0, 300.0, 600.0})
        for (const double SG : {0.7, 0.85, 1.0}) {
            const double Tb = calculateLeeKeslerTb(mw, SG);
            EXPECT_NEAR(keslerLeeMolarWeight(1.8 * Tb, SG), mw, 1e-6 * mw) << mw << " " << SG;
        }
}

// Tc, Pc and omega in the published Kesler-Lee forms (degrees R, psia; the vapour-pressure
// form of omega below Tbr 0.8 takes Pc in atmospheres).
TEST(LeeKeslerCorrelation, CriticalPropertiesAndAcentricFactorInThePublishedForm)
{
    struct Case
    {
        double mw, SG;
        bool belowTbr08;
    };
    for (const Case& c : {Case{96, 0.727, true}, Case{800, 0.98, false}}) {
        SCOPED_TRACE(c.mw);
        Dictionary component = heavyCut(c.mw, c.SG);
        ASSERT_EQ(applyLeeKeslerCorrelation(component), CorrelationStatus::Applied);
        const double T = rankine(component, "Tb");
        const double S = c.SG;
        const double Tc = 341.7 + 811 * S + (0.4244 + 0.1174 * S) * T + (0.4669 - 3.2623 * S) * 1e5 / T;
        const double Pc = std::exp(8.3634 - 0.0566 / S - (0.24244 + 2.2898 / S + 0.11857 / (S * S)) * 1e-3 * T +
                                   (1.4685 + 3.648 / S + 0.47227 / (S * S)) * 1e-7 * T * T -
                                   (0.42019 + 1.6977 / (S * S)) * 1e-10 * T * T * T);
        const double Tbr = T / Tc;
        const double Kw = std::cbrt(T) / S;
        const double omega =
            Tbr < 0.8 ? (-std::log(Pc / kAtmospherePsia) - 5.92714 + 6.09648 / Tbr + 1.28862 * std::log(Tbr) -
                         0.169347 * std::pow(Tbr, 6)) /
                            (15.2518 - 15.6875 / Tbr - 13.4721 * std::log(Tbr) + 0.43577 * std::pow(Tbr, 6))
                      : -7.904 + 0.1352 * Kw - 0.007465 * Kw * Kw + 8.359 * Tbr + (1.408 - 0.01063 * Kw) / Tbr;
        EXPECT_EQ(Tbr < 0.8, c.belowTbr08);
        EXPECT_NEAR(rankine(component, "Tc"), Tc, 1e-6 * Tc);
        EXPECT_NEAR(psia(component), Pc, 1e-6 * Pc);
        EXPECT_NEAR(component.doubleValue("omega"), omega, 2e-4);
        EXPECT_EQ(component.intValue("corr"), 7);
    }
    Dictionary c7 = heavyCut(96, 0.727);
    applyLeeKeslerCorrelation(c7);
    EXPECT_NEAR(c7.doubleValue("Tb"), 86.599, 5e-4);
    EXPECT_NEAR(c7.doubleValue("Tc"), 264.200, 5e-4);
    EXPECT_NEAR(c7.doubleValue("Pc"), 32.465, 5e-4);
}

// Sim and Daubert's analytical Winn nomograph in its degrees-R form.
TEST(WinnCorrelation, AgreesWithItsRankineForm)
{
    for (const auto& [mw, S] : {std::pair{96.0, 0.727}, std::pair{250.0, 0.86}, std::pair{500.0, 0.93}}) {
        Dictionary component = heavyCut(mw, S);
        ASSERT_EQ(applyWinnCorrelation(component), CorrelationStatus::Applied);
        const double TbR = std::pow(mw * std::pow(S, 0.9371) / 1.4350476e-5, 1 / 2.3776);
        const double TcR = std::exp(3.9934718 * std::pow(TbR, 0.08615) * std::pow(S, 0.04614));
        const double PcPsia = 3.48242e9 * std::pow(TbR, -2.3177) * std::pow(S, 2.4853);
        EXPECT_NEAR(rankine(component, "Tb"), TbR, 2e-4 * TbR) << mw;
        EXPECT_NEAR(rankine(component, "Tc"), TcR, 2e-4 * TcR) << mw;
        EXPECT_NEAR(psia(component), PcPsia, 5e-4 * PcPsia) << mw;
        EXPECT_EQ(component.intValue("corr"), 8);
    }
}

// Cavett's equations with their published coefficients (T in degrees F).
TEST(CavettCorrelation, AgreesWithThePublishedEquations)
{
    for (const auto& [S, Tb] : {std::pair{0.727, 92.4}, std::pair{0.85, 300.0}, std::pair{0.93, 450.0}}) {
        Dictionary component = heavyCut(0, S, Tb);
        ASSERT_EQ(applyCavettCorrelation(component), CorrelationStatus::Applied);
        const double T = 1.8 * Tb + 32;
        const double API = 141.5 / S - 131.5;
        const double TcR = 768.07121 + 1.7133693 * T - 0.0010834003 * T * T - 0.0089212579 * API * T +
                           0.38890584e-6 * T * T * T + 0.5309492e-5 * API * T * T + 0.327116e-7 * API * API * T * T;
        const double log10Pc = 2.8290406 + 0.94120109e-3 * T - 0.30474749e-5 * T * T - 0.2087611e-4 * API * T +
                               0.15184103e-8 * T * T * T + 0.11047899e-7 * API * T * T -
                               0.48271599e-7 * API * API * T + 0.13949619e-9 * API * API * T * T;
        EXPECT_NEAR(rankine(component, "Tc"), TcR, 2e-4 * TcR) << Tb;
        EXPECT_NEAR(psia(component), std::pow(10, log10Pc), 5e-4 * std::pow(10, log10Pc)) << Tb;
        EXPECT_EQ(component.intValue("corr"), 9);
    }
}

// The remaining correlations on one record (mw 96, SG 0.727, Tb 92.4 C).
TEST(BulkPropertyCorrelations, OneRecordThroughEachCorrelation)
{
    Dictionary pedersen = heavyCut(96, 0.727, 92.4);
    ASSERT_EQ(applyPedersenCorrelation(pedersen), CorrelationStatus::Applied);
    EXPECT_NEAR(pedersen.doubleValue("Tc"), 260.389, 5e-4);
    EXPECT_NEAR(pedersen.doubleValue("Pc"), 31.087, 5e-4);
    const double omega = pedersen.doubleValue("omega");
    EXPECT_NEAR(0.48 + 1.574 * omega - 0.176 * omega * omega,
                0.7431 + 0.0048122 * 96 + 0.0096707 * 0.727 - 3.7184e-6 * 96 * 96, 1e-12);
    EXPECT_NEAR(omega, 0.4678, 5e-5);

    Dictionary twu = heavyCut(96, 0.727, 92.4);
    ASSERT_EQ(applyTwuCorrelation(twu), CorrelationStatus::Applied);
    EXPECT_NEAR(twu.doubleValue("Tc"), 273.006, 5e-4);
    EXPECT_NEAR(twu.doubleValue("Pc"), 30.782, 1e-3);
    EXPECT_NEAR(twu.doubleValue("Vc"), 390.83, 5e-3);
    EXPECT_NEAR(twu.doubleValue("mw"), 95.785, 5e-4);

    Dictionary stamataki = heavyCut(96, 0.727, 92.4);
    stamataki.setValue("slope", 7.0);
    ASSERT_EQ(applyStamatakiCorrelation(stamataki), CorrelationStatus::Applied);
    EXPECT_NEAR(stamataki.doubleValue("Tc"), 256.483, 5e-4);
    EXPECT_NEAR(stamataki.doubleValue("Pc"), 34.253, 1e-3);
    EXPECT_NEAR(stamataki.doubleValue("omega"), 0.6004, 5e-5);
    EXPECT_NEAR(stamataki.doubleValue("slope"), 1.2289, 5e-5);

    Dictionary pedersenTb = heavyCut(96, 0.727);
    ASSERT_EQ(applyPedersenTbCorrelation(pedersenTb), CorrelationStatus::Applied);
    EXPECT_NEAR(pedersenTb.doubleValue("Tb"), 97.58 * std::pow(96, 0.3323) * std::pow(0.727, 0.04609) - 273.15,
                1e-9);
    EXPECT_NEAR(pedersenTb.doubleValue("Tb"), 165.065, 5e-4);

    // Whitson's boiling point is the Riazi-Daubert M(Tb, SG) solved for Tb: Tb^2.3776 x ... .
    Dictionary whitson = heavyCut(96, 0.727);
    ASSERT_EQ(applyWhitsonTbCorrelation(whitson), CorrelationStatus::Applied);
    const double TbR = rankine(whitson, "Tb");
    EXPECT_NEAR(TbR, std::pow(4.5579 * std::pow(96, 0.15178) * std::pow(0.727, 0.15427), 3), 1e-9 * TbR);
    EXPECT_NEAR(whitson.doubleValue("Tb"), 89.549, 5e-4);
    EXPECT_NEAR(celsiusOfRankine(TbR), whitson.doubleValue("Tb"), 1e-9);
}

// A record without the inputs a correlation needs, or one for which it gives no valid
// result, is left as it was: no zero Pc, no infinite or not-a-number value, no -273.15 C.
TEST(BulkPropertyCorrelations, LeaveTheRecordUnchangedWithoutValidResults)
{
    using Apply = CorrelationStatus (*)(Dictionary);
    struct Case
    {
        const char* what;
        Apply apply;
        Dictionary component;
    };
    const Case cases[] = {
        {"Riazi-Daubert without mw", applyRiaziDaubertCorrelation, Dictionary{{"SG", 0.8}}},
        {"Riazi-Daubert with negative SG", applyRiaziDaubertCorrelation, Dictionary{{"mw", 100.0}, {"SG", -0.8}}},
        {"Edmister without Tc and Pc", applyEdmisterCorrelation, Dictionary{{"Tb", 92.4}}},
        {"Edmister with Tc equal to Tb", applyEdmisterCorrelation,
         Dictionary{{"Tc", 92.4}, {"Pc", 30.0}, {"Tb", 92.4}}},
        {"Lee-Kesler without SG", applyLeeKeslerCorrelation, Dictionary{{"mw", 100.0}}},
        {"Lee-Kesler unsolvable", applyLeeKeslerCorrelation, Dictionary{{"mw", 60.0}, {"SG", 1.05}}},
        {"Winn without mw", applyWinnCorrelation, Dictionary{{"SG", 0.8}}},
        {"Cavett without SG", applyCavettCorrelation, Dictionary{{"Tb", 92.4}}},
        {"Pedersen without SG", applyPedersenCorrelation, Dictionary{{"mw", 100.0}}},
        {"Pedersen, Tc below absolute zero", applyPedersenCorrelation, Dictionary{{"mw", 1.0}, {"SG", 0.7}}},
        {"Twu without SG", applyTwuCorrelation, Dictionary{{"Tb", 92.4}}},
        {"Stamataki without mw", applyStamatakiCorrelation, Dictionary{{"SG", 0.8}}},
        {"Pedersen Tb without SG", applyPedersenTbCorrelation, Dictionary{{"mw", 100.0}}},
        {"Whitson Tb without mw", applyWhitsonTbCorrelation, Dictionary{{"SG", 0.8}}},
    };
    for (const Case& c : cases) {
        Dictionary component = c.component;
        component.setValue("corr", 3);
        const Dictionary before = component.copy();
        EXPECT_EQ(c.apply(component), CorrelationStatus::InvalidResult) << c.what;
        EXPECT_TRUE(component.isEqualTo(before)) << c.what;
    }
}

}  // namespace
