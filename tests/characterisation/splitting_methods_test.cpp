#include "characterisation/Lumping.h"
#include "characterisation/SplittingMethods.h"

#include "support/recording_log.h"
#include "support/test_fluids.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numeric>

namespace {

using namespace quorvel;
using testfluids::component;

double sumOf(const SplitFractions& fractions) { return std::accumulate(fractions.begin(), fractions.end(), 0.0); }

bool isSplitCut(const Dictionary& c) { return !isLightComponentName(c.stringValue("name")); }

QStringList namesOf(const Dictionary& fluid)
{
    QStringList names;
    for (const Value& element : fluid.arrayValue("components"))
        names.append(element.toDictionary().stringValue("name"));
    return names;
}

// Every split ends where its fractions reach z: none negative, none after the count.
void expectClosedSplit(const SplitFractions& fractions, int count, double z, const char* what)
{
    ASSERT_GE(count, 1) << what;
    ASSERT_LE(count, 40) << what;
    EXPECT_NEAR(sumOf(fractions), z, 1e-15) << what;
    for (int i = 0; i < 40; ++i) {
        EXPECT_GE(fractions[i], 0) << what << " entry " << i;
        EXPECT_TRUE(std::isfinite(fractions[i])) << what << " entry " << i;
        if (i >= count) {
            EXPECT_EQ(fractions[i], 0) << what << " entry " << i;
        }
    }
}

// Katz: the constant ratio e^(-0.25903) from 1.38205 z e^(-0.25903 x 7), the remainder last.
TEST(SplittingMethods, KatzKeepsItsConstantRatio)
{
    SplitFractions f{};
    int count = 0;
    applyKatzSplittingAlgorithm(0.3, f, count);
    EXPECT_EQ(count, 40);
    EXPECT_NEAR(f[0], 1.38205 * 0.3 * std::exp(-0.25903 * 7), 1e-15);
    EXPECT_NEAR(f[0], 0.0676, 5e-5);
    EXPECT_NEAR(f[1], 0.0522, 5e-5);
    for (int i = 1; i < 39; ++i)
        EXPECT_NEAR(f[i] / f[i - 1], std::exp(-0.25903), 1e-14) << i;
    EXPECT_NEAR(f[39], 0.00362, 5e-5);
    expectClosedSplit(f, count, 0.3, "Katz");
}

// Al-Meshari: the exponential ratio e^(-14 / (M - 86.2)); the 39 cuts at z 0.3 and M 150
// would overshoot z, so the split ends where it reaches z instead of a negative last cut.
TEST(SplittingMethods, AlMeshariKeepsItsRatioAndEndsWithoutANegativeRemainder)
{
    const double z = 0.3;
    const double beta = 150 - 86.2;
    SplitFractions f{};
    int count = 0;
    applyAlMeshariSplittingAlgorithm(z, 150, f, count);
    EXPECT_NEAR(f[0], z * std::exp(86.2 / beta) * (std::exp(-86 / beta) - std::exp(-100 / beta)), 1e-15);
    EXPECT_NEAR(f[0], 0.0593, 5e-5);
    for (int i = 1; i < count - 1; ++i)
        EXPECT_NEAR(f[i] / f[i - 1], std::exp(-14 / beta), 1e-13) << i;
    double rawSum = 0;
    for (int i = 0; i < 39; ++i)
        rawSum += z * std::exp(86.2 / beta) * (std::exp(-(86.0 + 14 * i) / beta) - std::exp(-(100.0 + 14 * i) / beta));
    ASSERT_NEAR(z - rawSum, -0.00088, 5e-5);  // what the last cut would have held
    EXPECT_LT(count, 40);
    expectClosedSplit(f, count, z, "AlMeshari");

    applyAlMeshariSplittingAlgorithm(z, 86.5, f, count);  // steep: the first cut takes all
    expectClosedSplit(f, count, z, "AlMeshari 86.5");
}

TEST(SplittingMethods, AhmedStepsDependOnTheC7plusFraction)
{
    struct StepCase
    {
        double z;
        double firstStep;
        double step;
    };
    const double M = 150;
    for (const StepCase& c : {StepCase{0.1, 15.5, 17}, StepCase{0.125, 16.5, 20.1}, StepCase{0.3, 16.5, 20.1}}) {
        SplitFractions f{};
        int count = 0;
        applyAhmedSplittingAlgorithm(c.z, M, f, count);
        const double f0 = c.firstStep * c.z / (M + c.firstStep - 96);
        const double f1 = c.firstStep * (c.z - f0) / (M + 2 * c.firstStep - 107);
        const double f2 = (3 * c.step - 2 * c.firstStep) * (c.z - f0 - f1) / (M + 3 * c.step - 121);
        EXPECT_NEAR(f[0], f0, 1e-15) << c.z;
        EXPECT_NEAR(f[1], f1, 1e-15) << c.z;
        EXPECT_NEAR(f[2], f2, 1e-15) << c.z;
        expectClosedSplit(f, count, c.z, "Ahmed");
    }
}

// A C7+ lighter than the table's C7 overshoots at once: one plus fraction "C7+"; lighter
// still, the cut molar weight passes the step and nothing is divided by zero.
TEST(SplittingMethods, AhmedOnALightC7plus)
{
    SplitFractions f{};
    int count = 0;
    applyAhmedSplittingAlgorithm(0.3, 90, f, count);
    EXPECT_EQ(count, 1);
    EXPECT_EQ(f[0], 0.3);
    expectClosedSplit(f, count, 0.3, "Ahmed 90");
    for (const double M : {60.0, 79.5, 80.5}) {
        applyAhmedSplittingAlgorithm(0.3, M, f, count);
        expectClosedSplit(f, count, 0.3, "Ahmed light");
    }
}

// Pedersen on an exponential tail: the line through ln C6 .. ln C10 continues it exactly.
TEST(SplittingMethods, PedersenContinuesAnExponentialTail)
{
    const auto tail = [](int n) { return 0.4 * std::exp(-0.3 * n); };
    double z = 0.01;
    for (int n = 7; n <= 45; ++n)
        z += tail(n);
    SplitFractions f{};
    int count = 0;
    ASSERT_TRUE(applyPedersenSplittingAlgorithm(z, tail(6), tail(7), tail(8), tail(9), tail(10), f, count));
    EXPECT_EQ(count, 40);
    for (int i = 0; i < 39; ++i)
        EXPECT_NEAR(f[i], tail(i + 7), 1e-12 * tail(i + 7)) << i;
    EXPECT_NEAR(f[39], 0.01, 1e-14);

    // C6 below C7 leaves the fit to C7 .. C10, which are kept as measured.
    const auto steep = [](int n) { return 0.9 * std::exp(-0.25 * n); };
    double steepTotal = 0.01;
    for (int n = 7; n <= 45; ++n)
        steepTotal += steep(n);
    ASSERT_TRUE(applyPedersenSplittingAlgorithm(steepTotal, 0.02, steep(7), steep(8), steep(9), steep(10), f, count));
    for (int i = 0; i < 39; ++i)
        EXPECT_NEAR(f[i], steep(i + 7), 1e-12 * steep(i + 7)) << i;
    EXPECT_EQ(f[0], steep(7));
}

TEST(SplittingMethods, PedersenAbsorbsMeasuredCutsAboveThePlusFraction)
{
    SplitFractions f{};
    int count = 0;
    ASSERT_TRUE(applyPedersenSplittingAlgorithm(0.1, 0.06, 0.05, 0.04, 0.03, 0.02, f, count));
    EXPECT_EQ(count, 3);
    EXPECT_EQ(f[0], 0.05);
    EXPECT_EQ(f[1], 0.04);
    expectClosedSplit(f, count, 0.1, "Pedersen");
}

// Lohrenz on a tail whose logarithm is quadratic in the carbon number above C6.
TEST(SplittingMethods, LohrenzContinuesAQuadraticTail)
{
    const double C6 = 0.05;
    const auto tail = [C6](int n) { return C6 * std::exp(-0.004 * (n - 6) * (n - 6) - 0.15 * (n - 6)); };
    double z = 0.02;
    for (int n = 7; n <= 45; ++n)
        z += tail(n);
    SplitFractions f{};
    int count = 0;
    ASSERT_TRUE(applyLohrenzSplittingAlgorithm(z, C6, tail(7), tail(8), tail(9), tail(10), f, count));
    EXPECT_EQ(count, 40);
    for (int i = 0; i < 39; ++i)
        EXPECT_NEAR(f[i], tail(i + 7), 1e-11 * tail(i + 7)) << i;
    EXPECT_NEAR(f[39], 0.02, 1e-13);
}

// A growing curve (positive quadratic coefficient) is capped where it reaches z.
TEST(SplittingMethods, LohrenzCapsAGrowingCurve)
{
    const double C6 = 0.02;
    const auto grow = [C6](int n) { return C6 * std::exp(0.05 * (n - 6) * (n - 6) - 0.1 * (n - 6)); };
    SplitFractions f{};
    int count = 0;
    ASSERT_TRUE(applyLohrenzSplittingAlgorithm(0.3, C6, grow(7), grow(8), grow(9), grow(10), f, count));
    EXPECT_LT(count, 40);
    for (int i = 0; i < count - 1; ++i)
        EXPECT_NEAR(f[i], grow(i + 7), 1e-12) << i;
    expectClosedSplit(f, count, 0.3, "Lohrenz growing");
}

TEST(SplittingMethods, FitsNeedTwoMeasuredCuts)
{
    SplitFractions f{};
    f[0] = 7;
    int count = 0;
    EXPECT_FALSE(applyPedersenSplittingAlgorithm(0.3, 0, 0.05, 0, 0, 0, f, count));
    EXPECT_FALSE(applyPedersenSplittingAlgorithm(0.3, 0.02, 0.05, 0, 0, 0, f, count));  // C6 dropped
    EXPECT_FALSE(applyLohrenzSplittingAlgorithm(0.3, 0.05, 0.04, 0, 0, 0, f, count));
    EXPECT_FALSE(applyLohrenzSplittingAlgorithm(0.3, 0, 0.04, 0.03, 0.02, 0.01, f, count));  // no C6
    EXPECT_EQ(f[0], 7);
    EXPECT_TRUE(applyPedersenSplittingAlgorithm(0.3, 0.06, 0.05, 0, 0, 0, f, count));
}

struct Driver
{
    const char* word;
    std::function<Dictionary(const Dictionary&, int, bool, bool)> split;
};

const Driver kDrivers[] = {{"Ahmed", getAhmedSplittedFluid},
                           {"AlMeshari", getAlMeshariSplittedFluid},
                           {"Katz", getKatzSplittedFluid},
                           {"Pedersen", getPedersenSplittedFluid},
                           {"Lohrenz", getLohrenzSplittedFluid}};

// Every method keeps the source's moles; with matching the heavy part mixes to the stored
// C7+ molar weight and gravity; every cut can be loaded (positive, finite properties) and
// the plus fraction is heavier than the cut before it. Unmatched, Lohrenz's distribution
// leaves 15 % of the moles to C45+, which would close at 217 g/mol: that split is matched.
TEST(SplittingMethods, EveryDriverConservesTheSource)
{
    const Dictionary source = testfluids::fortyCutFluid();
    const Dictionary untouched = source.deepCopy();
    for (const Driver& driver : kDrivers) {
        for (const bool matching : {true, false}) {
            RecordingLog log;
            const Dictionary split = driver.split(source, 44, false, matching);
            if (!matching && QString(driver.word) == "Lohrenz")
                EXPECT_EQ(log.lines(), QStringList{"Splitting Forty cuts: the plus fraction C45+ would have no "
                                                   "plausible molar weight or gravity; the split is matched "
                                                   "instead.\n"});
            else
                EXPECT_TRUE(log.lines().isEmpty()) << driver.word << matching << log.lines().join("").toStdString();
            EXPECT_EQ(split.stringValue("name"), QStringLiteral("Forty cuts - %1").arg(driver.word));
            const Array components = split.arrayValue("components");
            EXPECT_NEAR(testfluids::totalMolePercent(components), 100, 1e-9) << driver.word << matching;
            const testfluids::HeavySums heavy = testfluids::sumsOf(components, isSplitCut);
            EXPECT_NEAR(heavy.molarWeight(), source.doubleValue("mwC7+"), 1e-9) << driver.word << matching;
            EXPECT_NEAR(heavy.gravity(), source.doubleValue("SGC7+"), 1e-12) << driver.word << matching;
            for (const Value& element : components) {
                const Dictionary c = element.toDictionary();
                if (!isSplitCut(c))
                    continue;
                EXPECT_GE(c.doubleValue("mole"), 0) << driver.word << c.stringValue("name").toStdString();
                EXPECT_GT(c.doubleValue("mw"), 0) << driver.word << c.stringValue("name").toStdString();
                EXPECT_GT(c.doubleValue("SG"), 0) << driver.word << c.stringValue("name").toStdString();
                EXPECT_TRUE(std::isfinite(c.doubleValue("Tc"))) << driver.word;
            }
            const Dictionary plus = components.at(components.size() - 1).toDictionary();
            const Dictionary beforePlus = components.at(components.size() - 2).toDictionary();
            EXPECT_GT(plus.doubleValue("mw"), beforePlus.doubleValue("mw")) << driver.word << matching;
        }
    }
    EXPECT_TRUE(source.isEqualTo(untouched));
}

// Without a heavy part the record holds the light components only; Pedersen and Lohrenz
// on three heavy components or fewer make the single C7+ component without a log line.
TEST(SplittingMethods, DriversWithoutEnoughHeavyComponents)
{
    const Dictionary gas = testfluids::fluid("Gas", Array{component("C1", 90), component("C2", 10)});
    Dictionary oil = testfluids::fluid("Oil", Array{component("C1", 70), component("C7", 10, 96, 0.72),
                                                    component("C8", 10, 107, 0.745), component("C9+", 10, 200, 0.8)});
    const Dictionary lumped = lumpFluidC7plus(oil);
    for (const Driver& driver : kDrivers) {
        RecordingLog log;
        EXPECT_EQ(namesOf(driver.split(gas, 20, true, true)), (QStringList{"C1", "C2"})) << driver.word;
        const Dictionary split = driver.split(lumped, 20, false, true);
        if (QString(driver.word) == "Pedersen" || QString(driver.word) == "Lohrenz") {
            EXPECT_EQ(namesOf(split), (QStringList{"C1", "C7+"})) << driver.word;
            const Dictionary plus = split.arrayValue("components").at(1).toDictionary();
            EXPECT_NEAR(plus.doubleValue("mole"), 30, 1e-12);  // the stored fraction 0.3 read from the components
            EXPECT_NEAR(plus.doubleValue("mw"), lumped.doubleValue("mwC7+"), 1e-12);
            EXPECT_EQ(log.lines().size(), 1) << driver.word;  // the stored C7+ is a fraction
        }
    }
}

// When the fit cannot be made the single C7+ is kept, with one log line; so it is when
// Al-Meshari meets a C7+ molar weight of 86.2 or less, and no mole is lost.
TEST(SplittingMethods, FallbacksAreLogged)
{
    const Dictionary sparse = testfluids::withStoredHeavyPart(testfluids::fluid(
        "Sparse", Array{component("C1", 70), component("C7", 10, 96, 0.72), component("C12", 5, 160, 0.8),
                        component("C15", 5, 200, 0.83), component("C20+", 10, 350, 0.9)}));
    for (const Driver& driver : {kDrivers[3], kDrivers[4]}) {
        RecordingLog log;
        const Dictionary split = driver.split(sparse, 30, true, true);
        EXPECT_EQ(namesOf(split), (QStringList{"C1", "C7+"})) << driver.word;
        ASSERT_EQ(log.lines().size(), 1) << driver.word;
        EXPECT_EQ(log.lines()[0], QStringLiteral("%1 split of Sparse: the measured C6 to C10 cannot be fitted; the "
                                                 "C7+ fraction is kept as one component.\n")
                                      .arg(driver.word));
    }

    const Dictionary light = testfluids::withStoredHeavyPart(
        testfluids::fluid("Light", Array{component("C1", 80), component("C7+", 20, 85, 0.7)}));
    RecordingLog log;
    const Dictionary split = getAlMeshariSplittedFluid(light, 30, true, true);
    EXPECT_EQ(namesOf(split), (QStringList{"C1", "C7+"}));
    EXPECT_NEAR(testfluids::totalMolePercent(split.arrayValue("components")), 100, 1e-9);
    const Dictionary plus = split.arrayValue("components").at(1).toDictionary();
    EXPECT_NEAR(plus.doubleValue("mw"), 85, 1e-12);
    EXPECT_NEAR(plus.doubleValue("SG"), 0.7, 1e-12);
    ASSERT_EQ(log.lines().size(), 1);
    EXPECT_EQ(log.lines()[0], "AlMeshari split of Light: the C7+ molar weight 85 g/mol is not above 86.2 g/mol; the "
                              "C7+ fraction is kept as one component.\n");
}

}  // namespace
