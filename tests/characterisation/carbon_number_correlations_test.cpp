#include "characterisation/CarbonNumberCorrelations.h"
#include "characterisation/CarbonNumberTables.h"
#include "characterisation/SpeciesIdentifier.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using namespace quorvel;

Dictionary namedComponent(const char* name)
{
    return Dictionary{{"name", name}, {"nc", getSpeciesIdentifier(name)}};
}

double kelvin(const Dictionary& component, const char* key) { return component.doubleValue(key) + 273.15; }

TEST(JianzhongCorrelation, ModesOnC7)
{
    Dictionary byNumber = namedComponent("C7");
    EXPECT_EQ(applyJianzhongCorrelation(byNumber, CorrelationCode::jianzhong0), CorrelationStatus::Applied);
    EXPECT_NEAR(byNumber.doubleValue("mw"), 100, 1e-9);
    EXPECT_NEAR(kelvin(byNumber, "Tc"), 539.654, 5e-4);
    EXPECT_NEAR(byNumber.doubleValue("Pc"), 27.458, 5e-4);
    EXPECT_NEAR(byNumber.doubleValue("Vc"), 428.97, 5e-3);
    EXPECT_NEAR(byNumber.doubleValue("SG"), 0.68344, 5e-6);
    EXPECT_NEAR(kelvin(byNumber, "Tb"), 371.066, 5e-4);
    EXPECT_NEAR(byNumber.doubleValue("omega"), 0.42338, 5e-6);
    EXPECT_EQ(byNumber.intValue("corr"), 0);

    Dictionary withMw = namedComponent("C7");
    withMw.setValue("mw", 96.0);
    withMw.setValue("SG", 0.727);
    EXPECT_EQ(applyJianzhongCorrelation(withMw, CorrelationCode::jianzhong1), CorrelationStatus::Applied);
    EXPECT_NEAR(kelvin(withMw, "Tc"), 555.170, 5e-4);
    EXPECT_NEAR(withMw.doubleValue("Pc"), 32.552, 5e-4);
    EXPECT_NEAR(withMw.doubleValue("Vc"), 373.23, 5e-3);
    EXPECT_NEAR(kelvin(withMw, "Tb"), 371.066, 5e-4);  // still the reference value of M = 100
    EXPECT_EQ(withMw.doubleValue("mw"), 96.0);
    EXPECT_EQ(withMw.doubleValue("SG"), 0.727);
    EXPECT_EQ(withMw.intValue("corr"), 1);

    Dictionary withTb = namedComponent("C7");
    withTb.setValue("Tb", 92.45);
    withTb.setValue("SG", 0.727);
    EXPECT_EQ(applyJianzhongCorrelation(withTb, CorrelationCode::jianzhong2), CorrelationStatus::Applied);
    EXPECT_NEAR(withTb.doubleValue("mw"), 100.295, 5e-3);
    EXPECT_NEAR(kelvin(withTb, "Tc"), 550.284, 5e-3);
    EXPECT_NEAR(withTb.doubleValue("Pc"), 31.066, 5e-3);
    EXPECT_NEAR(withTb.doubleValue("Vc"), 388.68, 5e-2);
    EXPECT_EQ(withTb.doubleValue("Tb"), 92.45);
    EXPECT_EQ(withTb.intValue("corr"), 2);

    // A mode-1 record without mw and SG takes them as not given: the mode-0 results.
    Dictionary nothingGiven = namedComponent("C7");
    EXPECT_EQ(applyJianzhongCorrelation(nothingGiven, CorrelationCode::jianzhong1), CorrelationStatus::Applied);
    for (const char* key : {"Tc", "Pc", "Vc", "Tb", "omega"})
        EXPECT_NEAR(nothingGiven.doubleValue(key), byNumber.doubleValue(key), 1e-9) << key;
    EXPECT_FALSE(nothingGiven.contains("mw"));

    Dictionary otherMode = namedComponent("C7");
    EXPECT_EQ(applyJianzhongCorrelation(otherMode, CorrelationCode::katzFiroozabadi), CorrelationStatus::UnknownCode);
    EXPECT_EQ(otherMode.size(), 2);
}

// The reference series is built so that its boiling point inverts exactly: mode 2 given
// the reference boiling point of a carbon number finds that carbon number's molar weight.
TEST(JianzhongCorrelation, BoilingPointInversionFindsTheReferenceMolarWeight)
{
    for (const int n : {6, 12, 30, 80}) {
        double mw, Tc, Pc, SG, Tb, Vc, omega;
        getFromJianzhongCorrelation(n, 0, 0, 0, mw, Tc, Pc, SG, Tb, Vc, omega);
        double mw2, Tc2, Pc2, SG2, Tb2, Vc2, omega2;
        getFromJianzhongCorrelation(n, 0, SG, Tb, mw2, Tc2, Pc2, SG2, Tb2, Vc2, omega2);
        EXPECT_NEAR(Tb2, Tb, 1e-7 * Tb) << n;
        EXPECT_NEAR(Tc2, Tc, 1e-7 * Tc) << n;
        EXPECT_NEAR(mw2, 14.0 * n + 2, 1e-6 * mw2) << n;
    }
    EXPECT_NEAR(getJianzhongSG(100), 0.68344, 5e-6);
    EXPECT_TRUE(std::isnan(getJianzhongSG(70)));
}

