// Splits of ordinary measured oils, not compositions the alpha-beta model made itself: every
// method and last carbon number keeps the heavy part's moles, mass and volume, and gives cuts
// a petroleum fluid can have (molar weights rising to the plus fraction, gravities of oils)
// that the engine loads.

#include "support/recording_log.h"
#include "support/test_fluids.h"

#include "calc/CalculationInterface.h"
#include "characterisation/AlphaBetaFits.h"
#include "characterisation/Correlations.h"
#include "characterisation/SplittingMethods.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace quorvel {
namespace {

// A measured component characterised as the editor does it: light species by name, the
// C7+ from its molar weight and gravity.
Dictionary measured(const QString& name, double molePercent, double mw = 0, double SG = 0)
{
    Dictionary component;
    setComponentName(name, component, CorrelationCode::jianzhong0);
    component.setValue("mole", molePercent);
    if (mw > 0) {
        component.setValue("mw", mw);
        component.setValue("SG", SG);
        applyCorrelation(component, CorrelationCode::jianzhong1);
    }
    return component;
}

struct MeasuredOil
{
    const char* name;
    double c1, c2, c3, c4, c5, c6;  // mole percent; N2 0.5 and CO2 1.5 besides
    double mwC7plus, SGC7plus;      // the C7+ takes the rest
};

// A black oil with 55 % C7+ of 150 g/mol, one with 30 %, a volatile oil and a heavy oil.
const MeasuredOil kOils[] = {
    {"Black oil 55", 25, 6, 5, 3.5, 2.5, 1, 150, 0.82},
    {"Black oil 30", 45, 9, 6, 4, 2.5, 1.5, 150, 0.82},
    {"Volatile oil", 55, 9, 6, 4, 2.5, 1.5, 190, 0.80},
    {"Heavy oil", 20, 4, 3, 2.5, 2, 1.5, 320, 0.92},
};

Dictionary recordOf(const MeasuredOil& oil)
{
    const double c7plus = 100 - 2 - oil.c1 - oil.c2 - oil.c3 - oil.c4 - oil.c5 - oil.c6;
    Array components{measured("N2", 0.5),     measured("CO2", 1.5),  measured("C1", oil.c1),
                     measured("C2", oil.c2),  measured("C3", oil.c3), measured("nC4", oil.c4),
                     measured("nC5", oil.c5), measured("C6", oil.c6),
                     measured("C7+", c7plus, oil.mwC7plus, oil.SGC7plus)};
    Dictionary record = testfluids::fluid(QString::fromLatin1(oil.name), components);
    record.setValue("C7+", c7plus);
    record.setValue("mwC7+", oil.mwC7plus);
    record.setValue("SGC7+", oil.SGC7plus);
    return record;
}

struct Method
{
    const char* word;
    std::function<Dictionary(const Dictionary&, int, bool, bool)> split;
};

const Method kMethods[] = {{"Montel", getMontelSplittedFluid},   {"Ahmed", getAhmedSplittedFluid},
                           {"AlMeshari", getAlMeshariSplittedFluid}, {"Katz", getKatzSplittedFluid},
                           {"Pedersen", getPedersenSplittedFluid}, {"Lohrenz", getLohrenzSplittedFluid}};

bool isHeavy(const Dictionary& c) { return testfluids::isHeavyName(c); }

TEST(MeasuredOilSplits, EveryMethodAndLastCarbonNumberConservesAndStaysPhysical)
{
    for (const MeasuredOil& oil : kOils) {
        const Dictionary source = recordOf(oil);
        for (const Method& method : kMethods) {
            for (const int last : {10, 20, 30, 44}) {
                for (const bool matching : {false, true}) {
                    RecordingLog log;
                    const Dictionary split = method.split(source, last, false, matching);
                    const std::string where = std::string(oil.name) + " " + method.word + " C" + std::to_string(last)
                                              + (matching ? " matched" : "");
                    const Array components = split.arrayValue("components");
                    ASSERT_GE(components.size(), 2) << where;
                    // The alpha-beta split closes on its fitted C7+ fraction (stored as a fraction).
                    const bool alphaBeta = QString(method.word) == "Montel";
                    const double zC7 = alphaBeta ? split.doubleValue("C7+") : source.doubleValue("C7+") / 100;
                    const testfluids::HeavySums heavy = testfluids::sumsOf(components, isHeavy);
                    EXPECT_NEAR(heavy.z, zC7, 1e-9) << where;
                    EXPECT_NEAR(heavy.molarWeight(), oil.mwC7plus, 1e-9 * oil.mwC7plus) << where;
                    EXPECT_NEAR(heavy.gravity(), oil.SGC7plus, 1e-9) << where;
                    // The alpha-beta split's C1 .. C6 come from the long distribution, its C7+
                    // from the short form: the two differ by up to a few tenths of a percent.
                    EXPECT_NEAR(testfluids::totalMolePercent(components), 100, alphaBeta ? 0.5 : 1e-9) << where;

                    double previousMw = 0;
                    for (const Value& element : components) {
                        const Dictionary c = element.toDictionary();
                        if (!isHeavy(c))
                            continue;
                        const std::string name = where + " " + c.stringValue("name").toStdString();
                        EXPECT_GT(c.doubleValue("mole"), 0) << name;
                        EXPECT_GT(c.doubleValue("mw"), previousMw) << name;
                        EXPECT_GE(c.doubleValue("SG"), 0.65) << name;
                        EXPECT_LE(c.doubleValue("SG"), 1.2) << name;
                        previousMw = c.doubleValue("mw");
                    }
                    CalculationInterface calculation(FluidType::componentList, EquationOfState::pengRobinson);
                    EXPECT_TRUE(calculation.setModelFluid(FluidType::componentList, split)) << where;
                }
            }
        }
    }
}

// The black oil split to C30: closing its mass on the plus fraction would give C30+ a
// negative molar weight; the split is matched instead, and the log says so.
TEST(MeasuredOilSplits, AlphaBetaSplitWithoutAPlausiblePlusFractionIsMatchedWithALogLine)
{
    RecordingLog log;
    const Dictionary split = getMontelSplittedFluid(recordOf(kOils[0]), 30, false, false);
    EXPECT_EQ(log.lines(), QStringList{"Splitting Black oil 55 - Montel: the plus fraction C30+ would have no "
                                       "plausible molar weight or gravity; the split is matched "
                                       "instead.\n"});
    const Array components = split.arrayValue("components");
    const Dictionary plus = components.at(components.size() - 1).toDictionary();
    EXPECT_EQ(plus.stringValue("name"), "C30+");
    EXPECT_GT(plus.doubleValue("mw"), components.at(components.size() - 2).toDictionary().doubleValue("mw"));
}

// The comparison log of an alpha-beta split leaves out a group that was not measured
// instead of dividing by zero, and averages the rows it has.
TEST(MeasuredOilSplits, AlphaBetaComparisonSkipsGroupsNotMeasured)
{
    Dictionary source = recordOf(kOils[0]);
    Array components = source.arrayValue("components");
    Dictionary c6 = components.at(7).toDictionary();
    ASSERT_EQ(c6.stringValue("name"), "C6");
    Dictionary c5 = components.at(6).toDictionary();
    c5.setValue("mole", c5.doubleValue("mole") + c6.doubleValue("mole"));
    c6.setValue("mole", 0.0);
    RecordingLog log;
    const Dictionary split = getMontelSplittedFluid(source, 20, true, false);
    const QString text = log.lines().join("");
    EXPECT_FALSE(text.contains("inf")) << text.toStdString();
    EXPECT_FALSE(text.contains("nan")) << text.toStdString();
    for (const char* group : {"C1", "C2", "C3", "C4", "C5", "C7+"})
        EXPECT_TRUE(text.contains(QStringLiteral("  %1 ").arg(QLatin1String(group)))) << group;
    EXPECT_FALSE(text.contains("  C6 ")) << text.toStdString();
    EXPECT_TRUE(std::isfinite(split.doubleValue("ardx")));
    EXPECT_TRUE(std::isfinite(split.doubleValue("aadx")));
}

}  // namespace
}  // namespace quorvel
