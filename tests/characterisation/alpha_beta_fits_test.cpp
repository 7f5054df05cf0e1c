#include "calc/CalculationInterface.h"
#include "characterisation/AlphaBetaDistribution.h"
#include "characterisation/AlphaBetaFits.h"
#include "characterisation/SplittingFramework.h"

#include "support/recording_log.h"
#include "support/test_fluids.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <numeric>
#include <vector>

namespace {

using namespace quorvel;
using testfluids::component;

constexpr double kN2 = 0.011, kCO2 = 0.023, kH2S = 0.004;  // distinct, so a swap shows

std::vector<double> distribution(double a, double b, int& count, double g1 = 0, double g2 = 0, double g3 = 0)
{
    std::vector<double> z(std::max(count, 11), -1);
    calculateMontelFluidComposition(z, count, a, b, g1, g2, g3);
    return z;
}

QStringList namesOf(const Dictionary& fluid)
{
    QStringList names;
    for (const Value& element : fluid.arrayValue("components"))
        names.append(element.toDictionary().stringValue("name"));
    return names;
}

// A measured fluid whose groups are the model's own at (a, b) with the distinct gases.
Dictionary modelFluid(const QString& name, double a, double b, double mw = 220, double SG = 0.85)
{
    const MontelComposition c = simplifiedMontelComposition(a, b, kN2 + kCO2 + kH2S);
    Array components{component("N2", kN2 * 100), component("CO2", kCO2 * 100), component("H2S", kH2S * 100)};
    for (int i = 0; i < 6; ++i)
        components.append(component(QStringLiteral("C%1").arg(i + 1), c.group(i) * 100));
    components.append(component("C7+", c.C7plus * 100, mw, SG));
    Dictionary fluid = testfluids::fluid(name, components);
    fluid.setValue("C7+", c.C7plus * 100);
    fluid.setValue("mwC7+", mw);
    fluid.setValue("SGC7+", SG);
    return fluid;
}

// ---- Distribution ----

TEST(AlphaBetaDistribution, PublishedValuesOfTwoFluids)
{
    int count = 150;
    const std::vector<double> z = distribution(0.9, 0.1, count);
    EXPECT_EQ(count, 150);
    const std::array<double, 6> published{0.1342, 0.0280, 0.0424, 0.0424, 0.0421, 0.0635};
    for (int i = 0; i < 6; ++i)
        EXPECT_NEAR(z[i], published[i], 5e-5) << "C" << i + 1;
    EXPECT_NEAR(std::accumulate(z.begin() + 6, z.begin() + count, 0.0), 0.6475, 5e-5);
    EXPECT_NEAR(std::accumulate(z.begin(), z.begin() + count, 0.0), 1, 1e-14);

    const MontelComposition lean = simplifiedMontelComposition(0.5, 0.3, 0);
    EXPECT_NEAR(lean.C1, 0.6987, 5e-5);
    EXPECT_NEAR(lean.C7plus, 0.0807, 5e-5);
}

// The corrected ratios hold for any (alpha, beta), and the entries add up to 1 - gases.
TEST(AlphaBetaDistribution, RatiosAndSum)
{
    struct Case { double a, b; };
    for (const Case c : {Case{0.9, 0.1}, Case{0.8, 0.5}, Case{0.95, -0.2}, Case{0.7, 0.9}}) {
        int count = 120;
        const std::vector<double> z = distribution(c.a, c.b, count, 0.02, 0.01, 0.005);
        SCOPED_TRACE(testing::Message() << "alpha " << c.a << " beta " << c.b);
        EXPECT_NEAR(z[3] / z[2], c.a / (c.b + 0.8), 1e-12);
        EXPECT_NEAR(z[4] / z[3], c.a / (0.7 * c.b * c.b + 0.9), 1e-12);
        EXPECT_NEAR(z[6] / z[5], 0.776 / 0.72, 1e-12);
        EXPECT_NEAR(z[7] / z[6], c.a * (1 - c.b / 7) * 0.832 / 0.776, 1e-12);
        for (int k = 11; k < count; ++k)
            EXPECT_NEAR(z[k] / z[k - 1], c.a, 1e-12) << "C" << k + 1;
        EXPECT_NEAR(std::accumulate(z.begin(), z.begin() + count, 0.0), 1 - 0.035, 1e-14);
        const MontelComposition s = simplifiedMontelComposition(c.a, c.b, 0.035);
        EXPECT_NEAR(s.C1 + s.C2 + s.C3 + s.C4 + s.C5 + s.C6 + s.C7plus, 1 - 0.035, 1e-14);
    }
}

// The series ends at its first raw entry below 1e-10, which still counts.
TEST(AlphaBetaDistribution, CutWhereTheRawSeriesBecomesNegligible)
{
    const double a = 0.5, b = 0.3;
    std::vector<double> raw{1, a * (1 - b)};
    raw.push_back(raw[1] * a * (1 - b / std::sqrt(2.0)));
    raw.push_back(raw[2] * a * (1 - b / std::sqrt(3.0)));
    raw.push_back(raw[3] * a * (1 - b / 2));
    raw.push_back(raw[4] * (1 - b / std::sqrt(5.0)));
    raw.push_back(raw[5]);
    for (int k = 8; k <= 11; ++k)
        raw.push_back(raw.back() * a * (1 - b / (k - 1)));
    while (raw.back() >= 1e-10)
        raw.push_back(raw.back() * a);
    EXPECT_EQ(raw.size(), 35u);
    for (int wanted : {150, 100}) {
        int count = wanted;
        distribution(a, b, count);
        EXPECT_EQ(count, 35) << wanted;
    }
    int shortCount = 20;
    distribution(a, b, shortCount);
    EXPECT_EQ(shortCount, 20);
}

TEST(AlphaBetaDistribution, ComparisonWithMeasuredGroups)
{
    const std::array<double, 7> m{0.30, 0.08, 0.06, 0.05, 0.04, 0.04, 0.40};
    std::array<double, 7> c{};
    double ard = 0, aad = 0, rms = 0;
    compareWithMontelComposition(0.88, 0.45, kN2, kCO2, kH2S, m[0], m[1], m[2], m[3], m[4], m[5], m[6], c[0], c[1],
                                 c[2], c[3], c[4], c[5], c[6], ard, aad, rms);
    const MontelComposition model = simplifiedMontelComposition(0.88, 0.45, kN2 + kCO2 + kH2S);
    double sumRel = 0, sumAbs = 0, sumSq = 0;
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(c[i], model.group(i));
        sumRel += (c[i] - m[i]) / m[i];
        sumAbs += std::fabs(c[i] - m[i]) / m[i];
        sumSq += (c[i] - m[i]) * (c[i] - m[i]);
    }
    EXPECT_NEAR(ard, sumRel / 7, 1e-15);
    EXPECT_NEAR(aad, sumAbs / 7, 1e-15);
    EXPECT_NEAR(rms, std::sqrt(sumSq / 7), 1e-15);
}

