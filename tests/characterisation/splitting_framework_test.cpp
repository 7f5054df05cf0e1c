#include "characterisation/Lumping.h"
#include "characterisation/SplittingFramework.h"
#include "characterisation/SplittingMethods.h"

#include "support/recording_log.h"
#include "support/test_fluids.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

namespace {

using namespace quorvel;
using testfluids::component;
using testfluids::HeavySums;

QStringList namesOf(const Dictionary& fluid)
{
    QStringList names;
    for (const Value& element : fluid.arrayValue("components"))
        names.append(element.toDictionary().stringValue("name"));
    return names;
}

Dictionary componentNamed(const Dictionary& fluid, const QString& name)
{
    for (const Value& element : fluid.arrayValue("components"))
        if (element.toDictionary().stringValue("name") == name)
            return element.toDictionary();
    return Dictionary();
}

bool isSplitCut(const Dictionary& c) { return !isLightComponentName(c.stringValue("name")); }

// Katz-like fractions of z: a constant ratio, the remainder in the last entry.
SplitFractions geometricFractions(double z)
{
    SplitFractions fractions{};
    double sum = 0;
    for (int i = 0; i < 39; ++i) {
        fractions[i] = 0.3 * z * std::pow(0.75, i);
        sum += fractions[i];
    }
    fractions[39] = z - sum;
    return fractions;
}

// The source's own cuts C7 .. C46 as split fractions.
SplitFractions fractionsOf(const Dictionary& source)
{
    SplitFractions fractions{};
    int i = 0;
    for (const Value& element : source.arrayValue("components"))
        if (isSplitCut(element.toDictionary()))
            fractions[i++] = element.toDictionary().doubleValue("mole") / 100;
    return fractions;
}

TEST(SplittingFramework, SummaryOfTheLightNamesAndTheHeavyPart)
{
    const Dictionary source = testfluids::fluid(
        "Oil", Array{component("C1", 40), component("C2", 8), component("C3", 6), component("iC4", 2),
                     component("nC4", 3), component("iC5", 1.5), component("nC5", 2.5), component("C6", 4),
                     component("CH4", 5), component("nC6", 1), component("C4H10", 7), component("N2", 0.5),
                     component("CO2", 1.5), component("H2S", 0.25), component("C7", 9.25, 100, 0.7),
                     component("C12", 9.25, 200, 0.8)});
    const CompositionSummary s = analyseFluidComposition(source);
    EXPECT_EQ(s.heavyCount, 2);
    EXPECT_DOUBLE_EQ(s.zC7plus, 0.185);
    EXPECT_DOUBLE_EQ(s.mwC7plus, 150);
    EXPECT_NEAR(s.SGC7plus, 300 / (100 / 0.7 + 200 / 0.8), 1e-12);
    EXPECT_DOUBLE_EQ(s.C1, 0.40);  // CH4 counts nowhere
    EXPECT_DOUBLE_EQ(s.C4, 0.05);
    EXPECT_DOUBLE_EQ(s.C5, 0.04);
    EXPECT_DOUBLE_EQ(s.C6, 0.04);  // nor nC6
    EXPECT_DOUBLE_EQ(s.C7, 0.0925);
    EXPECT_DOUBLE_EQ(s.C8, 0);
    EXPECT_DOUBLE_EQ(s.N2, 0.005);
    EXPECT_DOUBLE_EQ(s.CO2, 0.015);
    EXPECT_DOUBLE_EQ(s.H2S, 0.0025);

    CompositionSummary fromSplit;
    Dictionary light = component("C3", 6);
    light.setValue("corr", 3);
    source.arrayValue("components").replace(2, light);
    const Dictionary split = createSplittedFluid(source, "Katz", fromSplit);
    EXPECT_EQ(split.stringValue("name"), "Oil - Katz");
    EXPECT_EQ(split.stringValue("comment"), "Created by using Katz correlation from Oil");
    EXPECT_EQ(split.intValue("fluidType"), 2);
    EXPECT_EQ(split.intValue("EOS"), 1);
    EXPECT_EQ(namesOf(split), (QStringList{"C1", "C2", "C3", "iC4", "nC4", "iC5", "nC5", "C6", "CH4", "nC6", "N2",
                                           "CO2", "H2S"}));
    EXPECT_FALSE(componentNamed(split, "C3").contains("corr"));
    EXPECT_DOUBLE_EQ(fromSplit.mwC7plus, s.mwC7plus);
    EXPECT_EQ(fromSplit.heavyCount, 2);
}

// The last carbon number bounds the single cuts; the plus fraction gathers the rest and
// never goes beyond C45+, nor below C7+.
TEST(SplittingFramework, LastCarbonNumberBoundsTheCuts)
{
    struct FillCase
    {
        int last;
        int cuts;
        const char* plus;
        bool logged;
    };
    const Dictionary source = testfluids::fortyCutFluid();
    const double z = source.doubleValue("C7+") / 100;
    const SplitFractions fractions = geometricFractions(z);
    for (const FillCase& c : {FillCase{44, 38, "C45+", false}, FillCase{10, 4, "C11+", false},
                              FillCase{6, 0, "C7+", false}, FillCase{50, 38, "C45+", true},
                              FillCase{3, 0, "C7+", true}}) {
        RecordingLog log;
        CompositionSummary summary;
        const Dictionary split = createSplittedFluid(source, "Katz", summary);
        fillSplittedFluids(source, split, fractions, 40, c.last, true);
        const QStringList names = namesOf(split).mid(10);
        ASSERT_EQ(names.size(), c.cuts + 1) << c.last;
        for (int i = 0; i < c.cuts; ++i)
            EXPECT_EQ(names[i], QStringLiteral("C%1").arg(i + 7)) << c.last;
        EXPECT_EQ(names.last(), c.plus) << c.last;
        double plus = 0;
        for (int i = c.cuts; i < 40; ++i)
            plus += fractions[i];
        EXPECT_NEAR(componentNamed(split, c.plus).doubleValue("mole"), plus * 100, 1e-12) << c.last;
        EXPECT_EQ(log.lines().size(), c.logged ? 1 : 0) << c.last;
        for (const Value& element : split.arrayValue("components")) {
            const Dictionary cut = element.toDictionary();
            if (!isSplitCut(cut))
                continue;
            EXPECT_GT(cut.doubleValue("mw"), 0) << c.last << cut.stringValue("name").toStdString();
            EXPECT_GT(cut.doubleValue("SG"), 0) << c.last << cut.stringValue("name").toStdString();
        }
    }
}

// With matching every cut is scaled so that the heavy part mixes to the stored C7+
// molar weight and gravity; without it the cuts keep their table values and the plus
// fraction closes the mass and the volume. Either way the moles are kept.
TEST(SplittingFramework, FillReproducesTheStoredHeavyPart)
{
    const Dictionary source = testfluids::fortyCutFluid();
    const double z = source.doubleValue("C7+") / 100;
    for (const bool matching : {true, false}) {
        RecordingLog log;
        CompositionSummary summary;
        const Dictionary split = createSplittedFluid(source, "Katz", summary);
        fillSplittedFluids(source, split, fractionsOf(source), 40, 20, matching);
        EXPECT_TRUE(log.lines().isEmpty()) << matching;
        const Array components = split.arrayValue("components");
        const HeavySums heavy = testfluids::sumsOf(components, isSplitCut);
        EXPECT_NEAR(heavy.z, z, 1e-14) << matching;
        EXPECT_NEAR(heavy.molarWeight(), source.doubleValue("mwC7+"), 1e-9) << matching;
        EXPECT_NEAR(heavy.gravity(), source.doubleValue("SGC7+"), 1e-12) << matching;
        EXPECT_NEAR(testfluids::totalMolePercent(components), 100, 1e-9) << matching;
        const Dictionary c9 = componentNamed(split, "C9");
        if (!matching) {
            EXPECT_DOUBLE_EQ(c9.doubleValue("mw"), getKatzFiroozabadiMolarWeight(9));
            EXPECT_DOUBLE_EQ(c9.doubleValue("SG"), getRiaziAlSahhafSG(9));
        } else {
            EXPECT_NE(c9.doubleValue("mw"), getKatzFiroozabadiMolarWeight(9));
        }
    }
}

// A heavy part lighter than the table cuts leaves the unmatched plus fraction a negative
// molar weight: the split is matched instead, with one log line.
TEST(SplittingFramework, AnImpossiblePlusFractionFallsBackToMatching)
{
    const Dictionary source = testfluids::withStoredHeavyPart(
        testfluids::fluid("Light", Array{component("C1", 70), component("C7+", 30, 100, 0.72)}));
    RecordingLog log;
    CompositionSummary summary;
    const Dictionary split = createSplittedFluid(source, "Katz", summary);
    fillSplittedFluids(source, split, geometricFractions(0.3), 40, 30, false);
    ASSERT_EQ(log.lines().size(), 1);
    EXPECT_TRUE(log.lines()[0].contains("matched instead"));
    const HeavySums heavy = testfluids::sumsOf(split.arrayValue("components"), isSplitCut);
    EXPECT_NEAR(heavy.molarWeight(), 100, 1e-9);
    EXPECT_NEAR(heavy.gravity(), 0.72, 1e-12);
    for (const Value& element : split.arrayValue("components"))
        EXPECT_GT(element.toDictionary().doubleValue("mw"), 0);
}

// Split fractions that end before the plus fraction leave it no moles: nothing is divided
// by them, the split is matched with a log line and the plus fraction holds 0 %.
TEST(SplittingFramework, AnEmptyPlusFractionIsNotDividedBy)
{
    const Dictionary source = testfluids::fortyCutFluid();
    SplitFractions fractions{};
    const double z = source.doubleValue("C7+") / 100;
    fractions[0] = 0.5 * z;
    fractions[1] = 0.3 * z;
    fractions[2] = 0.2 * z;
    RecordingLog log;
    CompositionSummary summary;
    const Dictionary split = createSplittedFluid(source, "Katz", summary);
    fillSplittedFluids(source, split, fractions, 40, 10, false);
    EXPECT_EQ(log.lines().size(), 1);
    const Dictionary plus = componentNamed(split, "C11+");
    EXPECT_EQ(plus.doubleValue("mole"), 0);
    EXPECT_TRUE(std::isfinite(plus.doubleValue("mw")));
    EXPECT_TRUE(std::isfinite(plus.doubleValue("SG")));
    const HeavySums heavy = testfluids::sumsOf(split.arrayValue("components"), isSplitCut);
    EXPECT_NEAR(heavy.molarWeight(), source.doubleValue("mwC7+"), 1e-9);
}

TEST(SplittingFramework, SummaryWithoutAHeavyPartIsZero)
{
    for (const Array& components :
         {Array{component("C1", 100)}, Array{component("C1", 100), component("C9", 0, 121, 0.76)}}) {
        const CompositionSummary s = analyseFluidComposition(testfluids::fluid("Gas", components));
        EXPECT_EQ(s.heavyCount, 0);
        EXPECT_EQ(s.zC7plus, 0);
        EXPECT_EQ(s.mwC7plus, 0);
        EXPECT_EQ(s.SGC7plus, 0);
    }
}

// Lumped and test-chain records store "C7+" as a fraction: the split takes the heavy part
// from the components instead (one log line) and gives what splitting the source gives.
TEST(SplittingFramework, AStoredC7plusFractionSplitsLikeItsSource)
{
    const Dictionary source = testfluids::fortyCutFluid();
    const Dictionary lumped = lumpFluidC7plus(source);
    ASSERT_LT(lumped.doubleValue("C7+"), 1);

    RecordingLog sourceLog;
    const Dictionary fromSource = getAhmedSplittedFluid(source, 30, false, true);
    EXPECT_TRUE(sourceLog.lines().isEmpty());
    RecordingLog lumpedLog;
    const Dictionary fromLumped = getAhmedSplittedFluid(lumped, 30, false, true);
    ASSERT_EQ(lumpedLog.lines().size(), 1);
    EXPECT_TRUE(lumpedLog.lines()[0].startsWith("Splitting Forty cuts - lumped: the stored C7+ (0.375 %)"));

    ASSERT_EQ(namesOf(fromLumped), namesOf(fromSource));
    const Array a = fromSource.arrayValue("components");
    const Array b = fromLumped.arrayValue("components");
    for (int i = 10; i < a.size(); ++i) {
        EXPECT_NEAR(b.at(i).toDictionary().doubleValue("mw"), a.at(i).toDictionary().doubleValue("mw"), 1e-9) << i;
        EXPECT_NEAR(b.at(i).toDictionary().doubleValue("mole"), a.at(i).toDictionary().doubleValue("mole"), 1e-12)
            << i;
    }
    EXPECT_NEAR(testfluids::sumsOf(b, isSplitCut).molarWeight(), source.doubleValue("mwC7+"), 1e-9);

    Dictionary bare = source.copy();
    for (const char* key : {"C7+", "mwC7+", "SGC7+"})
        bare.remove(key);
    RecordingLog bareLog;
    const Dictionary fromBare = getAhmedSplittedFluid(bare, 30, false, true);
    EXPECT_EQ(bareLog.lines().size(), 1);
    EXPECT_NEAR(testfluids::sumsOf(fromBare.arrayValue("components"), isSplitCut).molarWeight(),
                source.doubleValue("mwC7+"), 1e-9);
}

TEST(SplittingFramework, DefaultComponentCarriesTheStoredHeavyPart)
{
    const Dictionary source = testfluids::withStoredHeavyPart(
        testfluids::fluid("Oil", Array{component("C1", 80), component("C7+", 20, 180, 0.82)}));
    CompositionSummary summary;
    const Dictionary split = createSplittedFluid(source, "Pedersen", summary);
    fillSplittedFluidsByDefault(source, split);
    const Dictionary plus = componentNamed(split, "C7+");
    EXPECT_DOUBLE_EQ(plus.doubleValue("mole"), 20);
    EXPECT_DOUBLE_EQ(plus.doubleValue("mw"), 180);
    EXPECT_DOUBLE_EQ(plus.doubleValue("SG"), 0.82);
    EXPECT_EQ(plus.intValue("nc"), 2000);
    EXPECT_EQ(plus.intValue("corr"), 0);
}

QString row(int index, const char* name, double measured, double calculated)
{
    char buffer[200];
    std::snprintf(buffer, sizeof buffer, "%8d%s%16.6f%16.6f%16.6f\n", index, name, measured, calculated,
                  (calculated - measured) / measured * 100);
    return QString::fromUtf8(buffer);
}

// The comparison table line by line: the source's C10+ has no namesake in the split and a
// cut measured as 0 is left out of the rows and the averages.
TEST(SplittingFramework, ComparisonLogLineByLine)
{
    const Dictionary source = testfluids::withStoredHeavyPart(testfluids::fluid(
        "Oil B", Array{component("C1", 60), component("C7", 8, 96, 0.72), component("C8", 6, 107, 0.745),
                       component("C9", 0, 121, 0.76), component("C10+", 26, 260, 0.86)}));

    RecordingLog log;
    const Dictionary split = getKatzSplittedFluid(source, 20, true, true);
    const double c7 = componentNamed(split, "C7").doubleValue("mole");
    const double c8 = componentNamed(split, "C8").doubleValue("mole");
    EXPECT_NEAR(c7, 100 * 1.38205 * 0.4 * std::exp(-0.25903 * 7), 1e-12);
    const double d7 = (c7 - 8) / 8;
    const double d8 = (c8 - 6) / 6;
    char averages[2][80];
    std::snprintf(averages[0], sizeof averages[0], "Average deviation (%%)          : %.2f \n", (d7 + d8) / 2 * 100);
    std::snprintf(averages[1], sizeof averages[1], "Average absolute deviation (%%) : %.2f \n\n",
                  (std::fabs(d7) + std::fabs(d8)) / 2 * 100);
    const QStringList expected{
        "Comparison of (Oil B) with (Oil B - Katz) : \n\n",
        "   Index       Component   Mole (exp, %)  Mole (calc, %)        Dev. (%)\n\n",
        row(1, "C7", 8, c7),
        row(2, "C8", 6, c8),
        "\n",
        QString::fromUtf8(averages[0]),
        QString::fromUtf8(averages[1]),
    };
    EXPECT_EQ(log.lines(), expected);
    EXPECT_DOUBLE_EQ(split.doubleValue("ardx"), (d7 + d8) / 2 * 100);
    EXPECT_DOUBLE_EQ(split.doubleValue("aadx"), (std::fabs(d7) + std::fabs(d8)) / 2 * 100);

    double ardx = 1;
    double aadx = 1;
    Dictionary quiet = split.copy();
    quiet.remove("ardx");
    RecordingLog silent;
    compareSplittedFluids(source, quiet, ardx, aadx, false);
    EXPECT_TRUE(silent.lines().isEmpty());
    EXPECT_DOUBLE_EQ(ardx, (d7 + d8) / 2);
    EXPECT_DOUBLE_EQ(quiet.doubleValue("ardx"), split.doubleValue("ardx"));
}

TEST(SplittingFramework, ComparisonWithoutRowsStoresNoDeviation)
{
    Dictionary source = testfluids::fluid("Oil C", Array{component("C1", 70), component("C7+", 30, 200, 0.83)});
    CompositionSummary summary;
    Dictionary split = createSplittedFluid(source, "Katz", summary);
    split.arrayValue("components").append(component("C7", 30, 96, 0.72));
    RecordingLog log;
    double ardx = 1;
    double aadx = 1;
    compareSplittedFluids(source, split, ardx, aadx, true);
    EXPECT_EQ(log.lines().size(), 2);
    EXPECT_EQ(ardx, 0);
    EXPECT_EQ(aadx, 0);
    EXPECT_FALSE(split.contains("ardx"));
    EXPECT_FALSE(split.contains("aadx"));
}

}  // namespace
