#include "characterisation/AlphaBetaFits.h"
#include "characterisation/FluidTestChain.h"

#include "support/recording_log.h"
#include "support/test_fluids.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using namespace quorvel;
using testfluids::component;

const CorrelationCode kSet103 = correlationCodeFromNumber(103);  // Winn, then Edmister

// A black oil with its measured bubble point (degrees Celsius, bar).
Dictionary blackOil(double Texp = 100, double Pexp = 200)
{
    const Array components{component("N2", 0.5), component("CO2", 1.5), component("C1", 38),
                           component("C2", 8),   component("C3", 6),    component("nC4", 4),
                           component("nC5", 3),  component("C6", 3),    component("C7+", 36, 220, 0.86)};
    Dictionary oil{{"name", "Oil A"}, {"fluidType", 4}, {"components", components}, {"Texp", Texp},
                   {"Pexp", Pexp},    {"hexp", 1},      {"alpha", 0.5},           {"beta", 0.1}};
    return oil;
}

TEST(FluidTestChain, RecordKeysAndTheFittedFluidsValues)
{
    const Dictionary source = blackOil();
    const Dictionary before = source.deepCopy();
    const Dictionary result = doTestFluid(source, kSet103, TestStart::quickFit);
    EXPECT_TRUE(source.isEqualTo(before));
    EXPECT_EQ(result.stringValue("name"), "Oil A - test1");
    EXPECT_EQ(result.stringValue("comment"), "Built from Oil A");
    EXPECT_TRUE(result.value("fluidType").isInt());
    EXPECT_EQ(result.intValue("fluidType"), 2);
    EXPECT_FALSE(result.contains("EOS"));
    EXPECT_EQ(result.doubleValue("Texp"), 100);  // degrees Celsius kept
    EXPECT_EQ(result.doubleValue("Pexp"), 200);
    EXPECT_TRUE(result.value("hexp").isInt());

    // alpha, beta, gases and C1 .. C6 are the fit's, not the source's own keys.
    const Dictionary fitted = getMontelFittedFluid(source);
    for (const char* key : {"alpha", "beta", "N2", "CO2", "H2S", "C1", "C2", "C3", "C4", "C5", "C6"})
        EXPECT_EQ(result.doubleValue(key), fitted.doubleValue(key)) << key;
    EXPECT_NE(result.doubleValue("alpha"), 0.5);

    // The lumped result: light components, C7 .. C10, Cn1, Cn2, all of it.
    QStringList heavy;
    for (const Value& e : result.arrayValue("components"))
        if (testfluids::isHeavyName(e.toDictionary()))
            heavy.append(e.toDictionary().stringValue("name"));
    EXPECT_EQ(heavy, (QStringList{"C7", "C8", "C9", "C10", "Cn1", "Cn2"}));
    EXPECT_NEAR(testfluids::totalMolePercent(result.arrayValue("components")), 100, 1e-6);

    const double Pcal = result.doubleValue("Pcal");
    ASSERT_TRUE(result.value("Pcal").isDouble());
    EXPECT_GT(Pcal, 10);
    EXPECT_DOUBLE_EQ(result.doubleValue("ardp"), (Pcal - 200) / 200);
    EXPECT_DOUBLE_EQ(result.doubleValue("aadp"), std::fabs((Pcal - 200) / 200));
}

// Re-run against its own computed pressure, the chain reproduces it exactly.
TEST(FluidTestChain, OwnPressureGivesZeroDeviation)
{
    for (TestStart start : {TestStart::quickFit, TestStart::tovikEstimate}) {
        SCOPED_TRACE(start == TestStart::tovikEstimate ? "Tovik's estimate" : "quick fit");
        const Dictionary first = doTestFluid(blackOil(), kSet103, start);
        const double Pcal = first.doubleValue("Pcal");
        ASSERT_TRUE(first.value("Pcal").isDouble());
        const Dictionary again = doTestFluid(blackOil(100, Pcal), kSet103, start);
        EXPECT_EQ(again.doubleValue("Pcal"), Pcal);
        EXPECT_EQ(again.doubleValue("ardp"), 0);
        EXPECT_EQ(again.doubleValue("aadp"), 0);
    }
    // Tovik's start carries the alpha of Tovik's estimate.
    EXPECT_EQ(doTestFluid(blackOil(), kSet103, TestStart::tovikEstimate).doubleValue("alpha"),
              getTovikFluid(blackOil()).doubleValue("alpha"));
    EXPECT_NE(doTestFluid(blackOil(), kSet103, TestStart::tovikEstimate).doubleValue("C7+"),
              doTestFluid(blackOil(), kSet103, TestStart::quickFit).doubleValue("C7+"));
}