TEST(AlphaBetaDistribution, TovikEstimateFromMethane)
{
    double alpha = 0, beta = 0, co2 = 0, n2 = 0, h2s = 0;
    const Dictionary noMethane = testfluids::fluid(
        "No methane", Array{component("N2", 1.1), component("CO2", 2.3), component("H2S", 0.4), component("C2", 96.2)});
    tovikAlphaBeta(noMethane, alpha, beta, co2, n2, h2s);
    EXPECT_EQ(alpha, 0.92);
    EXPECT_NEAR(beta, -0.19712, 1e-12);
    EXPECT_NEAR(co2, 0.023, 1e-15);
    EXPECT_NEAR(n2, 0.011, 1e-15);
    EXPECT_NEAR(h2s, 0.004, 1e-15);

    const Dictionary half = testfluids::fluid("Half methane", Array{component("C1", 50), component("C2", 50)});
    tovikAlphaBeta(half, alpha, beta, co2, n2, h2s);
    EXPECT_NEAR(beta, 0.6301, 5e-5);
}

// ---- Quick fits ----

TEST(AlphaBetaQuickFit, RecoversTheModelsOwnAlphaAndBeta)
{
    struct Case { double a, b; };
    for (const Case c : {Case{0.92, 0.4}, Case{0.85, 0.2}, Case{0.9, 0.6}, Case{0.95, 0.75}, Case{0.88, -0.1}}) {
        SCOPED_TRACE(testing::Message() << "alpha " << c.a << " beta " << c.b);
        const Dictionary source = modelFluid("Model oil", c.a, c.b);
        bool fitted = false;
        const Dictionary fit = getMontelFittedFluid(source, &fitted);
        EXPECT_TRUE(fitted);
        EXPECT_NEAR(fit.doubleValue("alpha"), c.a, 1e-8);
        EXPECT_NEAR(fit.doubleValue("beta"), c.b, 1e-8);
        EXPECT_NEAR(fit.doubleValue("N2"), kN2, 1e-15);
        EXPECT_NEAR(fit.doubleValue("CO2"), kCO2, 1e-15);
        EXPECT_NEAR(fit.doubleValue("H2S"), kH2S, 1e-15);
        const MontelComposition model = simplifiedMontelComposition(c.a, c.b, kN2 + kCO2 + kH2S);
        EXPECT_NEAR(fit.doubleValue("C7+"), model.C7plus * 100, 1e-6);  // percent
        EXPECT_EQ(fit.intValue("fluidType"), 2);
        EXPECT_EQ(fit.stringValue("name"), "Model oil - Montel");
        EXPECT_EQ(namesOf(fit), (QStringList{"N2", "CO2", "H2S", "C1", "C2", "C3", "C4", "C5", "C6", "C7+"}));
        const Array components = fit.arrayValue("components");
        EXPECT_NEAR(components.at(0).toDictionary().doubleValue("mole"), kN2 * 100, 1e-13);
        EXPECT_NEAR(components.at(1).toDictionary().doubleValue("mole"), kCO2 * 100, 1e-13);
        EXPECT_NEAR(testfluids::totalMolePercent(components), 100, 1e-9);
        EXPECT_NEAR(components.at(9).toDictionary().doubleValue("mw"), 220, 1e-12);
    }
}