TEST(TableCorrelations, WriteTheTableRowOfTheCarbonNumber)
{
    Dictionary katz = namedComponent("C7");
    EXPECT_EQ(applyKatzFiroozabadiCorrelation(katz), CorrelationStatus::Applied);
    EXPECT_DOUBLE_EQ(katz.doubleValue("mw"), 96);
    EXPECT_NEAR(katz.doubleValue("Tc"), 985 / 1.8 - 273.15, 1e-9);
    EXPECT_NEAR(katz.doubleValue("Pc"), 453 * 0.068948, 1e-9);
    EXPECT_NEAR(katz.doubleValue("Vc"), 96 * 0.06289 * 62.428, 1e-6);  // ft3/lb -> cm3/mol
    EXPECT_DOUBLE_EQ(katz.doubleValue("SG"), 0.727);
    EXPECT_NEAR(katz.doubleValue("Tb"), 658 / 1.8 - 273.15, 1e-9);
    EXPECT_DOUBLE_EQ(katz.doubleValue("omega"), 0.28);
    EXPECT_EQ(katz.intValue("corr"), 3);

    Dictionary riazi = namedComponent("C7");
    EXPECT_EQ(applyRiaziAlSahhafCorrelation(riazi), CorrelationStatus::Applied);
    EXPECT_DOUBLE_EQ(riazi.doubleValue("mw"), 95);
    EXPECT_NEAR(riazi.doubleValue("Tc"), 272.85, 1e-9);
    EXPECT_DOUBLE_EQ(riazi.doubleValue("Pc"), 31.4);
    EXPECT_NEAR(riazi.doubleValue("Vc"), 95 / 0.255, 1e-9);
    EXPECT_NEAR(riazi.doubleValue("Tb"), 91.85, 1e-9);
    EXPECT_EQ(riazi.intValue("corr"), 13);

    Dictionary ahmed = namedComponent("C7");
    EXPECT_EQ(applyAhmedCorrelation(ahmed), CorrelationStatus::Applied);
    EXPECT_NEAR(ahmed.doubleValue("mw"), 94.678, 5e-4);
    EXPECT_NEAR(ahmed.doubleValue("Vc"), getAhmedMolarWeight(7) * 1000 * getAhmedVc(7), 1e-9);
    EXPECT_EQ(ahmed.intValue("corr"), 4);

    // The lumps stand for carbon numbers 10, 13 and 28, a plus fraction for its first one.
    const std::pair<const char*, int> lumps[] = {{"C7+", 10}, {"Cn1", 13}, {"Cn2", 28}, {"C20+", 20}};
    for (const auto& [name, n] : lumps) {
        Dictionary lump = namedComponent(name);
        EXPECT_EQ(applyKatzFiroozabadiCorrelation(lump), CorrelationStatus::Applied) << name;
        EXPECT_EQ(lump.doubleValue("mw"), getKatzFiroozabadiMolarWeight(n)) << name;
    }
    Dictionary c46 = namedComponent("C46");
    EXPECT_EQ(applyRiaziAlSahhafCorrelation(c46), CorrelationStatus::Applied);
    EXPECT_EQ(c46.doubleValue("mw"), 641);
}

TEST(MontelCorrelation, C7WithItsMolarWeight)
{
    Dictionary component = namedComponent("C7");
    component.setValue("mw", 96.0);
    EXPECT_EQ(applyMontelCorrelation(component), CorrelationStatus::Applied);
    EXPECT_NEAR(kelvin(component, "Tc"), 536.083, 5e-4);
    EXPECT_NEAR(component.doubleValue("Pc"), 30.138, 5e-4);
    EXPECT_NEAR(component.doubleValue("Vc"), 454.63, 5e-3);
    EXPECT_NEAR(component.doubleValue("omega"), 0.30667, 5e-6);
    EXPECT_EQ(component.intValue("corr"), 11);
    EXPECT_FALSE(component.contains("SG"));
}

// A component outside a correlation's carbon-number range is left as it was, "corr"
// included, and the status says why; plus fractions are range-checked too, so a C50+ no
// longer receives zero critical properties and a Tc of -273.15 C.
TEST(CarbonNumberCorrelations, LeaveComponentsOutsideTheirRangeUnchanged)
{
    using Apply = CorrelationStatus (*)(Dictionary);
    const auto jianzhong0 = [](Dictionary c) { return applyJianzhongCorrelation(c, CorrelationCode::jianzhong0); };
    const auto jianzhong2 = [](Dictionary c) { return applyJianzhongCorrelation(c, CorrelationCode::jianzhong2); };
    struct Case
    {
        const char* name;
        const char* correlation;
        Apply apply;
    };
    const Case cases[] = {
        {"C5", "Katz-Firoozabadi", applyKatzFiroozabadiCorrelation},
        {"iC4", "Ahmed", applyAhmedCorrelation},
        {"CH4", "Jianzhong 0", jianzhong0},
        {"C5+", "Jianzhong 0", jianzhong0},
        {"C5+", "Jianzhong 2", jianzhong2},
        {"C6", "Montel", applyMontelCorrelation},
        {"C46", "Katz-Firoozabadi", applyKatzFiroozabadiCorrelation},
        {"C46", "Ahmed", applyAhmedCorrelation},
        {"C50+", "Katz-Firoozabadi", applyKatzFiroozabadiCorrelation},
        {"C51", "Riazi-Al-Sahhaf", applyRiaziAlSahhafCorrelation},
        {"C101", "Jianzhong 0", jianzhong0},
        {"C100+", "Montel", applyMontelCorrelation},
        {"C99999999999+", "Riazi-Al-Sahhaf", applyRiaziAlSahhafCorrelation},
    };
    for (const Case& c : cases) {
        Dictionary component = namedComponent(c.name);
        component.setValue("mw", 700.0);
        component.setValue("SG", 0.95);
        component.setValue("Tb", 500.0);
        component.setValue("corr", 101);
        const Dictionary before = component.copy();
        EXPECT_EQ(c.apply(component), CorrelationStatus::OutOfRange) << c.name << " " << c.correlation;
        EXPECT_TRUE(component.isEqualTo(before)) << c.name << " " << c.correlation;
    }
}

}  // namespace
