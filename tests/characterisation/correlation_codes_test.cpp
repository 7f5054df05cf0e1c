#include "characterisation/Correlations.h"

#include "support/recording_log.h"

#include <gtest/gtest.h>

#include <QSet>

namespace {

using namespace quorvel;

// A characterised C8 cut whose values no correlation reproduces exactly, so that every
// key a code writes shows as changed.
Dictionary characterisedC8()
{
    return Dictionary{{"name", "C8"}, {"nc", 8},      {"mole", 5.0},  {"mw", 110.0},  {"SG", 0.76},
                      {"Tb", 120.0}, {"Tc", 300.0}, {"Pc", 25.0},   {"Vc", 500.0},  {"omega", 0.5},
                      {"corr", 999}};
}

QSet<QString> changedKeys(const Dictionary& before, const Dictionary& after)
{
    QSet<QString> changed;
    for (const QString& key : after.keys())
        if (!before.contains(key) || !before.value(key).isEqualTo(after.value(key)))
            changed.insert(key);
    for (const QString& key : before.keys())
        if (!after.contains(key))
            changed.insert(key);
    return changed;
}

TEST(CorrelationCodes, EachCodeWritesExactlyItsKeysAndCorr)
{
    struct Case
    {
        int code;
        QSet<QString> keys;  // besides "corr"
        int corr;
    };
    const QSet<QString> table{"mw", "Tc", "Pc", "Vc", "SG", "Tb", "omega"};
    const QSet<QString> tbCriticalOmega{"Tb", "Tc", "Pc", "omega"};
    const QSet<QString> tbCriticalMwOmega{"Tb", "Tc", "Pc", "Vc", "mw", "omega"};
    const Case cases[] = {
        {0, table, 0},
        {1, {"Tc", "Pc", "Vc", "Tb", "omega"}, 1},
        {2, {"Tc", "Pc", "Vc", "mw", "omega"}, 2},
        {3, table, 3},
        {4, table, 4},
        {5, {"Tc", "Pc", "Vc", "Tb"}, 5},
        {6, {"omega"}, 6},
        {7, tbCriticalOmega, 7},
        {8, {"Tb", "Tc", "Pc"}, 8},
        {9, {"Tc", "Pc"}, 9},
        {10, {"Tc", "Pc", "omega"}, 10},
        {11, {"Tc", "Pc", "omega", "Vc"}, 11},
        {12, {"Tc", "Pc", "Vc", "mw"}, 12},
        {13, table, 13},
        {14, {"Tc", "Pc", "omega", "slope"}, 14},
        {15, {"Tb"}, 15},
        {16, {"Tb"}, 16},
        {101, {"Tc", "Pc", "Vc", "Tb", "omega"}, 6},
        {102, tbCriticalOmega, 7},
        {103, tbCriticalOmega, 6},
        {104, {"Tc", "Pc", "omega"}, 10},
        {105, {"Tc", "Pc", "omega", "Vc"}, 11},
        {106, {"Tc", "Pc", "Vc", "Tb", "omega"}, 1},
        {107, table, 3},
        {108, table, 4},
        {109, table, 0},
        {110, tbCriticalOmega, 6},
        {111, tbCriticalMwOmega, 2},
        {112, tbCriticalMwOmega, 6},
        {113, tbCriticalOmega, 6},
        {114, tbCriticalMwOmega, 2},
        {115, tbCriticalMwOmega, 6},
        {116, table, 13},
        {117, {"Tc", "Pc", "omega", "slope"}, 14},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        const Dictionary before = characterisedC8();
        Dictionary component = before.copy();
        ASSERT_EQ(applyCorrelation(component, correlationCodeFromNumber(c.code)), CorrelationStatus::Applied);
        QSet<QString> expected = c.keys;
        expected.insert("corr");
        EXPECT_EQ(changedKeys(before, component), expected);
        EXPECT_EQ(component.intValue("corr"), c.corr);
        EXPECT_TRUE(component.value("corr").isInt());
    }
    for (const int code : {-1, 17, 100, 118, 1000}) {
        const Dictionary before = characterisedC8();
        Dictionary component = before.copy();
        EXPECT_EQ(applyCorrelation(component, correlationCodeFromNumber(code)), CorrelationStatus::UnknownCode) << code;
        EXPECT_TRUE(component.isEqualTo(before)) << code;
    }
}

// A set runs its correlations on what the previous one left: 112's Twu reads the
// Pedersen boiling point and Edmister the Twu critical properties.
TEST(CorrelationCodes, SetsChainTheirCorrelations)
{
    Dictionary chained = characterisedC8();
    applyCorrelation(chained, correlationCodeFromNumber(112));
    Dictionary stepwise = characterisedC8();
    for (const int code : {15, 12, 6})
        applyCorrelation(stepwise, correlationCodeFromNumber(code));
    EXPECT_TRUE(chained.isEqualTo(stepwise));

    Dictionary single = characterisedC8();
    Dictionary set = characterisedC8();
    applyCorrelation(single, correlationCodeFromNumber(13));
    applyCorrelation(set, correlationCodeFromNumber(116));
    EXPECT_TRUE(single.isEqualTo(set));
}

// A set whose later correlation fails is undone as a whole: Pedersen's boiling point of
// a 3000 g/mol cut lies beyond Twu's reach, and the record keeps its own "Tb" too.
TEST(CorrelationCodes, SetThatFailsPartWayLeavesTheRecordUnchanged)
{
    Dictionary heavy = characterisedC8();
    heavy.setValue("mw", 3000.0);
    heavy.setValue("SG", 1.0);
    const Dictionary before = heavy.copy();
    EXPECT_EQ(applyCorrelation(heavy, correlationCodeFromNumber(112)), CorrelationStatus::InvalidResult);
    EXPECT_TRUE(heavy.isEqualTo(before));

    Dictionary plusFraction = characterisedC8();
    plusFraction.setValue("nc", 3005);  // a C5+: Pedersen's Tb is fine, Jianzhong refuses
    const Dictionary plusBefore = plusFraction.copy();
    EXPECT_EQ(applyCorrelation(plusFraction, correlationCodeFromNumber(111)), CorrelationStatus::OutOfRange);
    EXPECT_TRUE(plusFraction.isEqualTo(plusBefore));
}

TEST(ComponentNaming, NamesThenCharacterisesByCode)
{
    Dictionary c1;
    setComponentName("C1", c1, correlationCodeFromNumber(5));
    EXPECT_EQ(c1.intValue("corr"), 5);
    EXPECT_NEAR(c1.doubleValue("Tc"), 190.555 - 273.15, 1e-12);  // built-in, no Riazi-Daubert

    Dictionary c7{{"mole", 3.0}, {"mw", 96.0}, {"SG", 0.727}};
    EXPECT_EQ(setComponentName("C7", c7, correlationCodeFromNumber(101)), CorrelationStatus::Applied);
    EXPECT_EQ(c7.intValue("nc"), 7);
    EXPECT_EQ(c7.intValue("corr"), 6);
    EXPECT_NEAR(c7.doubleValue("Tc"), 262.080, 5e-4);
    EXPECT_NEAR(c7.doubleValue("omega"), 0.36924, 5e-5);
    EXPECT_EQ(c7.doubleValue("mole"), 3.0);

    Dictionary cut;
    EXPECT_EQ(setComponentName("C7", cut, correlationCodeFromNumber(13)), CorrelationStatus::Applied);
    EXPECT_EQ(cut.doubleValue("mw"), 95);
    // Renaming re-characterises.
    EXPECT_EQ(setComponentName("C9", cut, correlationCodeFromNumber(0)), CorrelationStatus::Applied);
    EXPECT_EQ(cut.stringValue("name"), "C9");
    EXPECT_EQ(cut.doubleValue("mw"), 128);
    EXPECT_EQ(cut.intValue("corr"), 0);

    Dictionary methane;
    EXPECT_EQ(setComponentName("CH4", methane, correlationCodeFromNumber(0)), CorrelationStatus::OutOfRange);
    EXPECT_EQ(methane.keys(), (QStringList{"name", "nc"}));
    EXPECT_EQ(methane.intValue("nc"), 0);
}

Dictionary fluidOf(std::initializer_list<std::pair<const char*, double>> components)
{
    Array list;
    for (const auto& [name, mole] : components) {
        Dictionary component;
        setComponentName(name, component, correlationCodeFromNumber(0));
        component.setValue("mole", mole);
        list.append(component);
    }
    return Dictionary{{"name", "Test"}, {"components", list}};
}

// The whole-fluid correlation characterises the heavy fractions only; iC4 and iC5 keep
// their built-in data, and a component the code cannot characterise is left as it was
// and reported.
TEST(FluidCorrelation, CharacterisesHeavyFractionsAndReportsThoseItCannot)
{
    Dictionary fluid = fluidOf({{"N2", 1},  {"CO2", 1},  {"H2S", 1},  {"C1", 40}, {"C2", 5},  {"C3", 4},
                                {"iC4", 2}, {"nC4", 2},  {"iC5", 2},  {"C5", 2},  {"C6", 2},  {"C7", 10},
                                {"C20", 8}, {"C7+", 10}, {"Cn2", 5},  {"C50+", 5}});
    const Dictionary before = fluid.deepCopy();
    RecordingLog log;
    EXPECT_EQ(applyFluidCorrelation(fluid, CorrelationCode::katzFiroozabadi), 1);

    const Array components = fluid.arrayValue("components");
    const Array original = before.arrayValue("components");
    for (int i = 0; i < components.size(); ++i) {
        const Dictionary component = components.at(i).toDictionary();
        const QString name = component.stringValue("name");
        const bool characterised = QStringList{"C7", "C20", "C7+", "Cn2"}.contains(name);
        EXPECT_EQ(component.isEqualTo(original.at(i).toDictionary()), !characterised) << name.toStdString();
        if (characterised) {
            EXPECT_EQ(component.intValue("corr"), 3) << name.toStdString();
        }
    }
    ASSERT_EQ(log.lines().size(), 1);
    EXPECT_TRUE(log.lines().first().contains("C50+")) << log.lines().first().toStdString();
    EXPECT_TRUE(log.lines().first().endsWith("\n"));

    // An unknown code changes nothing and says so for each heavy fraction.
    const Dictionary second = fluid.deepCopy();
    EXPECT_EQ(applyFluidCorrelation(second, correlationCodeFromNumber(200)), 5);
    EXPECT_TRUE(second.isEqualTo(fluid));
    EXPECT_EQ(log.lines().size(), 6);
    EXPECT_EQ(applyFluidCorrelation(Dictionary{}, CorrelationCode::katzFiroozabadi), 0);
}

TEST(McCainClassification, ByTheHeavyAndLightMoleFractions)
{
    struct Case
    {
        Dictionary fluid;
        const char* type;
    };
    const Case cases[] = {
        {fluidOf({{"C1", 20}, {"C7+", 80}}), "Low shrinkage oil"},
        {fluidOf({{"C1", 30}, {"C10", 70}}), "Low shrinkage oil"},
        {fluidOf({{"C1", 60}, {"C2", 10}, {"C7+", 30}}), "Ordinary black oil"},
        {fluidOf({{"C1", 75}, {"nC4", 12.5}, {"Cn1", 12.5}}), "Volatile oil"},
        {fluidOf({{"C1", 92}, {"C2", 8}}), "Dry gas"},
        {fluidOf({{"N2", 50}, {"CH4", 41}, {"CO2", 9}}), "Dry gas"},
        {fluidOf({{"C1", 85}, {"C3", 10}, {"C7+", 5}}), "Gas condensate"},
        {fluidOf({{"c1", 100}}), "Low shrinkage oil"},  // lower case counts as heavy
        {Dictionary{}, "Gas condensate"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(getMcCainFluidType(c.fluid), c.type) << c.fluid.arrayValue("components").size();
}

}  // namespace