TEST(AlphaBetaQuickFit, FailedFitIsBuiltWithZerosAndLogged)
{
    // More C1 and C7+ than the whole fluid: no (alpha, beta) gives it.
    const Dictionary source = testfluids::fluid(
        "Impossible", Array{component("C1", 70), component("C2", 1), component("C7+", 29, 200, 0.84)});
    RecordingLog log;
    bool fitted = true;
    const Dictionary fit = getMontelFittedFluid(source, &fitted);
    EXPECT_FALSE(fitted);
    EXPECT_EQ(fit.doubleValue("alpha"), 0);
    EXPECT_EQ(fit.doubleValue("beta"), 0);
    ASSERT_EQ(log.lines().size(), 1);
    EXPECT_EQ(log.lines()[0], "Alpha-beta fit of Impossible: no alpha and beta match C1 = 0.7 and C7+ = 0.29; "
                              "the fluid is built with alpha = beta = 0.\n");
}

TEST(AlphaBetaQuickFit, TovikEstimatesFromFortyPercentMethane)
{
    const Dictionary source = modelFluid("Tovik oil", 0.9, 0.5);
    Dictionary forty = source.deepCopy();
    // Move methane to 40 % by trading it against C2.
    Array components = forty.arrayValue("components");
    Dictionary c1 = components.at(3).toDictionary();
    Dictionary c2 = components.at(4).toDictionary();
    c2.setValue("mole", c2.doubleValue("mole") + c1.doubleValue("mole") - 40);
    c1.setValue("mole", 40.0);
    bool fitted = false;
    const Dictionary fit = getTovikFluid(forty, &fitted);
    EXPECT_TRUE(fitted);
    EXPECT_EQ(fit.stringValue("name"), "Tovik oil - Tovik");
    const double estimated = 92.164 * std::exp(-0.66044) - 14.053;
    EXPECT_NEAR(estimated, 33.5, 0.1);
    EXPECT_NEAR(fit.doubleValue("C7+"), estimated, 1e-6);
    const Dictionary plus = fit.arrayValue("components").at(9).toDictionary();
    EXPECT_NEAR(plus.doubleValue("mw"), 224.698, 1e-9);
    EXPECT_NEAR(plus.doubleValue("SG"), 0.851902, 1e-9);
    EXPECT_NEAR(fit.doubleValue("C1"), 0.40, 1e-15);
    EXPECT_NEAR(plus.doubleValue("mole") * 0.01, fit.doubleValue("C7+") * 0.01, 1e-15);
}

// ---- Alpha-beta splits ----

