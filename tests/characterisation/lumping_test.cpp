#include "characterisation/Lumping.h"

#include "support/test_fluids.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using namespace quorvel;
using testfluids::component;
using testfluids::HeavySums;

Dictionary componentAt(const Dictionary& fluid, int index)
{
    return fluid.arrayValue("components").at(index).toDictionary();
}

QStringList namesOf(const Dictionary& fluid)
{
    QStringList names;
    for (const Value& element : fluid.arrayValue("components"))
        names.append(element.toDictionary().stringValue("name"));
    return names;
}

bool isNotLight(const Dictionary& c) { return !isLightComponentName(c.stringValue("name")); }

// The worked example: two cuts mixed by mole fraction, mass and volume, the fluid's
// own keys, the light copies without "corr", unknown names dropped, iC4 kept.
TEST(Lumping, C7plusMixesTwoCutsAndKeepsTheLightComponents)
{
    Dictionary c1 = component("C1", 60);
    c1.setValue("corr", 0);
    Dictionary source = testfluids::fluid(
        "Oil A", Array{c1, component("iC4", 10), component("Mystery", 10), component("C8", 10, 100, 0.75),
                       component("C12", 10, 200, 0.85)});
    source.setValue("alpha", 0.5);

    const Dictionary lumped = lumpFluidC7plus(source);

    EXPECT_EQ(lumped.stringValue("name"), "Oil A - lumped");
    EXPECT_EQ(lumped.stringValue("comment"), "Lumped from Oil A");
    EXPECT_EQ(lumped.intValue("fluidType"), 2);
    EXPECT_EQ(lumped.intValue("EOS"), 1);
    EXPECT_FALSE(lumped.contains("alpha"));
    EXPECT_EQ(namesOf(lumped), (QStringList{"C1", "iC4", "C7+"}));
    EXPECT_FALSE(componentAt(lumped, 0).contains("corr"));
    EXPECT_DOUBLE_EQ(componentAt(lumped, 0).doubleValue("mole"), 60);

    const double gravity = 30 / (10 / 0.75 + 20 / 0.85);  // 0.81383
    const Dictionary lump = componentAt(lumped, 2);
    EXPECT_DOUBLE_EQ(lump.doubleValue("mole"), 20);
    EXPECT_DOUBLE_EQ(lump.doubleValue("mw"), 150);
    EXPECT_NEAR(lump.doubleValue("SG"), 0.81383, 5e-6);
    EXPECT_DOUBLE_EQ(lump.doubleValue("SG"), gravity);
    EXPECT_EQ(lump.intValue("nc"), 2000);
    EXPECT_EQ(lump.intValue("corr"), 6);  // Riazi-Daubert then Edmister
    EXPECT_GT(lump.doubleValue("Pc"), 0);
    EXPECT_DOUBLE_EQ(lumped.doubleValue("C7+"), 0.2);
    EXPECT_DOUBLE_EQ(lumped.doubleValue("mwC7+"), 150);
    EXPECT_DOUBLE_EQ(lumped.doubleValue("SGC7+"), gravity);
}

struct Scheme
{
    const char* name;
    std::function<Dictionary(const Dictionary&)> lump;
};

const Scheme kSchemes[] = {{"C7plus", lumpFluidC7plus},
                           {"Cn1Cn2", lumpFluidCn1Cn2},
                           {"C7C8C9C10Cn1Cn2", lumpFluidC7C8C9C10Cn1Cn2},
                           {"Pedersen", lumpFluidPedersen}};

// Every scheme keeps the heavy part's mole fraction, mass and volume, the light
// components unchanged, and writes C7+ keys that mix the heavy part.
TEST(Lumping, EverySchemeConservesMolesMassAndVolume)
{
    const Dictionary source = testfluids::fortyCutFluid();
    const HeavySums sourceHeavy = testfluids::sumsOf(source.arrayValue("components"), testfluids::isHeavyName);
    const double sourceTotal = testfluids::totalMolePercent(source.arrayValue("components"));
    for (const Scheme& scheme : kSchemes) {
        const Dictionary lumped = scheme.lump(source);
        const Array components = lumped.arrayValue("components");
        const HeavySums heavy = testfluids::sumsOf(components, isNotLight);
        EXPECT_NEAR(heavy.z, sourceHeavy.z, 1e-12) << scheme.name;
        EXPECT_NEAR(heavy.mass, sourceHeavy.mass, 1e-9 * sourceHeavy.mass) << scheme.name;
        EXPECT_NEAR(heavy.volume, sourceHeavy.volume, 1e-9 * sourceHeavy.volume) << scheme.name;
        EXPECT_NEAR(testfluids::totalMolePercent(components), sourceTotal, 1e-9) << scheme.name;
        EXPECT_NEAR(lumped.doubleValue("C7+"), sourceHeavy.z, 1e-12) << scheme.name;
        EXPECT_NEAR(lumped.doubleValue("mwC7+"), sourceHeavy.molarWeight(), 1e-9) << scheme.name;
        EXPECT_NEAR(lumped.doubleValue("SGC7+"), sourceHeavy.gravity(), 1e-12) << scheme.name;
        EXPECT_EQ(namesOf(lumped).mid(0, 10), namesOf(source).mid(0, 10)) << scheme.name;
        EXPECT_TRUE(source.arrayValue("components").isEqualTo(testfluids::fortyCutFluid().arrayValue("components")))
            << scheme.name << ": the source changed";
    }
}