TEST(FluidTestChain, EquationOfStateFromTheSource)
{
    Dictionary srk = blackOil();
    srk.setValue("EOS", "SRK");
    Dictionary pr = blackOil();
    pr.setValue("EOS", "PR");
    Dictionary other = blackOil();
    other.setValue("EOS", "Lee");
    const double withoutKey = doTestFluid(blackOil(), kSet103, TestStart::quickFit).doubleValue("Pcal");
    EXPECT_EQ(doTestFluid(pr, kSet103, TestStart::quickFit).doubleValue("Pcal"), withoutKey);
    EXPECT_EQ(doTestFluid(other, kSet103, TestStart::quickFit).doubleValue("Pcal"), withoutKey);
    const Dictionary srkResult = doTestFluid(srk, kSet103, TestStart::quickFit);
    EXPECT_EQ(srkResult.stringValue("EOS"), "SRK");
    EXPECT_NE(srkResult.doubleValue("Pcal"), withoutKey);
}

TEST(FluidTestChain, WithoutMeasuredPointNoSaturationKeys)
{
    Dictionary source = blackOil();
    source.remove("Texp");
    const Dictionary result = doTestFluid(source, kSet103, TestStart::quickFit);
    for (const char* key : {"Texp", "Pexp", "hexp", "Pcal", "ardp", "aadp", "alpha", "beta", "C1"})
        EXPECT_FALSE(result.contains(key)) << key;
    EXPECT_EQ(result.stringValue("name"), "Oil A - test1");
}

// A fit that fails is said so, in the log and in the record, never as a pressure.
TEST(FluidTestChain, FailedFitIsReported)
{
    Dictionary source{{"name", "Impossible"},
                      {"components", Array{component("C1", 70), component("C2", 1), component("C7+", 29, 200, 0.84)}},
                      {"Texp", 80.0},
                      {"Pexp", 150.0},
                      {"hexp", 1}};
    RecordingLog log;
    const Dictionary result = doTestFluid(source, kSet103, TestStart::quickFit);
    for (const char* key : {"Pcal", "ardp", "aadp"})
        EXPECT_TRUE(result.value(key).isNotANumber()) << key;
    EXPECT_EQ(result.doubleValue("Texp"), 80);
    EXPECT_EQ(result.doubleValue("Pexp"), 150);
    EXPECT_EQ(result.doubleValue("alpha"), 0);
    EXPECT_TRUE(log.lines().contains("Test of Impossible: the alpha-beta fit failed; no saturation pressure is "
                                     "computed.\n"))
        << log.lines().join("").toStdString();
}

TEST(FluidTestChain, NonPositiveMeasuredPressureHasNoDeviation)
{
    const Dictionary result = doTestFluid(blackOil(100, 0), kSet103, TestStart::quickFit);
    EXPECT_TRUE(result.value("Pcal").isDouble());
    EXPECT_TRUE(result.value("ardp").isNotANumber());
    EXPECT_TRUE(result.value("aadp").isNotANumber());
}

TEST(FluidTestChain, SaturationFailureStoresNotANumber)
{
    // Far above any critical temperature there is no bubble point.
    const Dictionary result = doTestFluid(blackOil(2000, 200), kSet103, TestStart::quickFit);
    for (const char* key : {"Pcal", "ardp", "aadp"})
        EXPECT_TRUE(result.value(key).isNotANumber()) << key;
    EXPECT_EQ(result.doubleValue("Texp"), 2000);
    EXPECT_TRUE(result.contains("alpha"));
    EXPECT_TRUE(result.contains("C6"));
}

}  // namespace