TEST(AlphaBetaSplit, RegressionRecoversTheModelsParameters)
{
    const MontelComposition m = simplifiedMontelComposition(0.87, 0.35, kN2 + kCO2 + kH2S);
    std::vector<double> z(kMontelSplitEntries);
    int count = kMontelSplitEntries;
    double alpha = 0, beta = 0, C7plusFit = 0;
    const Fitting::Status status = applyMontelSplittingAlgorithm(z, count, m.C1, m.C2, m.C3, m.C4, m.C5, m.C6, m.C7plus,
                                                                 kN2, kCO2, kH2S, alpha, beta, C7plusFit);
    EXPECT_EQ(status, Fitting::Status::converged);
    EXPECT_NEAR(alpha, 0.87, 1e-6);
    EXPECT_NEAR(beta, 0.35, 1e-6);
    EXPECT_NEAR(C7plusFit, m.C7plus, 1e-7);
    // The fitted C7+ is that of the 150-entry short form, the distribution has 200 entries.
    EXPECT_NEAR(std::accumulate(z.begin() + 6, z.begin() + count, 0.0), C7plusFit, 1e-8);
}

// The split closes the heavy part: its C7+ fraction, mass and volume are the target's.
TEST(AlphaBetaSplit, CarbonNumbersUpToThePlusFraction)
{
    const Dictionary source = modelFluid("Split oil", 0.9, 0.3, 210, 0.84);
    RecordingLog log;
    const Dictionary split = getMontelSplittedFluid(source, 20, false, true);
    EXPECT_TRUE(log.lines().isEmpty());
    QStringList expected{"N2", "CO2", "H2S"};
    for (int n = 1; n <= 19; ++n)
        expected.append(QStringLiteral("C%1").arg(n));
    expected.append("C20+");
    EXPECT_EQ(namesOf(split), expected);
    EXPECT_EQ(split.intValue("fluidType"), 4);
    EXPECT_NEAR(split.doubleValue("alpha"), 0.9, 1e-6);
    EXPECT_NEAR(split.doubleValue("beta"), 0.3, 1e-6);
    const double zC7 = split.doubleValue("C7+");  // a fraction here
    EXPECT_NEAR(zC7, simplifiedMontelComposition(0.9, 0.3, kN2 + kCO2 + kH2S).C7plus, 1e-7);

    const testfluids::HeavySums heavy = testfluids::sumsOf(split.arrayValue("components"), testfluids::isHeavyName);
    EXPECT_NEAR(heavy.z, zC7, 1e-14);
    EXPECT_NEAR(heavy.molarWeight(), 210, 1e-9);
    EXPECT_NEAR(heavy.gravity(), 0.84, 1e-12);
    // The light cuts come from the 200-entry distribution, the C7+ from the 150-entry short form.
    EXPECT_NEAR(testfluids::totalMolePercent(split.arrayValue("components")), 100, 1e-5);

    // The matching flag changes nothing.
    EXPECT_TRUE(getMontelSplittedFluid(source, 20, false, false).isEqualTo(split));
}

// A heavy oil (alpha 0.95) is fitted within the model's range. Without stored C7+ keys the
// heavy part closes on the components' own molar weight and gravity (never on zeros); a last
// carbon number past the tables ends at C45+.
TEST(AlphaBetaSplit, MissingStoredKeysAndLastCarbonNumberPastTheTables)
{
    Dictionary source = modelFluid("Bare oil", 0.95, 0.3, 230, 0.87);
    source.remove("mwC7+");
    source.remove("SGC7+");
    RecordingLog log;
    const Dictionary split = getMontelSplittedFluid(source, 60, false, false);
    // The regression's steps beyond alpha 1 are refused, so it reaches the model's own values.
    EXPECT_NEAR(split.doubleValue("alpha"), 0.95, 1e-6);
    EXPECT_NEAR(split.doubleValue("beta"), 0.3, 1e-6);
    EXPECT_EQ(namesOf(split).last(), "C45+");
    EXPECT_TRUE(log.lines().contains("Splitting Bare oil: last carbon number 60 is outside 7 .. 45; 45 is used.\n"))
        << log.lines().join("").toStdString();
    const testfluids::HeavySums heavy = testfluids::sumsOf(split.arrayValue("components"), testfluids::isHeavyName);
    EXPECT_NEAR(heavy.molarWeight(), 230, 1e-9);
    EXPECT_NEAR(heavy.gravity(), 0.87, 1e-12);
}

TEST(AlphaBetaSplit, SourceWithoutHeavyPartKeepsItsLightComponents)
{
    const Dictionary gas = testfluids::fluid("Dry gas", Array{component("N2", 2), component("C1", 90),
                                                              component("C2", 8)});
    RecordingLog log;
    const Dictionary split = getMontelSplittedFluid(gas, 20, true, false);
    EXPECT_EQ(namesOf(split), (QStringList{"N2", "C1", "C2"}));
    EXPECT_EQ(split.intValue("fluidType"), 2);
    EXPECT_FALSE(split.contains("alpha"));
    EXPECT_TRUE(log.lines().isEmpty());
}