// Membership of Cn1 and Cn2 by identifier, and the lumps' critical properties as
// mole-weighted averages (temperatures averaged in kelvin).
TEST(Lumping, Cn1Cn2GroupsByIdentifier)
{
    const Dictionary source = testfluids::fluid(
        "Oil", Array{component("C1", 50), component("C25", 10, 340, 0.9), component("C7+", 5, 150, 0.8),
                     component("C20+", 5, 400, 0.9), component("C26", 10, 360, 0.91), component("C30+", 10, 500, 0.95),
                     component("C600", 10, 900, 1.0)});
    const Dictionary lumped = lumpFluidCn1Cn2(source);
    ASSERT_EQ(namesOf(lumped), (QStringList{"C1", "Cn1", "Cn2"}));

    const Dictionary cn1 = componentAt(lumped, 1);
    const Dictionary cn2 = componentAt(lumped, 2);
    EXPECT_EQ(cn1.intValue("nc"), 2001);
    EXPECT_EQ(cn2.intValue("nc"), 2002);
    EXPECT_DOUBLE_EQ(cn1.doubleValue("mole"), 20);
    EXPECT_DOUBLE_EQ(cn2.doubleValue("mole"), 20);
    EXPECT_DOUBLE_EQ(cn1.doubleValue("mw"), (0.1 * 340 + 0.05 * 150 + 0.05 * 400) / 0.2);
    const double cn1TcKelvin = (0.1 * (540 + 273.15) + 0.05 * (350 + 273.15) + 0.05 * (600 + 273.15)) / 0.2;
    EXPECT_NEAR(cn1.doubleValue("Tc"), cn1TcKelvin - 273.15, 1e-9);
    EXPECT_NEAR(cn2.doubleValue("Pc"), (0.1 * 4000 / 360 + 0.1 * 4000 / 500) / 0.2, 1e-12);
    EXPECT_NEAR(cn2.doubleValue("omega"), (0.1 * 360 + 0.1 * 500) / 500 / 0.2, 1e-12);
    EXPECT_EQ(cn1.intValue("corr"), 6);
    EXPECT_DOUBLE_EQ(lumped.doubleValue("C7+"), 0.5);  // C600 counts in the totals only
}

TEST(Lumping, C7C8C9C10Cn1Cn2KeepsTheFirstFourCutsWithTheirCode)
{
    const Dictionary lumped = lumpFluidC7C8C9C10Cn1Cn2(testfluids::fortyCutFluid());
    const QStringList names = namesOf(lumped);
    EXPECT_EQ(names.mid(10), (QStringList{"C7", "C8", "C9", "C10", "Cn1", "Cn2"}));
    EXPECT_EQ(componentAt(lumped, 10).intValue("corr"), 13);
    EXPECT_TRUE(componentAt(lumped, 0).contains("mole"));
}

TEST(Lumping, AFluidWithoutHeavyComponents)
{
    const Dictionary source = testfluids::fluid("Gas", Array{component("C1", 90), component("C2", 10)});
    for (const Scheme& scheme : kSchemes) {
        const Dictionary lumped = scheme.lump(source);
        EXPECT_EQ(namesOf(lumped), (QStringList{"C1", "C2"})) << scheme.name;
        for (const char* key : {"C7+", "mwC7+", "SGC7+"}) {
            if (lumped.contains(key)) {
                EXPECT_EQ(lumped.doubleValue(key), 0) << scheme.name << key;
            }
        }
    }
    EXPECT_FALSE(lumpFluidCn1Cn2(source).contains("C7+"));
    EXPECT_FALSE(lumpFluidC7C8C9C10Cn1Cn2(source).contains("mwC7+"));
    EXPECT_TRUE(lumpFluidC7plus(source).contains("SGC7+"));
    EXPECT_TRUE(lumpFluidPedersen(source).contains("mwC7+"));
}

// Run length N / 12: one record per cut below 24 cuts, then pairs, then triples with a
// trailing lump named after the last cut.
TEST(Lumping, PedersenRunsAndTheirNames)
{
    struct RunCase
    {
        int cuts;
        int records;
        const char* lastName;
    };
    for (const RunCase& c : {RunCase{14, 14, "C20"}, RunCase{30, 15, "C36"}, RunCase{40, 14, "C46+"}}) {
        Array components{component("C1", 50)};
        for (int n = 7; n < 7 + c.cuts; ++n)
            components.append(component(QStringLiteral("C%1").arg(n), 50.0 / c.cuts, 14.0 * n, 0.7 + 0.005 * n));
        const Dictionary lumped = lumpFluidPedersen(testfluids::fluid("Oil", components));
        const Array result = lumped.arrayValue("components");
        ASSERT_EQ(result.size(), 1 + c.records) << c.cuts;
        EXPECT_EQ(result.at(result.size() - 1).toDictionary().stringValue("name"), c.lastName) << c.cuts;
        const Dictionary second = result.at(2).toDictionary();
        const int runLength = c.cuts / 12 > 0 ? c.cuts / 12 : 1;
        const int lastMember = 7 + 2 * runLength - 1;
        EXPECT_EQ(second.stringValue("name"), QStringLiteral("C%1").arg(lastMember)) << c.cuts;
        EXPECT_DOUBLE_EQ(second.doubleValue("Tc"), 200 + 14.0 * lastMember) << c.cuts;
        EXPECT_NEAR(second.doubleValue("mole"), runLength * 50.0 / c.cuts, 1e-12) << c.cuts;
        EXPECT_FALSE(second.contains("corr")) << c.cuts;
    }
}

}  // namespace
