// Property reports: each report compared line by line with a text built here with the C
// library's formatting from the values of a twin engine that runs the same calculations.
#include "calc/CalculationInterface.h"
#include "support/TestFluids.h"

#include "widgets/CLogWindow.h"

#include <QWidget>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace quorvel {
namespace {

using namespace test;

constexpr double kLb = 62.4291;  // lb/ft3 per g/cm3
constexpr double kPsi = 0.068948;  // bar per psi

std::string f(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    char buffer[1024];
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    return buffer;
}

std::vector<std::string> linesOf(const std::string& text)
{
    std::vector<std::string> lines;
    std::stringstream stream(text);
    for (std::string line; std::getline(stream, line);)
        lines.push_back(line);
    return lines;
}

std::unique_ptr<CalculationInterface> loaded(const std::vector<ComponentData>& fluid)
{
    auto ci = std::make_unique<CalculationInterface>(FluidType::componentList, EquationOfState::pengRobinson);
    ci->setThermodynamicModel(fluidRecord(2, fluid));
    return ci;
}

// The text a report appends to the shared log window.
class ReportTest : public ::testing::Test {
protected:
    void SetUp() override { markStart(); }
    // The report to check starts here.
    void markStart() { mStart = log()->text().plainText().size(); }
    static CLogWindow* log() { return CLogWindow::sharedLogWindowCtroller(); }
    std::string appended() const { return log()->text().plainText().mid(mStart).toStdString(); }