QString row(const char* format, int index, const char* name, double exp, double calc)
{
    return QString::asprintf(format, index, name, exp * 100, calc * 100, (calc - exp) / exp * 100);
}

// The comparison log of the model-fluid split, line by line: C1, C2, C3 and C6 have
// namesakes there (C4 and C5 are split into iso and normal), then the C7+ row.
TEST(AlphaBetaSplit, ModelFluidSplitAndItsComparisonLog)
{
    Dictionary source = modelFluid("Log oil", 0.9, 0.3);
    // Measured groups a little off the model so the deviations are not all zero.
    Array components = source.arrayValue("components");
    Dictionary c2 = components.at(4).toDictionary();
    c2.setValue("mole", c2.doubleValue("mole") * 1.1);
    const CompositionSummary s = analyseFluidComposition(source);

    RecordingLog log;
    const Dictionary split = getMontelSplittedFluid0(source, 20, true);
    EXPECT_EQ(split.intValue("fluidType"), 1);
    EXPECT_EQ(split.arrayValue("components").size(), 17);
    EXPECT_EQ(split.stringValue("name"), "Log oil - Montel");

    auto calc = [&](const QString& name) {
        for (const Value& e : split.arrayValue("components"))
            if (e.toDictionary().stringValue("name") == name)
                return e.toDictionary().doubleValue("mole") * 0.01;
        return -1.0;
    };
    const double fitC7 = split.doubleValue("C7+");
    struct Row { const char* name; double exp; double calc; };
    const std::array<Row, 5> rows{Row{"C1", s.C1, calc("C1")}, Row{"C2", s.C2, calc("C2")},
                                  Row{"C3", s.C3, calc("C3")}, Row{"C6", s.C6, calc("C6")},
                                  Row{"C7+", s.zC7plus, fitC7}};
    QStringList expected{"Comparison of (Log oil) with (Log oil - Montel) : \n\n",
                         " Index Component   Exp. (mole %)  Calc. (mole %)      Dev. (%)\n\n"};
    double ard = 0, aad = 0;
    for (int i = 0; i < 5; ++i) {
        const char* format = i < 4 ? "%6d  %s%18f%16f%16.2f\n" : "%6d  %s%17f%16f%16.2f\n";
        expected.append(row(format, i + 1, rows[i].name, rows[i].exp, rows[i].calc));
        const double d = (rows[i].calc - rows[i].exp) / rows[i].exp;
        ard += d / 5;
        aad += std::fabs(d) / 5;
    }
    expected.append("\n");
    expected.append(QString::asprintf("Average deviation (%%)          : %.2f \n", ard * 100));
    expected.append(QString::asprintf("Average absolute deviation (%%) : %.2f \n\n", aad * 100));
    ASSERT_EQ(log.lines().size(), expected.size()) << log.lines().join("").toStdString();
    for (int i = 0; i < expected.size(); ++i)
        EXPECT_EQ(log.lines()[i], expected[i]) << "line " << i;
    EXPECT_NEAR(split.doubleValue("ardx"), ard * 100, 1e-9);
    EXPECT_NEAR(split.doubleValue("aadx"), aad * 100, 1e-9);
}

// ---- Extended fits ----

// The model fluid's own composition and saturation pressure at (a, b).
struct ModelPoint
{
    std::array<double, 7> groups{};
    double Pcal = 0;
};
ModelPoint modelPoint(double a, double b, double TexpKelvin, SaturationKind kind)
{
    CalculationInterface calculation(FluidType::alphaBeta, EquationOfState::pengRobinson);
    calculation.setAlpha(a);
    calculation.setBeta(b);
    calculation.setN2(kN2);
    calculation.setCO2(kCO2);
    calculation.setH2S(kH2S);
    calculation.finalize();
    std::array<double, 17> x{};
    for (int i = 0; i < 17; ++i)
        x[i] = calculation.getIsoplethComposition(i);
    ModelPoint p;
    p.groups = {x[3], x[4], x[5], x[6] + x[7], x[8] + x[9], x[10], 0};
    p.groups[6] = std::accumulate(x.begin() + 11, x.end(), 0.0);
    p.Pcal = calculation.calculateSaturation(TexpKelvin - 273.15, kind);
    return p;
}

TEST(AlphaBetaExtendedFit, RecoversAlphaAndBetaFromCompositionAndSaturation)
{
    const double Texp = 373.15;
    const ModelPoint p = modelPoint(0.9, 0.45, Texp, SaturationKind::bubblePoint);
    ASSERT_GT(p.Pcal, 0);
    const auto& g = p.groups;
    double alpha = 0, beta = 0, untouched = 12345, Pcal = 0, Fv = 0;
    const MontelFitReport report = applyMontelSplittingAlgorithmEx(g[0], g[1], g[2], g[3], g[4], g[5], g[6], kN2, kCO2,
                                                                   kH2S, Texp, p.Pcal, SaturationKind::bubblePoint,
                                                                   alpha, beta, untouched, Pcal, Fv);
    EXPECT_EQ(report.status, Fitting::Status::converged);
    EXPECT_GT(report.saturationSolves, 0);
    EXPECT_NEAR(alpha, 0.9, 1e-5);
    EXPECT_NEAR(beta, 0.45, 1e-5);
    EXPECT_NEAR(Pcal, p.Pcal, 1e-3 * p.Pcal);
    EXPECT_EQ(untouched, 12345);
    EXPECT_GT(Fv, 0);
    EXPECT_LT(Fv, 0.5);  // a bubble-point inclusion at 20 °C holds little vapour

    double fixedAlpha = 0.9, beta1 = 0, untouched1 = -7, Pcal1 = 0, Fv1 = 0;
    applyMontelSplittingAlgorithmEx1(g[0], g[1], g[2], g[3], g[4], g[5], g[6], kN2, kCO2, kH2S, Texp, p.Pcal,
                                     SaturationKind::bubblePoint, fixedAlpha, beta1, untouched1, Pcal1, Fv1);
    EXPECT_EQ(fixedAlpha, 0.9);
    EXPECT_NEAR(beta1, 0.45, 1e-5);
    EXPECT_EQ(untouched1, -7);
}

// A dew-point inclusion is computed as one: at 20 °C it holds mostly vapour.
TEST(AlphaBetaExtendedFit, DewPointInclusionVapourFraction)
{
    const double Texp = 373.15;
    const ModelPoint p = modelPoint(0.62, 0.5, Texp, SaturationKind::dewPoint);
    ASSERT_GT(p.Pcal, 0);
    const auto& g = p.groups;
    double alpha = 0, beta = 0, unused = 0, Pcal = 0, Fv = 0;
    applyMontelSplittingAlgorithmEx(g[0], g[1], g[2], g[3], g[4], g[5], g[6], kN2, kCO2, kH2S, Texp, p.Pcal,
                                    SaturationKind::dewPoint, alpha, beta, unused, Pcal, Fv);
    EXPECT_NEAR(alpha, 0.62, 1e-5);
    EXPECT_NEAR(beta, 0.5, 1e-5);
    EXPECT_GT(Fv, 0.5);
    EXPECT_LE(Fv, 1);
}

// Out-of-range parameters and failed saturations are evaluation errors, never data.
TEST(AlphaBetaExtendedFit, ModelRefusesWhatItCannotEvaluate)
{
    MontelModelEx model;
    model.Texp = 373.15;
    model.saturationKind = SaturationKind::bubblePoint;
    model.alpha = 0.9;
    const std::array<double, 1> point{0};
    double Y = -1, Z = -1;
    bool failed = false;
    const std::array<double, 1> betaAboveOne{1.2};
    model.evaluate1(point, betaAboveOne, Y, Z, {}, failed);
    EXPECT_TRUE(failed);
    EXPECT_EQ(Y, -1);
    EXPECT_EQ(model.saturationSolves, 0);

    failed = false;
    const std::array<double, 2> alphaAboveOne{1.1, 0.2};
    model.evaluate(point, alphaAboveOne, Y, Z, {}, failed);
    EXPECT_TRUE(failed);

    // Far above the critical point there is no saturation pressure.
    model.Texp = 2500;
    failed = false;
    const std::array<double, 2> fine{0.9, 0.3};
    model.evaluate(point, fine, Y, Z, {}, failed);
    EXPECT_EQ(model.saturationSolves, 1);
    EXPECT_TRUE(failed);
    EXPECT_EQ(Z, -1);
}

}  // namespace