    void expectReport(const std::string& expected) const
    {
        const std::string actual = appended();
        const auto want = linesOf(expected), got = linesOf(actual);
        for (std::size_t i = 0; i < std::min(want.size(), got.size()); ++i)
            EXPECT_EQ(got[i], want[i]) << "line " << i;
        EXPECT_EQ(got.size(), want.size());
        EXPECT_EQ(actual, expected);  // line ends included
    }

private:
    qsizetype mStart = 0;
};

std::string conditions(const char* temperatureFormat, const char* pressureFormat, double T, double P)
{
    return f(temperatureFormat, T, T - 273.15, (T - 273.15) * 1.8 + 32, T * 1.8) + f(pressureFormat, P, P / kPsi);
}

std::string densityWithRange(const char* gcm3, const char* lbft3, double d, const std::array<double, 2>& r)
{
    return f(gcm3, d, r[0], r[1]) + f(lbft3, d * kLb, r[0] * kLb, r[1] * kLb);
}

// ---- Bulk properties ----------------------------------------------------------------------

std::string bulkConditions(double T, double P)
{
    return conditions("\n\tTemperature               : %.2lf K (%.2lf°C, %.2lf°F, %.2lf°R)\n",
                      "\tPressure                  : %.2lf bar (%.2lf psi)\n\n", T, P);
}

TEST_F(ReportTest, BulkPropertiesWithTheBubblePressure)
{
    const double T = 353.15, P = 400;
    auto ci = loaded(nineComponentOil());
    auto twin = loaded(nineComponentOil());
    Oil& e = *twin->engine();
    e.calculateBulkDensity(T, P, PhaseModel::liquid);
    std::string expected = "\n" + bulkConditions(T, P);
    expected += f("\tBulk Density, non translated PR EOS : %8.2lf g/cm3, %8.2lf lb/ft3\n", e.bulkDensity(),
                  e.bulkDensity() * kLb);
    expected += densityWithRange("\tBulk Density, SK Method   : %8.2lf g/cm3  (min: %5.2lf; max: %5.2lf)\n",
                                 "\t                          : %8.2lf lb/ft3 (min: %5.2lf; max: %5.2lf)\n",
                                 e.bulkDensityStandingKatz(), e.bulkDensityStandingKatzRange());
    expected += densityWithRange("\tBulk Density, AK Method   : %8.2lf g/cm3  (min: %5.2lf; max: %5.2lf)\n",
                                 "\t                          : %8.2lf lb/ft3 (min: %5.2lf; max: %5.2lf)\n",
                                 e.bulkDensityAlaniKennedy(), e.bulkDensityAlaniKennedyRange());
    e.calculateBubblePressure(T);
    ASSERT_EQ(e.failureCode(), equilibrium_failure::none);
    const double bubble = e.currentPressure() * 1e-5;
    expected += "\n" + f("\tBubble pressure           : %.2lf bar (%.2lf psi)\n", bubble, bubble / kPsi) + "\n";

    // A failed flash before leaves the engine's failure code set; the densities that follow
    // are found all the same and reported.
    testing::internal::CaptureStderr();
    ASSERT_NE(ci->calculateFlash(T, 1000, std::nullopt, std::nullopt), FlashOutcome::twoPhases);
    testing::internal::GetCapturedStderr();
    ASSERT_NE(ci->engine()->failureCode(), equilibrium_failure::none);
    markStart();

    ci->printBulkProperties(T, P);
    expectReport(expected);
    EXPECT_TRUE(log()->window()->isVisible());
    // The bubble point is the one of the textbook solver.
    const auto textbook = textbookMixture(nineComponentOil());
    EXPECT_NEAR(bubble, *textbook.bubblePressure(T, moleFractions(nineComponentOil())) * 1e-5, 1e-6 * bubble);
}

TEST_F(ReportTest, BulkPropertiesFailureLine)
{
    CalculationInterface ci(FluidType::componentList, EquationOfState::pengRobinson);  // nothing loaded
    ci.printBulkProperties(300, 100);
    expectReport("\n" + bulkConditions(300, 100) + "\tCalculation failure !\n\n");
}

// ---- Stock-tank properties ----------------------------------------------------------------

std::string stockTankHead(const Oil& e)
{
    std::string s;
    s += f("\tGOR, non translated PR EOS              : %8.2lf Stdm3/Stdm3\n", e.gasOilRatios()[0]);
    s += f("\tGOR, translated PR EOS                  : %8.2lf Stdm3/Stdm3\n", e.gasOilRatios()[3]);
    s += f("\tGOR, SK Method                          : %8.2lf Stdm3/Stdm3 (min: %8.2lf; max: %8.2lf)\n", e.gasOilRatios()[1],
           e.gorStandingKatzRange()[0], e.gorStandingKatzRange()[1]);
    s += f("\tGOR, AK Method                          : %8.2lf Stdm3/Stdm3 (min: %8.2lf; max: %8.2lf)\n", e.gasOilRatios()[2],
           e.gorAlaniKennedyRange()[0], e.gorAlaniKennedyRange()[1]);
    s += f("\tAPI degree, non translated PR EOS       : %8.2lf°\n", e.apiGravities()[0]);
    s += f("\tAPI degree, translated PR EOS           : %8.2lf°\n", e.apiGravities()[3]);
    s += f("\tAPI degree, SK Method                   : %8.2lf° (min: %5.2lf°; max: %5.2lf°)\n", e.apiGravities()[1],
           e.apiStandingKatzRange()[0], e.apiStandingKatzRange()[1]);
    s += f("\tAPI degree, AK Method                   : %8.2lf° (min: %5.2lf°; max: %5.2lf°)\n\n", e.apiGravities()[2],
           e.apiAlaniKennedyRange()[0], e.apiAlaniKennedyRange()[1]);
    s += f("\tBulk C7+ mole percent                   : %8.2lf %%\n", e.feedC7plusFraction() * 100);
    s += f("\tBulk C7+ molar weight                   : %8.2lf g/mol\n", e.feedC7plusMolarWeight());
    s += f("\tBulk C7+ specific gravity               : %8.2lf g/cm3\n", e.feedC7plusSpecificGravity());
    return s;
}

std::string tankCorrelationDensities(const Oil& e)
{
    const char* lb = "\t                                        : %8.2lf lb/ft3 (min: %5.2lf; max: %5.2lf)\n";
    return densityWithRange("\tDensity of the tank liquid, SK Method   : %8.2lf g/cm3  (min: %5.2lf; max: %5.2lf)\n",
                            lb, e.liquidDensityStandingKatz(), e.liquidDensityStandingKatzRange())
           + densityWithRange("\tDensity of the tank liquid, AK Method   : %8.2lf g/cm3  (min: %5.2lf; max: %5.2lf)\n",
                              lb, e.liquidDensityAlaniKennedy(), e.liquidDensityAlaniKennedyRange());
}

// A gamma-model fluid: the translation 18.887 M - 724 cm3/mol of its tank oil (M its molar
// weight) exceeds the oil's volume, so the translated lines say "not available" and why.
TEST_F(ReportTest, StockTankReportOfAGammaFluidWhoseTranslationWouldTurnNegative)
{
    CalculationInterface ci(FluidType::componentList, EquationOfState::pengRobinson);
    ASSERT_TRUE(ci.setModelFluid(FluidType::gamma, fluidRecord(3, nineComponentOil())));
    ci.printSTProperties();
    const Oil& e = *ci.engine();
    ASSERT_EQ(e.stockTankState(), StockTankState::TwoPhases);
    const double c = 18.887 * e.liquidMolarWeight() - 724;
    ASSERT_GT(c, e.liquidMolarVolume());
    const std::string report = appended();
    EXPECT_EQ(report.find("nan"), std::string::npos) << report;
    for (const std::string& line :
         {std::string("\tGOR, translated PR EOS                  : not available\n"),
          std::string("\tAPI degree, translated PR EOS           : not available\n"),
          f("\tTranslated PR EOS values not available: the volume translation of %.2lf cm3/mol would leave the tank "
            "oil (%.2lf cm3/mol) no positive volume.\n",
            c, e.liquidMolarVolume()),
          std::string("\tDensity of the tank liquid, translated PR EOS  : not available\n"),
          f("\tAPI degree, non translated PR EOS       : %8.2lf°\n",
            141.5 * e.liquidMolarVolume() / e.liquidMolarWeight() - 131.5)})
        EXPECT_NE(report.find(line), std::string::npos) << line;
    EXPECT_TRUE(std::isnan(ci.getAPI()[3]));
    EXPECT_TRUE(std::isnan(ci.getGOR()[3]));
}

TEST_F(ReportTest, StockTankPropertiesOfALiveOil)
{
    auto ci = loaded(nineComponentOil());
    auto twin = loaded(nineComponentOil());
    Oil& e = *twin->engine();
    e.calculateGOR(0);
    ASSERT_EQ(e.failureCode(), equilibrium_failure::none);
    std::string expected = "\n" + stockTankHead(e);
    expected += "\n\tFlash at 15.5°C (60°F), 1 bar (14.5 psi).\n";
    expected += "\t\tComponent    Liquid (mole %)   Vapour (mole %)   \n";
    for (int i = 0; i < e.componentCount(); ++i)
        expected += f("\t\t%12s %12.2f %12.2f\n", e.componentName()[i].c_str(), e.liquidComposition()[i] * 100,
                      e.vapourComposition()[i] * 100);
    expected += "\n";
    expected += f("\tDensity of the tank liquid, non translated PR EOS  : %8.2lf g/cm3, %8.2lf lb/ft3\n",
                  e.liquidDensity(), e.liquidDensity() * kLb);
    expected += f("\tDensity of the tank liquid, translated PR EOS  : %8.2lf g/cm3, %8.2lf lb/ft3\n",
                  e.translatedLiquidDensity(), e.translatedLiquidDensity() * kLb);
    expected += tankCorrelationDensities(e);
    expected += f("\tGas volume %%, PR EOS                    : %8.2f %%\n", e.volumetricGasFraction() * 100);
    expected += f("\tGas volume %%, SK method                 : %8.2f %%\n",
                  e.volumetricGasFractionStandingKatz() * 100);
    expected += f("\tGas volume %%, AK method                 : %8.2f %%\n",
                  e.volumetricGasFractionAlaniKennedy() * 100);
    expected += f("\tMolar weight of the tank liquid         : %8.2lf g/mol\n", e.liquidMolarWeight());
    expected += f("\tLiquid C7+ mole percent                 : %8.2lf %%\n", e.liquidC7plusFraction() * 100);
    expected += f("\tLiquid C7+ molar weight                 : %8.2lf g/mol\n", e.liquidC7plusMolarWeight());
    expected += f("\tLiquid C7+ specific gravity             : %8.2lf g/cm3\n", e.liquidC7plusSpecificGravity());
    expected += "\n";

    ci->printSTProperties();
    expectReport(expected);
    EXPECT_EQ(ci->getGOR()[0], e.gasOilRatios()[0]);  // the fields are refreshed
}

TEST_F(ReportTest, StockTankPropertiesOfANonVolatileLiquid)
{
    const std::vector<ComponentData> deadOil = {withMole(kC6, 30), withMole(kC10, 70)};
    auto ci = loaded(deadOil);
    auto twin = loaded(deadOil);
    Oil& e = *twin->engine();
    e.calculateGOR(0);
    ASSERT_NE(e.failureCode(), equilibrium_failure::none);
    std::string expected = "\n" + stockTankHead(e);
    expected += "\tNon volatile liquid !\n";
    expected += f("\tDensity of the tank liquid, PR EOS      : %8.2lf g/cm3, %8.2lf lb/ft3\n", e.liquidDensity(),
                  e.liquidDensity() * kLb);
    expected += f("\tMolar volume of the tank liquid, PR EOS : %8.2lf cm3/mol\n",
                  e.bulkMolarWeight() / e.liquidDensity());
    expected += tankCorrelationDensities(e);
    expected += f("\tMolar weight of the tank liquid         : %8.2lf g/mol\n", e.bulkMolarWeight());
    expected += "\n";

    ci->printSTProperties();
    expectReport(expected);
    // The molar volume line: 0.3 C6 + 0.7 C10 over the tank-liquid density.
    EXPECT_NEAR(e.bulkMolarWeight(), 0.3 * kC6.mw + 0.7 * kC10.mw, 1e-12);
}

// ---- Flash --------------------------------------------------------------------------------

std::string flashConditions(double T, double P)
{
    return conditions("\tFlash temperature        : %.2lf K (%.2lf°C, %.2lf°F, %.2lf°R)\n",
                      "\tFlash pressure           : %.2lf bar (%.2lf psi)\n\n", T, P);
}

// The expected flash report, from a twin engine taken through the same calculations.
std::string expectedFlashReport(Oil& e, double T, double P)
{
    const std::vector<double> z = e.feedComposition();
    e.calculateFlash(T, P);
    e.calculateFormationVolumeFactors();
    std::string s = "\n" + flashConditions(T, P);
    const std::vector<double> x = e.flashLiquidComposition(), y = e.flashVapourComposition();
    const double L = 1 - e.molarGasFraction(), Z = e.gasCompressibilityFactor();
    const double Bo = e.oilFormationVolumeFactor(), Bg = e.gasFormationVolumeFactor();
    s += "\t\tComponent    Liquid (mole %)   Vapour (mole %)   Initial (mole %)    Loss/Enrichment (%)\n";
    for (int i = 0; i < e.componentCount(); ++i) {
        const char* name = e.componentName()[i].c_str();
        if (z[i] == 0)
            s += f("\t\t%8s     %12.2f     %12.2f     %12.2f     %12s\n", name, x[i] * 100, y[i] * 100, 0.0, "-");
        else
            s += f("\t\t%8s     %12.2f     %12.2f     %12.2f     %12.2f\n", name, x[i] * 100, y[i] * 100, z[i] * 100,
                   (x[i] * L - z[i]) / z[i] * 100);
    }
    s += "\n";
    s += f("\tGas mole %%                               : %8.2lf %%\n", e.molarGasFraction() * 100);
    s += f("\tGas mass %%                               : %8.2lf %%\n", e.massGasFraction() * 100);
    s += f("\tGas volume %%, PR EOS                     : %8.2lf %%\n", e.volumetricGasFraction() * 100);
    s += f("\tGas volume %%, SK method                  : %8.2lf %%\n", e.volumetricGasFractionStandingKatz() * 100);
    s += f("\tGas volume %%, AK method                  : %8.2lf %%\n", e.volumetricGasFractionAlaniKennedy() * 100);

    s += "\n\tProperties of the flashed liquid:\n\t---------------------------------\n";
    s += f("\t\tOil formation volume factor (Bo)    : %8.2lf \n", Bo);
    for (short i = 0; i < e.componentCount(); ++i)
        e.composition(i, x[i]);
    e.calculateBulkDensity(T, P, PhaseModel::liquid);
    const char* lb = "\t\t                                    : %8.2lf lb/ft3 (min: %5.2lf; max: %5.2lf)\n";
    s += f("\t\tBulk Density, non translated PR EOS : %8.2lf g/cm3, %8.2lf lb/ft3\n", e.bulkDensity(),
           e.bulkDensity() * kLb);
    s += densityWithRange("\t\tBulk Density, SK Method             : %8.2lf g/cm3  (min: %5.2lf; max: %5.2lf)\n", lb,
                          e.bulkDensityStandingKatz(), e.bulkDensityStandingKatzRange());
    s += densityWithRange("\t\tBulk Density, AK Method             : %8.2lf g/cm3  (min: %5.2lf; max: %5.2lf)\n", lb,
                          e.bulkDensityAlaniKennedy(), e.bulkDensityAlaniKennedyRange());
    s += f("\t\tLiquid molar weight                 : %8.2lf g/mol\n", e.bulkMolarWeight());
    s += f("\t\tLiquid C7+ mole percent             : %8.2lf %%\n", e.feedC7plusFraction() * 100);
    s += f("\t\tLiquid C7+ molar weight             : %8.2lf g/mol\n", e.feedC7plusMolarWeight());
    s += f("\t\tLiquid C7+ specific gravity         : %8.2lf g/cm3\n", e.feedC7plusSpecificGravity());
    e.calculateGOR(0);
    if (e.failureCode() == equilibrium_failure::none) {
        s += f("\t\tGOR, non translated PR EOS          : %8.2lf Stdm3/Stdm3\n", e.gasOilRatios()[0]);
        s += f("\t\tGOR, translated PR EOS              : %8.2lf Stdm3/Stdm3\n", e.gasOilRatios()[3]);
        s += f("\t\tGOR, SK Method                      : %8.2lf Stdm3/Stdm3 (min: %8.2lf; max: %8.2lf)\n", e.gasOilRatios()[1],
               e.gorStandingKatzRange()[0], e.gorStandingKatzRange()[1]);
        s += f("\t\tGOR, AK Method                      : %8.2lf Stdm3/Stdm3 (min: %8.2lf; max: %8.2lf)\n", e.gasOilRatios()[2],
               e.gorAlaniKennedyRange()[0], e.gorAlaniKennedyRange()[1]);
        s += f("\t\tAPI degree, non translated PR EOS   : %8.2lf°\n", e.apiGravities()[0]);
        s += f("\t\tAPI degree, translated PR EOS       : %8.2lf°\n", e.apiGravities()[3]);
        s += f("\t\tAPI degree, SK Method               : %8.2lf° (min: %5.2lf°; max: %5.2lf°)\n", e.apiGravities()[1],
               e.apiStandingKatzRange()[0], e.apiStandingKatzRange()[1]);
        s += f("\t\tAPI degree, AK Method               : %8.2lf° (min: %5.2lf°; max: %5.2lf°)\n\n", e.apiGravities()[2],
               e.apiAlaniKennedyRange()[0], e.apiAlaniKennedyRange()[1]);
    }

    s += "\n\tProperties of the flashed gas:\n\t------------------------------\n";
    s += f("\t\tGas formation volume factor (Bg)    : %8.2lf \n", Bg);
    for (short i = 0; i < e.componentCount(); ++i)
        e.composition(i, y[i]);
    e.calculateBulkDensity(T, P, PhaseModel::vapour);
    s += f("\t\tCompressibility factor (Z)          : %8.4f\n", Z);
    e.calculateGOR(0);
    if (e.failureCode() == equilibrium_failure::none) {
        s += f("\t\tGOR, PR EOS                          : %8.2lf Stdm3/Stdm3\n", e.gasOilRatios()[0]);
        s += f("\t\tGOR, SK Method                       : %8.2lf Stdm3/Stdm3 (min: %8.2lf; max: %8.2lf)\n", e.gasOilRatios()[1],
               e.gorStandingKatzRange()[0], e.gorStandingKatzRange()[1]);
        s += f("\t\tGOR, AK Method                       : %8.2lf Stdm3/Stdm3 (min: %8.2lf; max: %8.2lf)\n", e.gasOilRatios()[2],
               e.gorAlaniKennedyRange()[0], e.gorAlaniKennedyRange()[1]);
        s += f("\t\tAPI degree, PR EOS                   : %8.2lf°\n", e.apiGravities()[0]);
        s += f("\t\tAPI degree, SK Method                : %8.2lf° (min: %5.2lf°; max: %5.2lf°)\n", e.apiGravities()[1],
               e.apiStandingKatzRange()[0], e.apiStandingKatzRange()[1]);
        s += f("\t\tAPI degree, AK Method                   : %8.2lf° (min: %5.2lf°; max: %5.2lf°)\n\n", e.apiGravities()[2],
               e.apiAlaniKennedyRange()[0], e.apiAlaniKennedyRange()[1]);
    }
    return s + "\n";
}

// The live oil with no nitrogen: a component of zero mole fraction.
std::vector<ComponentData> oilWithAnAbsentComponent()
{
    std::vector<ComponentData> fluid = nineComponentOil();
    fluid[0].mole = 0;
    fluid[2].mole += 0.5;
    return fluid;
}

TEST_F(ReportTest, FlashPropertiesOfBothPhases)
{
    const std::vector<ComponentData> fluid = oilWithAnAbsentComponent();
    const double T = 353.15;
    auto ci = loaded(fluid);
    const double P = ci->calculateSaturation(T - 273.15, SaturationKind::bubblePoint) / 2;
    ASSERT_GT(P, 0);
    auto twin = loaded(fluid);
    const std::string expected = expectedFlashReport(*twin->engine(), T, P);
    ASSERT_EQ(twin->engine()->failureCode(), equilibrium_failure::none);
    const std::vector<double> feed = ci->engine()->feedComposition();

    ci->printFlashProperties(T, P);
    expectReport(expected);
    const char* absentNitrogen = "\t\t      N2             0.00             0.00             0.00                -\n";
    EXPECT_NE(appended().find(absentNitrogen), std::string::npos);
    EXPECT_EQ(ci->engine()->feedComposition(), feed);  // a long-lived interface keeps its fluid
}

TEST_F(ReportTest, FlashFailureLines)
{
    auto ci = loaded(nineComponentOil());
    testing::internal::CaptureStderr();
    ci->printFlashProperties(353.15, 1000);  // one liquid phase
    testing::internal::GetCapturedStderr();
    expectReport("\n" + flashConditions(353.15, 1000) + "\tCalculation failure !\n\n");

    CalculationInterface none(FluidType::gamma, EquationOfState::pengRobinson);
    markStart();
    none.printFlashProperties(300, 10);
    expectReport("\n" + flashConditions(300, 10) + "\tCalculation failure !\n\n");
}

TEST_F(ReportTest, StockTankReportWithoutEngine)
{
    CalculationInterface none(FluidType::gamma, EquationOfState::pengRobinson);
    none.printSTProperties();
    expectReport("\n\tCalculation failure !\n\n");
}

} // namespace
} // namespace quorvel
